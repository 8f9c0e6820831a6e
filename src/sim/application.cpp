#include "sim/application.h"

#include "sim/interface/description_file.h"
#include "sim/run_loop.h"

namespace tidra::sim {
namespace {

// The simulated Mac's menus for the main interface's entries.
class SimMenuFactory final : public MenuFactory {
  public:
    explicit SimMenuFactory(UserDefaults& store) : store_(store) {}

    std::shared_ptr<MenuItem> makeItem(const std::string& title, int tag) override {
        return std::make_shared<SimMenuItem>(title, tag);
    }
    std::shared_ptr<MenuItem> makeSeparator() override { return SimMenuItem::separatorItem(); }
    void setAction(MenuItem& item, Object* target, const std::string& selector) override {
        static_cast<SimMenuItem&>(item).setAction(target, selector);
    }
    void bind(MenuItem& item, const std::string& key) override {
        static_cast<SimMenuItem&>(item).bind(store_, key);
    }
    void setKeyEquivalent(MenuItem& item, const std::string& key) override {
        static_cast<SimMenuItem&>(item).setKeyEquivalent(key);
    }
    void setSubmenu(MenuItem& item, std::shared_ptr<Menu> submenu) override {
        static_cast<SimMenuItem&>(item).setSubmenu(std::static_pointer_cast<SimMenu>(submenu));
    }
    std::shared_ptr<Menu> makeMenu(const std::vector<std::shared_ptr<MenuItem>>& items) override {
        auto menu = std::make_shared<SimMenu>();
        for (const auto& item : items)
            menu->entries.push_back(std::static_pointer_cast<SimMenuItem>(item));
        return menu;
    }

  private:
    UserDefaults& store_;
};

}  // namespace

SimApplication::~SimApplication() {
    releaseObjects();
}

void SimApplication::releaseObjects() {
    if (interface_) interface_->release();
    interface_.reset();
}

Object* SimApplication::object(const std::string& id) const {
    return interface_ ? interface_->object(id) : nullptr;
}

std::shared_ptr<SimMenu> SimApplication::menu(const std::string& id) const {
    return interface_ ? std::static_pointer_cast<SimMenu>(interface_->menu(id)) : nullptr;
}

void SimApplication::terminate(Object*) {
    throw ProcessExit{0};
}

void SimApplication::exit(int status) {
    throw ProcessExit{status};
}

bool SimApplication::loadMainInterface(const ClassRegistry& classes) {
    auto file = bundle_.resourceFile("MainMenu", "json");
    if (!file) {
        loadError_ = "the bundle has no MainMenu interface description";
        return false;
    }
    auto description = readDescriptionFile(*file);
    if (!description) {
        loadError_ = "MainMenu is not a valid interface description";
        return false;
    }
    SimMenuFactory menus(store_);
    auto built = buildMainInterface(
        *description, "MainMenu", classes, menus, console_,
        [this](const std::string& text) { return bundle_.localizedString(text, "", "MainMenu"); });
    if (auto* refusal = std::get_if<MainInterfaceRefusal>(&built)) {
        loadError_ = refusal->reason == MainInterfaceRefusal::Reason::UnknownClass
                         ? "no class named " + refusal->detail
                         : "MainMenu is not a valid interface description";
        return false;
    }
    interface_ = std::move(std::get<MainInterface>(built));
    return true;
}

int SimApplication::applicationMain(int, char**, const ClassRegistry& classes) {
    if (!loadMainInterface(classes)) return 1;
    for (Object* o : interface_->objects()) o->awakeFromNib();
    auto* delegate = dynamic_cast<ApplicationDelegate*>(interface_->applicationDelegate());
    Notification note{"NSApplicationWillFinishLaunchingNotification", nullptr, Value()};
    if (delegate) delegate->applicationWillFinishLaunching(note);
    note.name = "NSApplicationDidFinishLaunchingNotification";
    finishedLaunching_ = true;
    if (delegate) delegate->applicationDidFinishLaunching(note);
    return 0;
}

int SimApplication::addLocalMonitorForEvents(unsigned mask, EventMonitorHandler handler) {
    monitors_.push_back({nextMonitor_, mask, std::move(handler)});
    return nextMonitor_++;
}

void SimApplication::removeMonitor(int monitor) {
    std::erase_if(monitors_, [monitor](const Monitor& m) { return m.id == monitor; });
}

std::optional<Event> SimApplication::passThroughMonitors(const Event& event) {
    std::optional<Event> left = event;
    // A copy: a handler may add or remove monitors (it may even end up ending Tidra).
    const std::vector<Monitor> monitors = monitors_;
    for (const Monitor& m : monitors) {
        if (!(m.mask & eventMask(left->type)) || !m.handler) continue;
        left = m.handler(*left);
        if (!left) return std::nullopt;
    }
    return left;
}

void SimApplication::reopen() {
    if (!interface_) return;
    if (auto* delegate = dynamic_cast<ApplicationDelegate*>(interface_->applicationDelegate()))
        delegate->applicationShouldHandleReopen(false);
}

}  // namespace tidra::sim
