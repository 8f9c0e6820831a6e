#include "text/log_text.h"

#include <cstdio>

namespace tidra {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

std::string loggableText(std::string_view text, std::size_t maxBytes) {
    std::size_t end = text.size();
    if (end > maxBytes) {
        end = maxBytes;
        // Back to the first byte of the character the cut would split.
        while (end > 0 && isContinuation(static_cast<unsigned char>(text[end]))) --end;
    }
    std::string out;
    out.reserve(end + 8);
    for (std::size_t i = 0; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (end < text.size()) out += "…";
    return out;
}

}  // namespace tidra
