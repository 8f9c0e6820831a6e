// The front end's general commands: state, console, time, Tidra's own life.
#pragma once

namespace tidra::sim {

class Frontend;

// `help`, `status`, `log`, `wait`, `exit`, `quit` and `launch`.
void addCoreCommands(Frontend& frontend);

}  // namespace tidra::sim
