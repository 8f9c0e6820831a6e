#include "sim/partial_copy.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// Folders before their contents, names in byte order, links not followed.
void listTree(const fs::path& dir, const fs::path& relative, std::vector<fs::path>& out,
              int depth) {
    std::error_code ec;
    std::vector<fs::directory_entry> children;
    for (const auto& entry : fs::directory_iterator(dir, ec)) children.push_back(entry);
    std::sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    for (const auto& child : children) {
        const fs::path rel = relative / child.path().filename();
        out.push_back(rel);
        if (depth < 64 && child.is_directory(ec) && !child.is_symlink(ec))
            listTree(child.path(), rel, out, depth + 1);
    }
}

}  // namespace

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
    std::vector<fs::path> entries;
    listTree(from, {}, entries, 0);
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
