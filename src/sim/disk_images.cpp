#include "sim/disk_images.h"

#include <filesystem>

#include "platform/paths.h"

namespace tidra::sim {

namespace fs = std::filesystem;

const MountedImage& DiskImages::attach(const std::string& imagePath,
                                       const std::string& volumeName) {
    std::string mountPoint = "/Volumes/" + volumeName;
    std::error_code ec;
    for (int n = 1; fs::exists(disk_.real(mountPoint), ec); ++n)
        mountPoint = "/Volumes/" + volumeName + " " + std::to_string(n);
    fs::create_directories(disk_.real(mountPoint), ec);
    MountedImage image;
    image.imagePath = imagePath;
    image.wholeDisk = "/dev/disk" + std::to_string(nextDisk_++);
    image.device = image.wholeDisk + "s1";
    image.mountPoint = mountPoint;
    mounted_.push_back(image);
    return mounted_.back();
}

bool DiskImages::detach(const std::string& device) {
    for (auto it = mounted_.begin(); it != mounted_.end(); ++it) {
        if (it->device != device && it->wholeDisk != device) continue;
        std::error_code ec;
        fs::remove_all(disk_.real(it->mountPoint), ec);
        mounted_.erase(it);
        return true;
    }
    return false;
}

const MountedImage* DiskImages::holding(const std::string& macPath) const {
    const std::string p = paths::standardize(macPath, disk_.home());
    for (const auto& image : mounted_)
        if (p == image.mountPoint || paths::hasPrefix(p, image.mountPoint + "/")) return &image;
    return nullptr;
}

Value DiskImages::info() const {
    Array images;
    for (const auto& image : mounted_) {
        Dictionary partitionMap{{"content-hint", "GUID_partition_scheme"},
                                {"dev-entry", image.wholeDisk},
                                {"potentially-mountable", false}};
        Dictionary volume{{"content-hint", "Apple_HFS"},
                          {"dev-entry", image.device},
                          {"mount-point", image.mountPoint},
                          {"potentially-mountable", true},
                          {"volume-kind", "hfs"}};
        images.push_back(Dictionary{{"image-path", image.imagePath},
                                    {"image-type", "UDIF read-only compressed (zlib)"},
                                    {"removable", true},
                                    {"writeable", false},
                                    {"system-entities", Array{partitionMap, volume}}});
    }
    return Dictionary{{"framework", "671.100.2"}, {"images", images}, {"vendor", "Apple"}};
}

Value DiskImages::state() const {
    Array images;
    for (const auto& image : mounted_)
        images.push_back(Dictionary{{"image", image.imagePath},
                                    {"wholeDisk", image.wholeDisk},
                                    {"device", image.device},
                                    {"mountPoint", image.mountPoint}});
    return Dictionary{{"images", images}, {"nextDisk", std::int64_t(nextDisk_)}};
}

void DiskImages::restore(const Value& state) {
    mounted_.clear();
    const std::int64_t next = state["nextDisk"].intValue();
    if (next > nextDisk_ && next < 100000) nextDisk_ = int(next);
    if (!state["images"].isArray()) return;
    for (const Value& entry : state["images"].array()) {
        MountedImage image{entry["image"].string(), entry["wholeDisk"].string(),
                           entry["device"].string(), entry["mountPoint"].string()};
        std::error_code ec;
        if (image.wholeDisk.empty() || image.device.empty() ||
            !paths::hasPrefix(image.mountPoint, "/Volumes/") ||
            !fs::is_directory(disk_.real(image.mountPoint), ec) || holding(image.mountPoint))
            continue;
        mounted_.push_back(image);
    }
}

}  // namespace tidra::sim
