// The tidra: URL scheme, through which Shortcuts, a shell (`open tidra://hide`) or a calendar
// alarm drive Tidra without any automation permission.
#pragma once

#include <optional>
#include <string>

namespace tidra {

enum class UrlCommand { Hide, Show, Toggle };

// tidra://hide, tidra://show and tidra://toggle (any case, an optional trailing slash);
// nothing for any other URL.
std::optional<UrlCommand> urlCommand(const std::string& url);
// The URL as one short line for the log: control characters escaped, long ones cut.
std::string loggableUrl(const std::string& url);

}  // namespace tidra
