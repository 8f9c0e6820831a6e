// The front end's hands on a window's controls: clicking a button, checkbox or radio button by its
// title, choosing a row of a list, dragging the window, and typing keys into it.
#pragma once

#include "frontend/command_line.h"

namespace tidra::sim {

class Frontend;
class Mac;

// `window click TITLE`, `window select ROW`, `window move X Y`: on the front window. Answers
// false when the words are none of these.
bool windowControlCommand(Frontend& frontend, Mac& mac, const CommandLine& cl);
// `type COMBO`.
void addTypeCommand(Frontend& frontend);

}  // namespace tidra::sim
