#include "platform/url.h"

#include <cctype>

#include "platform/paths.h"
#include "text/ascii.h"

namespace tidra {

namespace {
bool isUnreserved(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
           c == '!' || c == '$' || c == '&' || c == '\'' || c == '(' || c == ')' || c == '*' ||
           c == '+' || c == ',' || c == ';' || c == '=' || c == ':' || c == '@';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string percentEncodePath(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (isUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::optional<std::string> percentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

Url Url::fileURLWithPath(const std::string& path) {
    Url u;
    u.scheme_ = "file";
    u.hasPath_ = true;
    u.path_ = path;
    return u;
}

std::optional<Url> Url::fromString(const std::string& text) {
    // scheme ":" then either "//" authority path, or an opaque part.
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) return std::nullopt;
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = text[i];
        if (!(std::isalnum(c) || c == '+' || c == '-' || c == '.')) return std::nullopt;
        if (i == 0 && !std::isalpha(c)) return std::nullopt;
    }
    for (unsigned char c : text)
        if (c <= ' ' || c >= 0x7f || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' ||
            c == '`' || c == '{' || c == '|' || c == '}')
            return std::nullopt;
    Url u;
    u.scheme_ = asciiLower(std::string_view(text).substr(0, colon));
    std::string rest = text.substr(colon + 1);
    size_t q = rest.find_first_of("?#");
    if (q != std::string::npos) {
        u.rest_ = rest.substr(q);
        rest = rest.substr(0, q);
    }
    if (rest.rfind("//", 0) == 0) {
        size_t slash = rest.find('/', 2);
        u.host_ = rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        auto decoded = percentDecode(slash == std::string::npos ? "" : rest.substr(slash));
        if (!decoded) return std::nullopt;
        u.path_ = *decoded;
        u.hasPath_ = true;
    } else if (!rest.empty() && rest[0] == '/') {
        auto decoded = percentDecode(rest);
        if (!decoded) return std::nullopt;
        u.path_ = *decoded;
        u.hasPath_ = true;
    } else {
        u.host_ = rest;  // opaque: no path
    }
    return u;
}

std::optional<std::string> Url::path() const {
    if (!hasPath_) return std::nullopt;
    if (path_.size() > 1 && path_.back() == '/') return path_.substr(0, path_.size() - 1);
    return path_;
}

std::string Url::absoluteString() const {
    if (!hasPath_) return scheme_ + ":" + host_ + rest_;
    return scheme_ + "://" + host_ + percentEncodePath(path_) + rest_;
}

std::string Url::lastPathComponent() const {
    return paths::lastPathComponent(path_);
}

Url Url::appendingPathComponent(const std::string& component) const {
    Url u = *this;
    u.path_ = paths::appendingPathComponent(path_, component);
    return u;
}

}  // namespace tidra
