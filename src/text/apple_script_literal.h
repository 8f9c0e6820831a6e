// Text spliced into an AppleScript source must be a string literal, or a path holding a quote
// ends the string early and the rest of the path runs as script.
#pragma once

#include <string>

namespace tidra {

// `text` as an AppleScript string literal: backslashes and double quotes escaped, the whole
// wrapped in double quotes. Other characters (spaces, non-ASCII) pass unchanged.
std::string appleScriptStringLiteral(const std::string& text);

}  // namespace tidra
