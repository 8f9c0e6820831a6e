// Lower case for words that are ASCII by their nature: URL schemes, bundle identifiers, file
// extensions, key names, the interface style. Only 'A' to 'Z' change, whatever the C library's
// locale, so a byte of a UTF-8 sequence passes untouched.
#pragma once

#include <string>
#include <string_view>

namespace tidra {

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = asciiLower(c);
    return out;
}

}  // namespace tidra
