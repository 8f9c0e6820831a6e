// HEIF pictures (HEIC: the HEVC-coded kind iPhones take and macOS ships as desktop pictures),
// decoded by libheif rather than through gdk-pixbuf: libheif reads the size from the header
// without decoding, and says what is wrong with a damaged file.
#pragma once

#include <optional>
#include <string>

#include "frontend/screenshot/pictures.h"

namespace tidra::sim::shot {

// "HEIC" or "HEIF" when the file's first box names a HEIF brand, whatever its name; nothing for
// any other file, and for AVIF, which a Mac decodes only from macOS 13 on.
std::optional<std::string> heifKind(const std::string& realPath);

// As loadPicture, for a file heifKind recognises; `kind` names it in the reasons.
Picture loadHeifPicture(const std::string& realPath, const std::string& kind, double coverWidth,
                        double coverHeight);

}  // namespace tidra::sim::shot
