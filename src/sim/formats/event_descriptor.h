// Apple event descriptors as the simulated Mac's scripts return them: null, text ('utxt'),
// Booleans, lists, records and object specifiers.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/apple_script.h"

namespace tidra::sim {

class SimEventDescriptor : public EventDescriptor {
  public:
    static std::shared_ptr<SimEventDescriptor> null();
    static std::shared_ptr<SimEventDescriptor> text(std::string value);
    static std::shared_ptr<SimEventDescriptor> boolean(bool value);
    static std::shared_ptr<SimEventDescriptor> integer(std::int64_t value);
    static std::shared_ptr<SimEventDescriptor> list(
        std::vector<std::shared_ptr<EventDescriptor>> items);
    // A record's items are its values, as descriptorAtIndex: answers them.
    static std::shared_ptr<SimEventDescriptor> record(
        std::vector<std::shared_ptr<EventDescriptor>> values);
    // A reference such as `login item "Tidra" of application "System Events"`; no string value.
    static std::shared_ptr<SimEventDescriptor> objectSpecifier();
    // A file reference: its string value is the file URL.
    static std::shared_ptr<SimEventDescriptor> fileUrl(std::string url);

    std::uint32_t descriptorType() const override { return type_; }
    long numberOfItems() const override;
    std::shared_ptr<EventDescriptor> descriptorAtIndex(long index) const override;
    std::optional<std::string> stringValue() const override { return string_; }

  private:
    SimEventDescriptor(std::uint32_t type, std::optional<std::string> string)
        : type_(type), string_(std::move(string)) {}

    std::uint32_t type_;
    std::optional<std::string> string_;
    std::vector<std::shared_ptr<EventDescriptor>> items_;
    bool hasItems_ = false;
};

}  // namespace tidra::sim
