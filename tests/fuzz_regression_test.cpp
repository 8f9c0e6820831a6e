// Inputs the fuzzers in fuzz/ found faults with, fed through the same paths.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "prefs/keys.h"
#include "sim/console_log.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/formats/plist_value.h"
#include "sim/preferences.h"
#include "sim/run_loop.h"
#include "test_files.h"
#include "test_folder.h"
#include "wallpaper/wallpaper_records.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

// As a preference file, each of these is moved aside like any damaged one: the preferences'
// own tests feed them through that path.
Data regression(const std::string& name) {
    return testing::testData("fuzz-regressions/" + name);
}

TEST(FuzzRegression, TextThatIsNotUtf8IsDamageNotAStringThatChangesWhenWritten) {
    // An options record whose fill-colour string ends in a stray UTF-8 lead byte: it used to be
    // taken in, and storing it again dropped the byte.
    const Data archive = regression("wallpapersOptions-string-not-utf8.archive");
    KeyedArchiver archiver;
    EXPECT_TRUE(archiver.unarchiveObjectWithData(archive).isNil());

    // Loaded as Tidra loads its records: the record is empty and its bytes stay in the store.
    const Disk disk(testing::freshTestFolder("fuzz-regression").string());
    fs::create_directories(disk.real("/Users/me/Library/Preferences"));
    RunLoop loop(false);
    ConsoleLog console(loop, "");
    {
        SimPreferences prefs(disk, prefs::kAppDomain, console);
        prefs.standardUserDefaults().setObject(Value(archive), prefs::kWallpapersOptions);
        ASSERT_TRUE(prefs.standardUserDefaults().synchronize());
    }
    SimPreferences prefs(disk, prefs::kAppDomain, console);
    WallpaperRecordStore store(prefs.standardUserDefaults(), archiver);
    EXPECT_TRUE(store.load().options.empty());
    EXPECT_EQ(prefs.standardUserDefaults().objectForKey(prefs::kWallpapersOptions), Value(archive));

    // What counts as text.
    EXPECT_TRUE(isStorableText(""));
    EXPECT_TRUE(isStorableText("Beach Day \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8A"));
    EXPECT_FALSE(isStorableText("colour 1\xD2"));         // lead byte at the end
    EXPECT_FALSE(isStorableText("\xC0\xAF"));             // overlong '/'
    EXPECT_FALSE(isStorableText("\xED\xA0\x80"));         // a lone UTF-16 surrogate
    EXPECT_FALSE(isStorableText("\xF4\x90\x80\x80"));     // past U+10FFFF
    EXPECT_FALSE(isStorableText("\x80"));                 // continuation byte alone
    EXPECT_FALSE(isStorableText("\xE2\x82!"));            // cut short
    EXPECT_TRUE(isStorableText(std::string("a\0b", 3)));  // NUL is a character, written whole
}

TEST(FuzzRegression, AKeyHoldingANulIsReadWithoutAnAbort) {
    // A binary preference file whose "replaceWallpaper" key was overwritten with NUL bytes:
    // walking the dictionary aborted inside the property-list library. A NUL is a character a
    // key may hold: the list reads whole, the key as it is.
    const Data file = regression("preference-key-with-nul.plist");
    const Value root = parsePlist(file);
    ASSERT_TRUE(root.isStringKeyedDictionary());
    bool nulKey = false;
    for (const auto& [key, value] : root.dictionary())
        nulKey |= key.string().find('\0') != std::string::npos;
    EXPECT_TRUE(nulKey);
    KeyedArchiver archiver;
    EXPECT_EQ(archiver.propertyListWithData(file), root);
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
}

}  // namespace
}  // namespace tidra::sim
