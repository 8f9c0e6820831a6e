#include <gtest/gtest.h>

#include <filesystem>

#include "sim/file_manager.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

struct SimFiles : ::testing::Test {
    std::string root = [] {
        // One folder per test: the tests of this suite may run side by side.
        std::string r = testing::freshTestFolder("files-sim").string();
        Disk(r).populate();
        return r;
    }();
    Disk disk{root};
    SimFileManager files{disk};
    void write(const std::string& mac, const std::string& text = "x") {
        testing::writeBytes(disk.real(mac), text);
    }
};

TEST_F(SimFiles, StandardDirectoriesAndTheirCreation) {
    using D = SearchPathDirectory;
    EXPECT_EQ(files.searchPathForDirectoriesInDomains(D::Applications, kAllDomainsMask, true),
              (std::vector<std::string>{"/Users/me/Applications", "/Applications",
                                        "/Network/Applications", "/System/Applications"}));
    EXPECT_EQ(files.searchPathForDirectoriesInDomains(D::Pictures, kAllDomainsMask, false),
              (std::vector<std::string>{"~/Pictures"}));
    EXPECT_EQ(files.searchPathForDirectoriesInDomains(D::Downloads, kLocalDomainMask, true),
              std::vector<std::string>{});
    fs::remove_all(disk.real("/Users/me/Library/Application Support"));
    std::optional<Error> error;
    auto support = files.URLForDirectory(D::ApplicationSupport, kUserDomainMask, false, &error);
    ASSERT_TRUE(support);
    EXPECT_FALSE(files.fileExistsAtPath(*support->path()));
    support = files.URLForDirectory(D::ApplicationSupport, kUserDomainMask, true, &error);
    EXPECT_EQ(support->path(), "/Users/me/Library/Application Support");
    EXPECT_TRUE(fs::is_directory(disk.real(*support->path())));
    EXPECT_FALSE(files.URLForDirectory(D::Pictures, kLocalDomainMask, false, &error));
    EXPECT_TRUE(error);
}

TEST_F(SimFiles, EnumerateCopyRemoveTrashAndReadOnlyFolders) {
    write("/Users/me/Work/b.txt");
    write("/Users/me/Work/a/deep.png");
    auto e = files.enumeratorAtPath("~/Work");
    ASSERT_TRUE(e);
    std::vector<std::string> seen;
    while (auto next = e->nextObject()) seen.push_back(*next);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "a/deep.png", "b.txt"}));
    EXPECT_FALSE(files.enumeratorAtPath("/Users/me/Work/b.txt"));

    std::optional<Error> error;
    auto url = [](const std::string& p) { return Url::fileURLWithPath(p); };
    EXPECT_TRUE(files.copyItemAtURL(url("/Users/me/Work"), url("/Users/me/Copy"), &error));
    EXPECT_TRUE(files.fileExistsAtPath("/Users/me/Copy/a/deep.png"));
    EXPECT_FALSE(
        files.copyItemAtURL(url("/Users/me/Work/b.txt"), url("/Users/me/Copy/b.txt"), &error));
    EXPECT_EQ(error->code, 516);
    EXPECT_FALSE(files.copyItemAtPath("/Users/me/none", "/Users/me/x", &error));
    EXPECT_FALSE(files.removeItemAtURL(url("/Users/me/none"), &error));
    EXPECT_EQ(error->code, 4);
    EXPECT_TRUE(files.removeItemAtURL(url("/Users/me/Copy"), &error));
    EXPECT_FALSE(files.fileExistsAtPath("/Users/me/Copy"));

    // Into the user's Trash, numbering a second item of the same name.
    write("/Users/me/Desktop/old.txt", "1");
    EXPECT_TRUE(files.trashItemAtURL(url("/Users/me/Desktop/old.txt"), &error));
    write("/Users/me/Desktop/old.txt", "2");
    EXPECT_TRUE(files.trashItemAtURL(url("/Users/me/Desktop/old.txt"), &error));
    EXPECT_TRUE(fs::exists(disk.real("/Users/me/.Trash/old.txt")));
    EXPECT_TRUE(fs::exists(disk.real("/Users/me/.Trash/old 2.txt")));

    // The local Applications folder made read-only refuses every change inside it.
    write("/Applications/Some.app/Contents/Info.plist");
    EXPECT_TRUE(files.isWritableFileAtPath("/Applications"));
    files.setLocalApplicationsWritable(false);
    EXPECT_FALSE(files.isWritableFileAtPath("/Applications"));
    EXPECT_TRUE(files.isWritableFileAtPath("/Users/me/Applications"));
    EXPECT_FALSE(files.copyItemAtPath("/Users/me/Work", "/Applications/Work", &error));
    EXPECT_EQ(error->code, 513);
    EXPECT_FALSE(files.removeItemAtPath("/Applications/Some.app", &error));
    EXPECT_FALSE(files.trashItemAtURL(url("/Applications/Some.app"), &error));
    EXPECT_TRUE(files.fileExistsAtPath("/Applications/Some.app"));
    files.setLocalApplicationsWritable(true);
    EXPECT_TRUE(files.removeItemAtPath("/Applications/Some.app", &error));
}

TEST_F(SimFiles, SymlinksResolveWithinTheDisk) {
    write("/Users/me/Real/photo.png");
    fs::create_directory_symlink("/Users/me/Real", disk.real("/Users/me/Abs"));
    fs::create_directory_symlink("Real", disk.real("/Users/me/Rel"));
    fs::create_symlink("loop", disk.real("/Users/me/loop"));
    EXPECT_EQ(files.resolvingSymlinksInPath("~/Abs/photo.png"), "/Users/me/Real/photo.png");
    EXPECT_EQ(files.resolvingSymlinksInPath("/Users/me/Rel/./photo.png"),
              "/Users/me/Real/photo.png");
    EXPECT_EQ(files.resolvingSymlinksInPath("/Users/me/none/x"), "/Users/me/none/x");
    (void)files.resolvingSymlinksInPath("/Users/me/loop/x");  // ends
}

TEST_F(SimFiles, AReplacementIsOneStepAndLeavesTheOriginalWhenRefused) {
    auto contents = [&](const std::string& mac) { return testing::readBytes(disk.real(mac)); };
    std::optional<Error> error;
    write("/Users/me/old.png", "old");
    write("/Users/me/new.png", "new");
    auto url = [](const std::string& p) { return Url::fileURLWithPath(p); };
    EXPECT_TRUE(files.replaceItemAtURL(url("/Users/me/old.png"), url("/Users/me/new.png"), &error));
    EXPECT_EQ(contents("/Users/me/old.png"), "new");
    EXPECT_FALSE(fs::exists(disk.real("/Users/me/new.png")));
    // A missing replacement or a folder closed to changes: the original stays as it was.
    error.reset();
    EXPECT_FALSE(
        files.replaceItemAtURL(url("/Users/me/old.png"), url("/Users/me/new.png"), &error));
    EXPECT_EQ(error->code, 4);
    write("/Users/me/Locked/kept.png", "kept");
    write("/Users/me/Locked/next.png", "next");
    files.setReadOnly("/Users/me/Locked", true);
    EXPECT_FALSE(files.replaceItemAtURL(url("/Users/me/Locked/kept.png"),
                                        url("/Users/me/Locked/next.png"), &error));
    EXPECT_EQ(error->code, 513);
    EXPECT_EQ(contents("/Users/me/Locked/kept.png"), "kept");
    EXPECT_TRUE(fs::exists(disk.real("/Users/me/Locked/next.png")));
}

}  // namespace
}  // namespace tidra::sim
