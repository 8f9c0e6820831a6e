#include "sim/mac.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/paths.h"
#include "prefs/keys.h"
#include "sim/app_bundles.h"
#include "sim/desktop_pictures.h"
#include "sim/formats/plist_value.h"

#ifndef TIDRA_RESOURCES_DIR
#define TIDRA_RESOURCES_DIR "resources"
#endif
#ifndef TIDRA_BUNDLE_VERSION
#define TIDRA_BUNDLE_VERSION "100"
#endif
#ifndef TIDRA_SHORT_VERSION
#define TIDRA_SHORT_VERSION "1.0.0"
#endif

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {
constexpr const char* kStateFile = "/.simulated-mac.plist";
constexpr const char* kFinderPath = "/System/Library/CoreServices/Finder.app";
constexpr const char* kNotificationSettingsDomain = "com.apple.ncprefs";
}  // namespace

Mac::Mac(MacOptions options)
    : options_(std::move(options)),
      lock_(options_.root),
      disk_(options_.root),
      loop_(options_.realTime),
      console_(loop_, disk_.real(disk_.home() + "/Library/Logs/console.log")),
      workspaceCenter_(loop_),
      processes_(loop_, workspaceCenter_),
      workspace_(loop_, processes_, workspaceCenter_),
      statusBar_(loop_),
      distributed_(loop_),
      ui_([this] { return openPanels_.make(); }, [this] { return alerts_.makeAlert(); }),
      dispatch_(loop_),
      diskImages_(disk_),
      alerts_(loop_) {
    devMate_.openForFeedback(workspace_, options_.feedbackAddress);
    const Value state = startSystem();
    makeScreens();
    // Window and view descriptions come from Tidra's bundle as it lies at the time of loading.
    interfaces_.fill(std::make_unique<SimInterfaceLoader>(
        [this](const std::string& name) {
            return bundle_ ? bundle_->resourceFile(name, "json") : std::nullopt;
        },
        windows_, console_, &prefs_->standardUserDefaults(),
        [this](const std::string& text, const std::string& table) {
            return bundle_ ? bundle_->localizedString(text, "", table) : text;
        }));
    // AppKit keeps a window's autosaved frame among the application's own preferences.
    windows_.setFrameStore({[this](const std::string& key) -> std::optional<std::string> {
                                const Value v = prefs_->standardUserDefaults().objectForKey(key);
                                return v.isString() ? std::optional<std::string>(v.string())
                                                    : std::nullopt;
                            },
                            [this](const std::string& key, const std::string& value) {
                                prefs_->standardUserDefaults().setObject(Value(value), key);
                                prefs_->standardUserDefaults().synchronize();
                            }});
    makeUserNotifications();
    fileManager_.fill(std::make_unique<SimFileManager>(disk_));
    appService_ = std::make_unique<SimAppService>(*prefs_, simUserNotifications(), system_);
    makeScripting();
    makeTasks();
    makeAuthorization();
    placeTidra(state);
    startApplications();
    connectTidra();
    rememberState();
}

Value Mac::startSystem() {
    // The record is read through the lock, which never opens it through a link.
    const std::string stateBytes = lock_.readState().value_or("");
    Value state = parsePlist(Data(stateBytes.begin(), stateBytes.end()));
    takeSystemVersion(state);
    // Writes a killed process never finished; nobody else can be writing now.
    disk_.removeStrayTemporaryFiles();
    // Missing standard folders come back, with the system's own picture (an update brings its
    // own); the sample files only ever go into a new Mac.
    disk_.populate(lock_.folderWasEmpty(), defaultDesktopPicture(system_.version()));
    if (lock_.folderWasEmpty()) placeSampleApplications(disk_);
    std::error_code ec;
    fs::create_directories(disk_.real(disk_.home() + "/Library/Logs"), ec);
    prefs_ = std::make_unique<SimPreferences>(disk_, kTidraBundleIdentifier, console_);
    prefs_->runDaemon(loop_);
    if (options_.resourcesDir.empty()) options_.resourcesDir = TIDRA_RESOURCES_DIR;
    return state;
}

void Mac::makeScreens() {
    screens_.fill(std::make_unique<SimScreens>(loop_, disk_, system_.version()));
    workspace_.setDesktopPictures(
        {[this](const Screen& s) { return simScreens().desktopImageURL(s); },
         [this](const Screen& s) { return simScreens().desktopImageOptions(s); },
         [this](const Url& url, const Screen& s, const Dictionary& options, ErrorOut error) {
             return simScreens().setDesktopImage(url, s, options, error);
         }});
}

void Mac::makeUserNotifications() {
    userNotifications_.fill(std::make_unique<SimUserNotificationCenter>(&loop_));
    // The user's answer lies with the system's notification settings, apart from Tidra's store.
    using Authorization = SimUserNotificationCenter::Authorization;
    simUserNotifications().configure(
        [this] { return system_.version().isAtLeast(10, 14); },
        [this] {
            const Value kept =
                prefs_->domainSnapshot(kNotificationSettingsDomain)[Value(kTidraBundleIdentifier)];
            const auto n = kept.intValue();
            return n == 1   ? Authorization::Denied
                   : n == 2 ? Authorization::Authorized
                            : Authorization::NotDetermined;
        },
        [this](Authorization answer) {
            prefs_->writeFromOutside(kNotificationSettingsDomain, kTidraBundleIdentifier,
                                     Value(static_cast<int>(answer)));
            prefs_->flushAll();
        });
    // On macOS 26 asking before launching has finished fails a main-thread assertion in the
    // notification center, which ends the application.
    simUserNotifications().setRequestCheck([this] {
        if (!app_ || app_->finishedLaunching() || !system_.version().isAtLeast(26)) return;
        console_.log(
            "Tidra quit unexpectedly: assertion failure in -[UNUserNotificationCenter "
            "requestAuthorizationWithOptions:completionHandler:], asked before the "
            "application finished launching");
        app_->exit(134);
    });
}

void Mac::makeScripting() {
    systemEvents_ = std::make_unique<SimSystemEvents>(
        disk_, disk_.home() + "/Library/Preferences/com.apple.loginitems.plist");
    // Finder's Trash and the workspace's recycle are the file manager's: one set of rules.
    workspace_.setTrashMover(
        [this](const std::string& path) { return simFileManager().moveToTrash(path, nullptr); });
    // Kept where the system keeps its privacy answers, apart from every preference domain.
    automationConsent_ = std::make_unique<SimAutomationConsent>(
        disk_, disk_.home() + "/Library/Application Support/com.apple.TCC/Automation.plist",
        system_.version().isAtLeast(10, 14));
    if (options_.automationAllowedBefore)
        automationConsent_->allowUnlessAnswered(kTidraBundleIdentifier, kSystemEventsIdentifier);
    // A prompt that shows while Tidra's main thread waits for its script lets the person answer.
    automationConsent_->setPromptShown([this] { dispatch_.wakeWaiter(); });
    dispatch_.setUserQuestion([this] { return automationConsent_->prompt().has_value(); },
                              [this] { automationConsent_->giveUpPrompt(); });
    appleScript_.fill(std::make_unique<SimAppleScripting>(
        *systemEvents_,
        [this](const std::string& path) { return simFileManager().moveToTrash(path, nullptr); },
        [this](const std::string&) {
            // A script run on the main thread itself waits in a nested loop, as a modal does.
            std::function<bool(const std::function<bool()>&)> waitHere;
            if (std::this_thread::get_id() != dispatch_.workerId())
                waitHere = [this](const std::function<bool()>& answered) {
                    return loop_.runUntil(answered);
                };
            return automationConsent_->ask({kTidraBundleIdentifier, "Tidra", tidraPurpose_},
                                           {kSystemEventsIdentifier, "System Events"},
                                           waitHere) == SimAutomationConsent::Answer::Allowed;
        }));
}

void Mac::makeTasks() {
    tasks_.fill(std::make_unique<SimTasks>(
        loop_, disk_, diskImages_,
        SimTasks::Hooks{[this](const std::string& path) { openApplication(path); },
                        [this](int pid) { return processes_.isRunning(pid); },
                        [this] {
                            std::vector<std::string> commands;
                            for (const auto& p : processes_.running())
                                commands.push_back(p.bundlePath + "/Contents/MacOS/" + p.name);
                            return commands;
                        },
                        [this] { return system_.operatingSystemVersion().isAtLeast(10, 15); }}));
}

void Mac::makeAuthorization() {
    authorization_.fill(std::make_unique<SimAuthorization>(loop_, disk_));
    simAuthorization().setCopyRunsOutOfRoom(
        [this](const std::string& path) { return simFileManager().copiesFailInto(path); });
}

void Mac::placeTidra(const Value& state) {
    // Where Tidra lies: as asked, else where it lay last time, else where a download lands.
    bundlePath_ = state["bundlePath"].isString() ? state["bundlePath"].string()
                                                 : disk_.home() + "/Downloads/Tidra.app";
    diskImages_.restore(state["diskImages"]);
    if (options_.bundleIn == "dmg")
        bundlePath_ = mountTidraImage();
    else if (!options_.bundleIn.empty())
        bundlePath_ = bundleLocation(options_.bundleIn);
    // Tidra is laid out once, when it is put in a place, as a download or an installer would;
    // launches start whatever lies there, damaged or not.
    std::error_code noBundle;
    if (!fs::exists(fs::symlink_status(disk_.real(bundlePath_), noBundle)))
        installTidraBundle(disk_, bundlePath_, options_.resourcesDir, TIDRA_BUNDLE_VERSION,
                           TIDRA_SHORT_VERSION);
}

void Mac::startApplications() {
    finder_ = std::make_shared<SimFinder>(loop_, *prefs_, disk_);
    processes_.setBehaviour(kFinderBundleId, finder_);
    finder_->setLaunchFinished([this](int pid) { processes_.finishedLaunching(pid); });
    workspace_.setApplicationFinder(
        [this](const std::string& id) { return findApplication(disk_, id); });
    workspace_.addKnownApplication(kFinderBundleId, "Finder", kFinderPath);
    workspace_.addKnownApplication("com.apple.Safari", "Safari", "/Applications/Safari.app");
    workspace_.addKnownApplication("com.apple.mail", "Mail", "/Applications/Mail.app");
    processes_.spawn(kFinderBundleId, "Finder", kFinderPath);
    processes_.spawn("com.apple.Safari", "Safari", "/Applications/Safari.app");
    processes_.spawn("com.apple.mail", "Mail", "/Applications/Mail.app");
    loop_.runDue();
}

void Mac::connectTidra() {
    statusBar_.setShownInMenuBar([this] { return allowedInMenuBar(kTidraBundleIdentifier); });
    ui_.setLaunchQuery([this] { return app_ && app_->finishedLaunching(); });
    loop_.setExitHandler([this](int owner, int status) {
        if (owner == pid_ && app_) endTidra(status);
    });
    workspaceCenter_.setDeliveryWrapper([this](const std::function<void()>& f) { intoTidra(f); });
    distributed_.setDeliveryWrapper([this](const std::function<void()>& f) { intoTidra(f); });
    distributed_.setActiveQuery([this] { return app_ && app_->isActive(); });
}

Mac::~Mac() {
    if (app_) {
        // The simulated Mac shuts down: Tidra is ended like any process.
        app_->releaseObjects();
        app_.reset();
    }
    prefs_->flushAll();
    // The screens are written down now, with the preferences.
    simScreens().flush();
    rememberState();
}

void Mac::takeSystemVersion(const Value& state) {
    // A Mac made before the version was kept ran the version it was started with, or 10.15.
    std::optional<OperatingSystemVersion> stored;
    if (state["systemVersion"].isString())
        stored = parseSystemVersion(state["systemVersion"].string());
    const auto wanted = options_.systemVersion;
    // A system update only goes forward: going back means erasing the Mac.
    if (stored && wanted && !wanted->isAtLeast(stored->major, stored->minor))
        throw MacFolderError("this Mac runs macOS " + systemVersionText(*stored) +
                             " and cannot go back to " + systemVersionText(*wanted) +
                             "; use a new --mac folder for an older system");
    if (wanted)
        system_.setOperatingSystemVersion(*wanted);
    else if (stored)
        system_.setOperatingSystemVersion(*stored);
}

void Mac::rememberState() const {
    Dictionary state{{Value("bundlePath"), Value(bundlePath_)},
                     {Value("diskImages"), diskImages_.state()},
                     {Value("systemVersion"), Value(systemVersionText(system_.version()))}};
    if (auto bytes = toBinaryPlist(Value(state)))
        disk_.writeFile(kStateFile, std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                     bytes->size()));
}

std::string Mac::bundleLocation(const std::string& where) const {
    if (where == "downloads") return disk_.home() + "/Downloads/Tidra.app";
    if (where == "applications") return "/Applications/Tidra.app";
    if (where == "user-applications") return disk_.home() + "/Applications/Tidra.app";
    if (where == "nested") return "/Applications/Utilities Kit.app/Contents/Helpers/Tidra.app";
    return paths::standardize(where, disk_.home());
}

std::string Mac::mountTidraImage() {
    const std::string image = disk_.home() + "/Downloads/Tidra.dmg";
    // Opening an image that is still attached only shows its volume again.
    for (const auto& mounted : diskImages_.mounted())
        if (mounted.imagePath == image) return mounted.mountPoint + "/Tidra.app";
    disk_.writeFile(image, "koly");
    return diskImages_.attach(image, "Tidra").mountPoint + "/Tidra.app";
}

void Mac::openApplication(const std::string& bundleMacPath) {
    const std::string wanted = paths::standardize(bundleMacPath, disk_.home());
    for (const auto& p : processes_.running()) {
        if (paths::standardize(p.bundlePath, disk_.home()) != wanted) continue;
        // A running application is not started twice: it hears that it was opened again.
        if (app_ && p.pid == pid_) intoTidra([this] { app_->reopen(); });
        return;
    }
    std::error_code ec;
    if (!app_ && fs::exists(disk_.real(wanted + "/Contents/Info.plist"), ec)) {
        Value info = parsePlist([&] {
            std::ifstream in(disk_.real(wanted + "/Contents/Info.plist"), std::ios::binary);
            return Data((std::istreambuf_iterator<char>(in)), {});
        }());
        if (info["CFBundleIdentifier"] == Value(kTidraBundleIdentifier)) {
            setBundlePath(wanted);
            launchTidra();
            return;
        }
    }
    processes_.spawn("", paths::lastPathComponent(wanted), wanted);
}

void Mac::setBundlePath(const std::string& macPath) {
    bundlePath_ = macPath;
    rememberState();
}

Platform Mac::platform() {
    return Platform{*prefs_,         archiver_,  workspace_,    screens(),     statusBar_,
                    *images_,        ui_,        interfaces(),  distributed_,  userNotifications(),
                    *bundle_,        *app_,      fileManager(), appleScript(), tasks(),
                    authorization(), dispatch_,  console_,      system_,       devMate_,
                    hotKeys_,        urlEvents_, *appService_};
}

bool Mac::launchTidra() {
    launchError_.clear();
    if (app_) {
        launchError_ = "Tidra is already running";
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(disk_.real(bundlePath_), ec)) {
        launchError_ = "there is no Tidra.app at " + bundlePath_;
        return false;
    }
    rememberState();
    bundle_ = std::make_unique<SimBundle>(
        disk_, bundlePath_, &console_,
        prefs_->domainSnapshot(kGlobalDomain)[Value("AppleLanguages")], options_.languages);
    images_ = std::make_unique<SimImages>(*bundle_);
    // What the automation prompt shows under its question, read before Tidra's threads run.
    const Value purpose = bundle_->objectForInfoDictionaryKey("NSAppleEventsUsageDescription");
    tidraPurpose_ = purpose.isString() ? bundle_->localizedString("NSAppleEventsUsageDescription",
                                                                  purpose.string(), "InfoPlist")
                                       : "";
    ++launches_;
    pid_ = processes_.spawn(kTidraBundleIdentifier, "Tidra", bundlePath_);
    dispatch_.setOwner(pid_);
    simScreens().setOwner(pid_);
    openPanels_.setOwner(pid_);
    hotKeys_.setOwner(pid_);
    urlEvents_.setOwner(pid_);
    app_ =
        std::make_unique<SimApplication>(*bundle_, prefs_->standardUserDefaults(), console_, pid_);
    app_->setActivationHandler([this] { distributed_.applicationDidBecomeActive(); });
    classes_ = std::make_unique<ClassRegistry>(
        options_.tidraProgram ? options_.tidraProgram(platform()) : ClassRegistry());
    int result = 0;
    intoTidra([&] {
        char name[] = "Tidra";
        char* argv[] = {name, nullptr};
        result = app_->applicationMain(1, argv, *classes_);
    });
    if (app_ && result != 0) {
        launchError_ = app_->loadError();
        endTidra(1);
        return false;
    }
    return true;
}

void Mac::intoTidra(const std::function<void()>& work) {
    try {
        work();
    } catch (const ProcessExit& e) {
        // Nested loops unwind to the outermost entry into Tidra before it is torn down.
        if (loop_.nestingDepth() > 0) throw;
        if (app_) endTidra(e.status);
    }
}

void Mac::endTidra(int status) {
    (void)status;
    if (!app_) return;
    int pid = pid_;
    app_->releaseObjects();
    statusBar_.removeAll();
    app_.reset();
    classes_.reset();
    loop_.cancelOwner(pid);
    simScreens().dropOwner(pid);
    hotKeys_.dropOwner(pid);
    urlEvents_.dropOwner(pid);
    openPanels_.dismissAll();
    simUserNotifications().setDelegate(nullptr);
    prefs_->flushAll();
    processes_.end(pid, false);
}

std::shared_ptr<SimStatusItem> Mac::statusItem() const {
    auto items = statusBar_.items();
    return items.empty() ? nullptr : items.front();
}

std::shared_ptr<SimMenu> Mac::statusMenu() const {
    return app_ ? app_->menu("statusMenu") : nullptr;
}

void Mac::setTheme(bool dark) {
    if (dark)
        prefs_->writeFromOutside(kGlobalDomain, prefs::kAppleInterfaceStyle, Value("Dark"));
    else
        prefs_->deleteFromOutside(kGlobalDomain, prefs::kAppleInterfaceStyle);
    prefs_->flushAll();
    distributed_.post(kInterfaceThemeChangedNotification);
}

}  // namespace tidra::sim
