// A simulated Mac's wallpaper services wired by hand around Tidra's wallpaper logic, on a
// virtual clock: the screens, preferences, file manager, workspace, panels and notifications
// are the sim's real components.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/paths.h"
#include "prefs/keys.h"
#include "sim/bundle.h"
#include "sim/console_log.h"
#include "sim/desktop_pictures.h"
#include "sim/disk.h"
#include "sim/dispatch.h"
#include "sim/file_manager.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/interface/open_panel.h"
#include "sim/interface/ui.h"
#include "sim/preferences.h"
#include "sim/processes.h"
#include "sim/run_loop.h"
#include "sim/screens.h"
#include "sim/system_info.h"
#include "sim/user_notifications.h"
#include "sim/workspace.h"
#include "wallpaper/wallpaper_chooser.h"
#include "wallpaper/wallpaper_switcher.h"

namespace tidra::sim {

inline const char* const kGreyPath = "/Applications/Tidra.app/Contents/Resources/wallpaper.png";

struct WallpaperRig {
    explicit WallpaperRig(const std::string& root)
        : disk(prepare(root)),
          console(loop, root + "/console.log"),
          prefs(disk, kTidraBundleIdentifier, console),
          center(loop),
          processes(loop, center),
          workspace(loop, processes, center),
          screens(loop, disk),
          files(disk),
          dispatch(loop),
          panels(loop, disk),
          ui([this] { return panels.make(); }, nullptr) {
        installTidraBundle(disk, "/Applications/Tidra.app", TIDRA_RESOURCES_DIR, "100");
        bundle = std::make_unique<SimBundle>(disk, "/Applications/Tidra.app");
        failures = std::make_unique<FailureNotices>(notifications, *bundle, system);
        workspace.setDesktopPictures(
            {[this](const Screen& s) { return screens.desktopImageURL(s); },
             [this](const Screen& s) { return screens.desktopImageOptions(s); },
             [this](const Url& u, const Screen& s, const Dictionary& o, ErrorOut e) {
                 return screens.setDesktopImage(u, s, o, e);
             }});
        makeLogic();
    }

    // A relaunch of Tidra: fresh logic objects over the same Mac.
    void makeLogic() {
        switcher = std::make_unique<WallpaperSwitcher>(
            WallpaperServices{defaults(), archiver, workspace, screens, *bundle, files, dispatch,
                              console},
            [this] { return clean; });
        chooser = std::make_unique<WallpaperChooser>(
            WallpaperChooserServices{defaults(), *bundle, files, ui, system, notifications, console,
                                     *failures, [this] { return switcher->usersPictures(); }});
    }

    static std::string prepare(const std::string& root) {
        std::filesystem::remove_all(root);
        Disk d(root);
        // The picture the rig's screens show (they run 10.15) lies on the disk, as on a Mac.
        d.populate(true, defaultDesktopPicture({10, 15, 0}));
        return root;
    }

    UserDefaults& defaults() { return prefs.standardUserDefaults(); }
    // Writes a file on the simulated disk.
    void file(const std::string& macPath, const std::string& contents = "picture") {
        std::filesystem::create_directories(
            std::filesystem::path(disk.real(macPath)).parent_path());
        std::ofstream(disk.real(macPath), std::ios::binary) << contents;
    }
    bool exists(const std::string& macPath) { return std::filesystem::exists(disk.real(macPath)); }
    std::string picture(std::uint32_t number) {
        for (const auto& s : screens.snapshot())
            if (s.number == number) return s.wallpaper;
        return "";
    }
    Value options(std::uint32_t number) {
        for (const auto& s : screens.snapshot())
            if (s.number == number) return s.options;
        return {};
    }
    void chooseGrey() {
        defaults().setURL(Url::fileURLWithPath(kGreyPath), prefs::kReplaceWallpaper);
    }
    // The routine as the status refresh runs it.
    void hide() {
        clean = true;
        switcher->toggle(false);
    }
    void show() {
        clean = false;
        switcher->toggle(true);
    }

    Disk disk;
    RunLoop loop{false};
    ConsoleLog console;
    SimPreferences prefs;
    KeyedArchiver archiver;
    SimNotificationCenter center;
    Processes processes;
    SimWorkspace workspace;
    SimScreens screens;
    SimFileManager files;
    SimDispatch dispatch;
    OpenPanels panels;
    SimUi ui;
    SimUserNotificationCenter notifications;
    std::unique_ptr<SimBundle> bundle;
    SimSystemInfo system;
    std::unique_ptr<FailureNotices> failures;
    bool clean = false;
    std::unique_ptr<WallpaperSwitcher> switcher;
    std::unique_ptr<WallpaperChooser> chooser;
};

}  // namespace tidra::sim
