#include "frontend/folder_commands.h"

#include <algorithm>
#include <filesystem>

#include "frontend/frontend.h"
#include "platform/paths.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// Through the simulated Mac's own mapping: links point at Mac paths, and ".." never leads out of
// the simulated disk.
fs::path realFile(Mac& mac, const std::string& macPath) {
    return mac.disk().real(mac.simFileManager().resolvingSymlinksInPath(macPath));
}

// Whether the open panel would take a file of that name: it greys out the others.
bool panelTakes(const OpenPanelSettings& panel, const std::string& name) {
    if (!panel.canChooseFiles) return false;
    if (panel.allowedFileTypes.empty()) return true;
    const std::string extension = asciiLower(paths::pathExtension(name));
    return std::any_of(panel.allowedFileTypes.begin(), panel.allowedFileTypes.end(),
                       [&](const std::string& t) { return asciiLower(t) == extension; });
}

}  // namespace

std::string currentFolder(Mac& mac) {
    if (auto panel = mac.openPanels().front()) {
        auto directory = panel->settings().directory;
        if (directory && !directory->empty()) return *directory;
    }
    return mac.disk().home();
}

std::string typedMacPath(Mac& mac, const std::string& typed) {
    const std::string home = mac.disk().home();
    if (!typed.empty() && (typed[0] == '/' || typed[0] == '~'))
        return paths::standardize(typed, home);
    std::string base = currentFolder(mac);
    return paths::standardize(typed.empty() ? base : base + "/" + typed, home);
}

void addFolderCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("ls", "ls [PATH]", [&f, &mac](const CommandLine& cl) {
        // Shown as the disk spells it, whatever case was typed.
        const std::string path =
            mac.disk().spelled(typedMacPath(mac, cl.words.size() > 1 ? titleFrom(cl, 1) : ""));
        const fs::path real = realFile(mac, path);
        std::error_code ec;
        if (!fs::exists(real, ec)) throw CommandError{"no such file or folder: " + path};
        if (!fs::is_directory(real, ec)) {
            f.out() << path << "\n";
            return;
        }
        auto panel = mac.openPanels().front();
        std::vector<std::pair<std::string, std::string>> names;  // sorted by name, then shown
        for (fs::directory_iterator it(real, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            // Hidden files stay hidden, as in the panel and Finder.
            if (name.empty() || name[0] == '.') continue;
            std::error_code kindError;
            const bool folder = fs::is_directory(realFile(mac, path + "/" + name), kindError);
            // One line each, whatever the name holds.
            std::string shown = escapeControls(name);
            if (folder)
                shown += "/";
            else if (panel && !panelTakes(panel->settings(), name))
                shown += "  (the panel does not take it)";
            names.emplace_back(name, shown);
        }
        if (ec) throw CommandError{"cannot read " + path + ": " + ec.message()};
        std::sort(names.begin(), names.end());
        f.out() << path << ":\n";
        for (const auto& [name, shown] : names) f.out() << "  " << shown << "\n";
        if (names.empty()) f.out() << "  (empty)\n";
    });
}

}  // namespace tidra::sim
