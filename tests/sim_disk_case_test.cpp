// The simulated disk ignores case and preserves it, as a Mac's default volume does, although the
// real folder beneath it tells case apart.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "sim/authorization.h"
#include "sim/case_fold.h"
#include "sim/file_manager.h"
#include "sim/run_loop.h"
#include "sim_world.h"
#include "test_files.h"
#include "test_folder.h"
#include "text/ascii.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Names in one real folder that differ only in (ASCII) case: a Mac never holds them side by side.
std::vector<std::string> caseTwins(const fs::path& root) {
    std::vector<std::string> twins;
    std::map<std::string, std::string> seen;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        auto [at, fresh] = seen.emplace(asciiLower(entry.path().string()), entry.path().string());
        if (!fresh) twins.push_back(at->second + " | " + entry.path().string());
    }
    return twins;
}

// The names a real folder holds, as stored.
std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct SimDiskCase : ::testing::Test {
    std::string root = [] {
        std::string r = testing::freshTestFolder("case-sim").string();
        Disk(r).populate(false);
        return r;
    }();
    Disk disk{root};
    SimFileManager files{disk};
    std::optional<Error> error;

    std::string contents(const std::string& mac) { return testing::readBytes(disk.real(mac)); }
    static Url url(const std::string& path) { return Url::fileURLWithPath(path); }
};

TEST_F(SimDiskCase, NamesAreFoundInAnyCaseAndKeepTheCaseTheyWereMadeWith) {
    ASSERT_FALSE(disk.writeFile("/Users/me/Pictures/Photo.JPG", "first"));
    EXPECT_TRUE(files.fileExistsAtPath("/users/ME/pictures/photo.jpg"));
    EXPECT_EQ(files.resolvingSymlinksInPath("~/PICTURES/photo.jpg"),
              "/Users/me/Pictures/Photo.JPG");
    EXPECT_EQ(disk.spelled("/users/me/pictures/PHOTO.jpg/../New.png"),
              "/Users/me/Pictures/New.png");

    // A second name that differs only in case is the same name: it already exists.
    ASSERT_FALSE(disk.writeFile("/Users/me/Desktop/photo.jpg", "other"));
    EXPECT_FALSE(files.copyItemAtPath("~/Desktop/photo.jpg", "~/pictures/PHOTO.JPG", &error));
    EXPECT_EQ(error->code, 516);
    EXPECT_FALSE(files.moveItemAtPath("~/Desktop/photo.jpg", "~/Pictures/photo.JPG", &error));
    EXPECT_EQ(error->code, 516);
    EXPECT_FALSE(files.createDirectoryAtURL(url("/users/me/pictures"), false, &error));
    EXPECT_EQ(error->code, 516);
    EXPECT_TRUE(files.createDirectoryAtURL(url("/USERS/me/Pictures/Trips/Alps"), true, &error));

    // Writing under another spelling replaces the file and keeps its name; a new file keeps the
    // spelling it was made with, in a folder found whatever its case.
    ASSERT_FALSE(disk.writeFile("/users/me/pictures/PHOTO.jpg", "second"));
    ASSERT_FALSE(disk.writeFile("/users/me/pictures/trips/Über.PNG", "u"));
    EXPECT_EQ(contents("/Users/me/Pictures/Photo.JPG"), "second");
    EXPECT_EQ(namesIn(disk.real("/Users/me/Pictures")),
              (std::vector<std::string>{"Photo.JPG", "Trips"}));
    EXPECT_EQ(namesIn(disk.real("/Users/me/Pictures/Trips")),
              (std::vector<std::string>{"Alps", "Über.PNG"}));
    EXPECT_TRUE(files.fileExistsAtPath("/Users/me/Pictures/Trips/über.png"));
    auto listed = files.enumeratorAtPath("/users/me/PICTURES");
    ASSERT_TRUE(listed);
    std::vector<std::string> seen;
    while (auto next = listed->nextObject()) seen.push_back(*next);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Photo.JPG", "Trips", "Trips/Alps", "Trips/Über.PNG"}));

    // Removal and the Trash find the stored name; the Trash numbers a second item of the same
    // name in any case, and keeps each one's own spelling.
    ASSERT_FALSE(disk.writeFile("/Users/me/Desktop/Notes.TXT", "1"));
    EXPECT_TRUE(files.trashItemAtURL(url("/users/me/desktop/notes.txt"), &error));
    ASSERT_FALSE(disk.writeFile("/Users/me/Desktop/notes.txt", "2"));
    EXPECT_TRUE(files.trashItemAtURL(url("/Users/me/Desktop/NOTES.txt"), &error));
    EXPECT_EQ(namesIn(disk.real("/Users/me/.Trash")),
              (std::vector<std::string>{"Notes.TXT", "notes 2.txt"}));
    EXPECT_FALSE(files.trashItemAtURL(url("/Users/me/.trash/Notes.TXT"), &error));
    EXPECT_TRUE(files.removeItemAtPath("/USERS/ME/PICTURES/TRIPS", &error));
    EXPECT_FALSE(fs::exists(root + "/Users/me/Pictures/Trips"));

    // A folder closed to changes stays closed under any spelling.
    ASSERT_FALSE(disk.writeFile("/Applications/Some.app/Contents/Info.plist", "x"));
    files.setLocalApplicationsWritable(false);
    EXPECT_FALSE(files.copyItemAtPath("~/Desktop/photo.jpg", "/APPLICATIONS/photo.jpg", &error));
    EXPECT_EQ(error->code, 513);
    EXPECT_FALSE(files.removeItemAtPath("/applications/some.app", &error));
    EXPECT_FALSE(files.isWritableFileAtPath("/applications"));
    EXPECT_TRUE(files.fileExistsAtPath("/Applications/Some.app/Contents/Info.plist"));
    EXPECT_THAT(caseTwins(root), ::testing::IsEmpty());

    // A name that differs late, in the last letter of its alphabet, is the same name; one
    // letter more or less is another.
    ASSERT_FALSE(disk.writeFile("/Users/me/Documents/Jazz Quiz Þór Žižek Ωmega Яблоко.txt", "z"));
    EXPECT_TRUE(files.fileExistsAtPath("/users/me/documents/jazz quiZ þór žižek ωmega яблоко.TXT"));
    EXPECT_FALSE(
        files.fileExistsAtPath("/Users/me/Documents/Jazz Quiy Þór Žižek Ωmega Яблоко.txt"));
    EXPECT_FALSE(disk.writeFile("/Users/me/Documents/JAZZ QUIZ ÞÓR ŽIŽEK ΩMEGA ЯБЛОКО.TXT", "Z"));
    EXPECT_EQ(namesIn(disk.real("/Users/me/Documents")).back(),
              "Jazz Quiz Þór Žižek Ωmega Яблоко.txt");

    // Letters beyond ASCII fold too, and the signs beside each alphabet stay as they are; bytes
    // that are no UTF-8 are compared as they are.
    EXPECT_EQ(foldCase("@AZ[ `az{ ÞÝ×ß ŽŶ ΩΨ ЯЮ"), foldCase("@az[ `az{ þý×ß žŷ ωψ яю"));
    EXPECT_EQ(foldCase("ÀÉÎÕÜ Ÿ ŁĲ ΣΑΣ ς ДЖЁ ſ µ"), foldCase("àéîõü ÿ łĳ σασ σ джё s μ"));
    EXPECT_NE(foldCase("@AZ[ `az{ ÞÝ×ß ŽŶ ΩΨ ЯЮ"), foldCase("@az[ `az{ þý×ß žŷ ωψ яя"));
    EXPECT_EQ(foldCase("\xC3\x28 A\xFF"), "\xC3\x28 a\xFF");
}

TEST_F(SimDiskCase, ARenameThatChangesOnlyTheCaseKeepsOneItem) {
    ASSERT_FALSE(disk.writeFile("/Users/me/Pictures/photo.jpg", "picture"));
    EXPECT_TRUE(files.moveItemAtPath("~/Pictures/photo.jpg", "~/pictures/Photo.JPG", &error))
        << error->description();
    EXPECT_EQ(namesIn(disk.real("/Users/me/Pictures")), std::vector<std::string>{"Photo.JPG"});
    EXPECT_EQ(contents("/Users/me/Pictures/photo.jpg"), "picture");
    // A folder too, with what it holds.
    EXPECT_TRUE(files.moveItemAtPath("/Users/me/Pictures", "/Users/me/PICTURES", &error));
    EXPECT_EQ(contents("/Users/me/PICTURES/Photo.JPG"), "picture");
    EXPECT_TRUE(fs::exists(root + "/Users/me/PICTURES/Photo.JPG"));
    // The same spelling is no rename: the item is in the way of itself.
    EXPECT_FALSE(files.moveItemAtPath("~/Pictures/Photo.JPG", "~/PICTURES/Photo.JPG", &error));
    EXPECT_EQ(error->code, 516);

    // Privileged copies and moves land on the names already there, whatever their case.
    ASSERT_FALSE(disk.writeFile("/Applications/Tidra.app/Contents/Info.plist", "old"));
    ASSERT_FALSE(disk.writeFile("/Users/me/Downloads/TIDRA.APP/CONTENTS/INFO.PLIST", "new"));
    ASSERT_FALSE(disk.writeFile("/Users/me/Downloads/TIDRA.APP/CONTENTS/MacOS/Tidra", "#!"));
    RunLoop loop{false};
    SimAuthorization authorization(loop, disk);
    AuthorizationRef admin = nullptr;
    ASSERT_EQ(authorization.create(&admin), 0);
    loop.post([&] { authorization.answerPassword(true); });
    ASSERT_EQ(authorization.copyRights(
                  admin, "system.privilege.admin",
                  kAuthorizationFlagInteractionAllowed | kAuthorizationFlagExtendRights),
              0);
    auto privileged = *authorization.lookupPrivilegedExecute("AuthorizationExecuteWithPrivileges");
    auto run = [&](const std::string& tool, const std::vector<std::string>& arguments) {
        EXPECT_EQ(privileged(admin, tool, 0, arguments), 0);
        return authorization.wait().exitStatus;
    };
    EXPECT_EQ(run("/bin/cp", {"-pR", "/Users/me/Downloads/TIDRA.APP", "/applications"}), 0);
    EXPECT_EQ(contents("/Applications/Tidra.app/Contents/Info.plist"), "new");
    EXPECT_EQ(namesIn(disk.real("/Applications/Tidra.app/Contents")),
              (std::vector<std::string>{"Info.plist", "MacOS"}));
    EXPECT_EQ(run("/bin/mv", {"/Users/me/Downloads/tidra.app", "/Users/me/pictures"}), 0);
    EXPECT_TRUE(fs::exists(root + "/Users/me/PICTURES/TIDRA.APP/CONTENTS/INFO.PLIST"));
    EXPECT_THAT(caseTwins(root), ::testing::IsEmpty());
}

TEST(SimDiskCaseFrontEnd, LsAndTheOpenPanelShowTheStoredCase) {
    testing::SimWorld w;
    std::string out = w.run("ls ~/pictures\nls /users/ME/desktop/holiday photos/BEACH.JPG\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr(":\n  Mountains.jpg\n  Sunset.heic\n"));
    EXPECT_THAT(out, HasSubstr("/Users/me/Desktop/Holiday Photos/beach.jpg\n"));
    out = w.run("menu Custom Image...\npanel choose /users/me/PICTURES/mountains.JPG\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    EXPECT_EQ(namesIn(w.mac().disk().real("/Users/me/Library/Application Support/Tidra")),
              std::vector<std::string>{"Mountains.jpg"});
}

// "Café" spelt with one character for "é" (NFC) and with "e" and a combining accent (NFD).
constexpr const char* kCafeComposed = "Caf\xC3\xA9.jpg";
constexpr const char* kCafeDecomposed = "Cafe\xCC\x81.jpg";

TEST(SimDiskNormalization, NamesAreOneWhateverTheirNormalizationAndKeepTheirSpelling) {
    testing::SimWorld w;
    const std::string pictures = "/Users/me/Pictures/";
    testing::putFile(w, pictures + kCafeComposed, "composed");
    const std::string real = w.mac().disk().real(pictures);

    // Found by the other spelling, and in another case as well; listed as it was made.
    EXPECT_TRUE(w.exists(pictures + kCafeDecomposed));
    EXPECT_TRUE(w.exists(pictures + "CAFE\xCC\x81.JPG"));
    std::string out = w.run(std::string("ls ~/Pictures/") + kCafeDecomposed + "\nls ~/Pictures\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr(std::string("/Users/me/Pictures/") + kCafeComposed + "\n"));
    EXPECT_THAT(out,
                ::testing::Not(HasSubstr(std::string("/Users/me/Pictures/") + kCafeDecomposed)));

    // Written by the other spelling: the one file changes; the two never sit side by side.
    ASSERT_FALSE(w.mac().disk().writeFile(pictures + kCafeDecomposed, "decomposed"));
    EXPECT_EQ(namesIn(real),
              (std::vector<std::string>{kCafeComposed, "Mountains.jpg", "Sunset.heic"}));
    EXPECT_EQ(testing::contents(w, pictures + kCafeComposed), "decomposed");
    SimFileManager files(w.mac().disk());
    std::optional<Error> error;
    EXPECT_FALSE(
        files.copyItemAtPath(pictures + "Mountains.jpg", pictures + kCafeDecomposed, &error));
    EXPECT_EQ(namesIn(real).size(), 3u);

    // A name made decomposed keeps that spelling and is found composed.
    testing::putFile(w, pictures + "Cre\xCC\x80me.png", "png");
    EXPECT_TRUE(w.exists(pictures + "Cr\xC3\xA8me.png"));
    EXPECT_EQ(w.mac().disk().spelled(pictures + "Cr\xC3\xA8me.png"),
              pictures + "Cre\xCC\x80me.png");

    // The open panel takes either spelling and hands back the stored one.
    out = w.run(std::string("menu Custom Image...\npanel choose ~/Pictures/") + kCafeDecomposed +
                "\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              std::string("~/Library/Application Support/Tidra/") + kCafeComposed);
}

}  // namespace
}  // namespace tidra::sim
