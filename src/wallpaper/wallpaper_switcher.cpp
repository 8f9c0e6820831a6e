#include "wallpaper/wallpaper_switcher.h"

#include "platform/paths.h"
#include "prefs/keys.h"

namespace tidra {

Value screenNumber(const Screen& screen) {
    Dictionary description = screen.deviceDescription();
    auto it = description.find(Value(kScreenNumberKey));
    if (it == description.end() || !it->second.isNumber()) return {};
    return it->second;
}

WallpaperSwitcher::WallpaperSwitcher(const WallpaperServices& services,
                                     std::function<bool()> isClean)
    : s_(services), isClean_(std::move(isClean)), store_(services.defaults, services.archiver) {}

void WallpaperSwitcher::loadRecords() {
    records_ = store_.load();
}

std::optional<Url> WallpaperSwitcher::replacementImage() {
    auto chosen = s_.defaults.URLForKey(prefs::kReplaceWallpaper);
    if (!chosen) return std::nullopt;
    auto path = chosen->path();
    if (!path) return std::nullopt;
    if (!s_.fileManager.fileExistsAtPath(*path)) {
        // A deleted custom image: the grey one stands in rather than a broken picture.
        if (auto grey = s_.bundle.URLForImageResource("wallpaper")) return grey;
    }
    return chosen;
}

void WallpaperSwitcher::toggle(bool show) {
    auto image = replacementImage();
    // Showing restores whatever the choice is now: a user who picked Keep Wallpaper while the
    // icons were hidden would otherwise keep Tidra's picture for good.
    if (!show && !image) return;
    auto screens = s_.screens.screens();
    if (!screens) return;
    if (show) {
        restore(*screens, image);
    } else {
        replace(*screens, *image);
    }
}

std::string WallpaperSwitcher::standardized(const std::string& path) {
    return paths::standardize(path, s_.fileManager.homeDirectory());
}

bool WallpaperSwitcher::isTidrasImage(const std::string& path, const std::optional<Url>& image) {
    if (paths::contains(path, kSupportFolderMarker)) return true;
    // A replacement that runs while the icons are already hidden (a launch at login, Finder
    // restarting) finds Tidra's own picture on the screens; recording it would lose the
    // user's wallpaper for good.
    const std::string current = standardized(path);
    if (auto imagePath = image ? image->path() : std::nullopt;
        imagePath && standardized(*imagePath) == current)
        return true;
    if (auto grey = s_.bundle.URLForImageResource("wallpaper")) {
        if (auto greyPath = grey->path(); greyPath && standardized(*greyPath) == current)
            return true;
    }
    return false;
}

bool WallpaperSwitcher::showsTidrasImage(const Screen& screen, const std::optional<Url>& image) {
    auto current = s_.workspace.desktopImageURLForScreen(screen);
    if (!current) return false;
    auto path = current->path();
    return path && isTidrasImage(*path, image);
}

void WallpaperSwitcher::record(const Screen& screen, const Value& number, const Url& image) {
    auto current = s_.workspace.desktopImageURLForScreen(screen);
    if (!current) return;
    auto path = current->path();
    if (!path || isTidrasImage(*path, image)) return;
    records_.wallpapers[number] = Value(*current);
    Value options = s_.workspace.desktopImageOptionsForScreen(screen);
    if (options.isDictionary()) records_.options[number] = options;
}

void WallpaperSwitcher::replace(const ScreenList& screens, const Url& image) {
    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        if (!number.isNil()) record(*screen, number, image);
        std::optional<Error> error;
        if (!s_.workspace.setDesktopImageURL(image, *screen, {}, &error))
            s_.console.log("Error when hiding wallpaper: " + (error ? error->description() : ""));
    }
    std::vector<Value> connected;
    for (const auto& screen : screens)
        if (Value number = screenNumber(*screen); !number.isNil()) connected.push_back(number);
    // Every monitor ever met has a number of its own: unbounded, the records would outgrow
    // what a launch accepts and be thrown away whole.
    trimRecord(records_.wallpapers, connected, kMaxWallpaperRecordEntries);
    trimRecord(records_.options, connected, kMaxWallpaperRecordEntries);
    store_.store(records_);
    std::weak_ptr<int> alive = alive_;
    s_.dispatch.mainQueueAfter(kWallpaperReapplyDelayNanoseconds, [this, alive, image] {
        if (alive.expired()) return;
        reapply(image);
    });
}

void WallpaperSwitcher::reapply(const Url& image) {
    // Shown again in the meantime: the restored wallpapers stay.
    if (!isClean_()) return;
    auto screens = s_.screens.screens();
    if (!screens) return;
    for (const auto& screen : *screens) {
        std::optional<Error> error;
        if (!s_.workspace.setDesktopImageURL(image, *screen, {}, &error))
            s_.console.log("Error when hiding wallpaper: " + (error ? error->description() : ""));
    }
}

void WallpaperSwitcher::restore(const ScreenList& screens, const std::optional<Url>& image) {
    std::vector<Value> connected;
    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        if (!number.isNil()) connected.push_back(number);
    }
    auto isConnected = [&](const Value& key) {
        for (const Value& n : connected)
            if (n == key) return true;
        return false;
    };

    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        if (number.isNil()) continue;
        // A picture Tidra did not put there is the user's latest choice: it stays.
        if (!showsTidrasImage(*screen, image)) continue;
        const Dictionary& recorded = records_.wallpapers;
        auto chosen = recorded.find(number);
        if (chosen == recorded.end()) {
            // A screen that came while the icons were hidden borrows another connected
            // screen's wallpaper, or else the first one recorded.
            for (auto it = recorded.begin(); it != recorded.end(); ++it)
                if (isConnected(it->first)) chosen = it;
            if (chosen == recorded.end()) {
                if (recorded.empty()) return;
                chosen = recorded.begin();
            }
        }
        auto options = records_.options.find(chosen->first);
        Dictionary applied = options != records_.options.end() && options->second.isDictionary()
                                 ? options->second.dictionary()
                                 : Dictionary{};
        std::optional<Error> error;
        if (!s_.workspace.setDesktopImageURL(chosen->second.url(), *screen, applied, &error)) {
            s_.console.log("Error when setting wallpaper for screen " +
                           std::to_string(number.intValue()) + ": " +
                           (error ? error->description() : ""));
        }
    }
}

}  // namespace tidra
