#include "frontend/folder_commands.h"

#include <algorithm>
#include <filesystem>

#include "frontend/frontend.h"
#include "platform/paths.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// Through the simulated Mac's own mapping: links point at Mac paths, and ".." never leads out of
// the simulated disk.
fs::path realFile(Mac& mac, const std::string& macPath) {
    return mac.disk().real(mac.simFileManager().resolvingSymlinksInPath(macPath));
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
        const std::string path = typedMacPath(mac, cl.words.size() > 1 ? titleFrom(cl, 1) : "");
        const fs::path real = realFile(mac, path);
        std::error_code ec;
        if (!fs::exists(real, ec)) throw CommandError{"no such file or folder: " + path};
        if (!fs::is_directory(real, ec)) {
            f.out() << path << "\n";
            return;
        }
        std::vector<std::string> names;
        for (fs::directory_iterator it(real, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            // Hidden files stay hidden, as in the panel and Finder.
            if (name.empty() || name[0] == '.') continue;
            std::error_code kindError;
            const bool folder = fs::is_directory(realFile(mac, path + "/" + name), kindError);
            names.push_back(name + (folder ? "/" : ""));
        }
        if (ec) throw CommandError{"cannot read " + path + ": " + ec.message()};
        std::sort(names.begin(), names.end());
        f.out() << path << ":\n";
        for (const auto& name : names) f.out() << "  " << name << "\n";
        if (names.empty()) f.out() << "  (empty)\n";
    });
}

}  // namespace tidra::sim
