// A copy that runs out of room part way, as a copy onto a full volume does on a Mac: folders are
// made and files copied in a fixed order until the room is used up, and what was written stays.
#pragma once

#include <filesystem>

namespace tidra::sim {

// Copies `from` (a file or a folder) to `to`, stopping after about half of its files; a single
// file is left cut short. Answers whether anything was written at `to`.
bool copyUntilFull(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tidra::sim
