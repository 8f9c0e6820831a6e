#include "sim/formats/event_descriptor.h"

namespace tidra::sim {

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::null() {
    return std::shared_ptr<SimEventDescriptor>(new SimEventDescriptor(kTypeNull, std::nullopt));
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::text(std::string value) {
    return std::shared_ptr<SimEventDescriptor>(
        new SimEventDescriptor(kTypeUnicodeText, std::move(value)));
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::boolean(bool value) {
    return std::shared_ptr<SimEventDescriptor>(
        new SimEventDescriptor(kTypeBoolean, value ? "true" : "false"));
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::integer(std::int64_t value) {
    return std::shared_ptr<SimEventDescriptor>(
        new SimEventDescriptor(fourCharCode("comp"), std::to_string(value)));
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::list(
    std::vector<std::shared_ptr<EventDescriptor>> items) {
    auto out =
        std::shared_ptr<SimEventDescriptor>(new SimEventDescriptor(kTypeAEList, std::nullopt));
    out->items_ = std::move(items);
    out->hasItems_ = true;
    return out;
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::record(
    std::vector<std::shared_ptr<EventDescriptor>> values) {
    auto out = std::shared_ptr<SimEventDescriptor>(
        new SimEventDescriptor(fourCharCode("reco"), std::nullopt));
    out->items_ = std::move(values);
    out->hasItems_ = true;
    return out;
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::objectSpecifier() {
    return std::shared_ptr<SimEventDescriptor>(
        new SimEventDescriptor(kTypeObjectSpecifier, std::nullopt));
}

std::shared_ptr<SimEventDescriptor> SimEventDescriptor::fileUrl(std::string url) {
    return std::shared_ptr<SimEventDescriptor>(
        new SimEventDescriptor(fourCharCode("furl"), std::move(url)));
}

// Only lists and records have items.
long SimEventDescriptor::numberOfItems() const {
    return hasItems_ ? long(items_.size()) : 0;
}

std::shared_ptr<EventDescriptor> SimEventDescriptor::descriptorAtIndex(long index) const {
    if (!hasItems_ || index < 1 || index > long(items_.size())) return nullptr;
    return items_[std::size_t(index - 1)];
}

}  // namespace tidra::sim
