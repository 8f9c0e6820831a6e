// Tidra.icns as the Mac build packs it from the icon set scripts/make-app-icon draws: every size
// macOS asks for, each under the type that names its size, and nothing packed from a wrong set.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "test_files.h"
#include "test_folder.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;

const fs::path kIconSet = fs::path(TIDRA_SOURCE_DIR) / "resources" / "Tidra.iconset";

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// make-icns's exit status; its messages go to `messages`.
int packIcns(const fs::path& iconSet, const fs::path& output, const fs::path& messages) {
    const std::string command = std::string(TIDRA_PYTHON) + " '" + TIDRA_SOURCE_DIR +
                                "/scripts/make-icns' '" + iconSet.string() + "' '" +
                                output.string() + "' 2>'" + messages.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Width and height from a PNG's header chunk.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    return {bigEndian(png, 16), bigEndian(png, 20)};
}

// Every picture of the set: its icns type, its size in pixels.
const std::map<std::string, std::pair<std::string, std::uint32_t>> kPictures = {
    {"icon_16x16.png", {"icp4", 16}},    {"icon_16x16@2x.png", {"ic11", 32}},
    {"icon_32x32.png", {"icp5", 32}},    {"icon_32x32@2x.png", {"ic12", 64}},
    {"icon_128x128.png", {"ic07", 128}}, {"icon_128x128@2x.png", {"ic13", 256}},
    {"icon_256x256.png", {"ic08", 256}}, {"icon_256x256@2x.png", {"ic14", 512}},
    {"icon_512x512.png", {"ic09", 512}}, {"icon_512x512@2x.png", {"ic10", 1024}},
};

TEST(AppIcon, EverySizeUpTo1024PixelsUnderTheTypeThatNamesIt) {
    const fs::path folder = testing::freshTestFolder("icns");
    ASSERT_EQ(packIcns(kIconSet, folder / "Tidra.icns", folder / "messages"), 0)
        << testing::readBytes(folder / "messages");
    const std::string icns = testing::readBytes(folder / "Tidra.icns");
    ASSERT_GE(icns.size(), 8u);
    EXPECT_EQ(icns.substr(0, 4), "icns");
    EXPECT_EQ(bigEndian(icns, 4), icns.size());

    std::map<std::string, std::string> entries;  // type: data
    for (std::size_t at = 8; at < icns.size();) {
        ASSERT_LE(at + 8, icns.size());
        const std::uint32_t length = bigEndian(icns, at + 4);
        ASSERT_GE(length, 8u);
        ASSERT_LE(at + length, icns.size()) << "entry at " << at << " runs past the end";
        EXPECT_TRUE(entries.emplace(icns.substr(at, 4), icns.substr(at + 8, length - 8)).second)
            << "type " << icns.substr(at, 4) << " twice";
        at += length;
    }
    EXPECT_EQ(entries.size(), kPictures.size());
    for (const auto& [file, entry] : kPictures) {
        const auto& [type, pixels] = entry;
        ASSERT_EQ(entries.count(type), 1u) << type << " (" << file << ") missing";
        EXPECT_EQ(pngSize(entries[type]), std::make_pair(pixels, pixels)) << type;
        EXPECT_EQ(entries[type], testing::readBytes(kIconSet / file)) << type << " is not " << file;
    }
}

TEST(AppIcon, AWrongOrMissingPictureStopsTheBuildAndLeavesTheLastIconWhole) {
    const fs::path folder = testing::freshTestFolder("icns");
    const fs::path set = folder / "Tidra.iconset";
    fs::copy(kIconSet, set);
    const fs::path icns = folder / "Tidra.icns";
    testing::writeBytes(icns, "the last build's icon");

    // The 1x picture where the 2x one belongs: half the pixels, a blurred icon on a Retina screen.
    fs::copy_file(set / "icon_32x32.png", set / "icon_32x32@2x.png",
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(packIcns(set, icns, folder / "messages"), 1);
    EXPECT_NE(testing::readBytes(folder / "messages")
                  .find("icon_32x32@2x.png: 32x32 pixels, must be 64x64"),
              std::string::npos)
        << testing::readBytes(folder / "messages");
    EXPECT_EQ(testing::readBytes(icns), "the last build's icon");

    fs::copy_file(kIconSet / "icon_32x32@2x.png", set / "icon_32x32@2x.png",
                  fs::copy_options::overwrite_existing);
    fs::remove(set / "icon_512x512@2x.png");
    EXPECT_EQ(packIcns(set, icns, folder / "messages"), 1);
    EXPECT_NE(testing::readBytes(folder / "messages").find("icon_512x512@2x.png"),
              std::string::npos);

    testing::writeBytes(set / "icon_512x512@2x.png", "GIF89a, not a PNG at all");
    EXPECT_EQ(packIcns(set, icns, folder / "messages"), 1);
    EXPECT_NE(testing::readBytes(folder / "messages").find("not a PNG file"), std::string::npos);
    EXPECT_EQ(testing::readBytes(icns), "the last build's icon");
    EXPECT_FALSE(fs::exists(folder / "Tidra.icns.partial"));
}

}  // namespace
}  // namespace tidra
