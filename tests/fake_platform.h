// A small in-memory platform for exercising the status controller without the simulated Mac:
// each service keeps just enough state for a test to see what the logic did.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tidra::fake {

struct Exit {};

class Defaults : public UserDefaults {
  public:
    std::map<std::string, Value> values;
    std::map<std::string, Value>* globalDomain = nullptr;
    int synchronizes = 0;
    struct Observation {
        Object* observer;
        std::string key;
    };
    std::vector<Observation> observers;

    Value objectForKey(const std::string& key) override {
        auto it = values.find(key);
        return it == values.end() ? Value() : it->second;
    }
    bool boolForKey(const std::string& key) override { return objectForKey(key).boolValue(); }
    void setBool(bool value, const std::string& key) override { setObject(Value(value), key); }
    std::optional<Url> URLForKey(const std::string& key) override {
        Value v = objectForKey(key);
        if (v.isString()) return Url::fileURLWithPath(v.string());
        return std::nullopt;
    }
    void setURL(const std::optional<Url>& url, const std::string& key) override {
        if (!url) return removeObjectForKey(key);
        setObject(Value(url->path().value_or("")), key);
    }
    void setObject(const Value& value, const std::string& key) override {
        values[key] = value;
        notify(key, value);
    }
    void removeObjectForKey(const std::string& key) override {
        values.erase(key);
        notify(key, Value::null());
    }
    bool synchronize() override { return ++synchronizes, true; }
    Value persistentDomainForName(const std::string&) override {
        if (!globalDomain) return {};
        Dictionary d;
        for (auto& [k, v] : *globalDomain) d[Value(k)] = v;
        return Value(d);
    }
    void addObserver(Object* observer, const std::string& keyPath, unsigned, void*) override {
        observers.push_back({observer, keyPath});
    }
    void removeObserver(Object* observer, const std::string& keyPath, void*) override {
        std::erase_if(observers, [&](const Observation& o) {
            return o.observer == observer && o.key == keyPath;
        });
    }

  private:
    void notify(const std::string& key, const Value& value) {
        auto snapshot = observers;
        for (auto& o : snapshot)
            if (o.key == key)
                o.observer->observeValueForKeyPath(key, this, Dictionary{{Value("new"), value}},
                                                   nullptr);
    }
};

class Prefs : public Preferences {
  public:
    Defaults standard;
    std::shared_ptr<Defaults> finder = std::make_shared<Defaults>();
    bool finderReachable = true;
    UserDefaults& standardUserDefaults() override { return standard; }
    std::shared_ptr<UserDefaults> suite(const std::string& name) override {
        if (name != "com.apple.finder" || !finderReachable) return nullptr;
        return finder;
    }
};

struct NullArchiver : Archiver {
    Data archivedDataWithRootObject(const Value&) override { return {}; }
    Value unarchiveObjectWithData(const Data&) override { return {}; }
    Value propertyListWithData(const Data&) override { return {}; }
};

struct Center : NotificationCenter, DistributedNotificationCenter {
    std::map<std::string, std::pair<Object*, std::string>> observers;  // name -> observer
    void addObserver(Object* o, const std::string& sel, const std::optional<std::string>& name,
                     Object*) override {
        observers[name.value_or("")] = {o, sel};
    }
    void removeObserver(Object*, const std::optional<std::string>& name, Object*) override {
        observers.erase(name.value_or(""));
    }
    void post(const std::string& name, Value userInfo = {}) {
        auto it = observers.find(name);
        if (it == observers.end()) return;
        it->second.first->performNotification(it->second.second, {name, nullptr, userInfo});
    }
};

struct RunningApp : RunningApplication {
    std::string id;
    int terminations = 0;
    explicit RunningApp(std::string i) : id(std::move(i)) {}
    std::string bundleIdentifier() const override { return id; }
    std::optional<Url> bundleURL() const override { return std::nullopt; }
    int processIdentifier() const override { return 1; }
    bool terminate() override { return ++terminations, true; }
};

struct FakeWorkspace : Workspace {
    Center center;
    std::vector<std::shared_ptr<RunningApp>> finders;
    std::vector<std::string> launched;
    NotificationCenter& notificationCenter() override { return center; }
    std::vector<std::shared_ptr<RunningApplication>> runningApplicationsWithBundleIdentifier(
        const std::string& id) override {
        std::vector<std::shared_ptr<RunningApplication>> out;
        if (id == "com.apple.finder") out.assign(finders.begin(), finders.end());
        return out;
    }
    std::vector<std::shared_ptr<RunningApplication>> runningApplications() override { return {}; }
    bool launchAppWithBundleIdentifier(const std::string& id, unsigned) override {
        launched.push_back(id);
        return true;
    }
    bool openURL(const Url&) override { return false; }
    std::optional<Url> desktopImageURLForScreen(const Screen&) override { return std::nullopt; }
    Value desktopImageOptionsForScreen(const Screen&) override { return {}; }
    bool setDesktopImageURL(const Url&, const Screen&, const Dictionary&, ErrorOut) override {
        return false;
    }
    bool performFileOperation(const std::string&, const std::string&, const std::string&,
                              const std::vector<std::string>&) override {
        return false;
    }
};

struct FakeScreens : Screens {
    DisplayReconfigurationCallback callback = nullptr;
    void* userInfo = nullptr;
    std::optional<std::vector<std::shared_ptr<Screen>>> screens() override { return std::nullopt; }
    void registerReconfigurationCallback(DisplayReconfigurationCallback cb, void* info) override {
        callback = cb;
        userInfo = info;
    }
};

struct Item : MenuItem {
    std::string title_;
    int state_ = 0, tag_ = 0;
    Item(std::string t, int tag) : title_(std::move(t)), tag_(tag) {}
    std::string title() const override { return title_; }
    void setTitle(const std::string& t) override { title_ = t; }
    int state() const override { return state_; }
    void setState(int s) override { state_ = s; }
    int tag() const override { return tag_; }
    Menu* submenu() const override { return nullptr; }
};

struct FakeMenu : Menu {
    std::vector<Item*> own;
    MenuItem* itemWithTag(int tag) const override {
        for (auto* i : own)
            if (i->tag() == tag) return i;
        return nullptr;
    }
    std::vector<MenuItem*> items() const override { return {own.begin(), own.end()}; }
};

struct Button : StatusBarButton {
    Object* target = nullptr;
    std::string action;
    unsigned mask = 0;
    void setTarget(Object* t) override { target = t; }
    void setAction(const std::string& a) override { action = a; }
    void sendActionOn(unsigned m) override { mask = m; }
    Rect bounds() const override { return {{0, 0}, {22, 22}}; }
    View* view() override { return nullptr; }
};

struct FakeStatusItem : StatusItem {
    std::unique_ptr<Button> button_ = std::make_unique<Button>();
    std::string imageName, title;
    double length_ = -1;
    Menu* menu_ = nullptr;
    std::vector<std::string> popUps;
    StatusBarButton* button() override { return button_.get(); }
    void setImage(std::shared_ptr<Image> image) override { imageName = image ? image->name() : ""; }
    void setLength(double l) override { length_ = l; }
    double length() const override { return length_; }
    void setTitle(const std::string& t) override { title = t; }
    void setMenu(Menu* m) override { menu_ = m; }
    Menu* menu() const override { return menu_; }
    void popUpStatusItemMenu(Menu* m) override {
        popUps.push_back(menu_ == m ? "attached" : "detached");
    }
};

struct FakeStatusBar : StatusBar {
    std::shared_ptr<FakeStatusItem> item = std::make_shared<FakeStatusItem>();
    std::shared_ptr<StatusItem> statusItemWithLength(double) override { return item; }
};

struct FakeImage : Image {
    std::string name_;
    bool template_ = false;
    explicit FakeImage(std::string n) : name_(std::move(n)) {}
    std::string name() const override { return name_; }
    Size size() const override { return {18, 16}; }
    void setTemplate(bool t) override { template_ = t; }
    bool isTemplate() const override { return template_; }
};

struct FakeImages : Images {
    std::shared_ptr<Image> imageNamed(const std::string& name) override {
        return std::make_shared<FakeImage>(name);
    }
};

struct FakePopover : Popover {
    std::shared_ptr<ViewController> content;
    int behavior = -1, shows = 0, closes = 0;
    std::optional<std::string> appearance;
    bool shown = false;
    void setContentViewController(std::shared_ptr<ViewController> c) override { content = c; }
    std::shared_ptr<ViewController> contentViewController() const override { return content; }
    void setBehavior(int b) override { behavior = b; }
    void setAppearance(const std::optional<std::string>& a) override { appearance = a; }
    bool isShown() const override { return shown; }
    void performClose(Object*) override { shown = false, ++closes; }
    void showRelativeToRect(Rect, View*, RectEdge) override { shown = true, ++shows; }
};

struct FakeUi : Ui {
    std::shared_ptr<FakePopover> popover = std::make_shared<FakePopover>();
    std::shared_ptr<Popover> makePopover() override { return popover; }
    std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect) override { return nullptr; }
    std::shared_ptr<OpenPanel> makeOpenPanel() override { return nullptr; }
    std::shared_ptr<Alert> makeAlert() override { return nullptr; }
    long windowLevelForKey(int) override { return 0; }
    double smallSystemFontSize() override { return 11; }
};

struct FakeLoader : InterfaceLoader {
    std::vector<std::string> loaded;
    std::shared_ptr<Window> loadWindow(const std::string& n, Object&) override {
        loaded.push_back(n);
        return nullptr;
    }
    std::shared_ptr<View> loadView(const std::string& n, Object&) override {
        loaded.push_back(n);
        return nullptr;
    }
};

struct FakeUserNotifications : UserNotificationCenter {
    UserNotificationCenterDelegate* delegate = nullptr;
    void setDelegate(UserNotificationCenterDelegate* d) override { delegate = d; }
    void deliverNotification(const UserNotification&) override {}
};

struct FakeBundle : Bundle {
    std::optional<Url> grey =
        Url::fileURLWithPath("/Applications/Tidra.app/Resources/wallpaper.png");
    std::string path = "/Applications/Tidra.app";
    std::string bundlePath() override { return path; }
    std::optional<Url> URLForImageResource(const std::string& n) override {
        return n == "wallpaper" ? grey : std::nullopt;
    }
    Value objectForInfoDictionaryKey(const std::string&) override { return {}; }
    std::string localizedString(const std::string& key, const std::string&,
                                const std::optional<std::string>&) override {
        return key;
    }
};

struct FakeApplication : Application {
    std::optional<Event> event;
    int applicationMain(int, char**, const ClassRegistry&) override { return 0; }
    std::optional<Event> currentEvent() override { return event; }
    [[noreturn]] void terminate(Object*) override { throw Exit{}; }
    [[noreturn]] void exit(int) override { throw Exit{}; }
    bool isActive() override { return true; }
    void activateIgnoringOtherApps(bool) override {}
    int processIdentifier() override { return 42; }
};

struct FakeFileManager : FileManager {
    std::string homeDirectory() override { return "/Users/me"; }
    std::optional<Url> URLForDirectory(SearchPathDirectory, SearchPathDomainMask, bool,
                                       ErrorOut) override {
        return std::nullopt;
    }
    std::vector<std::string> searchPathForDirectoriesInDomains(SearchPathDirectory, unsigned,
                                                               bool) override {
        return {};
    }
    bool createDirectoryAtURL(const Url&, bool, ErrorOut) override { return false; }
    std::unique_ptr<DirectoryEnumerator> enumeratorAtPath(const std::string&) override {
        return nullptr;
    }
    bool removeItemAtURL(const Url&, ErrorOut) override { return false; }
    bool copyItemAtURL(const Url&, const Url&, ErrorOut) override { return false; }
    bool fileExistsAtPath(const std::string&) override { return false; }
    bool isWritableFileAtPath(const std::string&) override { return false; }
    bool copyItemAtPath(const std::string&, const std::string&, ErrorOut) override { return false; }
    bool removeItemAtPath(const std::string&, ErrorOut) override { return false; }
    bool trashItemAtURL(const Url&, ErrorOut) override { return false; }
    std::string resolvingSymlinksInPath(const std::string& p) override { return p; }
};

// System Events: a list of login item names the scripts read and change. An entry "" stands
// for an item without a name.
struct FakeScripting : AppleScripting {
    std::vector<std::string> loginItems, sources;
    bool refuse = false;         // no script object can be made
    bool answerNothing = false;  // the query fails
    bool answerText = false;     // the query answers a single text, not a list
    Dictionary addError;         // the add script's failure, when not empty

    struct Names : EventDescriptor {
        std::vector<std::string> names;
        std::optional<std::string> single;
        std::uint32_t descriptorType() const override {
            return single ? kTypeUnicodeText : kTypeAEList;
        }
        long numberOfItems() const override { return long(names.size()); }
        std::shared_ptr<EventDescriptor> descriptorAtIndex(long i) const override {
            if (i < 1 || i > numberOfItems()) return nullptr;
            auto d = std::make_shared<Names>();
            if (!names[size_t(i - 1)].empty()) d->single = names[size_t(i - 1)];
            return d;
        }
        std::optional<std::string> stringValue() const override { return single; }
    };
    struct Script : AppleScript {
        FakeScripting& se;
        std::string source;
        Script(FakeScripting& s, std::string src) : se(s), source(std::move(src)) {}
        std::shared_ptr<EventDescriptor> executeAndReturnError(Dictionary* error) override {
            se.sources.push_back(source);
            auto result = std::make_shared<Names>();
            if (source.find("get the name") != std::string::npos) {
                if (se.answerNothing) return nullptr;
                if (se.answerText) result->single = "Tidra";
                result->names = se.loginItems;
            } else if (source.find("delete login item") != std::string::npos) {
                std::erase(se.loginItems, "Tidra");
            } else if (source.find("make login item") != std::string::npos) {
                if (!se.addError.empty()) {
                    *error = se.addError;
                    return nullptr;
                }
                se.loginItems.push_back("Tidra");
            }
            return result;
        }
    };
    std::unique_ptr<AppleScript> scriptWithSource(const std::string& s) override {
        if (refuse) return nullptr;
        return std::make_unique<Script>(*this, s);
    }
};

struct FakeTasks : Tasks {
    std::unique_ptr<Task> makeTask(const std::string&, const std::vector<std::string>&) override {
        return nullptr;
    }
    bool launchedTask(const std::string&, const std::vector<std::string>&) override {
        return false;
    }
    std::optional<StatFs> statfs(const std::string&) override { return std::nullopt; }
};

struct FakeAuthorization : Authorization {
    int create(AuthorizationRef*) override { return -1; }
    int copyRights(AuthorizationRef, const std::string&, unsigned) override { return -1; }
    int free(AuthorizationRef, unsigned) override { return 0; }
    std::optional<PrivilegedExecute> lookupPrivilegedExecute(const std::string&) override {
        return std::nullopt;
    }
    ChildStatus wait() override { return {}; }
};

struct InlineDispatch : Dispatch {
    void globalQueueSync(const std::function<void()>& work) override { work(); }
    void mainQueueAfter(std::int64_t, std::function<void()> work) override { work(); }
    void mainQueueAsync(std::function<void()> work) override { work(); }
};

struct FakeConsole : Console {
    std::vector<std::string> lines;
    void log(const std::string& line) override { lines.push_back(line); }
};

struct FakeSystem : SystemInfo {
    OperatingSystemVersion operatingSystemVersion() override { return {10, 15, 0}; }
    double appKitVersionNumber() override { return 1894; }
};

struct FakeDevMate : DevMateKit {
    std::vector<std::string> calls;
    void sendTrackingReport(Object*, Object*) override { calls.push_back("report"); }
    void setupIssuesController(Object*, bool r) override {
        calls.push_back(r ? "issues:all" : "issues");
    }
    void showFeedbackDialog(Object*, int mode) override {
        calls.push_back("feedback:" + std::to_string(mode));
    }
};

// Every service, and the status menu the main interface description would make.
struct World {
    Prefs prefs;
    NullArchiver archiver;
    FakeWorkspace workspace;
    FakeScreens screens;
    FakeStatusBar statusBar;
    FakeImages images;
    FakeUi ui;
    FakeLoader loader;
    Center distributed;
    FakeUserNotifications userNotifications;
    FakeBundle bundle;
    FakeApplication application;
    FakeFileManager fileManager;
    FakeScripting scripting;
    FakeTasks tasks;
    FakeAuthorization authorization;
    InlineDispatch dispatch;
    FakeConsole console;
    FakeSystem system;
    FakeDevMate devMate;
    std::map<std::string, Value> global;

    Item toggle{"Tidra That Mess!", 1}, noReplace{"Keep", 0}, image{"Custom", 1}, grey{"Grey", 2};
    FakeMenu menu;

    World() {
        prefs.standard.globalDomain = &global;
        menu.own = {&toggle};
        workspace.finders.push_back(std::make_shared<RunningApp>("com.apple.finder"));
    }

    Platform platform() {
        return Platform{prefs,         archiver,    workspace,   screens,     statusBar,
                        images,        ui,          loader,      distributed, userNotifications,
                        bundle,        application, fileManager, scripting,   tasks,
                        authorization, dispatch,    console,     system,      devMate};
    }
};

}  // namespace tidra::fake
