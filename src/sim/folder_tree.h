// The order in which the simulated Mac walks a folder: fixed, like the platform's, so listings and
// part-way copies come out the same on every run.
#pragma once

#include <filesystem>
#include <vector>

namespace tidra::sim {

// Everything below `dir`, relative to it: a folder before its contents, names in byte order.
// Symbolic links are listed, not followed, so no loop can form.
std::vector<std::filesystem::path> folderTree(const std::filesystem::path& dir);

}  // namespace tidra::sim
