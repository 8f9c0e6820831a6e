#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "sim/apple_scripting.h"
#include "sim/apps/system_events.h"
#include "sim/disk.h"
#include "sim/user_trash.h"
#include "test_folder.h"
#include "text/apple_script_literal.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

const std::string kTell = "tell application \"System Events\" to ";

class AppleScriptSim : public ::testing::Test {
  protected:
    void SetUp() override {
        root = testing::freshTestFolder("applescript");
        disk = std::make_unique<Disk>(root.string());
        disk->populate();
        events = std::make_unique<SimSystemEvents>(*disk, itemsFile());
        scripting = std::make_unique<SimAppleScripting>(
            *events, [this](const std::string& path) { return moveToUserTrash(*disk, path); });
    }
    std::string itemsFile() const {
        return disk->home() + "/Library/Preferences/com.apple.loginitems.plist";
    }

    struct Outcome {
        std::shared_ptr<EventDescriptor> result;
        Dictionary error;
        long number() const { return long(Value(error)["NSAppleScriptErrorNumber"].intValue()); }
        std::string brief() const {
            return Value(error)["NSAppleScriptErrorBriefMessage"].string();
        }
    };
    Outcome run(const std::string& source) {
        Outcome out;
        auto script = scripting->scriptWithSource(source);
        if (!script) {
            ADD_FAILURE() << "no script for " << source;
            return out;
        }
        out.result = script->executeAndReturnError(&out.error);
        // Exactly one of the two comes back.
        EXPECT_NE(out.result == nullptr, out.error.empty()) << source;
        return out;
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (const auto& item : events->loginItems()) out.push_back(item.name);
        return out;
    }

    fs::path root;
    std::unique_ptr<Disk> disk;
    std::unique_ptr<SimSystemEvents> events;
    std::unique_ptr<SimAppleScripting> scripting;
};

TEST_F(AppleScriptSim, LoginItemCommandsAndTheirResults) {
    auto none = run(kTell + "get the name of every login item");
    ASSERT_TRUE(none.result);
    EXPECT_EQ(none.result->descriptorType(), kTypeAEList);
    EXPECT_EQ(none.result->numberOfItems(), 0);

    auto made = run(kTell +
                    "make login item at end with properties {path:\"/Applications/Mail.app\", "
                    "hidden:true}");
    ASSERT_TRUE(made.result);
    EXPECT_EQ(made.result->descriptorType(), kTypeObjectSpecifier);
    run(kTell +
        "make new login item at end with properties {path:\"/Applications/Tidra.app\", "
        "hidden:false, name:\"Tidra\"}");
    EXPECT_EQ(events->loginItems(),
              (std::vector<LoginItem>{{"Mail", "/Applications/Mail.app", true},
                                      {"Tidra", "/Applications/Tidra.app", false}}));

    auto list = run("TELL APPLICATION \"system events\" TO get name of every login item");
    ASSERT_TRUE(list.result);
    ASSERT_EQ(list.result->numberOfItems(), 2);
    EXPECT_EQ(list.result->descriptorAtIndex(1)->descriptorType(), kTypeUnicodeText);
    EXPECT_EQ(list.result->descriptorAtIndex(2)->stringValue(), "Tidra");
    EXPECT_EQ(list.result->descriptorAtIndex(0), nullptr);
    EXPECT_EQ(list.result->descriptorAtIndex(3), nullptr);
    EXPECT_EQ(list.result->stringValue(), std::nullopt);

    // Deleting answers nothing ('null'); a name that matches no entry exactly is an error.
    auto deleted = run(kTell + "delete login item \"Tidra\"");
    ASSERT_TRUE(deleted.result);
    EXPECT_EQ(deleted.result->descriptorType(), kTypeNull);
    EXPECT_EQ(names(), std::vector<std::string>{"Mail"});
    auto absent = run(kTell + "delete login item \"mail\"");
    EXPECT_EQ(absent.number(), -1728);
    EXPECT_EQ(absent.brief(), "Can’t get login item \"mail\".");
    EXPECT_EQ(Value(absent.error)["NSAppleScriptErrorMessage"].string(),
              "System Events got an error: Can’t get login item \"mail\".");
    EXPECT_EQ(Value(absent.error)["NSAppleScriptErrorAppName"].string(), "System Events");

    // The list survives a restart of System Events.
    SimSystemEvents reopened(*disk, itemsFile());
    EXPECT_EQ(reopened.loginItems(), events->loginItems());

    // Switched off, every command fails and nothing changes.
    events->setAvailable(false);
    EXPECT_EQ(run(kTell + "get the name of every login item").number(), -600);
    EXPECT_EQ(run(kTell + "delete login item \"Mail\"").brief(), "Application isn’t running.");
    EXPECT_EQ(run(kTell + "make login item at end with properties {path:\"/x.app\"}").number(),
              -600);
    EXPECT_EQ(names(), std::vector<std::string>{"Mail"});
}

TEST_F(AppleScriptSim, StringEscapesAreTheOnesAppleScriptKnows) {
    run(kTell +
        "make login item at end with properties {name:\"a\\tb\\nc\\rd\\\\e\\\"f\", "
        "path:\"/p\"}");
    EXPECT_EQ(events->loginItems().back().name, "a\tb\nc\rd\\e\"f");
}

TEST_F(AppleScriptSim, MalformedScriptsAreSyntaxErrorsThatChangeNothing) {
    events->addLoginItem({"Tidra", "/Applications/Tidra.app", false});
    const std::vector<std::string> bad = {
        "",  // empty is fine, checked below
        kTell + "get the name of every login item \"",
        kTell + "delete login item \"Tidra",
        kTell + "delete login item \"Ti\\dra\"",
        kTell + "delete login item",
        kTell + "make login item at end with properties {path:\"/x\", hidden:}",
        kTell + "make login item at end with properties {path:\"/x\",",
        kTell + "make login item at end with properties {path \"/x\"}",
        kTell + "delete login item \"Tidra\" (* unterminated",
        "tell application \"System Events\"\ndelete login item \"Tidra\"\n",  // no end tell
        "delete login item \"Tidra\"",  // login items mean nothing outside System Events
        "tell application \"Finder\" to delete login item \"Tidra\"",
        "tell application \"System Events\" to move theFile to trash",
        "tell application \"System Events\" to delete login item \"Tidra\" garbage",
        kTell + "delete login item \"Tidra\" ¬ x",
        "tell application to delete login item \"Tidra\"",
        "set to \"x\"",
        "99999999999999999999999",
        "tell application \"System Events\" to delete login item 12abc",
        "\x01\x02\x7f",
        "tell application \"System Events\" to delete login item \"Tidra\"\n}",
        kTell + "delete login item " + std::string(100000, '{'),
        kTell + "delete login item " + std::string(100000, '('),
    };
    for (size_t i = 1; i < bad.size(); ++i) {
        auto out = run(bad[i]);
        EXPECT_EQ(out.number(), -2741) << bad[i].substr(0, 80);
        EXPECT_FALSE(out.brief().empty());
        EXPECT_TRUE(Value(out.error)["NSAppleScriptErrorRange"].string().starts_with("NSRange: {"));
    }
    // A good statement before a bad one does not run: the whole script is compiled first.
    auto partial = run(kTell + "delete login item \"Tidra\"\n" + kTell + "delete login");
    EXPECT_EQ(partial.number(), -2741);
    EXPECT_EQ(Value(partial.error)["NSAppleScriptErrorRange"].string(), "NSRange: {110, 0}");
    EXPECT_EQ(names(), std::vector<std::string>{"Tidra"});

    std::string deepTells;
    for (int i = 0; i < 200; ++i) deepTells += "tell application \"System Events\" to ";
    EXPECT_EQ(run(deepTells + "delete login item \"Tidra\"").number(), -2741);
    EXPECT_EQ(run("set x to " + std::string(50, '(') + "1" + std::string(50, ')')).number(), -2741);
    EXPECT_EQ(names(), std::vector<std::string>{"Tidra"});

    // Values built up from variables statement by statement are bounded too.
    std::string doubling = "set a to {1, 1}\n";
    for (int i = 0; i < 64; ++i) doubling += "set a to {a, a}\n";
    EXPECT_EQ(run(doubling).number(), -2706);
    std::string chain = "set a to 1\n";
    for (int i = 0; i < 5000; ++i) chain += "set a to {x:a}\n";
    EXPECT_EQ(run(chain).number(), -2706);
    auto fine = run("set a to {1, 2}\nset b to {x:a, y:{a, a}}\nb");
    EXPECT_EQ(fine.number(), -2741);  // a bare variable is no statement here
    fine = run("set a to {1, 2}\nset b to {x:a, y:{a, a}}");
    ASSERT_TRUE(fine.result);
    EXPECT_EQ(fine.result->numberOfItems(), 2);
    EXPECT_EQ(fine.result->descriptorAtIndex(2)->numberOfItems(), 2);

    // Ranges count UTF-16 units, as the platform's do: "é" is one, "😀" two.
    auto ranged = run("set x to \"é😀\" ?");
    EXPECT_EQ(Value(ranged.error)["NSAppleScriptErrorRange"].string(), "NSRange: {15, 1}");

    auto empty = run("");
    ASSERT_TRUE(empty.result);
    EXPECT_EQ(empty.result->descriptorType(), kTypeNull);
    // Text that no string object could hold yields no script at all.
    EXPECT_EQ(scripting->scriptWithSource("tell \xff"), nullptr);
    EXPECT_EQ(scripting->scriptWithSource("\xc0\xaf"), nullptr);
}

TEST_F(AppleScriptSim, MutatedScriptsNeverCrash) {
    const std::vector<std::string> seeds = {
        kTell + "get the name of every login item",
        kTell + "delete login item \"Tidra\"",
        kTell +
            "make login item at end with properties {path:\"/A \\\"b\\\\.app\", hidden:false, "
            "name:\"Tidra\"}",
        "\tset theFile to POSIX file \"/Users/me/gone.app\" \n\ttell application \"Finder\" \n"
        "\t  move theFile to trash \n\tend tell",
    };
    const std::string alphabet = "\"\\{}:,()\n\t -*#¬tell end to set of";
    std::mt19937 random(20240611);
    int syntaxErrors = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string s = seeds[random() % seeds.size()];
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const size_t at = random() % s.size();
            switch (random() % 3) {
                case 0:
                    s.erase(at, 1 + random() % 3);
                    break;
                case 1:
                    s.insert(at, 1, alphabet[random() % alphabet.size()]);
                    break;
                default:
                    s[at] = alphabet[random() % alphabet.size()];
                    break;
            }
        }
        auto script = scripting->scriptWithSource(s);
        if (!script) continue;  // a split "¬"
        Dictionary error;
        auto result = script->executeAndReturnError(&error);
        ASSERT_NE(result == nullptr, error.empty()) << s;
        if (!result) {
            ASSERT_TRUE(Value(error)["NSAppleScriptErrorNumber"].isNumber()) << s;
            syntaxErrors += Value(error)["NSAppleScriptErrorNumber"].intValue() == -2741;
        }
    }
    EXPECT_GT(syntaxErrors, 100);
}

TEST_F(AppleScriptSim, FinderMovesAFileToTheUsersTrash) {
    const std::string app = disk->home() + "/Applications/Old \"Tidra\".app";
    fs::create_directories(disk->real(app + "/Contents"));
    std::ofstream(disk->real(app + "/Contents/Info.plist")) << "old";
    // The trash script as the install routine sends it: tabs, spaces and trailing blanks.
    auto trashScript = [](const std::string& path) {
        std::string literal = appleScriptStringLiteral(path);
        return "\tset theFile to POSIX file " + literal +
               " \n\ttell application \"Finder\" \n"
               "\t  move theFile to trash \n\tend tell";
    };
    auto moved = run(trashScript(app));
    ASSERT_TRUE(moved.result);
    EXPECT_FALSE(fs::exists(disk->real(app)));
    EXPECT_TRUE(
        fs::exists(disk->real(disk->home() + "/.Trash/Old \"Tidra\".app/Contents/Info.plist")));

    // A second item of that name is kept beside the first.
    fs::create_directories(disk->real(app));
    ASSERT_TRUE(run(trashScript(app)).result);
    EXPECT_TRUE(fs::exists(disk->real(disk->home() + "/.Trash/Old \"Tidra\" 2.app")));

    auto gone = run(trashScript(app));
    EXPECT_EQ(gone.number(), -1728);
    EXPECT_EQ(Value(gone.error)["NSAppleScriptErrorAppName"].string(), "Finder");
    // Nothing outside the items themselves can be trashed.
    EXPECT_EQ(run(trashScript(disk->home())).number(), -1728);
    EXPECT_EQ(run(trashScript("/Users/me/../../..")).number(), -1728);
    EXPECT_TRUE(fs::exists(disk->real(disk->home() + "/Desktop")));
    // An undefined variable is a runtime error, not a crash.
    EXPECT_EQ(run("tell application \"Finder\" to move nothing to trash").number(), -2753);
}

TEST_F(AppleScriptSim, ErrorDictionaryDescribesItselfLikeThePlatform) {
    events->setAvailable(false);
    auto out = run(kTell +
                   "make login item at end with properties {path:\"/Applications/Tidra.app\","
                   " hidden:false, name:\"Tidra\"}");
    EXPECT_EQ(Value(out.error).description(),
              "{\n"
              "    NSAppleScriptErrorAppName = \"System Events\";\n"
              "    NSAppleScriptErrorBriefMessage = \"Application isn\\U2019t running.\";\n"
              "    NSAppleScriptErrorMessage = \"System Events got an error: Application "
              "isn\\U2019t running.\";\n"
              "    NSAppleScriptErrorNumber = \"-600\";\n"
              "    NSAppleScriptErrorRange = \"NSRange: {36, 99}\";\n"
              "}");
    Dictionary nested{{Value("list"), Value(Array{Value("plain"), Value(1)})},
                      {Value("d"), Value(Dictionary{{Value("k"), Value("a\"b\\c")}})}};
    EXPECT_EQ(Value(nested).description(),
              "{\n"
              "    d =     {\n"
              "        k = \"a\\\"b\\\\c\";\n"
              "    };\n"
              "    list =     (\n"
              "        plain,\n"
              "        1\n"
              "    );\n"
              "}");
}

}  // namespace
}  // namespace tidra::sim
