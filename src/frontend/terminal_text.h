// Text for a terminal: names, paths and messages come from the simulated disk and from what was
// typed, and a control character among them (an escape sequence) would act on the terminal
// instead of being read.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace tidra::sim {

// `text` with every control character written out: "\n", "\t", "\r", "\e" and "\xNN" for the
// other C0 characters and DEL, "\u{0080}" … "\u{009F}" for the C1 ones, "\xNN" for each byte
// that is not UTF-8. With `keepNewlines`, line ends stay as they are.
std::string escapeControls(std::string_view text, bool keepNewlines = false);

// JSON as `dump` gives it, with DEL and the C1 characters, which JSON lets stand as they are,
// written as \u escapes: the same value, and nothing a terminal acts on.
std::string terminalSafeJson(std::string_view json);

// A stream buffer that passes text on to `target` with control characters escaped, line ends
// excepted. Multi-byte characters split across writes are held until they are whole.
class EscapingBuffer : public std::streambuf {
  public:
    explicit EscapingBuffer(std::streambuf* target) : target_(target) {}
    ~EscapingBuffer() override;

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    void put(unsigned char c);
    void emit(std::string_view text);
    void flushPending();

    std::streambuf* target_;
    std::string pending_;  // the start of a multi-byte character
    size_t expected_ = 0;  // its length
};

}  // namespace tidra::sim
