// The simulated Mac runs on the user's own machine: whatever a script says, it stays inside its
// folder, keeps every file whole, and shares the folder with no second process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sim/formats/plist_value.h"
#include "sim_world.h"
#include "test_folder.h"

namespace tidra::testing {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Every file below `root`, with its contents: what a run must leave as it was.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        out[e.path().string()] = e.is_regular_file() ? read(e.path()) : "<not a file>";
    return out;
}

std::vector<std::string> temporaryFiles(const fs::path& root) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().filename().string().find(".sim-tmp-") != std::string::npos)
            out.push_back(e.path().string());
    return out;
}

TEST(DiskSafety, NoPathAndNoLinkLeadsOutOfTheDisk) {
    const fs::path host = freshTestFolder("host");
    write(host / "victim.plist", "the host's own text");
    write(host / "pictures/mine.jpg", "a host picture");
    const auto hostBefore = snapshot(host);

    sim::MacOptions options;
    options.root = freshTestFolder("mac").string();
    // The user's Preferences folder is a link to a folder of the host.
    fs::create_directories(fs::path(options.root) / "Users/me/Library");
    fs::create_directory_symlink(host, fs::path(options.root) / "Users/me/Library/Preferences");
    SimWorld world(options);
    const fs::path root = world.mac().disk().root();
    const std::string hostPath = host.string();
    std::string climb;
    for (int i = 0; i < 40; ++i) climb += "../";

    std::string out =
        world.run("defaults write " + hostPath + "/abs key -string v\n" + "defaults write " +
                  climb + hostPath.substr(1) + "/rel key -string v\n" + "defaults read " +
                  hostPath + "/victim\n" + "defaults write com.example k -bool true\n");
    EXPECT_EQ(world.lastStatus(), 0) << out;
    // A domain given as a path is a file of the simulated disk, as "/tmp/x" is on a Mac.
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "abs.plist"));
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "rel.plist"));
    // Through the link, the Preferences folder resolves inside the disk too.
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "com.example.plist"));

    // Links of every kind, through the file manager and the disk's own writes.
    sim::Disk& disk = world.mac().disk();
    const std::string support = disk.home() + "/Library/Application Support/Tidra";
    fs::create_directories(disk.real(disk.home() + "/Library/Application Support"));
    fs::create_directory_symlink(host / "pictures", disk.realOfLink(support));
    fs::create_directory_symlink(climb + hostPath.substr(1), disk.real(disk.home() + "/Up"));
    fs::create_symlink("loop", disk.real(disk.home() + "/loop"));
    FileManager& files = world.mac().simFileManager();
    EXPECT_FALSE(files.removeItemAtPath(support + "/mine.jpg", nullptr));
    EXPECT_FALSE(files.copyItemAtPath(disk.home() + "/Documents/notes.txt", support + "/copied.jpg",
                                      nullptr));
    EXPECT_FALSE(disk.writeFile(disk.home() + "/Up/pictures/up.jpg", "x"));
    EXPECT_TRUE(disk.writeFile(disk.home() + "/loop/x", "x"));
    EXPECT_EQ(disk.resolve(disk.home() + "/Up/../../.."), "/");
    // The link itself can go; what it points to stays.
    EXPECT_TRUE(files.removeItemAtPath(support, nullptr));
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "pictures/up.jpg"));

    world.run("quit\n");
    EXPECT_EQ(snapshot(host), hostBefore);
}

TEST(DiskSafety, TheMacNeedsAFolderOfItsOwnAndOneProcessAtATime) {
    for (const std::string& bad : {std::string(), std::string("/"), std::string("//")}) {
        sim::MacOptions options;
        options.root = bad;
        EXPECT_THROW(sim::Mac{options}, sim::MacFolderError) << bad;
    }
    const fs::path file = freshTestFolder("file") / "plain";
    write(file, "not a folder");
    sim::MacOptions onFile;
    onFile.root = file.string();
    try {
        sim::Mac mac(onFile);
        ADD_FAILURE() << "a Mac on a file";
    } catch (const sim::MacFolderError& e) {
        EXPECT_EQ(std::string(e.what()), "--mac " + file.string() + " is not a folder");
    }
    EXPECT_EQ(read(file), "not a folder");

    SimWorld first;
    const fs::path root = first.mac().disk().root();
    first.run("defaults write xq.morv.Tidra k -int 1\n");
    const auto before = snapshot(root);
    sim::MacOptions same;
    same.root = root.string();
    try {
        sim::Mac second(same);
        ADD_FAILURE() << "two Macs on one folder";
    } catch (const sim::MacFolderError& e) {
        EXPECT_EQ(std::string(e.what()), "the simulated Mac in " + root.string() +
                                             " is in use by process " + std::to_string(::getpid()));
    }
    // Another process is refused alike, with one line and status 2, and changes nothing.
    const fs::path err = freshTestFolder("stderr") / "err";
    const std::string command = std::string(TIDRA_BINARY) + " --mac '" + root.string() +
                                "' --script /dev/null 2>'" + err.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(read(err), "tidra: the simulated Mac in " + root.string() + " is in use by process " +
                             std::to_string(::getpid()) + "\n");
    EXPECT_EQ(snapshot(root), before);

    // A lock left by a process that has ended blocks nothing.
    first.restartMac();
    EXPECT_EQ(first.run("defaults read xq.morv.Tidra k\n"), "> defaults read xq.morv.Tidra k\n1\n");
}

TEST(DiskSafety, AFullDiskLeavesEveryFileWholeAndSaysSo) {
    SimWorld world;
    sim::Disk& disk = world.mac().disk();
    const fs::path root = disk.root();
    world.run(
        "defaults write xq.morv.Tidra k -string old\n"
        "login-items add Mail /Applications/Mail.app\n"
        "display add Studio\n"
        "wait 2\n");
    ASSERT_EQ(world.lastStatus(), 0);
    const fs::path prefs = root / "Users/me/Library/Preferences";
    const std::string tidraBefore = read(prefs / "xq.morv.Tidra.plist");
    const std::string itemsBefore = read(prefs / "com.apple.loginitems.plist");
    const std::string displaysBefore =
        read(root / "Library/Preferences/com.apple.windowserver.displays.plist");

    disk.setWriteFailure(std::make_error_code(std::errc::no_space_on_device));
    std::string out = world.run("defaults write xq.morv.Tidra k -string new\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("defaults: could not store the change"), std::string::npos) << out;
    EXPECT_FALSE(world.mac().prefs().standardUserDefaults().synchronize());
    world.run("login-items add Notes /Applications/Notes.app\ndisplay add Side\nwait 2\n");
    const auto log = world.mac().console().lines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "Could not write preferences file "
              "/Users/me/Library/Preferences/xq.morv.Tidra.plist: No space left on "
              "device");
    EXPECT_EQ(read(prefs / "xq.morv.Tidra.plist"), tidraBefore);
    EXPECT_EQ(read(prefs / "com.apple.loginitems.plist"), itemsBefore);
    EXPECT_EQ(read(root / "Library/Preferences/com.apple.windowserver.displays.plist"),
              displaysBefore);
    EXPECT_TRUE(temporaryFiles(root).empty());

    // Room again: what the store still holds reaches the disk.
    disk.setWriteFailure({});
    EXPECT_TRUE(world.mac().prefs().standardUserDefaults().synchronize());
    EXPECT_EQ(sim::parsePlist(Data(tidraBefore.begin(), tidraBefore.end()))[Value("k")],
              Value("old"));
    const std::string after = read(prefs / "xq.morv.Tidra.plist");
    EXPECT_EQ(sim::parsePlist(Data(after.begin(), after.end()))[Value("k")], Value("new"));

    // Writes a killed process left unfinished are cleared at the next start, nothing else.
    write(prefs / ".xq.morv.Tidra.plist.sim-tmp-Ab12Cd", "half");
    write(prefs / "com.apple.finder.plist.tmp-x1y2z3", "half");
    write(root / ".sim-tmp-notes", "the user's");
    world.restartMac();
    EXPECT_FALSE(fs::exists(prefs / ".xq.morv.Tidra.plist.sim-tmp-Ab12Cd"));
    EXPECT_FALSE(fs::exists(prefs / "com.apple.finder.plist.tmp-x1y2z3"));
    EXPECT_TRUE(fs::exists(root / ".sim-tmp-notes"));
}

TEST(DiskSafety, ANewMacIsLaidOutOnceAndTheUsersFilesStay) {
    SimWorld world;
    const fs::path root = world.mac().disk().root();
    const fs::path home = root / "Users/me";
    ASSERT_EQ(read(home / "Documents/notes.txt"), "Meeting notes\n");
    write(home / "Documents/notes.txt", "my own notes");
    fs::remove(home / "Desktop/todo.txt");
    world.run("quit\n");
    fs::remove_all(home / "Library/Preferences");
    fs::remove_all(home / "Pictures");
    world.restartMac();
    EXPECT_EQ(read(home / "Documents/notes.txt"), "my own notes");
    EXPECT_FALSE(fs::exists(home / "Desktop/todo.txt"));
    EXPECT_TRUE(fs::is_directory(home / "Library/Preferences"));
    EXPECT_TRUE(fs::is_directory(home / "Pictures"));
    EXPECT_FALSE(fs::exists(home / "Pictures/Mountains.jpg"));
}

}  // namespace
}  // namespace tidra::testing
