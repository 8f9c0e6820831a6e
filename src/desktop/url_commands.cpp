#include "desktop/url_commands.h"

#include <cstdio>

#include "text/ascii.h"

namespace tidra {

namespace {

constexpr size_t kLoggedBytes = 200;

}  // namespace

std::optional<UrlCommand> urlCommand(const std::string& url) {
    std::string text = asciiLower(url);
    const std::string prefix = "tidra://";
    if (text.rfind(prefix, 0) != 0) return std::nullopt;
    text.erase(0, prefix.size());
    if (!text.empty() && text.back() == '/') text.pop_back();
    if (text == "hide") return UrlCommand::Hide;
    if (text == "show") return UrlCommand::Show;
    if (text == "toggle") return UrlCommand::Toggle;
    return std::nullopt;
}

std::string loggableUrl(const std::string& url) {
    std::string out;
    for (size_t i = 0; i < url.size() && i < kLoggedBytes; ++i) {
        const unsigned char c = static_cast<unsigned char>(url[i]);
        // A line break in a URL would forge a log line of its own.
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (url.size() > kLoggedBytes) out += "…";
    return out;
}

void openTidraUrl(const std::string& url, DesktopHiding& desktop, Console& console) {
    const auto command = urlCommand(url);
    if (!command) {
        console.log("Ignored the URL " + loggableUrl(url) +
                    ": Tidra takes tidra://hide, tidra://show and tidra://toggle");
        return;
    }
    switch (*command) {
        case UrlCommand::Toggle:
            desktop.toggleDesktop();
            break;
        case UrlCommand::Hide:
            if (!desktop.isClean()) desktop.cleanDesktop(false);
            break;
        case UrlCommand::Show:
            if (desktop.isClean()) desktop.cleanDesktop(true);
            break;
    }
}

}  // namespace tidra
