// Interface descriptions: any text is read to a value or refused, and a value is read whole into a
// main, window or view description, or refused at one named entry, never half-read or crashing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "fuzz_folder.h"
#include "platform/interface_description.h"
#include "sim/interface/description_file.h"

using namespace tidra;

namespace {

template <class Description>
void checkRead(const DescriptionRead<Description>& read) {
    if (const auto* fault = std::get_if<DescriptionFault>(&read))
        fuzz::check(!fault->where.empty() && !fault->problem.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = sim::parseDescription(text);
    if (!value) return 0;
    checkRead(readMainDescription(*value));
    if (!(*value)[Value("window")].isNil()) checkRead(readWindowDescription(*value));
    if (!(*value)[Value("view")].isNil()) checkRead(readViewDescription(*value));
    return 0;
}
