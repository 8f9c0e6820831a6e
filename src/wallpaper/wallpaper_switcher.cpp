#include "wallpaper/wallpaper_switcher.h"

#include <algorithm>

#include "platform/paths.h"
#include "prefs/keys.h"

namespace tidra {

Value screenNumber(const Screen& screen) {
    Dictionary description = screen.deviceDescription();
    auto it = description.find(Value(kScreenNumberKey));
    if (it == description.end() || !it->second.isNumber()) return {};
    return it->second;
}

bool isTidraGreyImage(const std::string& path) {
    return paths::lastPathComponent(path).starts_with("wallpaper.") &&
           paths::deletingLastPathComponent(path).ends_with(".app/Contents/Resources");
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
        // A deleted custom image, or the grey image of a copy of Tidra that was moved: the grey
        // one stands in rather than a broken picture.
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
        ++shows_;
        restore(*screens);
    } else {
        replace(*screens, *image);
    }
}

void WallpaperSwitcher::choiceChanged() {
    if (!isClean_()) return;
    auto screens = s_.screens.screens();
    if (!screens) return;
    auto image = replacementImage();
    if (!image) {
        restore(*screens);
        return;
    }
    std::vector<std::shared_ptr<Screen>> tidras;
    bool covering = false;
    for (const auto& screen : *screens) {
        const Value number = screenNumber(*screen);
        auto current = currentPath(*screen);
        if (current && isTidrasImage(number, *current)) tidras.push_back(screen);
        covering |= !number.isNil() && records_.applied.count(number) > 0;
    }
    if (!records_.appliedKnown) covering = !tidras.empty();
    // Hidden while no replacement was chosen: the new choice replaces as hiding would have.
    // Pictures the user set over Tidra's since stay.
    if (!covering) {
        replace(*screens, *image);
        return;
    }
    for (const auto& screen : tidras) put(*screen, screenNumber(*screen), *image);
    save();
}

std::vector<std::string> WallpaperSwitcher::usersPictures() {
    std::vector<std::string> pictures;
    for (const auto& [number, recorded] : records_.wallpapers) {
        auto path = recorded.isUrl() ? recorded.url().path() : std::nullopt;
        if (path) pictures.push_back(standardized(*path));
    }
    auto screens = s_.screens.screens();
    if (!screens) return pictures;
    for (const auto& screen : *screens) {
        auto current = currentPath(*screen);
        if (current && !isTidrasImage(screenNumber(*screen), *current))
            pictures.push_back(standardized(*current));
    }
    return pictures;
}

std::string WallpaperSwitcher::standardized(const std::string& path) {
    return paths::standardize(path, s_.fileManager.homeDirectory());
}

std::optional<std::string> WallpaperSwitcher::currentPath(const Screen& screen) {
    auto current = s_.workspace.desktopImageURLForScreen(screen);
    if (!current) return std::nullopt;
    return current->path();
}

bool WallpaperSwitcher::isTidrasImage(const Value& number, const std::string& path) {
    const std::string current = standardized(path);
    if (isTidraGreyImage(current)) return true;
    if (!number.isNil()) {
        auto applied = records_.applied.find(number);
        // What Tidra put on the screen decides: a picture the user chose from Tidra's support
        // folder is the user's own.
        if (applied != records_.applied.end()) {
            auto appliedPath = applied->second.url().path();
            return appliedPath && standardized(*appliedPath) == current;
        }
        if (records_.appliedKnown) return false;
    }
    // Records from before Tidra kept what it put on each screen: its pictures are known by
    // where they lie. A replacement that runs while the icons are already hidden (a launch at
    // login, Finder restarting) finds them on the screens; recording one would lose the user's
    // wallpaper for good.
    if (paths::contains(path, kSupportFolderMarker)) return true;
    for (auto candidate : {replacementImage(), s_.defaults.URLForKey(prefs::kReplaceWallpaper)}) {
        auto candidatePath = candidate ? candidate->path() : std::nullopt;
        if (candidatePath && standardized(*candidatePath) == current) return true;
    }
    return false;
}

void WallpaperSwitcher::record(const Screen& screen, const Value& number) {
    auto current = s_.workspace.desktopImageURLForScreen(screen);
    if (!current) return;
    auto path = current->path();
    if (!path || isTidrasImage(number, *path)) return;
    records_.wallpapers[number] = Value(*current);
    Value options = s_.workspace.desktopImageOptionsForScreen(screen);
    if (options.isDictionary()) records_.options[number] = options;
}

bool WallpaperSwitcher::setPicture(const Screen& screen, const Url& image,
                                   const Dictionary& options, const std::string& failure) {
    std::optional<Error> error;
    if (s_.workspace.setDesktopImageURL(image, screen, options, &error)) return true;
    s_.console.log(failure + (error ? error->description() : ""));
    return false;
}

void WallpaperSwitcher::put(const Screen& screen, const Value& number, const Url& image) {
    if (!setPicture(screen, image, {}, "Error when hiding wallpaper: ")) return;
    if (!number.isNil()) records_.applied[number] = Value(image);
}

void WallpaperSwitcher::save() {
    store_.store(records_);
    records_.appliedKnown = true;
}

std::vector<Value> WallpaperSwitcher::connectedNumbers(const ScreenList& screens) {
    std::vector<Value> connected;
    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        if (!number.isNil()) connected.push_back(number);
    }
    return connected;
}

void WallpaperSwitcher::replace(const ScreenList& screens, const Url& image) {
    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        if (!number.isNil()) record(*screen, number);
    }
    // Every monitor ever met has a number of its own: unbounded, the records would outgrow
    // what a launch accepts and be thrown away whole.
    const std::vector<Value> connected = connectedNumbers(screens);
    trimRecord(records_.wallpapers, connected, kMaxWallpaperRecordEntries);
    trimRecord(records_.options, connected, kMaxWallpaperRecordEntries);
    // The user's pictures are stored before any screen changes: an end of Tidra in between
    // leaves them on the screens or in the record, never in neither.
    store_.store(records_);
    Covered covered;
    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        put(*screen, number, image);
        if (!number.isNil())
            covered.emplace_back(number, standardized(currentPath(*screen).value_or("")));
    }
    trimRecord(records_.applied, connected, kMaxWallpaperRecordEntries);
    save();
    std::weak_ptr<int> alive = alive_;
    s_.dispatch.mainQueueAfter(kWallpaperReapplyDelayNanoseconds,
                               [this, alive, shows = shows_, covered] {
                                   if (alive.expired()) return;
                                   reapply(shows, covered);
                               });
}

void WallpaperSwitcher::reapply(std::uint64_t shows, const Covered& covered) {
    // Shown again in the meantime: the restored wallpapers stay.
    if (!isClean_() || shows != shows_) return;
    // The choice made since the hiding is the one that counts.
    auto image = replacementImage();
    if (!image) return;
    auto screens = s_.screens.screens();
    if (!screens) return;
    bool touched = false;
    for (const auto& screen : *screens) {
        const Value number = screenNumber(*screen);
        auto current = currentPath(*screen);
        auto was = std::find_if(covered.begin(), covered.end(),
                                [&](const auto& entry) { return entry.first == number; });
        if (!number.isNil() && was == covered.end()) {
            // Connected since the hiding: its own picture is kept like the others', and stored
            // before Tidra's covers it.
            record(*screen, number);
            store_.store(records_);
        } else if (!current) {
            continue;
        } else if (!isTidrasImage(number, *current) &&
                   (was == covered.end() || standardized(*current) != was->second)) {
            // A picture the user set since the hiding stays.
            continue;
        }
        put(*screen, number, *image);
        touched = true;
    }
    if (touched) save();
}

Dictionary::const_iterator WallpaperSwitcher::recordedFor(const Value& number,
                                                          const std::vector<Value>& connected) {
    const Dictionary& recorded = records_.wallpapers;
    auto chosen = recorded.find(number);
    if (chosen != recorded.end()) return chosen;
    // A screen that came while the icons were hidden borrows another connected screen's
    // wallpaper, or else the first one recorded.
    for (auto it = recorded.begin(); it != recorded.end(); ++it)
        if (std::find(connected.begin(), connected.end(), it->first) != connected.end())
            chosen = it;
    return chosen != recorded.end() ? chosen : recorded.begin();
}

bool WallpaperSwitcher::putBack(const Screen& screen, const Value& number,
                                Dictionary::const_iterator recorded) {
    auto options = records_.options.find(recorded->first);
    Dictionary applied = options != records_.options.end() && options->second.isDictionary()
                             ? options->second.dictionary()
                             : Dictionary{};
    return setPicture(
        screen, recorded->second.url(), applied,
        "Error when setting wallpaper for screen " + std::to_string(number.intValue()) + ": ");
}

void WallpaperSwitcher::restore(const ScreenList& screens) {
    const std::vector<Value> connected = connectedNumbers(screens);
    const std::size_t appliedBefore = records_.applied.size();
    for (const auto& screen : screens) {
        Value number = screenNumber(*screen);
        if (number.isNil()) continue;
        // A picture Tidra did not put there is the user's latest choice: it stays.
        auto current = currentPath(*screen);
        if (!current || !isTidrasImage(number, *current)) {
            records_.applied.erase(number);
            continue;
        }
        // Nothing recorded at all: nothing to put back on any screen.
        if (records_.wallpapers.empty()) break;
        if (putBack(*screen, number, recordedFor(number, connected)))
            records_.applied.erase(number);
    }
    // From now on the stored record says what Tidra has on the screens, also when that is
    // nothing.
    if (records_.applied.size() != appliedBefore || !records_.appliedKnown) {
        store_.storeApplied(records_);
        records_.appliedKnown = true;
    }
}

}  // namespace tidra
