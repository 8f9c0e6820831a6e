// The walk over "hdiutil info -plist" output of any content: parsed as the mover parses the tool's
// output, then searched; a device found is always the one asked for.
#include <cstddef>
#include <cstdint>

#include "install/disk_image_info.h"
#include "sim/formats/keyed_archiver.h"

using namespace tidra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::KeyedArchiver plists;
    const Value info = plists.propertyListWithData(Data(data, data + size));
    for (const char* device : {"/dev/disk5s1", "/dev/disk4", ""}) {
        const auto found = diskImageDeviceIn(info, device);
        if (found && *found != device) __builtin_trap();
    }
    return 0;
}
