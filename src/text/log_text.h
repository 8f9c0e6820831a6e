// Text from outside (a URL, a stored value) quoted in a log line: one short line, whatever it
// holds. Control characters are written out, so that a line break cannot forge a line of its own,
// and a long text is cut at a character's boundary, never through one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tidra {

inline constexpr std::size_t kLoggedTextBytes = 200;

// At most `maxBytes` of `text` (counted before escaping), "…" after a cut.
std::string loggableText(std::string_view text, std::size_t maxBytes = kLoggedTextBytes);

}  // namespace tidra
