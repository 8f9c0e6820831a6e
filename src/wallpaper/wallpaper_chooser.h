// The menu's three wallpaper choices: no replacement, the grey image, or a picture of the
// user's own, which is first copied into Tidra's support folder so that it survives the
// original being moved or deleted.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "notices/failure_notices.h"
#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/file_manager.h"
#include "platform/notifications.h"
#include "platform/object.h"
#include "platform/system_info.h"
#include "platform/ui.h"

namespace tidra {

inline constexpr std::array<const char*, 7> kWallpaperImageTypes = {"jpg",  "jpeg", "png", "tif",
                                                                    "tiff", "bmp",  "gif"};
// HEIF pictures (HEIC: iPhone photos, macOS's own desktop pictures), which the system decodes
// from macOS 10.13 on. As extensions: the panel turns them into public.heic and public.heif
// where it takes content types.
inline constexpr std::array<const char*, 2> kHeifImageTypes = {"heic", "heif"};
inline constexpr const char* kSupportFolderName = "Tidra";
// A new copy that has the current copy's name waits under this prefix until it is whole; its
// name keeps the picture type, so the next import clears away one left by an interruption.
inline constexpr const char* kIncomingCopyPrefix = ".incoming-";
inline constexpr const char* kCustomWallpaperNotificationIdentifier =
    "xq.morv.Tidra.customWallpaperSetNotification";

// Menu item tags of the three choices; any tag but these two means the grey image.
inline constexpr int kWallpaperNoReplaceTag = 0;
inline constexpr int kWallpaperCustomImageTag = 1;

struct WallpaperChooserServices {
    UserDefaults& defaults;
    Bundle& bundle;
    FileManager& fileManager;
    Ui& ui;
    SystemInfo& system;
    UserNotificationCenter& notifications;
    Console& console;
    FailureNotices& failures;
    // The standardized paths of the pictures the screens show or will get back as the user's
    // own; the clean-up leaves them, wherever they lie.
    std::function<std::vector<std::string>()> usersPictures;
};

class WallpaperChooser {
  public:
    explicit WallpaperChooser(const WallpaperChooserServices& services) : s_(services) {}

    // The choice of one of the three menu items (or the Settings window's buttons), by its tag.
    void choose(int tag);
    // The open panel's completion: copies the chosen picture into the support folder and makes
    // it the replacement. Anything but kModalResponseOK is a cancel.
    void importCustomWallpaper(long response, const OpenPanel& panel);

  private:
    void openChooser();
    // Tidra's support folder, made when missing; nothing when it cannot hold `name` (a failure
    // to make it is told).
    std::optional<Url> supportFolder(const std::string& name);
    // Clears away the earlier pictures and puts the whole copy `incoming` in the place of the
    // one named `name`, sparing the chosen file at the standardized path `keep`. Answers the copy
    // now in force, or nothing when the import stops (the failure told; `incoming` is left to
    // the caller).
    std::optional<Url> putInPlace(const Url& folder, const std::string& name, const Url& incoming,
                                  const std::string& keep);
    // Copies the chosen file to `to`; on failure logs the error and takes away whatever part of
    // the copy was left there.
    bool copyChosen(const Url& chosen, const Url& to);
    // Removes the earlier imported pictures, sparing the standardized paths in `spared`; false
    // when one could not go.
    bool cleanSupportFolder(const Url& folder, const std::vector<std::string>& spared);
    // The name under which `folder` holds `name`: the name itself, or another spelling of it
    // where the volume ignores case; nothing when it cannot be told.
    std::optional<std::string> spellingInFolder(const Url& folder, const std::string& name);
    // Removes an item Tidra made itself; nothing to report if it cannot go.
    void discard(const Url& item);
    std::string standardized(const std::string& path);
    // An import that stops: the error goes to the console and, told once, to the user.
    void importFailed(const std::optional<Error>& error);
    void notifyImported();

    WallpaperChooserServices s_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The picture types the panel takes on that system: HEIF ones from 10.13 on.
std::vector<std::string> wallpaperImageTypes(const OperatingSystemVersion& system);

// Whether a file name (any case) ends with one of the picture types Tidra ever imports, HEIF
// ones included: the clean-up clears an earlier import whatever system made it.
bool hasWallpaperImageType(const std::string& name);

}  // namespace tidra
