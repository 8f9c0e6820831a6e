#include "desktop/url_commands.h"

#include "text/ascii.h"
#include "text/log_text.h"

namespace tidra {

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
    return loggableText(url);
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
            // As a click: the opposite of what the icon shows.
            desktop.toggleDesktop();
            break;
        // Measured against where the desktop is headed, not what Finder draws yet: a show
        // asked for while a hide is under way is the latest wish, and wins.
        case UrlCommand::Hide:
            if (!desktop.headedClean()) desktop.cleanDesktop(false);
            break;
        case UrlCommand::Show:
            if (desktop.headedClean()) desktop.cleanDesktop(true);
            break;
    }
}

}  // namespace tidra
