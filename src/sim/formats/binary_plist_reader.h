// The binary property-list form ("bplist00") read straight into a Value, every object checked
// against the file's bounds before it is read. Read here rather than through libplist, whose
// accessors cannot tell an unsigned number past the signed range from a negative one, give dates
// to the microsecond only, and stop at a NUL inside a string.
#pragma once

#include "platform/value.h"

namespace tidra::sim {

// Nil for bytes that are not a sound binary property list: a bad trailer or offset, a reference
// out of range or back onto itself, a tree deeper than `maxDepth`, a null object, a dictionary
// key that is not a string, text that is not Unicode (an "ASCII" byte past 0x7F, a lone UTF-16
// surrogate), an integer beyond 64 bits.
Value readBinaryPlist(const Data& bytes, int maxDepth);

}  // namespace tidra::sim
