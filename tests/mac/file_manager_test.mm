// The native file manager's copies, removals and enumeration with their errors, under GNUstep.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "mac/services.h"
#include "test_folder.h"

namespace tidra::mac {
namespace {

namespace fs = std::filesystem;

TEST(MacFileManager, CopiesRemovesAndReportsWhyNot) {
    @autoreleasepool {
        const fs::path dir = testing::freshTestFolder("mac-files");
        auto files = makeFileManager();
        std::ofstream(dir / "wallpaper.png") << "grey";
        const Url source = Url::fileURLWithPath((dir / "wallpaper.png").string());
        const Url copy = Url::fileURLWithPath((dir / "Tidra" / "custom.png").string());

        std::optional<Error> error;
        EXPECT_TRUE(files->createDirectoryAtURL(Url::fileURLWithPath((dir / "Tidra").string()),
                                                true, &error));
        EXPECT_TRUE(files->copyItemAtURL(source, copy, &error));
        EXPECT_FALSE(error.has_value());
        EXPECT_TRUE(files->fileExistsAtPath((dir / "Tidra" / "custom.png").string()));
        EXPECT_TRUE(files->isWritableFileAtPath(dir.string()));

        // A copy onto an existing file and a removal of nothing both fail with an error.
        EXPECT_FALSE(files->copyItemAtURL(source, copy, &error));
        ASSERT_TRUE(error.has_value());
        EXPECT_FALSE(error->localizedDescription.empty());
        error.reset();
        EXPECT_FALSE(files->removeItemAtPath((dir / "missing").string(), &error));
        EXPECT_TRUE(error.has_value());
        error.reset();
        EXPECT_FALSE(
            files->copyItemAtPath((dir / "missing").string(), (dir / "x").string(), &error));
        EXPECT_TRUE(error.has_value());
        EXPECT_FALSE(
            files->removeItemAtURL(Url::fileURLWithPath((dir / "missing").string()), nullptr));

        fs::create_directories(dir / "Tidra" / "deeper");
        std::ofstream(dir / "Tidra" / "deeper" / "a.txt") << "a";
        auto walk = files->enumeratorAtPath((dir / "Tidra").string());
        ASSERT_NE(walk, nullptr);
        std::set<std::string> seen;
        while (auto next = walk->nextObject()) seen.insert(*next);
        EXPECT_EQ(seen, (std::set<std::string>{"custom.png", "deeper", "deeper/a.txt"}));

        // A rename into place, but never over something already there.
        std::ofstream(dir / "incoming.txt") << "new";
        EXPECT_FALSE(files->moveItemAtPath((dir / "incoming.txt").string(),
                                           (dir / "wallpaper.png").string(), &error));
        EXPECT_TRUE(error.has_value());
        error.reset();
        EXPECT_TRUE(files->moveItemAtPath((dir / "incoming.txt").string(),
                                          (dir / "Tidra" / "placed.txt").string(), &error));
        EXPECT_FALSE(fs::exists(dir / "incoming.txt"));
        EXPECT_TRUE(fs::exists(dir / "Tidra" / "placed.txt"));

        // A whole folder goes at once.
        error.reset();
        EXPECT_TRUE(files->removeItemAtURL(Url::fileURLWithPath((dir / "Tidra").string()), &error));
        EXPECT_FALSE(error.has_value());
        EXPECT_FALSE(fs::exists(dir / "Tidra"));
        EXPECT_EQ(files->resolvingSymlinksInPath((dir / "." / "wallpaper.png").string()),
                  fs::canonical(dir / "wallpaper.png").string());
        fs::remove_all(dir);
    }
}

}  // namespace
}  // namespace tidra::mac
