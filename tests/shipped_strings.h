// Tidra's string tables as the project ships them, read by the simulated Mac's own reader.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sim/strings_table.h"

namespace tidra::testing {

// A table file; a table that cannot be read is a test failure and answers nothing.
inline sim::StringsTable readStringsTable(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    auto read = sim::parseStringsTable(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    if (const auto* fault = std::get_if<sim::StringsFault>(&read)) {
        ADD_FAILURE() << file << ": " << fault->text();
        return {};
    }
    return std::get<sim::StringsTable>(read);
}

// The shipped translation of an English text (the text itself, after a failure, when the table
// lacks it).
inline std::string shipped(const std::string& language, const std::string& table,
                           const std::string& english) {
    const auto t = readStringsTable(std::filesystem::path(TIDRA_RESOURCES_DIR) /
                                    (language + ".lproj") / (table + ".strings"));
    if (!t.count(english)) {
        ADD_FAILURE() << language << "/" << table << ": no \"" << english << "\"";
        return english;
    }
    return t.at(english);
}

}  // namespace tidra::testing
