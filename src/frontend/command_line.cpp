#include "frontend/command_line.h"

namespace tidra::sim {

std::optional<CommandLine> splitCommandLine(const std::string& line, std::string& error) {
    if (line.size() > kMaxCommandLineBytes) {
        error = "line longer than " + std::to_string(kMaxCommandLineBytes) + " bytes";
        return std::nullopt;
    }
    CommandLine out;
    size_t i = 0;
    const size_t n = line.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (true) {
        while (i < n && blank(line[i])) ++i;
        if (i >= n || line[i] == '#') break;
        size_t start = i;
        std::string word;
        while (i < n && !blank(line[i])) {
            char c = line[i];
            if (c == '\'') {
                size_t close = line.find('\'', i + 1);
                if (close == std::string::npos) {
                    error = "unterminated single quote";
                    return std::nullopt;
                }
                word += line.substr(i + 1, close - i - 1);
                i = close + 1;
            } else if (c == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    char d = line[i++];
                    if (d == '"') {
                        closed = true;
                        break;
                    }
                    if (d == '\\' && i < n &&
                        (line[i] == '"' || line[i] == '\\' || line[i] == '$' || line[i] == '`')) {
                        word += line[i++];
                    } else {
                        word += d;
                    }
                }
                if (!closed) {
                    error = "unterminated double quote";
                    return std::nullopt;
                }
            } else if (c == '\\') {
                if (i + 1 >= n) {
                    error = "backslash at the end of the line";
                    return std::nullopt;
                }
                word += line[i + 1];
                i += 2;
            } else {
                word += c;
                ++i;
            }
        }
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
