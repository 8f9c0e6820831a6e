#include "wallpaper/wallpaper_chooser.h"

#include <algorithm>
#include <vector>

#include "platform/menus.h"
#include "platform/paths.h"
#include "prefs/keys.h"
#include "text/ascii.h"

namespace tidra {

std::vector<std::string> wallpaperImageTypes(const OperatingSystemVersion& system) {
    std::vector<std::string> types(kWallpaperImageTypes.begin(), kWallpaperImageTypes.end());
    if (system.isAtLeast(10, 13))
        types.insert(types.end(), kHeifImageTypes.begin(), kHeifImageTypes.end());
    return types;
}

bool hasWallpaperImageType(const std::string& name) {
    const std::string lower = asciiLower(name);
    auto endsWith = [&lower](const char* type) { return lower.ends_with(std::string(".") + type); };
    return std::any_of(kWallpaperImageTypes.begin(), kWallpaperImageTypes.end(), endsWith) ||
           std::any_of(kHeifImageTypes.begin(), kHeifImageTypes.end(), endsWith);
}

void WallpaperChooser::choose(int tag) {
    if (tag == kWallpaperNoReplaceTag) {
        s_.defaults.removeObjectForKey(prefs::kReplaceWallpaper);
        s_.defaults.synchronize();
    } else if (tag == kWallpaperCustomImageTag) {
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
    panel->setAllowedFileTypes(wallpaperImageTypes(s_.system.operatingSystemVersion()));
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

std::string WallpaperChooser::standardized(const std::string& path) {
    return paths::standardize(path, s_.fileManager.homeDirectory());
}

void WallpaperChooser::discard(const Url& item) {
    auto path = item.path();
    if (!path || !s_.fileManager.fileExistsAtPath(*path)) return;
    s_.fileManager.removeItemAtURL(item, nullptr);
}

bool WallpaperChooser::copyChosen(const Url& chosen, const Url& to) {
    std::optional<Error> error;
    if (s_.fileManager.copyItemAtURL(chosen, to, &error)) return true;
    importFailed(error);
    // A copy that ran out of room half way leaves a broken picture behind.
    discard(to);
    return false;
}

std::optional<std::string> WallpaperChooser::spellingInFolder(const Url& folder,
                                                              const std::string& name) {
    auto folderPath = folder.path();
    auto entries = folderPath ? s_.fileManager.enumeratorAtPath(*folderPath) : nullptr;
    if (!entries) return std::nullopt;
    std::optional<std::string> other;
    while (auto entry = entries->nextObject()) {
        if (*entry == name) return entry;
        if (!other && asciiLower(*entry) == asciiLower(name)) other = entry;
    }
    return other;
}

bool WallpaperChooser::cleanSupportFolder(const Url& folder,
                                          const std::vector<std::string>& spared) {
    auto folderPath = folder.path();
    if (!folderPath) return true;
    auto entries = s_.fileManager.enumeratorAtPath(*folderPath);
    if (!entries) return true;
    std::optional<std::string> inForce;
    if (auto chosen = s_.defaults.URLForKey(prefs::kReplaceWallpaper))
        if (auto path = chosen->path()) inForce = standardized(*path);
    // A picture the user set by hand from this folder is theirs, not an earlier import. The
    // volume may ignore case, so another spelling of one of its names counts as that picture.
    std::vector<std::string> owned;
    if (s_.usersPictures)
        for (const std::string& path : s_.usersPictures()) owned.push_back(asciiLower(path));
    std::vector<Url> doomed;
    std::optional<Url> current;
    while (auto entry = entries->nextObject()) {
        if (!hasWallpaperImageType(*entry)) continue;
        Url item = folder.appendingPathComponent(*entry);
        auto itemPath = item.path();
        if (!itemPath) continue;
        const std::string path = standardized(*itemPath);
        if (std::find(spared.begin(), spared.end(), path) != spared.end()) continue;
        if (std::find(owned.begin(), owned.end(), asciiLower(path)) != owned.end()) continue;
        if (path == inForce) {
            current = item;
        } else {
            doomed.push_back(item);
        }
    }
    // The picture in force goes last: when a removal fails the import stops, and the choice it
    // keeps must still have its file.
    if (current) doomed.push_back(*current);
    for (const Url& item : doomed) {
        std::optional<Error> error;
        if (!s_.fileManager.removeItemAtURL(item, &error)) {
            importFailed(error);
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

    const auto folder = supportFolder(name);
    if (!folder) return;
    const Url destination = folder->appendingPathComponent(name);

    // The earlier pictures go only once the new copy is whole: a copy that fails must not
    // take the current replacement with it.
    const std::string keep = standardized(*chosenPath);
    Url incoming = destination;
    // Choosing the current copy again needs no copy: it is already where it belongs.
    const std::string destinationPath = standardized(*destination.path());
    const bool copying = destinationPath != keep;
    if (copying) {
        // A picture of the same name already there stays until the new one can take its place.
        if (s_.fileManager.fileExistsAtPath(destinationPath)) {
            incoming = folder->appendingPathComponent(kIncomingCopyPrefix + name);
            discard(incoming);
        }
        if (!copyChosen(*chosen, incoming)) return;
    }
    const auto copy = putInPlace(*folder, name, incoming, keep);
    if (!copy) {
        // A copy made for this import, never the chosen file itself.
        if (copying) discard(incoming);
        return;
    }
    s_.defaults.setURL(*copy, prefs::kReplaceWallpaper);
    s_.defaults.synchronize();
    s_.failures.succeeded(FailureTopic::CustomWallpaper);
    notifyImported();
}

std::optional<Url> WallpaperChooser::supportFolder(const std::string& name) {
    std::optional<Error> error;
    auto support = s_.fileManager.URLForDirectory(SearchPathDirectory::ApplicationSupport,
                                                  kUserDomainMask, true, &error);
    if (!support) {
        importFailed(error);
        return std::nullopt;
    }
    const Url folder = support->appendingPathComponent(kSupportFolderName);
    if (!folder.path() || !folder.appendingPathComponent(name).path()) return std::nullopt;
    if (!s_.fileManager.createDirectoryAtURL(folder, true, &error)) {
        importFailed(error);
        return std::nullopt;
    }
    return folder;
}

std::optional<Url> WallpaperChooser::putInPlace(const Url& folder, const std::string& name,
                                                const Url& incoming, const std::string& keep) {
    const Url destination = folder.appendingPathComponent(name);
    const std::string destinationPath = standardized(*destination.path());
    // A volume that ignores case may hold the destination under another spelling ("photo.jpg"
    // for "Photo.JPG"): that file is the copy the new one replaces, not an earlier picture to
    // clear away. When its spelling cannot be told, the clean-up waits for the next import
    // rather than risk taking it.
    Url held = destination;
    bool heldKnown = true;
    if (!(incoming == destination)) {
        auto spelling = spellingInFolder(folder, name);
        heldKnown = spelling.has_value();
        if (spelling) held = folder.appendingPathComponent(*spelling);
    }
    const std::string heldPath = standardized(held.path().value_or(""));
    const std::string incomingPath = standardized(incoming.path().value_or(""));
    if (heldKnown && !cleanSupportFolder(folder, {keep, destinationPath, heldPath, incomingPath}))
        return std::nullopt;
    std::optional<Error> error;
    if (!(incoming == destination) && !s_.fileManager.replaceItemAtURL(held, incoming, &error)) {
        importFailed(error);
        return std::nullopt;
    }
    // The copy takes the chosen file's own spelling; should that fail, it is still whole under
    // the old one, and the choice names it so.
    if (!(held == destination) &&
        !s_.fileManager.moveItemAtPath(heldPath, destinationPath, &error)) {
        s_.console.log(error ? error->description() : "");
        return held;
    }
    return destination;
}

void WallpaperChooser::importFailed(const std::optional<Error>& error) {
    s_.console.log(error ? error->description() : "");
    s_.failures.customWallpaperFailed(error);
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
