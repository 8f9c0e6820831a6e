// The console log (NSLog): one line a call.
#pragma once

#include <string>

namespace tidra {

class Console {
  public:
    virtual ~Console() = default;
    virtual void log(const std::string& line) = 0;
};

}  // namespace tidra
