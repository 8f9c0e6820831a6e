// Finding a status-menu item by the title a person types: "..." for the ellipsis, and a title
// that names one item anywhere in the menu without its submenu path.
#pragma once

#include <string>
#include <vector>

#include "sim/interface/status_bar.h"

namespace tidra::sim {

struct MenuTitleMatch {
    SimMenuItem* item = nullptr;  // nothing when the title was refused
    std::string error;            // why, with the titles a person could have meant
};

// A title compared as typed: surrounding blanks dropped, the ellipsis written as three dots.
std::string comparableTitle(const std::string& title);

// `typed` is "Title" or "Parent > Child". A title naming a submenu of its own, several items, or
// none is refused.
MenuTitleMatch findMenuTitle(const SimMenu& menu, const std::string& typed);

// Every item that can be chosen, as "Parent > Child" paths in menu order.
std::vector<std::string> menuTitlePaths(const SimMenu& menu);

}  // namespace tidra::sim
