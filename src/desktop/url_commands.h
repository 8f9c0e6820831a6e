// The tidra: URL scheme, through which Shortcuts, a shell (`open tidra://hide`) or a calendar
// alarm drive Tidra without any automation permission.
#pragma once

#include <optional>
#include <string>

#include "desktop/desktop_hiding.h"
#include "platform/console.h"

namespace tidra {

enum class UrlCommand { Hide, Show, Toggle };

// tidra://hide, tidra://show and tidra://toggle (any case, an optional trailing slash);
// nothing for any other URL.
std::optional<UrlCommand> urlCommand(const std::string& url);
// The URL as one short line for the log: control characters escaped, long ones cut.
std::string loggableUrl(const std::string& url);

// What a URL handed over by the system does: hide and show only change a desktop that is not
// already so, or headed so once Finder is back; anything else is logged and ignored.
void openTidraUrl(const std::string& url, DesktopHiding& desktop, Console& console);

}  // namespace tidra
