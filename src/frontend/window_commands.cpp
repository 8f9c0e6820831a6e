#include "frontend/window_commands.h"

#include <algorithm>
#include <sstream>

#include "frontend/frontend.h"
#include "frontend/status_lines.h"
#include "frontend/window_controls.h"
#include "sim/interface/views.h"

namespace tidra::sim {

namespace {

constexpr const char* kAboutNib = "TransluscentWindow";

SimWindow* visibleAboutWindow(Mac& mac) {
    for (SimWindow* w : mac.windows().windows())
        if (w->nibName() == kAboutNib && w->isVisible()) return w;
    return nullptr;
}

void click(Mac& mac, SimButton& button) {
    mac.intoTidra([&] { button.performClick(); });
}

std::vector<std::string> wrapped(const std::string& text, size_t width) {
    std::vector<std::string> out;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty() || out.empty()) out.push_back(line);
    return out;
}

// The box ends with the command that closes it.
void box(std::ostringstream& o, const std::string& indent, const std::string& heading,
         const std::vector<std::string>& lines, const std::string& closer) {
    o << indent << "+- " << heading << "\n";
    for (const auto& line : lines)
        for (const auto& part : wrapped(line, 44)) o << indent << "| " << part << "\n";
    o << indent << "+- `" << closer << "`\n";
}

}  // namespace

SimPopover* tidraPopover(Mac& mac) {
    // Tidra is the only application that makes popovers; a quit one's went with it.
    if (!mac.tidraRunning()) return nullptr;
    const auto popovers = mac.ui().popovers();
    return popovers.empty() ? nullptr : popovers.back().get();
}

void addWindowCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("popover", "popover close", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2 || cl.words[1] != "close") f.usageError();
        SimPopover* popover = tidraPopover(mac);
        if (!popover || !popover->isShown()) throw CommandError{"no popover is shown"};
        SimButton* close = buttonWithAction(popover->contentView(), "closePopover:");
        if (!close) throw CommandError{"the popover has no close control"};
        click(mac, *close);
    });
    f.add("about", "about link", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2 || cl.words[1] != "link") f.usageError();
        SimWindow* about = visibleAboutWindow(mac);
        if (!about) throw CommandError{"the About window is not open (choose About in the menu)"};
        SimButton* link = buttonWithAction(about->contentView(), "brimleClicked:");
        if (!link) throw CommandError{"the About window has no link"};
        click(mac, *link);
    });
    f.add(
        "window",
        "window close [TITLE-OR-INDEX] | window click TITLE | window select ROW | window move X Y",
        [&f, &mac](const CommandLine& cl) {
            if (windowControlCommand(f, mac, cl)) return;
            if (cl.words.size() < 2 || cl.words[1] != "close") f.usageError();
            SimWindow* window = nullptr;
            if (cl.words.size() == 2) {
                auto front = mac.windows().onScreen();
                if (front.empty()) throw CommandError{"no window is open"};
                window = front.front();
            } else {
                window = mac.windows().find(titleFrom(cl, 2));
                if (!window)
                    throw CommandError{"no window with that title or number (see `status`)"};
            }
            window->close();
        });
    addTypeCommand(f);
    f.addStatus([&mac](nlohmann::json& s) {
        SimPopover* popover = tidraPopover(mac);
        s["popover"] = popover ? popover->describe() : nlohmann::json();
        s["windows"] = mac.windows().describe();
    });
}

std::string drawPopoverAndWindows(Mac& mac) {
    std::ostringstream o;
    if (SimPopover* popover = tidraPopover(mac); popover && popover->isShown())
        box(o, "|" + std::string(40, ' '), "popover", textsIn(popover->contentView()),
            "popover close");
    const auto all = mac.windows().windows();
    for (SimWindow* w : mac.windows().onScreen()) {
        const size_t index = std::find(all.begin(), all.end(), w) - all.begin();
        box(o, "|  ", windowHeading(mac, *w), textsIn(w->contentView()),
            "window close " + std::to_string(index));
    }
    return o.str();
}

}  // namespace tidra::sim
