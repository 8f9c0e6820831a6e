#include "sim/folder_tree.h"

#include <algorithm>

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

void listInto(const fs::path& dir, const fs::path& relative, std::vector<fs::path>& out,
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
            listInto(child.path(), rel, out, depth + 1);
    }
}

}  // namespace

std::vector<fs::path> folderTree(const fs::path& dir) {
    std::vector<fs::path> out;
    listInto(dir, {}, out, 0);
    return out;
}

}  // namespace tidra::sim
