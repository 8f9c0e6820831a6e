// Splitting a front-end line into words as a shell does: quotes group words, a backslash escapes
// the next character outside single quotes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tidra::sim {

struct CommandLine {
    std::vector<std::string> words;
    // For word `i`, the raw text from its start to the end of the last word, so a title that ends
    // a command can also be given unquoted.
    std::string rest(size_t i) const { return line.substr(starts[i], end - starts[i]); }

    std::string line;
    std::vector<size_t> starts;  // where each word begins in `line`
    size_t end = 0;              // where the last word ends
};

// The longest line taken: anything longer is refused, whatever it holds.
constexpr size_t kMaxCommandLineBytes = 1 << 20;

// Nothing, with `error` set, for an unterminated quote, a trailing backslash or a line longer than
// kMaxCommandLineBytes. A '#' at the start of a word starts a comment. Takes time in proportion
// to the line's length.
std::optional<CommandLine> splitCommandLine(const std::string& line, std::string& error);

// The words from `first` on as one title: the single word when it was the last one, else the raw
// rest of the line with surrounding blanks trimmed.
std::string titleFrom(const CommandLine& cl, size_t first);

}  // namespace tidra::sim
