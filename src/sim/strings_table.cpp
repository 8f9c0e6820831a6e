#include "sim/strings_table.h"

#include <cctype>
#include <cstdint>
#include <optional>

#include "text/utf8.h"

namespace tidra::sim {

std::string StringsFault::text() const {
    return "line " + std::to_string(line) + ": " + problem;
}

namespace {

// UTF-16 text (after its byte-order mark) as UTF-8; nothing when it is not UTF-16 at all.
std::optional<std::string> fromUtf16(const std::string& bytes, bool bigEndian) {
    if (bytes.size() % 2) return std::nullopt;
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = 2; i < bytes.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 3 >= bytes.size()) return std::nullopt;
            const std::uint32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return std::nullopt;
        }
        appendUtf8(out, c);
    }
    return out;
}

class Reader {
  public:
    explicit Reader(const std::string& text) : t_(text) {}

    std::variant<StringsTable, StringsFault> read() {
        StringsTable table;
        for (;;) {
            if (!skip()) return fault_;
            if (i_ >= t_.size()) return table;
            std::string key, value;
            if (!token(key)) return fault_;
            if (!skip()) return fault_;
            if (i_ < t_.size() && t_[i_] == ';') {
                // A lone key stands for itself, as the platform reads it.
                ++i_;
                table[key] = key;
                continue;
            }
            if (i_ >= t_.size() || t_[i_] != '=') return fail("no “=” after a key");
            ++i_;
            if (!skip()) return fault_;
            if (!token(value)) return fault_;
            if (!skip()) return fault_;
            if (i_ >= t_.size() || t_[i_] != ';') return fail("no “;” after an entry");
            ++i_;
            if (table.count(key)) return fail("a key given twice");
            table.emplace(std::move(key), std::move(value));
        }
    }

  private:
    const std::string& t_;
    size_t i_ = 0;
    StringsFault fault_;

    int line() const {
        int n = 1;
        for (size_t k = 0; k < i_ && k < t_.size(); ++k) n += t_[k] == '\n';
        return n;
    }
    StringsFault fail(const std::string& problem) {
        fault_ = StringsFault{line(), problem};
        return fault_;
    }

    bool skip() {
        for (;;) {
            while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
            if (t_.compare(i_, 2, "/*") == 0) {
                const size_t end = t_.find("*/", i_ + 2);
                if (end == std::string::npos) {
                    fail("a comment that never ends");
                    return false;
                }
                i_ = end + 2;
            } else if (t_.compare(i_, 2, "//") == 0) {
                const size_t end = t_.find('\n', i_);
                i_ = end == std::string::npos ? t_.size() : end + 1;
            } else {
                return true;
            }
        }
    }

    static bool plainCharacter(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '+' ||
               c == '/' || c == ':' || c == '.' || c == '-';
    }

    bool token(std::string& out) {
        out.clear();
        if (i_ < t_.size() && t_[i_] != '"') {
            while (i_ < t_.size() && plainCharacter(t_[i_])) out += t_[i_++];
            if (out.empty()) {
                fail("a text that is not in quotes");
                return false;
            }
            return true;
        }
        if (i_ >= t_.size()) {
            fail("the file ends inside an entry");
            return false;
        }
        ++i_;
        while (i_ < t_.size() && t_[i_] != '"') {
            const char c = t_[i_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= t_.size()) break;
            const char e = t_[i_++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'U':
                case 'u': {
                    std::uint32_t code = 0;
                    int digits = 0;
                    while (digits < 4 && i_ < t_.size() &&
                           std::isxdigit(static_cast<unsigned char>(t_[i_]))) {
                        const char h = t_[i_++];
                        code = code * 16 +
                               static_cast<std::uint32_t>(
                                   std::isdigit(static_cast<unsigned char>(h))
                                       ? h - '0'
                                       : (std::tolower(static_cast<unsigned char>(h)) - 'a' + 10));
                        ++digits;
                    }
                    if (digits != 4) {
                        fail("a \\U escape without four hex digits");
                        return false;
                    }
                    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) {
                        fail("a \\U escape that names no character");
                        return false;
                    }
                    appendUtf8(out, code);
                    break;
                }
                default:
                    out += e;
            }
        }
        if (i_ >= t_.size()) {
            fail("a text whose closing quote is missing");
            return false;
        }
        ++i_;
        return true;
    }
};

}  // namespace

std::variant<StringsTable, StringsFault> parseStringsTable(const std::string& bytes) {
    std::string text;
    if (bytes.size() >= 2 &&
        (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
        auto converted = fromUtf16(bytes, bytes[0] == '\xFE');
        if (!converted) return StringsFault{1, "UTF-16 text that is cut or malformed"};
        text = std::move(*converted);
    } else {
        text = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    }
    if (text.find('\0') != std::string::npos) return StringsFault{1, "binary data, not text"};
    return Reader(text).read();
}

}  // namespace tidra::sim
