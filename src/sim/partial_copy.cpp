#include "sim/partial_copy.h"

#include <fstream>
#include <vector>

#include "sim/folder_tree.h"

namespace tidra::sim {

namespace fs = std::filesystem;

bool copyUntilFull(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const auto status = fs::symlink_status(from, ec);
    if (ec || !fs::exists(status)) return false;
    if (!fs::is_directory(status)) {
        std::ifstream in(from, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(to, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size() / 2));
        return true;
    }
    if (!fs::create_directory(to, ec) && ec) return false;
    const std::vector<fs::path> entries = folderTree(from);
    size_t files = 0;
    for (const auto& rel : entries)
        if (!fs::is_directory(fs::symlink_status(from / rel, ec))) ++files;
    size_t room = files / 2;
    for (const auto& rel : entries) {
        const auto entry = fs::symlink_status(from / rel, ec);
        if (fs::is_directory(entry)) {
            fs::create_directory(to / rel, ec);
            continue;
        }
        if (room == 0) break;
        --room;
        fs::copy(from / rel, to / rel, fs::copy_options::copy_symlinks, ec);
    }
    return true;
}

}  // namespace tidra::sim
