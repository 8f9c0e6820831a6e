#include "frontend/command_line.h"

namespace tidra::sim {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// From just after an opening double quote: the text up to the closing one, where a backslash
// escapes only what the shell lets it escape there. False when the line ends first.
bool readDoubleQuoted(const std::string& line, size_t& i, std::string& word) {
    const size_t n = line.size();
    while (i < n) {
        char d = line[i++];
        if (d == '"') return true;
        if (d == '\\' && i < n &&
            (line[i] == '"' || line[i] == '\\' || line[i] == '$' || line[i] == '`')) {
            word += line[i++];
        } else {
            word += d;
        }
    }
    return false;
}

// One word from `i` on, up to the blank that ends it; `error` set and false when it cannot end.
bool readWord(const std::string& line, size_t& i, std::string& word, std::string& error) {
    const size_t n = line.size();
    while (i < n && !blank(line[i])) {
        char c = line[i];
        if (c == '\'') {
            size_t close = line.find('\'', i + 1);
            if (close == std::string::npos) {
                error = "unterminated single quote";
                return false;
            }
            word += line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == '"') {
            ++i;
            if (!readDoubleQuoted(line, i, word)) {
                error = "unterminated double quote";
                return false;
            }
        } else if (c == '\\') {
            if (i + 1 >= n) {
                error = "backslash at the end of the line";
                return false;
            }
            word += line[i + 1];
            i += 2;
        } else {
            word += c;
            ++i;
        }
    }
    return true;
}

}  // namespace

std::optional<CommandLine> splitCommandLine(const std::string& line, std::string& error) {
    if (line.size() > kMaxCommandLineBytes) {
        error = "line longer than " + std::to_string(kMaxCommandLineBytes) + " bytes";
        return std::nullopt;
    }
    CommandLine out;
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && blank(line[i])) ++i;
        if (i >= n || line[i] == '#') break;
        size_t start = i;
        std::string word;
        if (!readWord(line, i, word, error)) return std::nullopt;
        out.words.push_back(std::move(word));
        out.starts.push_back(start);
        // A rest ends with the last word, so that a comment never becomes part of a title.
        out.end = i;
    }
    out.line = line;
    return out;
}

std::string titleFrom(const CommandLine& cl, size_t first) {
    if (first >= cl.words.size()) return "";
    if (first + 1 == cl.words.size()) return cl.words[first];
    return cl.rest(first);
}

}  // namespace tidra::sim
