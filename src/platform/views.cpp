#include "platform/views.h"

namespace tidra {

std::optional<std::vector<LayoutConstraint>> constraintsWithVisualFormat(
    const std::string& format, const std::map<std::string, View*>& views) {
    // Only edge pins: "|[name]|" (horizontal) and "V:|[name]|" (vertical), optionally "H:".
    std::string body = format;
    std::string axis = "H";
    if (body.rfind("V:", 0) == 0) {
        axis = "V";
        body = body.substr(2);
    } else if (body.rfind("H:", 0) == 0) {
        body = body.substr(2);
    }
    if (body.size() < 5 || body.substr(0, 2) != "|[" || body.substr(body.size() - 2) != "]|")
        return std::nullopt;
    std::string name = body.substr(2, body.size() - 4);
    auto it = views.find(name);
    if (it == views.end() || !it->second) return std::nullopt;
    View* view = it->second;
    const char* leading = axis == "H" ? "leading" : "top";
    const char* trailing = axis == "H" ? "trailing" : "bottom";
    return std::vector<LayoutConstraint>{
        {std::string(axis) + ":" + leading + "(" + name + ") == " + leading + "(superview)", view,
         view->superview()},
        {std::string(axis) + ":" + trailing + "(" + name + ") == " + trailing + "(superview)", view,
         view->superview()},
    };
}

}  // namespace tidra
