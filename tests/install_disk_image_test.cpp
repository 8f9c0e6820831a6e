// The walk through "hdiutil info -plist" output: well-formed, wrongly typed and garbled input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "install/disk_image_info.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/formats/plist_value.h"

namespace tidra {
namespace {

Data bytes(const std::string& s) {
    return Data(s.begin(), s.end());
}

const std::string kInfo = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>framework</key><string>671.100.2</string>
	<key>images</key>
	<array>
		<dict>
			<key>image-path</key><string>/Users/me/Downloads/Other.dmg</string>
			<key>system-entities</key>
			<array>
				<dict><key>content-hint</key><string>GUID_partition_scheme</string><key>dev-entry</key><string>/dev/disk4</string></dict>
				<dict><key>content-hint</key><string>Apple_HFS</string><key>dev-entry</key><string>/dev/disk4s1</string><key>mount-point</key><string>/Volumes/Other</string></dict>
			</array>
		</dict>
		<dict>
			<key>image-path</key><string>/Users/me/Downloads/Tidra.dmg</string>
			<key>system-entities</key>
			<array>
				<dict><key>dev-entry</key><string>/dev/disk5</string></dict>
				<dict><key>dev-entry</key><string>/dev/disk5s1</string><key>mount-point</key><string>/Volumes/Tidra</string></dict>
			</array>
		</dict>
	</array>
</dict>
</plist>
)";

TEST(DiskImageInfo, FindsTheDeviceAndStopsAtAnythingMisshapen) {
    sim::KeyedArchiver plists;
    const Value info = plists.propertyListWithData(bytes(kInfo));
    ASSERT_TRUE(info.isDictionary());
    EXPECT_EQ(diskImageDeviceIn(info, "/dev/disk5s1"), "/dev/disk5s1");
    EXPECT_EQ(diskImageDeviceIn(info, "/dev/disk4"), "/dev/disk4");
    EXPECT_EQ(diskImageDeviceIn(info, "/dev/disk1s1"), std::nullopt);
    EXPECT_EQ(diskImageDeviceIn(info, ""), std::nullopt);

    // A value of the wrong kind anywhere before the match ends the search.
    Value entityWithoutEntry = info;
    entityWithoutEntry.mutableDictionary()[Value("images")]
        .mutableArray()[0]
        .mutableDictionary()[Value("system-entities")]
        .mutableArray()[0] = Dictionary{{Value("content-hint"), Value("x")}};
    EXPECT_EQ(diskImageDeviceIn(entityWithoutEntry, "/dev/disk5s1"), std::nullopt);

    Value imageNotADictionary = info;
    imageNotADictionary.mutableDictionary()[Value("images")].mutableArray()[0] = Value("image");
    EXPECT_EQ(diskImageDeviceIn(imageNotADictionary, "/dev/disk5s1"), std::nullopt);

    Value numberEntry = info;
    numberEntry.mutableDictionary()[Value("images")]
        .mutableArray()[1]
        .mutableDictionary()[Value("system-entities")]
        .mutableArray()[1]
        .mutableDictionary()[Value("dev-entry")] = Value(5);
    EXPECT_EQ(diskImageDeviceIn(numberEntry, "/dev/disk5s1"), std::nullopt);

    for (const Value& other : {Value(), Value::null(), Value("images"), Value(Array{info}),
                               Value(Dictionary{{Value("images"), Value("none")}}),
                               Value(Dictionary{{Value("images"), Value(Array{})}})})
        EXPECT_EQ(diskImageDeviceIn(other, "/dev/disk5s1"), std::nullopt);
}

TEST(DiskImageInfo, GarbledOutputNeverCrashesTheWalk) {
    sim::KeyedArchiver plists;
    std::mt19937 random(7);
    const Data good = bytes(kInfo);
    const Data binary = *sim::toBinaryPlist(plists.propertyListWithData(good));
    for (int round = 0; round < 3000; ++round) {
        Data input = round % 2 ? good : binary;
        const int edits = 1 + int(random() % 8);
        for (int e = 0; e < edits && !input.empty(); ++e) {
            const size_t at = random() % input.size();
            switch (random() % 3) {
                case 0:
                    input[at] = std::uint8_t(random());
                    break;
                case 1:
                    input.erase(input.begin() + long(at));
                    break;
                default:
                    input.resize(at);
                    break;
            }
        }
        const Value parsed = plists.propertyListWithData(input);
        const auto found = diskImageDeviceIn(parsed, "/dev/disk5s1");
        if (found) {
            EXPECT_EQ(*found, "/dev/disk5s1");
        }
    }
    // Deep nesting and plain noise.
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "<array>";
    EXPECT_EQ(diskImageDeviceIn(plists.propertyListWithData(bytes(deep)), "/dev/disk5s1"),
              std::nullopt);
    EXPECT_EQ(diskImageDeviceIn(plists.propertyListWithData(bytes("hdiutil: info failed")),
                                "/dev/disk5s1"),
              std::nullopt);
    EXPECT_EQ(diskImageDeviceIn(plists.propertyListWithData({}), "/dev/disk5s1"), std::nullopt);
}

}  // namespace
}  // namespace tidra
