// Texts in the user's language that are made of other texts.
#pragma once

#include <string>

#include "platform/bundle.h"
#include "text/format.h"

namespace tidra {

// Two sentences, one after the other, as the user's language joins them (with a space, or none
// in Japanese and Chinese). An empty first sentence leaves the second alone.
inline std::string sentences(Bundle& bundle, const std::string& first, const std::string& second) {
    if (first.empty()) return second;
    if (second.empty()) return first;
    return formatText(localizedString(bundle, "%1$@ %2$@",
                                      "Two sentences shown one after the other. In a language "
                                      "that writes no space between sentences, leave the space "
                                      "out."),
                      {first, second});
}

}  // namespace tidra
