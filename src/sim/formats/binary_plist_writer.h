// The binary property-list form ("bplist00"), written straight from a Value in time and memory
// in proportion to its size, however many keys a dictionary holds.
#pragma once

#include <optional>

#include "platform/value.h"

namespace tidra::sim {

// Nothing for what a property list cannot hold (nil, null, a dictionary key that is not a
// string, a tree deeper than `maxDepth`). A URL is written as its absolute string; a string is
// written whole, NUL included, and a byte of it that is not UTF-8 is written as U+FFFD.
std::optional<Data> writeBinaryPlist(const Value& value, int maxDepth);

}  // namespace tidra::sim
