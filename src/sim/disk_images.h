// Disk images attached on the simulated Mac: each is mounted under /Volumes from a device of its
// own, answers "hdiutil info" and is gone from the disk once detached.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/value.h"
#include "sim/disk.h"

namespace tidra::sim {

struct MountedImage {
    std::string imagePath;   // the .dmg file, Mac path
    std::string wholeDisk;   // "/dev/disk4"
    std::string device;      // the mounted slice, "/dev/disk4s1"
    std::string mountPoint;  // "/Volumes/Name"
};

class DiskImages {
  public:
    explicit DiskImages(const Disk& disk) : disk_(disk) {}

    // Mounts an image under /Volumes/<volumeName> (an empty folder, for the caller to fill);
    // a name already taken gets " 1", " 2"... as the Finder does.
    const MountedImage& attach(const std::string& imagePath, const std::string& volumeName);
    // Ejects the image that owns `device` (whole disk or slice); its volume leaves the disk.
    bool detach(const std::string& device);
    const std::vector<MountedImage>& mounted() const { return mounted_; }
    // The image whose volume holds `macPath`.
    const MountedImage* holding(const std::string& macPath) const;
    // What "hdiutil info -plist" reports.
    Value info() const;
    // The attached images, to be kept across runs of the simulated Mac, and taken back: an
    // entry whose volume is no longer on the disk, or that is malformed, is dropped.
    Value state() const;
    void restore(const Value& state);

  private:
    const Disk& disk_;
    std::vector<MountedImage> mounted_;
    int nextDisk_ = 4;
};

}  // namespace tidra::sim
