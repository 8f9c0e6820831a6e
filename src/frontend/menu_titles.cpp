#include "frontend/menu_titles.h"

namespace tidra::sim {

namespace {

constexpr const char* kEllipsis = "\u2026";
constexpr const char* kSeparator = " > ";

}  // namespace

std::string comparableTitle(const std::string& title) {
    size_t b = title.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    size_t e = title.find_last_not_of(" \t");
    std::string t = title.substr(b, e - b + 1), out;
    for (size_t i = 0; i < t.size();) {
        // "…", and the midline "⋯" that Traditional Chinese titles end with, both read "...".
        if (t.compare(i, 3, kEllipsis) == 0 || t.compare(i, 3, "⋯") == 0) {
            out += "...";
            i += 3;
        } else {
            out += t[i++];
        }
    }
    return out;
}

namespace {

struct Found {
    SimMenuItem* item;
    std::string path;
};

void collect(const SimMenu& menu, const std::string& prefix, std::vector<Found>& out) {
    for (const auto& e : menu.entries) {
        if (e->isSeparator()) continue;
        std::string path = prefix + e->title();
        out.push_back({e.get(), path});
        if (e->submenu()) collect(*e->submenu(), path + kSeparator, out);
    }
}

std::string listed(const std::vector<std::string>& titles) {
    std::string out;
    for (const auto& t : titles) out += "\n  " + t;
    return out;
}

}  // namespace

std::vector<std::string> menuTitlePaths(const SimMenu& menu) {
    std::vector<Found> all;
    collect(menu, "", all);
    std::vector<std::string> out;
    for (const auto& f : all)
        if (!f.item->submenu()) out.push_back(f.path);
    return out;
}

MenuTitleMatch findMenuTitle(const SimMenu& menu, const std::string& typed) {
    std::vector<Found> all;
    collect(menu, "", all);
    const bool isPath = typed.find(kSeparator) != std::string::npos;
    // A path is compared part by part, so blanks around " > " do not matter.
    auto parts = [](const std::string& s) {
        std::vector<std::string> out;
        size_t start = 0;
        for (;;) {
            size_t sep = s.find(kSeparator, start);
            out.push_back(comparableTitle(s.substr(start, sep - start)));
            if (sep == std::string::npos) return out;
            start = sep + 3;
        }
    };
    const std::vector<std::string> wanted = parts(typed);
    std::vector<const Found*> matches;
    for (const auto& f : all) {
        std::vector<std::string> have = parts(f.path);
        const bool same = isPath ? have == wanted : have.back() == wanted.front();
        if (same) matches.push_back(&f);
    }
    const std::string quoted = "\"" + typed + "\"";
    if (matches.empty())
        return {nullptr,
                "the menu has no item " + quoted + "; it has:" + listed(menuTitlePaths(menu))};
    if (matches.size() > 1) {
        std::vector<std::string> paths;
        for (const Found* f : matches) paths.push_back(f->path);
        return {nullptr, quoted + " names several items; give one of:" + listed(paths)};
    }
    SimMenuItem* item = matches.front()->item;
    if (item->submenu()) {
        std::vector<std::string> children;
        for (const auto& p : menuTitlePaths(*item->submenu()))
            children.push_back(matches.front()->path + kSeparator + p);
        return {nullptr, quoted + " opens a submenu; choose one of:" + listed(children)};
    }
    return {item, ""};
}

}  // namespace tidra::sim
