// Tidra's string tables as the bundle ships them, read by the simulated Mac's own reader, the
// reader's refusals, and the choice of language a Mac makes from the user's preferred languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "shipped_strings.h"
#include "sim/interface/description_file.h"
#include "sim/localizations.h"
#include "sim/strings_table.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;

// Words an English text has, placeholders aside: a text without any is the same in every
// language ("%1$@ %2$@").
bool hasWords(const std::string& text) {
    return std::regex_search(std::regex_replace(text, std::regex(R"(%(\d+\$)?@)"), ""),
                             std::regex("[A-Za-z]{2}"));
}

const fs::path kResources = TIDRA_RESOURCES_DIR;

std::map<std::string, sim::StringsTable> tablesOf(const std::string& language) {
    std::map<std::string, sim::StringsTable> out;
    for (const auto& e : fs::directory_iterator(kResources / (language + ".lproj")))
        if (e.path().extension() == ".strings")
            out[e.path().stem().string()] = testing::readStringsTable(e.path());
    return out;
}

// The texts an interface description shows: titles and labels.
void describedTexts(const Value& v, std::set<std::string>& out) {
    if (v.isDictionary()) {
        for (const auto& [key, value] : v.dictionary()) {
            if (key.isString() && (key.string() == "title" || key.string() == "stringValue") &&
                value.isString() && hasWords(value.string()))
                out.insert(value.string());
            describedTexts(value, out);
        }
    } else if (v.isArray()) {
        for (const Value& e : v.array()) describedTexts(e, out);
    }
}

TEST(StringTables, EveryLanguageShipsTablesTheSimulatedMacReadsWhole) {
    const auto english = tablesOf("en");
    ASSERT_GE(english.size(), 6u);
    // The development language's tables are their own keys (Info.plist's are keyed by name).
    for (const auto& [name, t] : english)
        for (const auto& [key, value] : t)
            if (name != "InfoPlist") {
                EXPECT_EQ(key, value) << name;
            }

    // Each interface description's texts are keys of the table named after it; only the
    // application's name stays as it is.
    for (const auto& e : fs::directory_iterator(kResources)) {
        if (e.path().extension() != ".json") continue;
        const std::string name = e.path().stem().string();
        auto description = sim::readDescriptionFile(e.path().string());
        ASSERT_TRUE(description) << name;
        std::set<std::string> texts;
        describedTexts(*description, texts);
        texts.erase("Tidra");
        ASSERT_TRUE(english.count(name)) << "no en.lproj/" << name << ".strings";
        for (const std::string& text : texts)
            EXPECT_TRUE(english.at(name).count(text)) << name << ": \"" << text << "\"";
    }

    // The languages Tidra ships besides English, each table of which the simulated Mac reads
    // whole (a fault is a failure of readStringsTable). That each has every key with the English
    // placeholders, none empty or left in English, is scripts/check-strings' test.
    for (const char* language :
         {"de", "fr", "es", "it", "pt-BR", "nl", "sv", "ru", "ja", "ko", "zh-Hans", "zh-Hant"}) {
        const auto theirs = tablesOf(language);
        EXPECT_EQ(theirs.size(), english.size()) << language;
        for (const auto& [name, t] : theirs) EXPECT_FALSE(t.empty()) << language << "/" << name;
    }
}

TEST(StringTables, DamagedTablesAreRefusedWholeAndTranslatorsFormsAreRead) {
    using sim::parseStringsTable;
    auto fault = [](const std::string& text) {
        auto read = parseStringsTable(text);
        auto* f = std::get_if<sim::StringsFault>(&read);
        return f ? f->text() : std::string("read");
    };
    // A fault anywhere refuses the table, and says where.
    EXPECT_EQ(fault("\"a\" = \"b\";\n\"c\" = \"d\"\n\"e\" = \"f\";"),
              "line 3: no “;” after an entry");
    EXPECT_EQ(fault("\"a\" = \"b"), "line 1: a text whose closing quote is missing");
    EXPECT_EQ(fault("/* open"), "line 1: a comment that never ends");
    EXPECT_EQ(fault("\"a\" = \"b\";\n\"a\" = \"c\";"), "line 2: a key given twice");
    EXPECT_EQ(fault("\"a\" = \"\\U12\";"), "line 1: a \\U escape without four hex digits");
    EXPECT_EQ(fault("\"a\" = \"\\U0000\";"), "line 1: a \\U escape that names no character");
    EXPECT_EQ(fault(std::string("\"a\" = \"b\0\";", 11)), "line 1: binary data, not text");
    EXPECT_EQ(fault("\xFF\xFE\x41"), "line 1: UTF-16 text that is cut or malformed");
    EXPECT_EQ(fault("= \"b\";"), "line 1: a text that is not in quotes");

    // UTF-16 with its mark (as translators' tools write it), escapes, comments that hold "//"
    // inside quotes, and a lone key that stands for itself.
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"\"K\u00e9y\" = \"W\u00e9rt \\\"x\\\"\\n\";"))
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    auto read = parseStringsTable(utf16);
    ASSERT_TRUE(std::holds_alternative<sim::StringsTable>(read));
    EXPECT_EQ(std::get<sim::StringsTable>(read).at("Kéy"), "Wért \"x\"\n");
    read = parseStringsTable(
        "\xEF\xBB\xBF// a line\n\"a://b\" = \"\\U00e9 // not a comment\"; /* c */ lone;\n");
    ASSERT_TRUE(std::holds_alternative<sim::StringsTable>(read));
    const auto& t = std::get<sim::StringsTable>(read);
    EXPECT_EQ(t.at("a://b"), "é // not a comment");
    EXPECT_EQ(t.at("lone"), "lone");
}

TEST(StringTables, TheLanguageIsChosenAsAMacChoosesIt) {
    const std::vector<std::string> shipped{"de", "en",    "es", "fr", "it",      "ja",     "ko",
                                           "nl", "pt-BR", "ru", "sv", "zh-Hans", "zh-Hant"};
    auto choose = [&](std::vector<std::string> preferred) {
        return sim::chooseLocalization(preferred, shipped, "en");
    };
    EXPECT_EQ(choose({"de-AT", "en"}), "de");
    EXPECT_EQ(choose({"de_CH"}), "de");
    EXPECT_EQ(choose({"German"}), "de");
    EXPECT_EQ(choose({"zh-Hant-TW"}), "zh-Hant");
    EXPECT_EQ(choose({"zh-TW"}), "zh-Hant");
    EXPECT_EQ(choose({"zh-HK"}), "zh-Hant");
    EXPECT_EQ(choose({"zh-Hans-CN"}), "zh-Hans");
    EXPECT_EQ(choose({"zh-CN"}), "zh-Hans");
    EXPECT_EQ(choose({"pt-PT"}), "pt-BR");
    EXPECT_EQ(choose({"pt"}), "pt-BR");
    EXPECT_EQ(choose({"es-419"}), "es");
    EXPECT_EQ(choose({"fr-CA", "de"}), "fr");
    EXPECT_EQ(choose({"en-GB", "de"}), "en");
    EXPECT_EQ(choose({"JA-jp"}), "ja");
    // The first preferred language the bundle has wins; none: the development language.
    EXPECT_EQ(choose({"fi", "nb", "sv"}), "sv");
    EXPECT_EQ(choose({"fi", "uk"}), "en");
    EXPECT_EQ(choose({}), "en");
    EXPECT_EQ(choose({"", "-", "ja"}), "ja");
    // Chinese in one script is no stand-in for the other.
    EXPECT_EQ(sim::chooseLocalization({"zh-TW", "ko"}, {"en", "zh-Hans", "ko"}, "en"), "ko");

    EXPECT_TRUE(sim::plausibleLanguage("zh-Hant-TW"));
    EXPECT_TRUE(sim::plausibleLanguage("de_AT"));
    for (const char* odd : {"", "-de", "../en", "de en", "de;rm -rf", "1de"})
        EXPECT_FALSE(sim::plausibleLanguage(odd)) << odd;
}

}  // namespace
}  // namespace tidra
