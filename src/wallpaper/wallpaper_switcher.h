// The per-screen wallpaper replacement that accompanies hiding the desktop icons: each screen's
// own wallpaper is recorded and replaced on hiding, and put back on showing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/dispatch.h"
#include "platform/file_manager.h"
#include "platform/screens.h"
#include "platform/workspace.h"
#include "wallpaper/wallpaper_records.h"

namespace tidra {

// The replacement is applied once more after this delay: a Finder that is still coming back
// up may redraw the desktop with the old picture.
inline constexpr std::int64_t kWallpaperReapplyDelayNanoseconds = 5000000000;
// Where an imported custom image lives; never a screen's own wallpaper.
inline constexpr const char* kSupportFolderMarker = "Application Support/Tidra/";

struct WallpaperServices {
    UserDefaults& defaults;
    Archiver& archiver;
    Workspace& workspace;
    Screens& screens;
    Bundle& bundle;
    FileManager& fileManager;
    Dispatch& dispatch;
    Console& console;
};

class WallpaperSwitcher {
  public:
    // `isClean` answers whether the desktop icons are hidden right now; the delayed
    // re-application asks it when it fires.
    WallpaperSwitcher(const WallpaperServices& services, std::function<bool()> isClean);

    // Restores the recorded wallpapers (show) or records and replaces them (!show). Replacing
    // needs a chosen image; restoring does not, and only touches screens that show Tidra's
    // own picture, so that a picture the user chose since is never overwritten.
    void toggle(bool show);
    // The replacement choice changed. While the icons are hidden it takes effect at once on
    // the screens that show Tidra's picture; no replacement puts their own pictures back.
    void choiceChanged();
    // Reads the stored records into wallpapers() and wallpapersOptions().
    void loadRecords();

    // The standardized paths of the pictures that are the user's own: those the screens show
    // that Tidra did not put there, and those the records will put back on showing.
    std::vector<std::string> usersPictures();

    const Dictionary& wallpapers() const { return records_.wallpapers; }
    const Dictionary& wallpapersOptions() const { return records_.options; }

  private:
    using ScreenList = std::vector<std::shared_ptr<Screen>>;
    // Screen number -> the standardized path the screen showed right after a replacement.
    using Covered = std::vector<std::pair<Value, std::string>>;

    // The image to put on the screens, falling back to the grey image when the chosen file is
    // gone; nothing when no replacement is chosen.
    std::optional<Url> replacementImage();
    void replace(const ScreenList& screens, const Url& image);
    void restore(const ScreenList& screens);
    // The numbers of the screens connected now; screens without one are left out.
    static std::vector<Value> connectedNumbers(const ScreenList& screens);
    // The record to put back on the screen numbered `number`: its own, or, for a screen that
    // came while the icons were hidden, one borrowed. The records must not be empty.
    Dictionary::const_iterator recordedFor(const Value& number,
                                           const std::vector<Value>& connected);
    // Sets the recorded picture with its options on the screen, logging a refusal.
    bool putBack(const Screen& screen, const Value& number, Dictionary::const_iterator recorded);
    void reapply(std::uint64_t shows, const Covered& covered);
    void record(const Screen& screen, const Value& number);
    // Sets `image` with `options` on the screen; a refusal is logged after `failure`.
    bool setPicture(const Screen& screen, const Url& image, const Dictionary& options,
                    const std::string& failure);
    // Sets `image` on the screen, logging a refusal; a picture that took is Tidra's there.
    void put(const Screen& screen, const Value& number, const Url& image);
    void save();
    // Whether the screen numbered `number` (nil: unknown) shows at `path` a picture Tidra put
    // there, rather than one of the user's.
    bool isTidrasImage(const Value& number, const std::string& path);
    std::optional<std::string> currentPath(const Screen& screen);
    std::string standardized(const std::string& path);

    WallpaperServices s_;
    std::function<bool()> isClean_;
    WallpaperRecordStore store_;
    WallpaperRecords records_;
    // Counts the restores, so that a re-application knows whether the icons were shown since
    // it was scheduled, even if they have been hidden again.
    std::uint64_t shows_ = 0;
    // Pending re-applications hold this weakly, so that none outlives the switcher.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// Whether a standardized path is the grey image inside any copy of Tidra's bundle: a copy that
// has been moved or deleted since still put it on the screens.
bool isTidraGreyImage(const std::string& path);

// The number under "NSScreenNumber" when it is a number; nil otherwise.
Value screenNumber(const Screen& screen);

}  // namespace tidra
