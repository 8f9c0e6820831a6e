#include "wallpaper/wallpaper_chooser.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/menus.h"
#include "platform/paths.h"
#include "prefs/keys.h"

namespace tidra {

bool hasWallpaperImageType(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* type : kWallpaperImageTypes) {
        const std::string ending = std::string(".") + type;
        if (lower.size() >= ending.size() && lower.ends_with(ending)) return true;
    }
    return false;
}

void WallpaperChooser::choose(Object* sender) {
    auto* item = dynamic_cast<MenuItem*>(sender);
    if (!item) return;
    if (item->tag() == kWallpaperNoReplaceTag) {
        s_.defaults.removeObjectForKey(prefs::kReplaceWallpaper);
        s_.defaults.synchronize();
    } else if (item->tag() == kWallpaperCustomImageTag) {
        openChooser();
    } else if (auto grey = s_.bundle.URLForImageResource("wallpaper")) {
        s_.defaults.setURL(*grey, prefs::kReplaceWallpaper);
        s_.defaults.synchronize();
    }
}

void WallpaperChooser::openChooser() {
    std::shared_ptr<OpenPanel> panel = s_.ui.makeOpenPanel();
    if (!panel) return;
    std::optional<Error> error;
    if (auto pictures = s_.fileManager.URLForDirectory(SearchPathDirectory::Pictures,
                                                       kUserDomainMask, false, &error)) {
        panel->setDirectoryURL(*pictures);
    } else {
        s_.console.log(error ? error->description() : "");
    }
    Bundle& b = s_.bundle;
    panel->setPrompt(localizedString(b, "Choose", "Submit button in the window to choose a file"));
    panel->setCanChooseFiles(true);
    panel->setResolvesAliases(true);
    panel->setAllowedFileTypes(
        std::vector<std::string>(kWallpaperImageTypes.begin(), kWallpaperImageTypes.end()));
    panel->setTitle(
        localizedString(b, "Choose Replacement Wallpaper", "Title of the window to choose a file"));
    panel->setMessage(localizedString(
        b, "Please select an image to use as replacement wallpaper when Tidra is activated.",
        "Message inside the window to choose a file"));
    // Tidra has no window of its own and is not brought forward: the panel must float above
    // whatever the user is working in.
    panel->setLevel(s_.ui.windowLevelForKey(kMaximumWindowLevelKey));
    std::weak_ptr<int> alive = alive_;
    panel->beginWithCompletionHandler([this, alive, panel](long response) {
        if (alive.expired()) return;
        importCustomWallpaper(response, *panel);
    });
}

bool WallpaperChooser::cleanSupportFolder(const Url& folder, const std::string& keep) {
    auto folderPath = folder.path();
    if (!folderPath) return true;
    auto entries = s_.fileManager.enumeratorAtPath(*folderPath);
    if (!entries) return true;
    const std::string home = s_.fileManager.homeDirectory();
    while (auto entry = entries->nextObject()) {
        if (!hasWallpaperImageType(*entry)) continue;
        Url item = folder.appendingPathComponent(*entry);
        // The user may pick the current copy itself: deleting it would leave nothing to copy.
        if (auto itemPath = item.path(); itemPath && paths::standardize(*itemPath, home) == keep)
            continue;
        std::optional<Error> error;
        if (!s_.fileManager.removeItemAtURL(item, &error)) {
            s_.console.log(error ? error->description() : "");
            return false;
        }
    }
    return true;
}

void WallpaperChooser::importCustomWallpaper(long response, const OpenPanel& panel) {
    if (response != kModalResponseOK) return;
    auto chosen = panel.URL();
    if (!chosen) return;
    auto chosenPath = chosen->path();
    if (!chosenPath) return;
    const std::string name = chosen->lastPathComponent();
    if (name.empty() || name == "/") return;

    std::optional<Error> error;
    auto support = s_.fileManager.URLForDirectory(SearchPathDirectory::ApplicationSupport,
                                                  kUserDomainMask, true, &error);
    if (!support) {
        s_.console.log(error ? error->description() : "");
        return;
    }
    const Url folder = support->appendingPathComponent(kSupportFolderName);
    const Url destination = folder.appendingPathComponent(name);
    if (!folder.path() || !destination.path()) return;
    if (!s_.fileManager.createDirectoryAtURL(folder, true, &error)) {
        s_.console.log(error ? error->description() : "");
        return;
    }

    const std::string home = s_.fileManager.homeDirectory();
    const std::string keep = paths::standardize(*chosenPath, home);
    if (!cleanSupportFolder(folder, keep)) return;
    // Choosing the current copy again needs no copy: it is already where it belongs.
    if (paths::standardize(*destination.path(), home) != keep &&
        !s_.fileManager.copyItemAtURL(*chosen, destination, &error)) {
        s_.console.log(error ? error->description() : "");
        return;
    }
    s_.defaults.setURL(destination, prefs::kReplaceWallpaper);
    s_.defaults.synchronize();
    notifyImported();
}

void WallpaperChooser::notifyImported() {
    UserNotification note;
    note.title = localizedString(s_.bundle, "Operation successful",
                                 "Notification title when custom wallpaper image was set");
    note.informativeText =
        localizedString(s_.bundle, "A custom image has been set as replacement wallpaper.",
                        "Notification text when custom wallpaper image was set");
    note.hasActionButton = false;
    note.hasReplyButton = false;
    note.identifier = kCustomWallpaperNotificationIdentifier;
    s_.notifications.deliverNotification(note);
}

}  // namespace tidra
