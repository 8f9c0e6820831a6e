// The systems a simulated Mac runs: which versions it takes, the framework number each brings,
// and the version kept with the Mac, raised by a later system update.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/mac.h"
#include "sim/system_info.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::testing {
namespace {

OperatingSystemVersion versionOf(const std::string& root) {
    sim::MacOptions options;
    options.root = root;
    sim::Mac mac(options);
    return mac.system().operatingSystemVersion();
}

TEST(SystemVersions, TakesTenElevenToFifteenAndTwentySixAndSeven) {
    const std::pair<std::string, OperatingSystemVersion> taken[] = {
        {"10.0", {10, 0, 0}}, {"10.15", {10, 15, 0}}, {"11", {11, 0, 0}}, {"12.3", {12, 3, 0}},
        {"15", {15, 0, 0}},   {"15.7", {15, 7, 0}},   {"26", {26, 0, 0}}, {"27.1", {27, 1, 0}}};
    for (const auto& [text, version] : taken) {
        auto parsed = sim::parseSystemVersion(text);
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(parsed->major, version.major) << text;
        EXPECT_EQ(parsed->minor, version.minor) << text;
        EXPECT_EQ(sim::systemVersionText(*parsed), text);
    }
    for (const char* refused :
         {"10.-1", "99.99", "10", "10.16", "9.0", "16", "25.1", "28", "15.99", "26.10", "11.-1",
          "+11", " 11", "11.", "14.2.1", "14x", "", "1e1", "011.0"})
        EXPECT_FALSE(sim::parseSystemVersion(refused)) << refused;
}

TEST(SystemVersions, TheVersionIsKeptAndAnUpdateOnlyGoesForward) {
    const std::string root = freshTestFolder("mac").string();
    {
        sim::MacOptions options;
        options.root = root;
        options.systemVersion = OperatingSystemVersion{13, 0, 0};
        sim::Mac mac(options);
    }
    EXPECT_EQ(versionOf(root).major, 13);

    // Given again for the same Mac: a system update, kept too.
    {
        sim::MacOptions options;
        options.root = root;
        options.systemVersion = OperatingSystemVersion{14, 2, 0};
        sim::Mac mac(options);
        EXPECT_EQ(mac.system().appKitVersionNumber(), 2487.2);
    }
    const auto updated = versionOf(root);
    EXPECT_EQ(updated.major, 14);
    EXPECT_EQ(updated.minor, 2);

    // Back to an older system is refused, and the Mac keeps its version.
    sim::MacOptions older;
    older.root = root;
    older.systemVersion = OperatingSystemVersion{12, 0, 0};
    EXPECT_THROW(sim::Mac mac(older), sim::MacFolderError);
    EXPECT_EQ(versionOf(root).minor, 2);

    // A new Mac without a version runs 10.15 and keeps that.
    const std::string plain = freshTestFolder("mac").string();
    EXPECT_EQ(versionOf(plain).minor, 15);
    EXPECT_EQ(versionOf(plain).major, 10);
}

TEST(SystemVersions, TheProgramNamesTheVersionsItTakes) {
    const std::filesystem::path dir = freshTestFolder("tidra");
    auto run = [&](const std::string& version) {
        const std::string command = std::string(TIDRA_BINARY) + " --mac '" +
                                    (dir / "mac").string() + "' --system-version '" + version +
                                    "' --script /dev/null >/dev/null 2>'" + (dir / "err").string() +
                                    "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("10.-1"), 2);
    EXPECT_EQ(readBytes(dir / "err"),
              "tidra: --system-version takes 10.0 to 10.15, or 11, 12, 13, 14, 15, 26 or 27 with "
              "an optional minor version from 0 to 9 (14.2), not \"10.-1\"\n");
    EXPECT_EQ(run("20"), 2);
    EXPECT_NE(readBytes(dir / "err").find("there is no macOS 20"), std::string::npos);
    EXPECT_EQ(run("99.99"), 2);
    EXPECT_EQ(run("11"), 0);
    EXPECT_EQ(versionOf((dir / "mac").string()).major, 11);
    EXPECT_EQ(run("10.15"), 2);
    EXPECT_NE(readBytes(dir / "err").find("cannot go back to 10.15"), std::string::npos);
}

}  // namespace
}  // namespace tidra::testing

namespace tidra::testing {
namespace {

std::string pictureOfScreen(sim::Mac& mac, size_t index) {
    const auto screens = mac.simScreens().snapshot();
    return index < screens.size() ? screens[index].wallpaper : "";
}

TEST(SystemVersions, EachSystemShowsItsOwnDefaultPictureAndAnUpdateKeepsTheOneShown) {
    const std::pair<const char*, const char*> shipped[] = {
        {"10.12", "Sierra.jpg"},    {"10.13", "High Sierra.jpg"}, {"10.14", "Mojave.heic"},
        {"10.15", "Catalina.heic"}, {"11", "Big Sur.heic"},       {"12", "Monterey Graphic.heic"},
        {"13.4", "Ventura.heic"},   {"14", "Sonoma.heic"},        {"15", "Sequoia.heic"},
        {"26", "Tahoe.heic"},       {"27", "macOS 27.heic"}};
    for (const auto& [version, name] : shipped) {
        sim::MacOptions options;
        options.root = freshTestFolder("mac").string();
        options.systemVersion = sim::parseSystemVersion(version);
        sim::Mac mac(options);
        const std::string picture = std::string("/Library/Desktop Pictures/") + name;
        EXPECT_EQ(pictureOfScreen(mac, 0), picture) << version;
        EXPECT_TRUE(std::filesystem::is_regular_file(mac.disk().real(picture))) << version;
    }

    // A Mac made with 10.15 and updated to 14 keeps Catalina's picture on the display that
    // showed it; the update brings Sonoma's, which a display plugged in from now on shows.
    const std::string root = freshTestFolder("mac").string();
    {
        sim::MacOptions options;
        options.root = root;
        sim::Mac mac(options);
        EXPECT_EQ(pictureOfScreen(mac, 0), "/Library/Desktop Pictures/Catalina.heic");
    }
    sim::MacOptions updated;
    updated.root = root;
    updated.systemVersion = OperatingSystemVersion{14, 0, 0};
    sim::Mac mac(updated);
    EXPECT_EQ(pictureOfScreen(mac, 0), "/Library/Desktop Pictures/Catalina.heic");
    EXPECT_TRUE(std::filesystem::is_regular_file(
        mac.disk().real("/Library/Desktop Pictures/Catalina.heic")));
    mac.simScreens().addScreen("Studio Display");
    EXPECT_EQ(pictureOfScreen(mac, 1), "/Library/Desktop Pictures/Sonoma.heic");
    EXPECT_TRUE(
        std::filesystem::is_regular_file(mac.disk().real("/Library/Desktop Pictures/Sonoma.heic")));
}

}  // namespace
}  // namespace tidra::testing
