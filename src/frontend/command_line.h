// Splitting a front-end line into words as a shell does: quotes group words, a backslash escapes
// the next character outside single quotes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tidra::sim {

struct CommandLine {
    std::vector<std::string> words;
    // For each word, the raw text from its start to the end of the line, so a title that ends a
    // command can also be given unquoted.
    std::vector<std::string> rests;
};

// Nothing, with `error` set, for an unterminated quote or a trailing backslash. A '#' at the start
// of a word starts a comment.
std::optional<CommandLine> splitCommandLine(const std::string& line, std::string& error);

// The words from `first` on as one title: the single word when it was the last one, else the raw
// rest of the line with surrounding blanks trimmed.
std::string titleFrom(const CommandLine& cl, size_t first);

}  // namespace tidra::sim
