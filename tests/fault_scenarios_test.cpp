// Things broken on purpose on the simulated Mac, end to end. Each scenario says what the user
// sees, what reaches the console log and what is stored afterwards; none may lose what the user
// had. (Finder declining to quit or its domain out of reach, System Events unavailable and each
// failing authorization step have end-to-end tests of their own in the toggle, launch-at-login
// and move-offer tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "install_rig.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/formats/plist_value.h"
#include "sim_world.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using testing::SimWorld;

constexpr const char* kPrefs = "/Users/me/Library/Preferences/xq.morv.Tidra.plist";
constexpr const char* kGrey = "/Applications/Tidra.app/Contents/Resources/wallpaper.png";
constexpr const char* kMonterey = "/Library/Desktop Pictures/Monterey Graphic.heic";
constexpr const char* kMountains = "/Users/me/Pictures/Mountains.jpg";
constexpr const char* kSupport = "/Users/me/Library/Application Support/Tidra";

Data bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const Data& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

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
// went. Stored: the damaged bytes, unchanged, beside a fresh preference file; earlier damaged
// files are never overwritten.
TEST(Faults, APreferenceFileCutShortOrGarbledAtLaunchIsMovedAsideAndReportedOnce) {
    SimWorld w;
    std::string out = w.run(
        "popover close\nwallpaper set 1 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\n"
        "click\nwait 6\nquit\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    const fs::path file = w.mac().disk().real(kPrefs);
    const Data good = bytesOf(file);
    ASSERT_GT(good.size(), 40u);
    ASSERT_FALSE(storedWallpapers(w.mac()).empty());

    const std::string noise = "\x01\xfe garbage \x00\x7f that no reader can take";
    const std::vector<Data> damages = {
        Data(good.begin(), good.begin() + long(good.size() / 2)),  // a write cut short
        Data(good.begin(), good.begin() + 8),                      // the header alone
        Data(),                                                    // nothing at all
        Data(noise.begin(), noise.end()),                          // not a property list
        Data{'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xff, 0xff, 0xff, 0xff},
    };
    for (size_t i = 0; i < damages.size(); ++i) {
        SCOPED_TRACE(i);
        w.restartMac(false);
        writeBytes(file, damages[i]);
        out = w.run("launch\nwait 6\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        auto s = w.status();
        const std::string aside = file.string() + ".corrupt-" + std::to_string(i + 1);
        ASSERT_EQ(linesContaining(s["log"], "is damaged"), 1u) << s["log"];
        // The log names the file as the Mac sees it.
        EXPECT_EQ(linesContaining(s["log"], w.mac().disk().mac(aside)), 1u) << s["log"];
        EXPECT_EQ(bytesOf(aside), damages[i]);
        for (size_t k = 0; k < i; ++k)  // earlier damaged files stay as they were
            EXPECT_EQ(bytesOf(file.string() + ".corrupt-" + std::to_string(k + 1)), damages[k]);

        // The domain counts as empty: a first launch again, no wallpaper choice.
        EXPECT_EQ(s["popover"]["shown"], true);
        EXPECT_FALSE(s["defaults"]["xq.morv.Tidra"].contains("replaceWallpaper"));
        EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["hasShownWelcomeMessage"], true);
        // Finder's own domain is whole: the desktop stays hidden, the grey picture in place.
        EXPECT_EQ(s["clean"], true);
        EXPECT_EQ(s["screens"][0]["wallpaper"], kGrey);

        // Later writes make a fresh, readable file and report nothing more.
        out = w.run("menu Wallpaper > Grey\nclick\nwait 3\nclick\nwait 6\npopover close\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        s = w.status();
        EXPECT_EQ(linesContaining(s["log"], "is damaged"), 1u);
        EXPECT_TRUE(sim::parsePlist(bytesOf(file)).isStringKeyedDictionary());
        EXPECT_EQ(s["clean"], true);
        w.run("quit\n");
        writeBytes(file, good);  // what the next round damages
    }

    // A sound copy put back (from a backup) brings everything back, the record of the user's own
    // picture included.
    w.restartMac(false);
    writeBytes(file, good);
    w.run("launch\nclick\nwait 3\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], kMountains);
    EXPECT_EQ(linesContaining(w.status()["log"], "is damaged"), 0u);
}

// User sees: the stored record is ignored; hiding and showing still bring the screen's own
// picture back, because the next replacement records it afresh. Logged: nothing. Stored: an
// oversized record is removed at launch; one of the wrong shape stays until the next replacement
// writes a sound one over it.
TEST(Faults, AnOversizedOrMisshapenWallpaperRecordIsSetAsideSilently) {
    SimWorld w;
    std::string out = w.run(
        "popover close\nwallpaper set 1 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\nquit\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    sim::KeyedArchiver archiver;
    UserDefaults& d = w.mac().prefs().standardUserDefaults();

    Dictionary eleven;
    for (int i = 1; i <= 11; ++i)
        eleven[Value(i)] =
            Value(Url::fileURLWithPath("/Users/me/Pictures/old" + std::to_string(i)));
    const Value oversized(archiver.archivedDataWithRootObject(Value(eleven)));
    // Screen number to a string instead of a URL: the right size, the wrong shape.
    const Value misshapen(archiver.archivedDataWithRootObject(
        Value(Dictionary{{Value(1), Value("/Users/me/Pictures/old1")}})));
    const Value options(archiver.archivedDataWithRootObject(
        Value(Dictionary{{Value(1), Value(Dictionary{{Value("NSImageScaling"), Value(3)}})}})));

    for (const Value& record : {oversized, misshapen}) {
        const bool isOversized = record == oversized;
        SCOPED_TRACE(isOversized ? "11 entries" : "wrong shape");
        d.setObject(record, "wallpapers");
        d.setObject(options, "wallpapersOptions");
        ASSERT_TRUE(d.synchronize());
        const size_t logged = w.status()["log"].size();

        out = w.run("launch\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        if (isOversized) {
            EXPECT_TRUE(d.objectForKey("wallpapers").isNil());
        } else {
            EXPECT_EQ(d.objectForKey("wallpapers"), record);
        }
        EXPECT_EQ(d.objectForKey("wallpapersOptions"), options);  // judged by itself

        out = w.run("click\nwait 6\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        EXPECT_EQ(w.status()["screens"][0]["wallpaper"], kGrey);
        EXPECT_EQ(storedWallpapers(w.mac()), (std::map<int64_t, std::string>{{1, kMountains}}));
        out = w.run("click\nwait 3\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        EXPECT_EQ(w.status()["screens"][0]["wallpaper"], kMountains);
        EXPECT_EQ(w.status()["log"].size(), logged);
        w.run("quit\n");
    }
}

// User sees: two of three screens turn grey; the third keeps its picture. Logged: one line for
// that screen at the click and another when the replacement is applied again five seconds later;
// showing leaves that screen alone, as it still shows its own picture. Stored: the records of
// all three screens, the failing one's included, so that it gets its own picture back once it
// works.
TEST(Faults, AWallpaperThatFailsOnOneOfThreeScreens) {
    SimWorld w;
    std::string out = w.run(
        "popover close\ndisplay add\ndisplay add\nwallpaper set 1 ~/Pictures/Mountains.jpg\n"
        "screen fail 2 on\nmenu Wallpaper > Grey\nclick\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto s = w.status();
    ASSERT_EQ(s["screens"].size(), 3u);
    EXPECT_EQ(s["screens"][0]["wallpaper"], kGrey);
    EXPECT_EQ(s["screens"][1]["wallpaper"], kMonterey);
    EXPECT_EQ(s["screens"][2]["wallpaper"], kGrey);
    EXPECT_EQ(linesStartingWith(s["log"], "Error when hiding wallpaper: "), 1u) << s["log"];
    EXPECT_EQ(s["log"].size(), 1u) << s["log"];
    EXPECT_EQ(storedWallpapers(w.mac()),
              (std::map<int64_t, std::string>{{1, kMountains}, {2, kMonterey}, {3, kMonterey}}));

    // Five seconds after the hide, which happens once Finder is back without icons.
    out = w.run("wait 4\n");
    EXPECT_EQ(linesStartingWith(w.status()["log"], "Error when hiding wallpaper: "), 2u);

    out = w.run("click\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    EXPECT_EQ(s["screens"][0]["wallpaper"], kMountains);
    EXPECT_EQ(s["screens"][1]["wallpaper"], kMonterey);
    EXPECT_EQ(s["screens"][2]["wallpaper"], kMonterey);
    EXPECT_EQ(linesStartingWith(s["log"], "Error when setting wallpaper for screen 2: "), 0u);
    EXPECT_EQ(s["log"].size(), 2u) << s["log"];

    // Working again, the screen is part of the next cycle like the others.
    out = w.run("screen fail 2 off\nclick\nwait 6\nclick\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    EXPECT_EQ(s["screens"][0]["wallpaper"], kMountains);
    EXPECT_EQ(s["screens"][1]["wallpaper"], kMonterey);
    EXPECT_EQ(s["screens"][2]["wallpaper"], kMonterey);
    EXPECT_EQ(s["log"].size(), 2u);
}

// User sees: the chosen picture does not become the replacement; the choice in force stays; a
// notification of each failure. Logged: the bare error, once per attempt. Stored: the user's
// picture, whatever stands where the support folder should be, and the earlier copy, all as they
// were.
TEST(Faults, AnImportIntoASupportFolderThatCannotBeWritten) {
    SimWorld w;
    std::string out = w.run("popover close\nmenu Wallpaper > Grey\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    const Data picture = bytesOf(w.mac().disk().real(kMountains));

    // A file where the folder should be: the folder cannot be made.
    const fs::path blocker = w.mac().disk().real(kSupport);
    fs::create_directories(blocker.parent_path());
    writeBytes(blocker, Data{'m', 'i', 'n', 'e'});
    out = w.run(
        "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n"
        "notifications allow\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto s = w.status();
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["replaceWallpaper"], kGrey);
    EXPECT_EQ(s["notifications"].size(), 1u);
    ASSERT_EQ(s["log"].size(), 1u);
    EXPECT_EQ(linesContaining(s["log"], "Error when"), 0u);  // the error's description alone
    EXPECT_EQ(bytesOf(blocker), (Data{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(bytesOf(w.mac().disk().real(kMountains)), picture);

    // The folder there but closed to changes, an earlier copy inside: it cannot be cleared away.
    fs::remove(blocker);
    out = w.run("menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    const std::string copy = std::string(kSupport) + "/Mountains.jpg";
    ASSERT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    writeBytes(w.mac().disk().real("/Users/me/Pictures/Lake.png"), Data{0x89, 'P', 'N', 'G'});
    w.mac().simFileManager().setReadOnly(kSupport, true);
    out = w.run("menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Lake.png\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    EXPECT_EQ(s["notifications"].size(), 3u);  // failed, imported, failed
    EXPECT_EQ(s["log"].size(), 2u) << s["log"];
    EXPECT_NE(s["log"][1].get<std::string>().find("Code=513"), std::string::npos) << s["log"];
    EXPECT_EQ(bytesOf(w.mac().disk().real(copy)), picture);
    EXPECT_FALSE(fs::exists(w.mac().disk().real(std::string(kSupport) + "/Lake.png")));

    // Hiding uses the copy that stayed.
    out = w.run("click\nwait 3\n");
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
    const std::string truncated = "<?xml version=\"1.0\"?><plist><dict><key>images</key><array>";
    const std::string wrongTypes =
        "<plist><dict><key>images</key><array><dict><key>system-entities</key><string>x</string>"
        "</dict><integer>4</integer></array></dict></plist>";
    const std::vector<Case> cases = {
        {"missing", {.missing = true, .output = std::nullopt, .status = std::nullopt}},
        {"truncated",
         {.missing = false,
          .output = Data(truncated.begin(), truncated.end()),
          .status = std::nullopt}},
        {"wrong types",
         {.missing = false,
          .output = Data(wrongTypes.begin(), wrongTypes.end()),
          .status = std::nullopt}},
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
