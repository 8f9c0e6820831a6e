// The front end's line splitter: any line either splits into words or is refused with a message,
// and the rests it hands back are pieces of the line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frontend/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto cl = tidra::sim::splitCommandLine(line, error);
    if (!cl) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    if (cl->words.size() != cl->starts.size()) __builtin_trap();
    for (std::size_t i = 0; i < cl->words.size(); ++i) {
        const std::string rest = cl->rest(i);
        if (rest.size() > line.size()) __builtin_trap();
        if (line.find(rest) == std::string::npos) __builtin_trap();
        (void)tidra::sim::titleFrom(*cl, i);
    }
    (void)tidra::sim::titleFrom(*cl, cl->words.size());
    return 0;
}
