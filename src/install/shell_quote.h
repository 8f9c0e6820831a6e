// Paths handed to /bin/sh must arrive as one word whatever they hold, or a folder name with a
// quote or a space would split the relaunch line and run part of the name as a command.
#pragma once

#include <string>

namespace tidra {

// `path` wrapped in single quotes, each single quote inside written as '\'' so that the shell
// reads the whole as one word equal to `path`.
std::string shellQuote(const std::string& path);

}  // namespace tidra
