#include "frontend/window_controls.h"

#include <charconv>

#include "frontend/frontend.h"
#include "frontend/key_words.h"
#include "frontend/menu_titles.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace {

// What a person types for a title: any case, "..." for "…", "-" for "−".
std::string typedForm(const std::string& title) {
    std::string out = comparableTitle(title);
    for (size_t at; (at = out.find("−")) != std::string::npos;) out.replace(at, 3, "-");
    return asciiLower(out);
}

SimWindow& frontWindow(Mac& mac) {
    if (!mac.tidraRunning()) throw CommandError{"Tidra is not running"};
    auto front = mac.windows().onScreen();
    if (front.empty()) throw CommandError{"no window is open"};
    return *front.front();
}

void click(Mac& mac, const std::string& typed) {
    SimWindow& window = frontWindow(mac);
    std::vector<std::string> titles;
    for (View* v : shownViewsIn(window.contentView())) {
        auto* button = dynamic_cast<SimButton*>(v);
        if (!button) continue;
        titles.push_back("“" + button->title() + "”");
        if (typedForm(button->title()) != typedForm(typed)) continue;
        if (!button->isEnabled())
            throw CommandError{"“" + button->title() + "” is dimmed and takes no click now"};
        // A click in a window makes it the key window first.
        window.makeKeyAndOrderFront(nullptr);
        mac.intoTidra([&] { button->performClick(); });
        return;
    }
    std::string list;
    for (const auto& t : titles) list += (list.empty() ? "" : ", ") + t;
    throw CommandError{"“" + window.title() + "” has no button titled “" + typed + "”" +
                       (list.empty() ? "" : "; it has " + list)};
}

void select(Mac& mac, const std::string& typed) {
    SimWindow& window = frontWindow(mac);
    for (View* v : shownViewsIn(window.contentView())) {
        auto* list = dynamic_cast<SimListView*>(v);
        if (!list) continue;
        const auto rows = list->rows();
        std::string names;
        for (size_t i = 0; i < rows.size(); ++i) {
            names += (names.empty() ? "" : ", ") + rows[i].title;
            if (typedForm(rows[i].title) != typedForm(typed) &&
                typedForm(rows[i].detail) != typedForm(typed))
                continue;
            window.makeKeyAndOrderFront(nullptr);
            mac.intoTidra([&] { list->click(i); });
            return;
        }
        throw CommandError{"the list has no row “" + typed + "”" +
                           (names.empty() ? " (it is empty)" : "; it shows " + names)};
    }
    throw CommandError{"“" + window.title() + "” has no list to choose from"};
}

double coordinate(Frontend& f, const std::string& word) {
    double value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < -100000 || value > 100000)
        f.usageError(
            "X and Y are whole points from the main screen's bottom-left corner, "
            "between -100000 and 100000");
    return value;
}

}  // namespace

bool windowControlCommand(Frontend& f, Mac& mac, const CommandLine& cl) {
    const auto& w = cl.words;
    if (w.size() < 2) return false;
    if (w[1] == "click") {
        if (w.size() < 3) f.usageError();
        click(mac, titleFrom(cl, 2));
    } else if (w[1] == "select") {
        if (w.size() < 3) f.usageError();
        select(mac, titleFrom(cl, 2));
    } else if (w[1] == "move") {
        if (w.size() != 4) f.usageError();
        frontWindow(mac).moveTo(Point{coordinate(f, w[2]), coordinate(f, w[3])});
    } else {
        return false;
    }
    return true;
}

void addTypeCommand(Frontend& f) {
    Mac& mac = f.mac();
    f.add("type", "type COMBO (a key typed into the front window: cmd+W, escape, ctrl+cmd+H)",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() != 2) f.usageError();
              if (auto refused = mac.typeKey(parseKeyPress(f, cl.words[1])))
                  throw CommandError{*refused};
          });
}

}  // namespace tidra::sim
