// The front end's `screenshot [FILE.png]`.
#pragma once

namespace tidra::sim {

class Frontend;

void addScreenshotCommand(Frontend& frontend);

}  // namespace tidra::sim
