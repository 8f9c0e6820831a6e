// Pictures read from the simulated disk for the screenshot: desktop pictures, image files on the
// desktop and Tidra's menu-bar icon.
#pragma once

#include <string>

#include "frontend/screenshot/canvas.h"

namespace tidra::sim::shot {

struct Picture {
    Surface surface;  // nothing when the file could not be decoded
    std::string error;
    int width = 0, height = 0;
};

// Decodes a file on the host (PNG, JPEG, TIFF, and HEIC where its decoder is installed), with
// the orientation its metadata asks for.
Picture loadPicture(const std::string& realPath);

// What stands in for a picture that cannot be shown: a neutral striped pattern with the file's
// name and the reason.
void drawPicturePlaceholder(cairo_t* cr, Box area, const std::string& name,
                            const std::string& reason);

}  // namespace tidra::sim::shot
