// Inputs the fuzzers in fuzz/ found faults with, fed through the same paths.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "prefs/keys.h"
#include "sim/console_log.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/formats/plist_value.h"
#include "sim/preferences.h"
#include "sim/run_loop.h"
#include "test_folder.h"
#include "wallpaper/wallpaper_records.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

Data readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Data regression(const std::string& name) {
    return readFile(std::string(TIDRA_TEST_DATA_DIR) + "/fuzz-regressions/" + name);
}

// A simulated disk of its own for each case, and the Preferences folder on it.
struct PrefsFolder {
    explicit PrefsFolder(const std::string& name)
        : root(testing::freshTestFolder("fuzz-regression-" + name)), disk(root.string()) {
        fs::create_directories(dir());
    }
    ~PrefsFolder() { fs::remove_all(root); }
    std::string dir() const { return disk.real("/Users/me/Library/Preferences"); }
    fs::path root;
    Disk disk;
};

TEST(FuzzRegression, TextThatIsNotUtf8IsDamageNotAStringThatChangesWhenWritten) {
    // An options record whose fill-colour string ends in a stray UTF-8 lead byte: it used to be
    // taken in, and storing it again dropped the byte.
    const Data archive = regression("wallpapersOptions-string-not-utf8.archive");
    KeyedArchiver archiver;
    EXPECT_TRUE(archiver.unarchiveObjectWithData(archive).isNil());

    // Loaded as Tidra loads its records: the record is empty and its bytes stay in the store.
    const PrefsFolder records("records");
    RunLoop loop(false);
    ConsoleLog console(loop, "");
    {
        SimPreferences prefs(records.disk, prefs::kAppDomain, console);
        prefs.standardUserDefaults().setObject(Value(archive), prefs::kWallpapersOptions);
        ASSERT_TRUE(prefs.standardUserDefaults().synchronize());
    }
    SimPreferences prefs(records.disk, prefs::kAppDomain, console);
    WallpaperRecordStore store(prefs.standardUserDefaults(), archiver);
    EXPECT_TRUE(store.load().options.empty());
    EXPECT_EQ(prefs.standardUserDefaults().objectForKey(prefs::kWallpapersOptions), Value(archive));

    // The same bytes as a preference file: damaged, so moved aside untouched.
    const PrefsFolder files("file");
    const std::string file = files.dir() + "/xq.morv.Tidra.plist";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
    ConsoleLog fileConsole(loop, "");
    SimPreferences damaged(files.disk, prefs::kAppDomain, fileConsole);
    EXPECT_TRUE(damaged.standardUserDefaults().objectForKey(prefs::kWallpapers).isNil());
    EXPECT_EQ(readFile(file + ".corrupt-1"), archive);
    ASSERT_EQ(fileConsole.lines().size(), 1u);
    EXPECT_NE(fileConsole.lines()[0].find("is damaged and was moved aside"), std::string::npos);

    // A preference file one of whose keys is not text: written back, the key came out changed.
    const Data keyFile = regression("preference-key-not-utf8.plist");
    const PrefsFolder keys("key");
    const std::string keyDir = keys.dir();
    std::ofstream(keyDir + "/xq.morv.Tidra.plist", std::ios::binary)
        .write(reinterpret_cast<const char*>(keyFile.data()), std::streamsize(keyFile.size()));
    ConsoleLog keyConsole(loop, "");
    {
        SimPreferences keyPrefs(keys.disk, prefs::kAppDomain, keyConsole);
        EXPECT_TRUE(keyPrefs.standardUserDefaults().objectForKey(prefs::kRestoreFinder).isNil());
        keyPrefs.standardUserDefaults().setBool(true, prefs::kRestoreFinder);
        EXPECT_TRUE(keyPrefs.standardUserDefaults().synchronize());
    }
    EXPECT_EQ(readFile(keyDir + "/xq.morv.Tidra.plist.corrupt-1"), keyFile);
    EXPECT_EQ(parsePlist(readFile(keyDir + "/xq.morv.Tidra.plist")),
              Value(Dictionary{{Value(prefs::kRestoreFinder), Value(true)}}));

    // What counts as text.
    EXPECT_TRUE(isStorableText(""));
    EXPECT_TRUE(isStorableText("Beach Day \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8A"));
    EXPECT_FALSE(isStorableText("colour 1\xD2"));          // lead byte at the end
    EXPECT_FALSE(isStorableText("\xC0\xAF"));              // overlong '/'
    EXPECT_FALSE(isStorableText("\xED\xA0\x80"));          // a lone UTF-16 surrogate
    EXPECT_FALSE(isStorableText("\xF4\x90\x80\x80"));      // past U+10FFFF
    EXPECT_FALSE(isStorableText("\x80"));                  // continuation byte alone
    EXPECT_FALSE(isStorableText("\xE2\x82!"));             // cut short
    EXPECT_FALSE(isStorableText(std::string("a\0b", 3)));  // the writer ends it at the NUL
}

TEST(FuzzRegression, AKeyHoldingANulIsDamageNotAnAbort) {
    // A binary preference file whose "replaceWallpaper" key was overwritten with NUL bytes:
    // walking the dictionary aborted inside the property-list library.
    const Data file = regression("preference-key-with-nul.plist");
    EXPECT_TRUE(parsePlist(file).isNil());
    KeyedArchiver archiver;
    EXPECT_TRUE(archiver.propertyListWithData(file).isNil());

    const PrefsFolder folder("nul-key");
    const std::string dir = folder.dir();
    std::ofstream(dir + "/xq.morv.Tidra.plist", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    RunLoop loop(false);
    ConsoleLog console(loop, "");
    SimPreferences prefs(folder.disk, prefs::kAppDomain, console);
    EXPECT_TRUE(prefs.standardUserDefaults().objectForKey(prefs::kReplaceWallpaper).isNil());
    EXPECT_EQ(readFile(dir + "/xq.morv.Tidra.plist.corrupt-1"), file);
}

TEST(FuzzRegression, ARealBeyondEveryIntegerReadsAsTheNearestOne) {
    // A preference file holding only a real of 4e116: converting it to an integer was undefined.
    const Data file = regression("preference-real-beyond-integers.plist");
    const Value root = parsePlist(file);
    ASSERT_EQ(root.kind(), Value::Kind::Real);
    EXPECT_EQ(root.intValue(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Value(-1e300).intValue(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Value(std::nan("")).intValue(), 0);
    EXPECT_EQ(Value(-9223372036854775808.0).intValue(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Value(42.9).intValue(), 42);

    // Not a dictionary: moved aside, and the domain starts empty.
    const PrefsFolder folder("real");
    const std::string dir = folder.dir();
    std::ofstream(dir + "/xq.morv.Tidra.plist", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    RunLoop loop(false);
    ConsoleLog console(loop, "");
    SimPreferences prefs(folder.disk, prefs::kAppDomain, console);
    EXPECT_FALSE(prefs.standardUserDefaults().boolForKey(prefs::kRestoreFinder));
    EXPECT_EQ(readFile(dir + "/xq.morv.Tidra.plist.corrupt-1"), file);
}

}  // namespace
}  // namespace tidra::sim
