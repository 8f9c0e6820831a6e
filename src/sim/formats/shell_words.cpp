#include "sim/formats/shell_words.h"

#include <cstring>

namespace tidra::sim {

std::optional<std::string> readShellWord(const std::string& line, size_t& pos) {
    std::string word;
    size_t i = pos;
    bool any = false;
    while (i < line.size()) {
        const char c = line[i];
        if (std::strchr(" \t\n;&|()<>", c)) break;
        if (std::strchr("$`*?[~{", c)) return std::nullopt;
        any = true;
        if (c == '\'') {
            size_t end = line.find('\'', i + 1);
            if (end == std::string::npos) return std::nullopt;
            word += line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) return std::nullopt;
                char d = line[i];
                if (d == '"') break;
                if (d == '$' || d == '`') return std::nullopt;
                if (d == '\\' && i + 1 < line.size() && std::strchr("$`\"\\\n", line[i + 1])) {
                    if (line[i + 1] != '\n') word += line[i + 1];
                    i += 2;
                    continue;
                }
                word += d;
                ++i;
            }
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= line.size()) return std::nullopt;
            if (line[i + 1] != '\n') word += line[i + 1];
            i += 2;
        } else {
            word += c;
            ++i;
        }
    }
    if (!any) return std::nullopt;
    pos = i;
    return word;
}

bool skipLiteral(const std::string& line, size_t& pos, const std::string& literal) {
    if (line.compare(pos, literal.size(), literal) != 0) return false;
    pos += literal.size();
    return true;
}

}  // namespace tidra::sim
