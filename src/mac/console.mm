// The console log (NSLog).
#import <Foundation/Foundation.h>

#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacConsole final : public Console {
  public:
    // The line is an argument, never the format: a "%" in an error text stays a "%".
    void log(const std::string& line) override { NSLog(@"%@", toNSString(line)); }
};

}  // namespace

std::unique_ptr<Console> makeConsole() {
    return std::make_unique<MacConsole>();
}

}  // namespace tidra::mac
