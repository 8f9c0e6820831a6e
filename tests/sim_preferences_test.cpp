#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"
#include "sim/preferences.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

struct Lines : Console {
    std::vector<std::string> lines;
    void log(const std::string& line) override { lines.push_back(line); }
};

struct Recorder : Object {
    struct Call {
        std::string key;
        Object* object;
        Value newValue;
        void* context;
    };
    std::vector<Call> calls;
    std::function<void()> onCall;
    void observeValueForKeyPath(const std::optional<std::string>& keyPath, Object* object,
                                const std::optional<Dictionary>& change, void* context) override {
        calls.push_back({keyPath.value_or(""), object,
                         change ? Value(*change)[kKeyValueChangeNewKey] : Value(), context});
        if (onCall) onCall();
    }
};

class Prefs : public ::testing::Test {
  protected:
    void SetUp() override {
        root = testing::freshTestFolder("prefs");
        disk = std::make_unique<Disk>(root.string());
        dir = root / "Users/me/Library/Preferences";
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(root); }
    std::unique_ptr<SimPreferences> open() {
        return std::make_unique<SimPreferences>(*disk, "xq.morv.Tidra", console);
    }
    fs::path root, dir;
    std::unique_ptr<Disk> disk;
    Lines console;
};

TEST_F(Prefs, ValuesUrlsAndPersistence) {
    {
        auto prefs = open();
        UserDefaults& d = prefs->standardUserDefaults();
        EXPECT_FALSE(d.boolForKey("absent"));
        EXPECT_TRUE(d.objectForKey("absent").isNil());
        d.setBool(true, "flag");
        d.setURL(Url::fileURLWithPath("/Users/me/Pictures/"), "folder");
        EXPECT_EQ(d.objectForKey("folder"), Value("~/Pictures"));
        auto url = d.URLForKey("folder");
        ASSERT_TRUE(url);
        EXPECT_EQ(paths::standardize(*url->path(), "/Users/me"),
                  paths::standardize("/Users/me/Pictures/", "/Users/me"));
        d.setObject(Value("file:///Library/Desktop%20Pictures/"), "asUrl");
        EXPECT_EQ(*d.URLForKey("asUrl")->path(), "/Library/Desktop Pictures");
        d.setObject(Value(3), "number");
        EXPECT_FALSE(d.URLForKey("number"));
        d.setObject(Value::null(), "null");  // not a property-list value: refused
        EXPECT_TRUE(d.objectForKey("null").isNil());
        EXPECT_TRUE(d.synchronize());
        auto global = prefs->suite("-g");
        global->setObject(Value("Dark"), "AppleInterfaceStyle");
    }  // the rest persists on shutdown
    Value onDisk = parsePlist(testing::readBytes<Data>(dir / "xq.morv.Tidra.plist"));
    EXPECT_EQ(onDisk["flag"], Value(true));
    EXPECT_EQ(onDisk["folder"], Value("~/Pictures"));
    auto prefs = open();
    EXPECT_TRUE(prefs->standardUserDefaults().boolForKey("flag"));
    EXPECT_EQ(
        prefs->standardUserDefaults().persistentDomainForName(kGlobalDomain)["AppleInterfaceStyle"],
        Value("Dark"));
    EXPECT_TRUE(prefs->standardUserDefaults().persistentDomainForName("com.nobody").isNil());
    auto names = prefs->domainNames();
    EXPECT_EQ(names, (std::vector<std::string>{"NSGlobalDomain", "xq.morv.Tidra"}));
}

TEST_F(Prefs, EveryWriteOfAnObservedKeyReachesTheObserver) {
    auto prefs = open();
    UserDefaults& d = prefs->standardUserDefaults();
    Recorder r;
    int ctx = 0;
    d.addObserver(&r, "key", kKeyValueObservingOptionNew, &ctx);
    d.setBool(true, "key");
    d.setBool(true, "other");
    d.setURL(Url::fileURLWithPath("/Users/me/x"), "key");
    d.setObject(Value(5), "key");
    d.removeObjectForKey("key");
    prefs->suite("xq.morv.Tidra")->setObject(Value("suite"), "key");
    prefs->suite("com.other")->setObject(Value("elsewhere"), "key");
    prefs->writeFromOutside("xq.morv.Tidra", "key", Value("outside"));
    prefs->deleteFromOutside("xq.morv.Tidra", "key");
    std::vector<Value> seen;
    for (const auto& c : r.calls) {
        EXPECT_EQ(c.key, "key");
        EXPECT_EQ(c.object, &d);
        EXPECT_EQ(c.context, &ctx);
        seen.push_back(c.newValue);
    }
    EXPECT_EQ(seen, (std::vector<Value>{Value(true), Value("~/x"), Value(5), Value::null(),
                                        Value("suite"), Value("outside"), Value::null()}));
    EXPECT_TRUE(seen[3].isNull());

    // An observer that writes back and then stops observing mid-notification.
    Recorder second;
    r.calls.clear();
    r.onCall = [&] {
        if (r.calls.size() == 1) d.setObject(Value("again"), "key");
        d.removeObserver(&second, "key", nullptr);
    };
    d.addObserver(&second, "key", kKeyValueObservingOptionNew, nullptr);
    d.setObject(Value("first"), "key");
    ASSERT_EQ(r.calls.size(), 2u);
    EXPECT_EQ(r.calls[0].newValue, Value("first"));
    EXPECT_EQ(r.calls[1].newValue, Value("again"));
    EXPECT_TRUE(second.calls.empty());
    d.removeObserver(&r, "key", &ctx);
    d.setObject(Value("unseen"), "key");
    EXPECT_EQ(r.calls.size(), 2u);
}

TEST_F(Prefs, AWriteCutShortLeavesTheFileItReplacesWhole) {
    {
        auto prefs = open();
        prefs->standardUserDefaults().setObject(Value("kept"), "k");
        ASSERT_TRUE(prefs->standardUserDefaults().synchronize());
    }
    // A write cut short leaves only its temporary file behind; the real file is untouched.
    testing::writeBytes(dir / "xq.morv.Tidra.plist.tmp-cut123", "bplist00\x01\x02");
    {
        auto prefs = open();
        EXPECT_EQ(prefs->standardUserDefaults().objectForKey("k"), Value("kept"));
        EXPECT_EQ(prefs->domainNames(), std::vector<std::string>{"xq.morv.Tidra"});
    }
    EXPECT_TRUE(console.lines.empty());
}

// Whatever is wrong with a preference file, its bytes go aside unchanged under a name no earlier
// damaged file holds, one line says where, and the domain starts empty and is written afresh.
TEST_F(Prefs, ADamagedFileIsMovedAsideWholeAndTheDomainStartsEmpty) {
    Data sound = *toBinaryPlist(Value(Dictionary{{Value("restoreFinder"), Value(true)},
                                                 {Value("replaceWallpaper"), Value("~/x.png")}}));
    auto text = [](const std::string& s) { return Data(s.begin(), s.end()); };
    const char noise[] = "\x01\xfe garbage \x00\x7f that no reader can take";
    struct Case {
        const char* name;
        Data bytes;
    };
    const Case cases[] = {
        {"a write cut short", Data(sound.begin(), sound.begin() + long(sound.size() / 2))},
        {"the header alone", Data(sound.begin(), sound.begin() + 8)},
        {"nothing at all", Data()},
        {"not a property list", text(std::string(noise, sizeof noise - 1))},
        {"a header and then nothing readable", text("bplist00 this is not a property list")},
        {"no offset table", Data{'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xff, 0xff, 0xff, 0xff}},
        {"a root of the wrong kind", text("<plist><array><string>x</string></array></plist>")},
        // Inputs the fuzzers found faults with.
        {"a string that is not UTF-8",
         testing::testData("fuzz-regressions/wallpapersOptions-string-not-utf8.archive")},
        {"a key that is not UTF-8",
         testing::testData("fuzz-regressions/preference-key-not-utf8.plist")},
        {"a real beyond every integer at the root",
         testing::testData("fuzz-regressions/preference-real-beyond-integers.plist")},
    };
    const fs::path file = dir / "xq.morv.Tidra.plist";
    const std::string shown = "/Users/me/Library/Preferences/xq.morv.Tidra.plist";
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(!c.bytes.empty() || c.name == std::string("nothing at all")) << "no test data";
        testing::writeBytes(file, c.bytes);
        console.lines.clear();
        const std::string aside = ".corrupt-" + std::to_string(i + 1);
        {
            auto prefs = open();
            UserDefaults& d = prefs->standardUserDefaults();
            EXPECT_TRUE(d.objectForKey("replaceWallpaper").isNil());
            EXPECT_FALSE(d.boolForKey("restoreFinder"));
            EXPECT_TRUE(prefs->domainSnapshot("xq.morv.Tidra").dictionary().empty());
            // The log names the files as the Mac sees them.
            EXPECT_EQ(console.lines,
                      std::vector<std::string>{
                          "Preferences file " + shown + " is damaged and was moved aside to " +
                          shown + aside + "; starting with an empty domain xq.morv.Tidra"});
            EXPECT_EQ(testing::readBytes<Data>(file.string() + aside), c.bytes);
            // Reported once; written afresh with what is set now and nothing of the old file.
            d.setBool(true, "restoreFinder");
            EXPECT_TRUE(d.synchronize());
            d.objectForKey("other");
        }
        EXPECT_EQ(console.lines.size(), 1u);
        EXPECT_EQ(parsePlist(testing::readBytes<Data>(file)),
                  Value(Dictionary{{Value("restoreFinder"), Value(true)}}));
        // Earlier damaged files stay as they were.
        for (size_t k = 0; k < i; ++k)
            EXPECT_EQ(testing::readBytes<Data>(file.string() + ".corrupt-" + std::to_string(k + 1)),
                      cases[k].bytes);
    }
}

TEST_F(Prefs, SuitesShareStateAndCanBeSwitchedOff) {
    auto prefs = open();
    auto a = prefs->suite("com.apple.finder");
    auto b = prefs->suite("com.apple.finder");
    ASSERT_TRUE(a && b);
    a->setBool(true, "CreateDesktop");
    EXPECT_TRUE(b->boolForKey("CreateDesktop"));
    prefs->setSuiteAvailable("com.apple.finder", false);
    EXPECT_EQ(prefs->suite("com.apple.finder"), nullptr);
    EXPECT_NE(prefs->suite("com.apple.dock"), nullptr);
    prefs->setSuiteAvailable("com.apple.finder", true);
    ASSERT_NE(prefs->suite("com.apple.finder"), nullptr);
    EXPECT_TRUE(prefs->suite("com.apple.finder")->boolForKey("CreateDesktop"));
    EXPECT_TRUE(prefs->suite("NSGlobalDomain")->persistentDomainForName("-g").isNil());
}

TEST(PlistValue, ConvertsAndRefusesCleanly) {
    auto bytes = toBinaryPlist(Value(Dictionary{{Value("b"), Value(true)}}));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(parsePlist(*bytes)["b"].kind(), Value::Kind::Boolean);
    EXPECT_FALSE(toBinaryPlist(Value(Dictionary{{Value(1), Value("x")}})));
    EXPECT_FALSE(toBinaryPlist(Value(Array{Value::null()})));
    EXPECT_TRUE(parsePlist(Data{}).isNil());
    Data truncated(bytes->begin(), bytes->end() - 5);
    EXPECT_TRUE(parsePlist(truncated).isNil());
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "<array>";
    EXPECT_TRUE(parsePlist(Data(deep.begin(), deep.end())).isNil());
}

// The binary form is written without libplist's writer: every kind and every size of count,
// number and reference reads back the same through libplist's reader.
TEST(PlistValue, TheBinaryFormReadsBackWhateverItsSizes) {
    Array numbers;
    for (std::int64_t n :
         {std::int64_t(0), std::int64_t(255), std::int64_t(256), std::int64_t(65535),
          std::int64_t(65536), std::int64_t(1) << 32, INT64_MAX, INT64_MIN, std::int64_t(-1)})
        numbers.push_back(Value(n));
    Array texts{Value(""),
                Value(std::string(14, 'a')),
                Value(std::string(15, 'b')),
                Value(std::string(70000, 'c')),
                Value("café ✓ 𝄞"),
                Value(std::string(300, 'e') + "é")};
    Array blobs{Value(Data{}), Value(Data(15, 7)), Value(Data(70000, 9))};
    Dictionary many;
    for (int i = 0; i < 70000; ++i) many[Value("key " + std::to_string(i))] = Value(i % 3 == 0);
    Value v(Dictionary{{Value("numbers"), Value(numbers)},
                       {Value("texts"), Value(texts)},
                       {Value("blobs"), Value(blobs)},
                       {Value("reals"), Value(Array{Value(0.1), Value(-1e300)})},
                       {Value("many"), Value(many)},
                       {Value("nested"), Value(Array{Value(Array{Value(Dictionary{})})})}});
    auto bytes = toBinaryPlist(v);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(parsePlist(*bytes), v);

    // A URL is written as its string; a NUL is a character like any other; a byte that is not
    // UTF-8 reads back as U+FFFD.
    auto one = [](const Value& value) {
        auto b = toBinaryPlist(Value(Array{value}));
        Value back = b ? parsePlist(*b) : Value();
        return back.isArray() && back.array().size() == 1 ? back.array()[0] : Value();
    };
    EXPECT_EQ(one(Value(Url::fileURLWithPath("/Users/me/a b.png"))),
              Value("file:///Users/me/a%20b.png"));
    EXPECT_EQ(one(Value(std::string("ab\0cd", 5))), Value(std::string("ab\0cd", 5)));
    EXPECT_EQ(one(Value(std::string("caf\xe9"))), Value("caf\xef\xbf\xbd"));
    std::string deep = "x";
    Value nested(deep);
    for (int i = 0; i < 300; ++i) nested = Value(Array{nested});
    EXPECT_FALSE(toBinaryPlist(nested));
}

}  // namespace
}  // namespace tidra::sim
