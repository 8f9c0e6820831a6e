#include "install/disk_image_info.h"

namespace tidra {

std::optional<std::string> diskImageDeviceIn(const Value& info, const std::string& device) {
    if (device.empty() || !info.isDictionary()) return std::nullopt;
    const Value images = info["images"];
    if (!images.isArray()) return std::nullopt;
    for (const Value& image : images.array()) {
        if (!image.isDictionary()) return std::nullopt;
        const Value entities = image["system-entities"];
        if (!entities.isArray()) return std::nullopt;
        for (const Value& entity : entities.array()) {
            if (!entity.isDictionary()) return std::nullopt;
            const Value entry = entity["dev-entry"];
            if (!entry.isString()) return std::nullopt;
            if (entry.string() == device) return device;
        }
    }
    return std::nullopt;
}

}  // namespace tidra
