#include "sim/user_trash.h"

#include <filesystem>

#include "platform/paths.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

std::string numbered(const std::string& name, int n) {
    const std::string ext = paths::pathExtension(name);
    const std::string stem = ext.empty() ? name : name.substr(0, name.size() - ext.size() - 1);
    return stem + " " + std::to_string(n) + (ext.empty() ? "" : "." + ext);
}

}  // namespace

std::optional<std::string> moveToUserTrash(const Disk& disk, const std::string& macPath) {
    const std::string path = paths::standardize(macPath, disk.home());
    const std::string trash = disk.home() + "/.Trash";
    if (path.empty() || path[0] != '/' || path == "/" || path == disk.home() || path == trash ||
        paths::hasPrefix(path, trash + "/") || !disk.trashAvailable())
        return std::nullopt;
    std::error_code ec;
    const fs::path source = disk.realOfLink(path);
    if (!fs::exists(fs::symlink_status(source, ec))) return std::nullopt;
    fs::create_directories(disk.real(trash), ec);
    const std::string name = paths::lastPathComponent(path);
    std::string target = trash + "/" + name;
    for (int n = 2; fs::exists(fs::symlink_status(disk.realOfLink(target), ec)); ++n) {
        if (n > 10000) return std::nullopt;
        target = trash + "/" + numbered(name, n);
    }
    fs::rename(source, disk.realOfLink(target), ec);
    if (ec) return std::nullopt;
    return target;
}

}  // namespace tidra::sim
