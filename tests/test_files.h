// Files read and written whole, byte for byte, on the host or below a simulated Mac's folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/value.h"

namespace tidra::testing {

// A file's bytes as a string (or as Data); empty when it cannot be read.
template <class Bytes = std::string>
Bytes readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces a file's bytes, making the folders above it.
inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
}
inline void writeBytes(const std::filesystem::path& file, const Data& bytes) {
    writeBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// A file kept in tests/data, e.g. "keyed-archives/wallpapers-2-screens.archive".
inline Data testData(const std::string& name) {
    return readBytes<Data>(std::filesystem::path(TIDRA_TEST_DATA_DIR) / name);
}

}  // namespace tidra::testing
