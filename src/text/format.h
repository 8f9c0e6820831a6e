// Texts with placeholders as the string tables write them: %@ takes the next argument, %1$@ the
// first, so a translation may take them in its own order; %% is a percent sign.
#pragma once

#include <string>
#include <vector>

namespace tidra {

// A placeholder with no argument, or one this does not know, stays as it is written: a faulty
// translation shows its fault rather than somebody else's text.
std::string formatText(const std::string& format, const std::vector<std::string>& arguments);

}  // namespace tidra
