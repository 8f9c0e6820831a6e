#include "text/format.h"

namespace tidra {

std::string formatText(const std::string& format, const std::vector<std::string>& arguments) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        size_t j = i + 1;
        size_t position = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && position < 100)
            position = position * 10 + static_cast<size_t>(format[j++] - '0');
        const bool positional = j > i + 1 && j < format.size() && format[j] == '$';
        if (positional) ++j;
        if (j > i + 1 && !positional) j = i + 1;  // digits without $ are no placeholder of ours
        if (j >= format.size() || format[j] != '@') {
            out += format[i];
            continue;
        }
        const size_t index = positional ? position - 1 : next;
        if ((positional && position == 0) || index >= arguments.size()) {
            out.append(format, i, j - i + 1);
        } else {
            out += arguments[index];
            next = index + 1;
        }
        i = j;
    }
    return out;
}

}  // namespace tidra
