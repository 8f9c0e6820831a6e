#include "sim/user_trash.h"

#include <filesystem>

#include "platform/paths.h"
#include "sim/case_fold.h"

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
    // Compared without regard to case, as the disk finds names.
    const std::string folded = foldCase(path), foldedTrash = foldCase(trash);
    if (path.empty() || path[0] != '/' || path == "/" || folded == foldCase(disk.home()) ||
        folded == foldedTrash || paths::hasPrefix(folded, foldedTrash + "/") ||
        !disk.trashAvailable())
        return std::nullopt;
    std::error_code ec;
    const fs::path source = disk.realOfLink(path);
    if (!fs::exists(fs::symlink_status(source, ec))) return std::nullopt;
    fs::create_directories(disk.real(trash), ec);
    // The item keeps its name in the Trash as the disk spells it, not as it was asked for.
    const std::string name = source.filename().string();
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
