// The user's Trash on the simulated disk: what Finder does when asked to move an item there.
#pragma once

#include <optional>
#include <string>

#include "sim/disk.h"

namespace tidra::sim {

// Moves the item at `macPath` into "~/.Trash", renaming it "name 2.ext", "name 3.ext", ... when
// the Trash already holds that name. Answers the item's Mac path in the Trash, or nothing when
// the item does not exist, is the disk's root, the home folder or the Trash itself, or cannot
// be moved (the Trash unavailable among other reasons).
std::optional<std::string> moveToUserTrash(const Disk& disk, const std::string& macPath);

}  // namespace tidra::sim
