// Pictures read from the simulated disk for the screenshot: desktop pictures, image files on the
// desktop and Tidra's menu-bar icon.
#pragma once

#include <optional>
#include <string>

#include "frontend/screenshot/canvas.h"

namespace tidra::sim::shot {

struct Picture {
    Surface surface;  // nothing when the file could not be decoded
    std::string error;
    int width = 0, height = 0;  // as decoded
    // The decoded size over the picture's own: below 1 when it was decoded smaller.
    double scale = 1;
};

// A picture file may claim any size in a few bytes; one past this many pixels is not decoded
// (the placeholder says why). The largest desktop pictures a Mac ships have 36 million.
inline constexpr long long kMaxPicturePixels = 50'000'000;

// Decodes a file on the host (PNG, JPEG, TIFF, GIF, BMP, and HEIC or HEIF by libheif), with the
// orientation its metadata asks for. With a box to cover (`coverWidth` x `coverHeight`, in
// either orientation), it is decoded no larger than it takes to cover that box, so that what it
// costs stays in proportion to the picture it is drawn into.
Picture loadPicture(const std::string& realPath, double coverWidth = 0, double coverHeight = 0);

// The reason a picture of that claimed size is not decoded; nothing when it may be.
std::optional<std::string> pixelCountRefusal(int width, int height);

// The scale, at most 1, at which a picture of that size still covers the box (in either
// orientation); 1 without a box.
double coverScale(int width, int height, double coverWidth, double coverHeight);

// What stands in for a picture that cannot be shown: a neutral striped pattern with the file's
// name and the reason.
void drawPicturePlaceholder(cairo_t* cr, Box area, const std::string& name,
                            const std::string& reason);

}  // namespace tidra::sim::shot
