// An interface description file (<name>.json) read into the platform's values, as the native
// backend reads it with NSJSONSerialization.
#pragma once

#include <optional>
#include <string>

#include "platform/value.h"

namespace tidra::sim {

// The file's top-level object; nothing when the file cannot be read, is no JSON, is not an
// object, or nests deeper than any description does.
std::optional<Value> readDescriptionFile(const std::string& path);
// The same from the file's text.
std::optional<Value> parseDescription(const std::string& text);

}  // namespace tidra::sim
