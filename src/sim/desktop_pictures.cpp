#include "sim/desktop_pictures.h"

#include <algorithm>

namespace tidra::sim {

namespace {

struct Shipped {
    int major, minor;
    const char* file;
};

// Newest first: a version takes the picture of the latest entry it is at least. Each system
// before 10.14 shipped a JPEG; from 10.14 the default pictures are HEIC. macOS 27's default
// picture has no name known yet: it goes by a neutral one until it has.
constexpr Shipped kShipped[] = {
    {27, 0, "macOS 27.heic"},    {26, 0, "Tahoe.heic"},     {15, 0, "Sequoia.heic"},
    {14, 0, "Sonoma.heic"},      {13, 0, "Ventura.heic"},   {12, 0, "Monterey Graphic.heic"},
    {11, 0, "Big Sur.heic"},     {10, 15, "Catalina.heic"}, {10, 14, "Mojave.heic"},
    {10, 13, "High Sierra.jpg"}, {10, 12, "Sierra.jpg"},    {10, 11, "El Capitan.jpg"},
    {10, 10, "Yosemite.jpg"},    {10, 9, "Wave.jpg"},       {10, 8, "Galaxy.jpg"},
    {10, 7, "Lion.jpg"},         {10, 5, "Aurora.jpg"},     {10, 0, "Aqua Blue.jpg"},
};

}  // namespace

std::string defaultDesktopPicture(OperatingSystemVersion version) {
    for (const auto& s : kShipped)
        if (version.isAtLeast(s.major, s.minor))
            return std::string(kDesktopPicturesFolder) + "/" + s.file;
    return std::string(kDesktopPicturesFolder) + "/" + std::rbegin(kShipped)->file;
}

std::vector<std::string> defaultDesktopPictureNames() {
    std::vector<std::string> names;
    for (auto it = std::rbegin(kShipped); it != std::rend(kShipped); ++it)
        names.push_back(it->file);
    return names;
}

}  // namespace tidra::sim
