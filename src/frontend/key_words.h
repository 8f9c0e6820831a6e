// Key combinations as a person types them on the command line: "ctrl+option+cmd+D".
#pragma once

#include <string>

#include "platform/hot_keys.h"

namespace tidra::sim {

class Frontend;

// The key event the words stand for; a usage error naming what is accepted otherwise.
KeyPress parseKeyPress(Frontend& frontend, const std::string& text);

}  // namespace tidra::sim
