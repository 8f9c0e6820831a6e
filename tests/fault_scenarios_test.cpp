// Things broken on purpose on the simulated Mac, end to end. Each scenario says what the user
// sees, what reaches the console log and what is stored afterwards; none may lose what the user
// had. (Finder declining to quit or its domain out of reach, System Events unavailable and each
// failing authorization step have end-to-end tests of their own in the toggle, launch-at-login
// and move-offer tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "install_rig.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/formats/plist_value.h"
#include "sim_world.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using testing::kGrey;
using testing::kMountains;
using testing::kSupport;
using testing::kSystemPicture;
using testing::pictures;
using Strings = std::vector<std::string>;
using testing::readBytes;
using testing::SimWorld;
using testing::writeBytes;

constexpr const char* kPrefs = "/Users/me/Library/Preferences/xq.morv.Tidra.plist";

size_t linesContaining(const nlohmann::json& log, const std::string& text) {
    return size_t(std::count_if(log.begin(), log.end(), [&](const nlohmann::json& line) {
        return line.get<std::string>().find(text) != std::string::npos;
    }));
}

size_t linesStartingWith(const nlohmann::json& log, const std::string& prefix) {
    return size_t(std::count_if(log.begin(), log.end(), [&](const nlohmann::json& line) {
        return line.get<std::string>().starts_with(prefix);
    }));
}

// The stored `wallpapers` record as screen number -> path; empty when absent or undecodable.
std::map<int64_t, std::string> storedWallpapers(sim::Mac& mac) {
    std::map<int64_t, std::string> out;
    Value data = mac.prefs().standardUserDefaults().objectForKey("wallpapers");
    if (!data.isData()) return out;
    Value record = sim::KeyedArchiver().unarchiveObjectWithData(data.data());
    if (!record.isDictionary()) return out;
    for (const auto& [key, url] : record.dictionary())
        if (key.isNumber() && url.isUrl()) out[key.intValue()] = url.url().path().value_or("");
    return out;
}

// User sees: Tidra starts as on its first day (the welcome popover again, no wallpaper choice),
// with the desktop as Finder last left it. Logged: one line naming the damaged file and where it
// went. Stored: the damaged bytes, unchanged, beside a fresh preference file. (Every kind of
// damage, and the names the damaged files are kept under, are the preferences' own tests.)
TEST(Faults, APreferenceFileCutShortAtLaunchIsMovedAsideAndReportedOnce) {
    SimWorld w;
    RUN_OK(w,
           "popover close\nwallpaper set 1 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\n"
           "click\nwait 6\nquit\n");
    const fs::path file = w.mac().disk().real(kPrefs);
    const Data good = readBytes<Data>(file);
    ASSERT_GT(good.size(), 40u);
    ASSERT_FALSE(storedWallpapers(w.mac()).empty());

    const Data cut(good.begin(), good.begin() + long(good.size() / 2));
    w.restartMac(false);
    writeBytes(file, cut);
    RUN_OK(w, "launch\nwait 6\n");
    auto s = w.status();
    ASSERT_EQ(linesContaining(s["log"], "is damaged"), 1u) << s["log"];
    EXPECT_EQ(readBytes<Data>(file.string() + ".corrupt-1"), cut);

    // The domain counts as empty: a first launch again, no wallpaper choice.
    EXPECT_EQ(s["popover"]["shown"], true);
    EXPECT_FALSE(s["defaults"]["xq.morv.Tidra"].contains("replaceWallpaper"));
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["hasShownWelcomeMessage"], true);
    // Finder's own domain is whole: the desktop stays hidden, the grey picture in place.
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["screens"][0]["wallpaper"], kGrey);

    // Later writes make a fresh, readable file and report nothing more.
    RUN_OK(w, "menu Wallpaper > Grey\nclick\nwait 3\nclick\nwait 6\npopover close\n");
    s = w.status();
    EXPECT_EQ(linesContaining(s["log"], "is damaged"), 1u);
    EXPECT_TRUE(sim::parsePlist(readBytes<Data>(file)).isStringKeyedDictionary());
    EXPECT_EQ(s["clean"], true);

    // A sound copy put back (from a backup) brings everything back, the record of the user's own
    // picture included.
    w.run("quit\n");
    w.restartMac(false);
    writeBytes(file, good);
    w.run("launch\nclick\nwait 3\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], kMountains);
    EXPECT_EQ(linesContaining(w.status()["log"], "is damaged"), 0u);
}

// User sees: two of three screens turn grey; the third keeps its picture. Logged: one line for
// that screen at the click and another when the replacement is applied again five seconds later;
// showing leaves that screen alone, as it still shows its own picture. Stored: the records of
// all three screens, the failing one's included, so that it gets its own picture back once it
// works.
TEST(Faults, AWallpaperThatFailsOnOneOfThreeScreens) {
    SimWorld w;
    RUN_OK(w,
           "popover close\ndisplay add\ndisplay add\nwallpaper set 1 ~/Pictures/Mountains.jpg\n"
           "screen fail 2 on\nmenu Wallpaper > Grey\nclick\nwait 3\n");
    auto s = w.status();
    EXPECT_EQ(pictures(w), (Strings{kGrey, kSystemPicture, kGrey}));
    EXPECT_EQ(s["screens"][1]["fails"], true);
    EXPECT_EQ(linesStartingWith(s["log"], "Error when hiding wallpaper: "), 1u) << s["log"];
    EXPECT_EQ(s["log"].size(), 1u) << s["log"];
    EXPECT_EQ(storedWallpapers(w.mac()),
              (std::map<int64_t, std::string>{
                  {1, kMountains}, {2, kSystemPicture}, {3, kSystemPicture}}));

    // Five seconds after the hide, which happens once Finder is back without icons.
    RUN_OK(w, "wait 4\n");
    EXPECT_EQ(linesStartingWith(w.status()["log"], "Error when hiding wallpaper: "), 2u);

    RUN_OK(w, "click\nwait 3\n");
    s = w.status();
    EXPECT_EQ(pictures(w), (Strings{kMountains, kSystemPicture, kSystemPicture}));
    EXPECT_EQ(linesStartingWith(s["log"], "Error when setting wallpaper for screen 2: "), 0u);
    EXPECT_EQ(s["log"].size(), 2u) << s["log"];

    // Working again, the screen is part of the next cycle like the others.
    RUN_OK(w, "screen fail 2 off\nclick\nwait 6\nclick\nwait 3\n");
    s = w.status();
    EXPECT_EQ(pictures(w), (Strings{kMountains, kSystemPicture, kSystemPicture}));
    EXPECT_EQ(s["log"].size(), 2u);
}

// User sees: the chosen picture does not become the replacement; the choice in force stays; a
// notification of each failure. Logged: the bare error, once per attempt. Stored: the user's
// picture, whatever stands where the support folder should be, and the earlier copy, all as they
// were.
TEST(Faults, AnImportIntoASupportFolderThatCannotBeWritten) {
    SimWorld w;
    RUN_OK(w, "popover close\nmenu Wallpaper > Grey\n");
    const Data picture = readBytes<Data>(w.mac().disk().real(kMountains));

    // A file where the folder should be: the folder cannot be made.
    const fs::path blocker = w.mac().disk().real(kSupport);
    fs::create_directories(blocker.parent_path());
    writeBytes(blocker, Data{'m', 'i', 'n', 'e'});
    RUN_OK(w,
           "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n"
           "notifications allow\n");
    auto s = w.status();
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["replaceWallpaper"], kGrey);
    EXPECT_EQ(s["notifications"].size(), 1u);
    ASSERT_EQ(s["log"].size(), 1u);
    EXPECT_EQ(linesContaining(s["log"], "Error when"), 0u);  // the error's description alone
    EXPECT_EQ(readBytes<Data>(blocker), (Data{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(readBytes<Data>(w.mac().disk().real(kMountains)), picture);

    // The folder there but closed to changes, an earlier copy inside: it cannot be cleared away.
    fs::remove(blocker);
    RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n");
    const std::string copy = std::string(kSupport) + "/Mountains.jpg";
    ASSERT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    writeBytes(w.mac().disk().real("/Users/me/Pictures/Lake.png"), Data{0x89, 'P', 'N', 'G'});
    w.mac().simFileManager().setReadOnly(kSupport, true);
    RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Lake.png\n");
    s = w.status();
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    EXPECT_EQ(s["notifications"].size(), 3u);  // failed, imported, failed
    EXPECT_EQ(s["log"].size(), 2u) << s["log"];
    EXPECT_NE(s["log"][1].get<std::string>().find("Code=513"), std::string::npos) << s["log"];
    EXPECT_EQ(readBytes<Data>(w.mac().disk().real(copy)), picture);
    EXPECT_FALSE(fs::exists(w.mac().disk().real(std::string(kSupport) + "/Lake.png")));

    // Hiding uses the copy that stayed.
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], copy);
}

// User sees: the move offer, and Tidra running from Applications as usual; the disk image stays
// mounted, as nothing knows to eject it. Logged: nothing beyond the move's own line. Stored: the
// whole copy in Applications. Not knowing the source lies on an image, Tidra removes it as it
// would from any folder: this image accepts changes (a read-only one refuses, and the refusal is
// logged), and the copy that matters is already in Applications.
TEST(Faults, TheDiskImageToolMissingOrPrintingGarbage) {
    struct Case {
        const char* name;
        sim::SimTasks::ToolOverride tool;
    };
    // What the tool's output may be, beyond these two, is the disk image lookup's own test.
    const std::vector<Case> cases = {
        {"missing", {.missing = true, .output = std::nullopt, .status = std::nullopt}},
        {"binary noise", {.missing = false, .output = Data{0, 0xff, 'b', 'p', 0x80}, .status = 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::InstallRig rig("dmg");
        rig.mac().simTasks().overrideTool("/usr/bin/hdiutil", c.tool);
        const std::string out = rig.launch("alert Move to Applications Folder\nwait 10\n");
        ASSERT_EQ(rig.lastStatus(), 0) << out;
        EXPECT_TRUE(rig.mac().tidraRunning());
        EXPECT_EQ(rig.mac().bundlePath(), "/Applications/Tidra.app");
        EXPECT_TRUE(rig.exists("/Applications/Tidra.app/Contents/Info.plist"));
        EXPECT_TRUE(rig.exists("/Applications/Tidra.app/Contents/Resources/wallpaper.png"));
        EXPECT_FALSE(rig.exists("/Volumes/Tidra/Tidra.app"));
        EXPECT_EQ(rig.status()["volumes"].size(), 1u);
        EXPECT_EQ(rig.moveLog(),
                  std::vector<std::string>{"INFO -- Moving myself to the Applications folder"});
        EXPECT_EQ(rig.alertsShown(), 1u);
        for (const std::string& command : rig.mac().simTasks().history())
            EXPECT_EQ(command.find("detach"), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace tidra
