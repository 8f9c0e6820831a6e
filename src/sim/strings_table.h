// .strings tables as a bundle carries them: `"key" = "value";` entries with C comments, in UTF-8
// or UTF-16 (with its byte-order mark), as translators' tools write them.
#pragma once

#include <map>
#include <string>
#include <variant>

namespace tidra::sim {

using StringsTable = std::map<std::string, std::string>;

// Why a table was refused, with the line (from 1) where reading stopped.
struct StringsFault {
    int line = 0;
    std::string problem;
    std::string text() const;
};

// A table is read whole or refused whole, as the platform does: a damaged file shows none of its
// texts rather than some of them.
std::variant<StringsTable, StringsFault> parseStringsTable(const std::string& bytes);

}  // namespace tidra::sim
