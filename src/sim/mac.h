// The simulated Mac: its disk, clock, processes (Finder among them), preference domains and every
// platform service Tidra uses, and Tidra's own launches and ends within it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "sim/app_service.h"
#include "sim/apple_scripting.h"
#include "sim/application.h"
#include "sim/apps/finder.h"
#include "sim/authorization.h"
#include "sim/automation_consent.h"
#include "sim/bundle.h"
#include "sim/console_log.h"
#include "sim/devmate_recorder.h"
#include "sim/disk.h"
#include "sim/disk_images.h"
#include "sim/disk_lock.h"
#include "sim/dispatch.h"
#include "sim/file_manager.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/hot_keys.h"
#include "sim/interface/alert.h"
#include "sim/interface/interface_loader.h"
#include "sim/interface/open_panel.h"
#include "sim/interface/status_bar.h"
#include "sim/interface/ui.h"
#include "sim/interface/windows.h"
#include "sim/notification_center.h"
#include "sim/preferences.h"
#include "sim/processes.h"
#include "sim/run_loop.h"
#include "sim/screens.h"
#include "sim/service_slot.h"
#include "sim/system_info.h"
#include "sim/tasks.h"
#include "sim/url_events.h"
#include "sim/user_notifications.h"
#include "sim/workspace.h"

namespace tidra::sim {

// How the user clicks Tidra's status item.
enum class StatusItemClick { Left, ControlLeft, Right };

struct MacOptions {
    std::string root;          // the real folder holding the simulated disk
    bool realTime = false;     // real clock (interactive) or virtual (scripts, tests)
    std::string bundleIn;      // where Tidra.app lies: a keyword or a Mac path; empty: as before
    std::string resourcesDir;  // the project's resources, copied into the bundle
    // The system a new Mac runs (10.15 when not given); given for an existing Mac, a system
    // update to it. The version is kept with the Mac.
    std::optional<OperatingSystemVersion> systemVersion;
    // What Tidra.app runs when it is launched: the classes its main interface description names,
    // made over the platform the Mac hands it. Without it, Tidra cannot be launched.
    std::function<ClassRegistry(const Platform&)> tidraProgram;
    // What "Send Feedback…" opens in the mail program: Tidra.app's stand-in for its closed
    // feedback framework does. Empty: the framework is only asked, and nothing opens.
    std::string feedbackAddress;
    // As if the user had allowed Tidra to control System Events before (from 10.14 on): no
    // automation prompt at the first script. An answer kept with the Mac stands.
    bool automationAllowedBefore = false;
    // The languages Tidra runs in, first preferred first, as a launch argument gives them for one
    // run; empty: the user's preferred languages (AppleLanguages in the global domain).
    std::vector<std::string> languages;
};

class Mac {
  public:
    // Throws MacFolderError, having touched nothing, when `options.root` is no folder this
    // process can use (another live process runs a Mac there, for one).
    explicit Mac(MacOptions options);
    ~Mac();
    Mac(const Mac&) = delete;
    Mac& operator=(const Mac&) = delete;

    // Launches Tidra from its bundle. Answers false (with the reason in `launchError`) when it
    // could not start; a launch that ends itself (the move offer) is a launch all the same.
    bool launchTidra();
    bool tidraRunning() const { return app_ != nullptr; }
    // Whether this run laid a new Mac out in a folder that already held other files.
    bool laidOutAmongOtherFiles() const { return lock_.folderHeldOtherFiles(); }
    int tidraLaunches() const { return launches_; }
    int tidraPid() const { return pid_; }
    const std::string& launchError() const { return launchError_; }
    // Runs code that may end Tidra's process (its Quit, exit): the end is handled here.
    void intoTidra(const std::function<void()>& work);
    // Tidra's objects, while it runs.
    SimApplication* application() { return app_.get(); }
    std::shared_ptr<SimStatusItem> statusItem() const;
    std::shared_ptr<SimMenu> statusMenu() const;
    // Where Tidra.app lies now (a Mac path).
    const std::string& bundlePath() const { return bundlePath_; }
    // Moves the launch point of Tidra: a later launch starts the bundle found there.
    void setBundlePath(const std::string& macPath);
    // Resolves a --bundle-in keyword (downloads, applications, user-applications, nested) or path.
    std::string bundleLocation(const std::string& keywordOrPath) const;

    // Lets time pass, running whatever falls due.
    void wait(double seconds) { loop_.advance(seconds); }
    void settle() { loop_.runDue(); }

    // Services.
    RunLoop& loop() { return loop_; }
    Disk& disk() { return disk_; }
    ConsoleLog& console() { return console_; }
    SimPreferences& prefs() { return *prefs_; }
    Processes& processes() { return processes_; }
    SimFinder& finder() { return *finder_; }
    SimWorkspace& workspace() { return workspace_; }
    SimStatusBar& statusBar() { return statusBar_; }
    SimNotificationCenter& distributed() { return distributed_; }
    SimBundle& bundle() { return *bundle_; }
    SimUi& ui() { return ui_; }
    SimWindowList& windows() { return windows_; }
    SimSystemInfo& system() { return system_; }
    DevMateRecorder& devMate() { return devMate_; }
    SimAlerts& alerts() { return alerts_; }
    DiskImages& diskImages() { return diskImages_; }
    // The sim's own tools and authorization (what `tasks()` and `authorization()` start as).
    SimTasks& simTasks() { return tasks_.own(); }
    SimAuthorization& simAuthorization() { return authorization_.own(); }
    // System Events (login items) and the AppleScript that reaches it and Finder.
    SimSystemEvents& systemEvents() { return *systemEvents_; }
    SimAppleScripting& simAppleScript() { return appleScript_.own(); }
    // The user's answers on which application may control which (10.14 and later), and the
    // prompt that asks.
    SimAutomationConsent& automationConsent() { return *automationConsent_; }
    SimDispatch& dispatch() { return dispatch_; }
    // Displays and their pictures, the file manager, open panels and user notifications.
    SimScreens& simScreens() { return screens_.own(); }
    SimFileManager& simFileManager() { return fileManager_.own(); }
    SimUserNotificationCenter& simUserNotifications() { return userNotifications_.own(); }
    OpenPanels& openPanels() { return openPanels_; }
    SimHotKeys& hotKeys() { return hotKeys_; }
    SimUrlEvents& urlEvents() { return urlEvents_; }
    // Service Management's login items (macOS 13 and later).
    SimAppService& appService() { return *appService_; }
    Platform platform();

    // Opens a URL as the system does: the application whose bundle registers its scheme
    // (CFBundleURLTypes) receives it, and is launched first when it is not running. Answers why
    // not when nobody registered the scheme or the application could not start.
    std::optional<std::string> openURLFromOutside(const std::string& url);

    // Services others provide, as Tidra gets them; each may be replaced so that it can be
    // simulated on its own, and a null replacement puts the Mac's own back. A replacement counts
    // from Tidra's next launch: a running Tidra keeps what it was given, which stays alive.
    Screens& screens() { return screens_.get(); }
    InterfaceLoader& interfaces() { return interfaces_.get(); }
    UserNotificationCenter& userNotifications() { return userNotifications_.get(); }
    FileManager& fileManager() { return fileManager_.get(); }
    AppleScripting& appleScript() { return appleScript_.get(); }
    Tasks& tasks() { return tasks_.get(); }
    Authorization& authorization() { return authorization_.get(); }
    void replaceScreens(std::unique_ptr<Screens> s) { screens_.replace(std::move(s)); }
    void replaceInterfaces(std::unique_ptr<InterfaceLoader> i) {
        interfaces_.replace(std::move(i));
    }
    void replaceUserNotifications(std::unique_ptr<UserNotificationCenter> n) {
        userNotifications_.replace(std::move(n));
    }
    void replaceFileManager(std::unique_ptr<FileManager> f) { fileManager_.replace(std::move(f)); }
    void replaceAppleScript(std::unique_ptr<AppleScripting> a) {
        appleScript_.replace(std::move(a));
    }
    void replaceTasks(std::unique_ptr<Tasks> t) { tasks_.replace(std::move(t)); }
    void replaceAuthorization(std::unique_ptr<Authorization> a) {
        authorization_.replace(std::move(a));
    }

    // Clicks Tidra's status item as the user does, the events routed as the running system
    // routes them; answers why it could not be clicked.
    std::optional<std::string> clickStatusItem(StatusItemClick click);
    // A key typed while Tidra's window is in front: the application's monitors see it first, then
    // the window's shortcut recorder, when it has one. Answers why it could not be typed.
    std::optional<std::string> typeKey(const KeyPress& press);
    // The user's "Allow in the Menu Bar" switch (macOS 26 and later), by bundle identifier.
    bool allowedInMenuBar(const std::string& bundleIdentifier) const;
    void setAllowedInMenuBar(const std::string& bundleIdentifier, bool allowed);
    // Opens an application by name as Finder or Spotlight does: one that runs gets the reopen
    // event, Tidra is launched when it does not run. Answers why not.
    std::optional<std::string> openApplicationNamed(const std::string& name);

    // Posts the theme change, as the system does when the user switches appearance.
    void setTheme(bool dark);

  private:
    // The Mac starting up, in this order: the record of the last run, the system and the disk,
    // then the services, Tidra's bundle, the applications that run at login, and the routes
    // into Tidra. Answers the record.
    Value startSystem();
    void makeScreens();
    void makeUserNotifications();
    // System Events, the AppleScript that reaches it and Finder, and the Trash behind both.
    void makeScripting();
    void makeTasks();
    void makeAuthorization();
    void placeTidra(const Value& state);
    void startApplications();
    void connectTidra();
    void endTidra(int status);
    // Attaches a Tidra disk image, as opening a downloaded .dmg does; answers the bundle in it.
    std::string mountTidraImage();
    // What "open" does with an application bundle: a running copy comes forward, Tidra's own
    // bundle is launched, anything else starts as a plain process.
    void openApplication(const std::string& bundleMacPath);
    void rememberState() const;
    // The version kept with the Mac, or the one asked for; refuses to go back to an older one.
    void takeSystemVersion(const Value& state);

    MacOptions options_;
    DiskLock lock_;
    Disk disk_;
    RunLoop loop_;
    ConsoleLog console_;
    std::unique_ptr<SimPreferences> prefs_;
    KeyedArchiver archiver_;
    SimNotificationCenter workspaceCenter_;
    Processes processes_;
    std::shared_ptr<SimFinder> finder_;
    SimWorkspace workspace_;
    SimStatusBar statusBar_;
    SimNotificationCenter distributed_;
    SimUi ui_;
    SimWindowList windows_;
    SimSystemInfo system_;
    DevMateRecorder devMate_;
    SimDispatch dispatch_;
    DiskImages diskImages_;
    SimAlerts alerts_;
    // In the order they are made: each one goes before those it serves.
    ServiceSlot<Screens, SimScreens> screens_;
    ServiceSlot<InterfaceLoader, SimInterfaceLoader> interfaces_;
    ServiceSlot<UserNotificationCenter, SimUserNotificationCenter> userNotifications_;
    ServiceSlot<FileManager, SimFileManager> fileManager_;
    std::unique_ptr<SimAppService> appService_;
    std::unique_ptr<SimSystemEvents> systemEvents_;
    std::unique_ptr<SimAutomationConsent> automationConsent_;
    ServiceSlot<AppleScripting, SimAppleScripting> appleScript_;
    ServiceSlot<Tasks, SimTasks> tasks_;
    ServiceSlot<Authorization, SimAuthorization> authorization_;
    OpenPanels openPanels_{loop_, disk_};
    std::string bundlePath_;
    std::unique_ptr<SimBundle> bundle_;
    std::string tidraPurpose_;  // why Tidra asks to control other applications
    std::unique_ptr<SimImages> images_;

    std::unique_ptr<ClassRegistry> classes_;
    std::unique_ptr<SimApplication> app_;
    int pid_ = 0;
    int launches_ = 0;
    std::string launchError_;
    SimHotKeys hotKeys_{loop_};
    SimUrlEvents urlEvents_{loop_};
};

}  // namespace tidra::sim
