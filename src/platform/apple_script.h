// AppleScript (NSAppleScript) and its result descriptors (NSAppleEventDescriptor).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/value.h"

namespace tidra {

constexpr std::uint32_t fourCharCode(const char (&c)[5]) {
    return (std::uint32_t(std::uint8_t(c[0])) << 24) | (std::uint32_t(std::uint8_t(c[1])) << 16) |
           (std::uint32_t(std::uint8_t(c[2])) << 8) | std::uint32_t(std::uint8_t(c[3]));
}
inline constexpr std::uint32_t kTypeNull = fourCharCode("null");
inline constexpr std::uint32_t kTypeAEList = fourCharCode("list");
inline constexpr std::uint32_t kTypeUnicodeText = fourCharCode("utxt");
inline constexpr std::uint32_t kTypeBoolean = fourCharCode("bool");
inline constexpr std::uint32_t kTypeObjectSpecifier = fourCharCode("obj ");

class EventDescriptor {
  public:
    virtual ~EventDescriptor() = default;
    virtual std::uint32_t descriptorType() const = 0;
    virtual long numberOfItems() const = 0;
    // One-based; nothing out of range.
    virtual std::shared_ptr<EventDescriptor> descriptorAtIndex(long index) const = 0;
    virtual std::optional<std::string> stringValue() const = 0;
};

class AppleScript {
  public:
    virtual ~AppleScript() = default;
    // The result, or nothing with the error dictionary filled (NSAppleScriptErrorNumber,
    // NSAppleScriptErrorMessage, ...).
    virtual std::shared_ptr<EventDescriptor> executeAndReturnError(Dictionary* errorInfo) = 0;
};

class AppleScripting {
  public:
    virtual ~AppleScripting() = default;
    // initWithSource: nothing when no script object can be made.
    virtual std::unique_ptr<AppleScript> scriptWithSource(const std::string& source) = 0;
};

}  // namespace tidra
