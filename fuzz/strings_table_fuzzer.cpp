// A strings table of any bytes: reading it never crashes, and a table that is read says the same
// once written back in the plainest form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

#include "sim/strings_table.h"

using namespace tidra;

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    auto read = sim::parseStringsTable(bytes);
    const auto* table = std::get_if<sim::StringsTable>(&read);
    if (!table) return 0;
    std::string written;
    for (const auto& [key, value] : *table) written += quoted(key) + " = " + quoted(value) + ";\n";
    auto again = sim::parseStringsTable(written);
    const auto* same = std::get_if<sim::StringsTable>(&again);
    if (!same || *same != *table) std::abort();
    return 0;
}
