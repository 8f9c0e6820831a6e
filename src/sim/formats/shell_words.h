// Just enough of /bin/sh's word rules to read the fixed command lines the simulated tools accept.
#pragma once

#include <optional>
#include <string>

namespace tidra::sim {

// Reads one word at `pos` (single quotes, double quotes, backslash escapes, plain characters) and
// moves `pos` past it. Nothing when no word starts there, for an unterminated quote, or for
// anything a real shell would expand ($, `, globs, ~), since the sim cannot say what that would
// become.
std::optional<std::string> readShellWord(const std::string& line, size_t& pos);
// Moves `pos` past `literal` when the line goes on with it.
bool skipLiteral(const std::string& line, size_t& pos, const std::string& literal);

}  // namespace tidra::sim
