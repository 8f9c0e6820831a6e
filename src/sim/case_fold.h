// How the simulated disk compares names: as a Mac's default volume does, without regard to case
// or Unicode normalization, while every name keeps the spelling it was created with.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tidra::sim {

// `name` in canonical decomposition (NFD) with every letter folded to one case: simple case
// folding of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters. A name that is not
// well-formed UTF-8 keeps its bytes as they are.
std::string foldCase(std::string_view name);
bool sameIgnoringCase(std::string_view a, std::string_view b);

// The name under which the real folder `dir` holds `name`, compared without regard to case or
// normalization: the
// name itself when it is there as typed, otherwise the first matching entry in byte order;
// nothing when the folder holds no such entry (or cannot be read).
std::optional<std::string> storedName(const std::filesystem::path& dir, const std::string& name);

}  // namespace tidra::sim
