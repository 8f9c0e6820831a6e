#include "frontend/terminal_text.h"

#include <cstdio>

namespace tidra::sim {

namespace {

std::string hexByte(unsigned char c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
    return buffer;
}

// The length of the UTF-8 sequence a byte starts, or 0 when it starts none.
size_t sequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

std::string escapedAscii(unsigned char c, bool keepNewlines) {
    switch (c) {
        case '\n':
            return keepNewlines ? "\n" : "\\n";
        case '\t':
            return "\\t";
        case '\r':
            return "\\r";
        case 0x1B:
            return "\\e";
        default:
            return c < 0x20 || c == 0x7F ? hexByte(c) : std::string(1, char(c));
    }
}

// A whole UTF-8 sequence: C1 control characters are written out, anything else stays.
std::string escapedSequence(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]), next = static_cast<unsigned char>(s[1]);
    if (s.size() == 2 && lead == 0xC2 && next <= 0x9F) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "\\u{%04X}", next);
        return buffer;
    }
    return std::string(s);
}

}  // namespace

std::string escapeControls(std::string_view text, bool keepNewlines) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = sequenceLength(c);
        if (length == 1) {
            out += escapedAscii(c, keepNewlines);
            ++i;
        } else if (length == 0 || i + length > text.size()) {
            out += hexByte(c);
            ++i;
        } else {
            const std::string_view sequence = text.substr(i, length);
            bool whole = true;
            for (size_t k = 1; k < length; ++k)
                whole = whole && (static_cast<unsigned char>(sequence[k]) & 0xC0) == 0x80;
            if (!whole) {
                out += hexByte(c);
                ++i;
                continue;
            }
            out += escapedSequence(sequence);
            i += length;
        }
    }
    return out;
}

std::string terminalSafeJson(std::string_view json) {
    std::string out;
    out.reserve(json.size());
    for (size_t i = 0; i < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json[i]);
        char buffer[8];
        if (c == 0x7F) {
            out += "\\u007f";
        } else if (c == 0xC2 && i + 1 < json.size() &&
                   static_cast<unsigned char>(json[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(json[i + 1]) <= 0x9F) {
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned char>(json[++i]));
            out += buffer;
        } else {
            out += char(c);
        }
    }
    return out;
}

EscapingBuffer::~EscapingBuffer() {
    flushPending();
}

void EscapingBuffer::emit(std::string_view text) {
    target_->sputn(text.data(), std::streamsize(text.size()));
}

void EscapingBuffer::flushPending() {
    if (pending_.empty()) return;
    emit(escapeControls(pending_, true));
    pending_.clear();
    expected_ = 0;
}

void EscapingBuffer::put(unsigned char c) {
    if (!pending_.empty()) {
        if ((c & 0xC0) == 0x80) {
            pending_ += char(c);
            if (pending_.size() == expected_) {
                emit(escapeControls(pending_, true));
                pending_.clear();
                expected_ = 0;
            }
            return;
        }
        flushPending();  // cut short: its bytes are shown as bytes
    }
    const size_t length = sequenceLength(c);
    if (length > 1) {
        pending_ = std::string(1, char(c));
        expected_ = length;
    } else {
        emit(length == 1 ? escapedAscii(c, true) : hexByte(c));
    }
}

EscapingBuffer::int_type EscapingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    put(static_cast<unsigned char>(traits_type::to_char_type(c)));
    return c;
}

std::streamsize EscapingBuffer::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i) put(static_cast<unsigned char>(s[i]));
    return n;
}

int EscapingBuffer::sync() {
    return target_->pubsync();
}

}  // namespace tidra::sim
