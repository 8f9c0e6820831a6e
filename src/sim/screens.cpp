#include "sim/screens.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/paths.h"
#include "sim/desktop_pictures.h"
#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kMainDisplayNumber = 1;
constexpr const char* kMainDisplayName = "Built-in Retina Display";

Dictionary defaultOptions() {
    // As the platform reports them: fill the screen, clipping allowed, a dark grey behind.
    return Dictionary{{Value("NSWorkspaceDesktopImageScalingKey"), Value(3)},
                      {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(true)},
                      {Value("NSWorkspaceDesktopImageFillColorKey"),
                       Value("sRGB IEC61966-2.1 colorspace 0.1176 0.1176 0.1176 1")}};
}

Error cocoaError(long code, const std::string& text) {
    return Error{"NSCocoaErrorDomain", code, text};
}

std::shared_ptr<SimScreen> screenFromEntry(const Value& entry) {
    if (!entry.isDictionary() || !entry["Name"].isString()) return nullptr;
    std::optional<std::uint32_t> number;
    if (entry["Number"].isNumber()) number = static_cast<std::uint32_t>(entry["Number"].intValue());
    return std::make_shared<SimScreen>(number, entry["Name"].string(),
                                       entry["Serial"].isString() ? entry["Serial"].string() : "",
                                       entry["Anonymous"].boolValue());
}

}  // namespace

Dictionary SimScreen::deviceDescription() const {
    Dictionary d{{Value("NSDeviceIsScreen"), Value("YES")}};
    if (number_) d[Value(kScreenNumberKey)] = Value(*number_);
    return d;
}

SimScreens::SimScreens(RunLoop& loop, const Disk& disk, OperatingSystemVersion system)
    : defaultPicture_(defaultDesktopPicture(system)), loop_(loop), disk_(disk) {
    load();
    if (screens_.empty()) populateDefault();
}

SimScreens::~SimScreens() {
    std::lock_guard lock(mutex_);
    if (savePending_) saveLocked();
}

void SimScreens::populateDefault() {
    auto main = std::make_shared<SimScreen>(kMainDisplayNumber, kMainDisplayName);
    main->wallpaper_ = defaultPicture_;
    main->options_ = Value(defaultOptions());
    std::lock_guard lock(mutex_);
    screens_.push_back(main);
    saveLocked();
}

void SimScreens::load() {
    std::ifstream in(disk_.real(kStateFile), std::ios::binary);
    if (!in) return;
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Value state = parsePlist(bytes);
    if (state["NextNumber"].isNumber())
        nextNumber_ = static_cast<std::uint32_t>(std::max<std::int64_t>(
            2, std::min<std::int64_t>(state["NextNumber"].intValue(), 0xffffffff)));
    for (auto [key, into] : {std::pair{"Displays", &screens_}, std::pair{"Departed", &departed_}}) {
        Value list = state[key];
        if (!list.isArray()) continue;
        for (const Value& entry : list.array()) {
            auto screen = screenFromEntry(entry);
            if (!screen) continue;
            screen->wallpaper_ = entry["Picture"].isString() ? entry["Picture"].string() : "";
            screen->options_ = entry["Options"].isDictionary() ? entry["Options"] : Value();
            screen->failing_ = entry["Fails"].boolValue();
            screen->connected_ = into == &screens_;
            // A number once given is never given to another display.
            if (screen->number_ && *screen->number_ >= nextNumber_ && *screen->number_ < 0xffffffff)
                nextNumber_ = *screen->number_ + 1;
            into->push_back(screen);
        }
    }
}

void SimScreens::saveLocked() {
    savePending_ = false;
    auto listOf = [](const std::vector<std::shared_ptr<SimScreen>>& screens) {
        Array list;
        for (const auto& s : screens) {
            Dictionary entry{{Value("Name"), Value(s->name_)},
                             {Value("Picture"), Value(s->wallpaper_)},
                             {Value("Fails"), Value(s->failing_)}};
            if (s->number_) entry[Value("Number")] = Value(*s->number_);
            if (s->options_.isDictionary()) entry[Value("Options")] = s->options_;
            if (!s->serial_.empty()) entry[Value("Serial")] = Value(s->serial_);
            if (s->anonymous_) entry[Value("Anonymous")] = Value(true);
            list.push_back(Value(std::move(entry)));
        }
        return Value(std::move(list));
    };
    auto bytes = toBinaryPlist(Value(Dictionary{{Value("Displays"), listOf(screens_)},
                                                {Value("Departed"), listOf(departed_)},
                                                {Value("NextNumber"), Value(nextNumber_)}}));
    if (!bytes) return;
    disk_.writeFile(kStateFile,
                    std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

void SimScreens::scheduleSaveLocked() {
    // One write for a burst of changes: setting every screen's picture costs one file write.
    if (savePending_) return;
    savePending_ = true;
    std::weak_ptr<int> alive = alive_;
    loop_.post([this, alive] {
        if (alive.expired()) return;
        std::lock_guard lock(mutex_);
        if (savePending_) saveLocked();
    });
}

void SimScreens::flush() {
    std::lock_guard lock(mutex_);
    saveLocked();
}

std::optional<std::vector<std::shared_ptr<Screen>>> SimScreens::screens() {
    std::lock_guard lock(mutex_);
    if (!listAvailable_) return std::nullopt;
    return std::vector<std::shared_ptr<Screen>>(screens_.begin(), screens_.end());
}

void SimScreens::registerReconfigurationCallback(DisplayReconfigurationCallback callback,
                                                 void* userInfo) {
    std::lock_guard lock(mutex_);
    callbacks_.push_back({callback, userInfo, owner_});
}

void SimScreens::dropOwner(int pid) {
    std::lock_guard lock(mutex_);
    std::erase_if(callbacks_, [pid](const Callback& c) { return c.owner == pid; });
}

void SimScreens::announce(std::uint32_t display, std::uint32_t flags) {
    std::vector<Callback> callbacks;
    {
        std::lock_guard lock(mutex_);
        callbacks = callbacks_;
    }
    for (const Callback& c : callbacks) {
        // The window server tells of the coming change first, then of the change itself.
        loop_.post(
            [c, display] { c.function(display, kDisplayBeginConfigurationFlag, c.userInfo); },
            c.owner);
        loop_.post([c, display, flags] { c.function(display, flags, c.userInfo); }, c.owner);
    }
}

std::shared_ptr<SimScreen> SimScreens::connectedLocked(const Screen& screen) const {
    for (const auto& s : screens_)
        if (s.get() == &screen) return s;
    return nullptr;
}

std::optional<Url> SimScreens::desktopImageURL(const Screen& screen) {
    std::lock_guard lock(mutex_);
    auto s = connectedLocked(screen);
    if (!s || s->wallpaper_.empty()) return std::nullopt;
    return Url::fileURLWithPath(s->wallpaper_);
}

Value SimScreens::desktopImageOptions(const Screen& screen) {
    std::lock_guard lock(mutex_);
    auto s = connectedLocked(screen);
    return s ? s->options_ : Value();
}

bool SimScreens::setDesktopImage(const Url& url, const Screen& screen, const Dictionary& options,
                                 ErrorOut error) {
    return setPicture(url, screen, options, error, false);
}

bool SimScreens::setPicture(const Url& url, const Screen& screen, const Dictionary& options,
                            ErrorOut error, bool byUser) {
    auto fail = [&](Error e) {
        if (error) *error = std::move(e);
        return false;
    };
    auto path = url.isFileURL() ? url.path() : std::nullopt;
    if (!path)
        return fail(cocoaError(262,
                               "The file couldn’t be opened because the specified "
                               "URL type isn’t supported."));
    const std::string macPath = paths::standardize(*path, disk_.home());
    std::error_code ec;
    if (!fs::is_regular_file(disk_.real(macPath), ec))
        return fail(cocoaError(260, "The file “" + paths::lastPathComponent(macPath) +
                                        "” couldn’t be opened because "
                                        "there is no such file."));
    std::lock_guard lock(mutex_);
    auto s = connectedLocked(screen);
    if (!s || (s->failing_ && !byUser))
        return fail(cocoaError(512, "The desktop picture couldn’t be changed for the display."));
    s->wallpaper_ = macPath;
    s->options_ = Value(options);
    ++pictureChanges_;
    // The system keeps the picture itself, apart from the application that set it: once set, it
    // outlives an end of that application.
    saveLocked();
    return true;
}

std::shared_ptr<SimScreen> SimScreens::takeDepartedLocked(const std::string& name,
                                                          const std::string& serial) {
    auto best = departed_.end();
    for (auto it = departed_.begin(); it != departed_.end(); ++it) {
        const SimScreen& d = **it;
        // A serial names one display whatever it is called; without one, the name does.
        if (d.serial_ != serial) continue;
        if (serial.empty() && (d.anonymous_ != name.empty() || (!name.empty() && d.name_ != name)))
            continue;
        if (best == departed_.end() || d.number_ < (*best)->number_) best = it;
    }
    if (best == departed_.end()) return nullptr;
    auto found = *best;
    departed_.erase(best);
    return found;
}

std::shared_ptr<SimScreen> SimScreens::addScreen(const std::string& name, bool numbered,
                                                 const std::string& serial) {
    std::shared_ptr<SimScreen> screen;
    std::uint32_t display = 0;
    {
        std::lock_guard lock(mutex_);
        if (!serial.empty() && std::any_of(screens_.begin(), screens_.end(),
                                           [&](const auto& s) { return s->serial_ == serial; }))
            return nullptr;
        if (auto back = numbered ? takeDepartedLocked(name, serial) : nullptr) {
            // A fresh object, as the platform makes one per connection; the old one stays gone.
            screen = std::make_shared<SimScreen>(back->number_, back->name_, back->serial_,
                                                 back->anonymous_);
            screen->wallpaper_ = back->wallpaper_;
            screen->options_ = back->options_;
            screen->failing_ = back->failing_;
            display = back->number_.value_or(0);
        } else {
            std::optional<std::uint32_t> number;
            if (numbered) {
                number = nextNumber_;
                display = nextNumber_;
                if (nextNumber_ < 0xffffffff) ++nextNumber_;
            }
            std::string shown = name;
            if (shown.empty()) shown = numbered ? "Display " + std::to_string(display) : "Display";
            screen = std::make_shared<SimScreen>(number, shown, serial, name.empty());
            screen->wallpaper_ = defaultPicture_;
            screen->options_ = Value(defaultOptions());
        }
        screens_.push_back(screen);
        scheduleSaveLocked();
    }
    announce(display, kDisplayAddFlag);
    return screen;
}

bool SimScreens::removeScreen(std::uint32_t number) {
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(screens_.begin(), screens_.end(),
                               [number](const auto& s) { return s->number_ == number; });
        if (it == screens_.end()) return false;
        (*it)->connected_ = false;
        departed_.push_back(*it);
        screens_.erase(it);
        scheduleSaveLocked();
    }
    announce(number, kDisplayRemoveFlag);
    return true;
}

std::shared_ptr<SimScreen> SimScreens::find(std::uint32_t number) const {
    std::lock_guard lock(mutex_);
    for (const auto& s : screens_)
        if (s->number_ == number) return s;
    return nullptr;
}

bool SimScreens::setFailing(std::uint32_t number, bool failing) {
    auto s = find(number);
    if (!s) return false;
    std::lock_guard lock(mutex_);
    s->failing_ = failing;
    scheduleSaveLocked();
    return true;
}

std::optional<std::string> SimScreens::setPictureByHand(std::uint32_t number,
                                                        const std::string& macPath) {
    auto s = find(number);
    if (!s) return "no display numbered " + std::to_string(number);
    Dictionary options;
    {
        std::lock_guard lock(mutex_);
        if (s->options_.isDictionary()) options = s->options_.dictionary();
    }
    std::optional<Error> error;
    // The fail switch stands for the platform refusing Tidra, not the user.
    if (!setPicture(Url::fileURLWithPath(paths::standardize(macPath, disk_.home())), *s, options,
                    &error, true))
        return error ? error->localizedDescription : "the picture could not be set";
    return std::nullopt;
}

bool SimScreens::setOptions(std::uint32_t number, const Value& options) {
    auto s = find(number);
    if (!s) return false;
    std::lock_guard lock(mutex_);
    s->options_ = options.isDictionary() ? options : Value();
    scheduleSaveLocked();
    return true;
}

void SimScreens::setListAvailable(bool available) {
    std::lock_guard lock(mutex_);
    listAvailable_ = available;
}

std::vector<SimScreens::Info> SimScreens::snapshot() const {
    std::lock_guard lock(mutex_);
    std::vector<Info> out;
    for (const auto& s : screens_)
        out.push_back({s->number_, s->name_, s->serial_, s->wallpaper_, s->options_, s->failing_});
    return out;
}

int SimScreens::pictureChanges() const {
    std::lock_guard lock(mutex_);
    return pictureChanges_;
}

}  // namespace tidra::sim
