#include "sim/case_fold.h"

#include <sys/stat.h>
#include <utf8proc.h>

#include <cstdint>
#include <cstdlib>

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

char32_t foldLetter(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c < 0x80) return c;
    if (c == 0xB5) return 0x3BC;  // micro sign, as Greek mu
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs of capital and small letters; a few letters have no case partner.
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149) return c;
        if (c == 0x178) return 0xFF;
        if (c == 0x17F) return U's';
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddCapitals) return c % 2 == 1 ? c + 1 : c;
        return c % 2 == 0 ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c == 0x3C2) return 0x3C3;  // final sigma
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    return c;
}

// The code point that starts at `s[i]` and its length; a length of 0 when the bytes there are
// not a well-formed sequence of two or three bytes (longer ones hold no letter folded here).
std::pair<char32_t, size_t> decode(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t b0 = byte(i);
    const auto continuation = [&](size_t k) { return k < s.size() && (byte(k) & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF && continuation(i + 1))
        return {char32_t(b0 & 0x1F) << 6 | (byte(i + 1) & 0x3F), 2};
    if ((b0 & 0xF0) == 0xE0 && continuation(i + 1) && continuation(i + 2)) {
        const char32_t c =
            char32_t(b0 & 0x0F) << 12 | char32_t(byte(i + 1) & 0x3F) << 6 | (byte(i + 2) & 0x3F);
        if (c >= 0x800) return {c, 3};
    }
    return {0, 0};
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The canonical decomposition (NFD) of well-formed UTF-8; other bytes as they are. A Mac's volume
// compares names in one normalization form, so that "é" typed as one character and as "e" with
// a combining accent are one name.
std::string decomposed(std::string_view name) {
    bool ascii = true;
    for (char c : name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(name);
    utf8proc_uint8_t* out = nullptr;
    const utf8proc_ssize_t n = utf8proc_map(
        reinterpret_cast<const utf8proc_uint8_t*>(name.data()), utf8proc_ssize_t(name.size()), &out,
        utf8proc_option_t(UTF8PROC_DECOMPOSE | UTF8PROC_STABLE));
    if (n < 0) return std::string(name);
    std::string text(reinterpret_cast<const char*>(out), std::size_t(n));
    std::free(out);
    return text;
}

}  // namespace

std::string foldCase(std::string_view typed) {
    const std::string name = decomposed(typed);
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        const auto c = static_cast<uint8_t>(name[i]);
        if (c < 0x80) {
            out += static_cast<char>(foldLetter(c));
            ++i;
            continue;
        }
        auto [point, length] = decode(name, i);
        if (length == 0) {
            out += name[i++];
            continue;
        }
        encode(foldLetter(point), out);
        i += length;
    }
    return out;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a == b || foldCase(a) == foldCase(b);
}

std::optional<std::string> storedName(const fs::path& dir, const std::string& name) {
    struct stat st {};
    if (::lstat((dir / name).c_str(), &st) == 0) return name;
    const std::string wanted = foldCase(name);
    std::optional<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (foldCase(entry) == wanted && (!found || entry < *found)) found = std::move(entry);
    }
    return found;
}

}  // namespace tidra::sim
