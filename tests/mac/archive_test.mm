// Keyed archives and property lists read and written natively, checked against the simulated
// Mac's own decoder and the archives GNUstep wrote, under GNUstep's runtime.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "install/disk_image_info.h"
#include "mac/services.h"
#include "mac/value_bridge.h"
#include "sim/formats/keyed_archiver.h"

namespace tidra::mac {
namespace {

Data readFile(const std::string& name) {
    std::ifstream in(std::string(TIDRA_TEST_DATA_DIR) + "/keyed-archives/" + name,
                     std::ios::binary);
    return Data((std::istreambuf_iterator<char>(in)), {});
}

Value wallpapers() {
    return Value(Dictionary{
        {Value(1), Value(Url::fileURLWithPath("/Users/me/Pictures/Beach Day.jpg"))},
        {Value(std::int64_t(69732928)),
         Value(Url::fileURLWithPath("/Library/Desktop Pictures/Monterey Graphic.heic"))}});
}

Value wallpapersOptions() {
    return Value(Dictionary{
        {Value(1),
         Value(Dictionary{{Value("NSWorkspaceDesktopImageScalingKey"), Value(3)},
                          {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(true)}})},
        {Value(std::int64_t(69732928)), Value(Dictionary{})}});
}

TEST(MacArchiver, RecordsTravelBetweenTheNativeAndTheSimulatedArchiver) {
    @autoreleasepool {
        auto native = makeArchiver();
        sim::KeyedArchiver simulated;
        for (const Value& record : {wallpapers(), wallpapersOptions()}) {
            const Data nativeBytes = native->archivedDataWithRootObject(record);
            ASSERT_FALSE(nativeBytes.empty());
            EXPECT_EQ(simulated.unarchiveObjectWithData(nativeBytes), record);
            EXPECT_EQ(native->unarchiveObjectWithData(nativeBytes), record);
            EXPECT_EQ(native->unarchiveObjectWithData(simulated.archivedDataWithRootObject(record)),
                      record);
        }
    }
}

TEST(MacArchiver, ReadsTheStoredArchivesAndRefusesWhatIsNone) {
    @autoreleasepool {
        auto native = makeArchiver();
        EXPECT_EQ(native->unarchiveObjectWithData(readFile("wallpapers-2-screens.archive")),
                  wallpapers());
        EXPECT_EQ(native->unarchiveObjectWithData(readFile("wallpapersOptions-2-screens.archive")),
                  wallpapersOptions());
        const Value ten =
            native->unarchiveObjectWithData(readFile("wallpapers-10-entries.archive"));
        const Value eleven =
            native->unarchiveObjectWithData(readFile("wallpapers-11-entries.archive"));
        EXPECT_EQ(ten.dictionary().size(), 10u);
        EXPECT_EQ(eleven.dictionary().size(), 11u);
        EXPECT_EQ(eleven[Value(11)], Value(Url::fileURLWithPath("/Users/me/Pictures/p11.png")));
        EXPECT_TRUE(native->unarchiveObjectWithData(readFile("wallpapers-string-keys.archive"))
                        .isStringKeyedDictionary());
        EXPECT_EQ(native->unarchiveObjectWithData(readFile("wallpapers-array-root.archive")),
                  Value(Array{Value("x")}));

        for (const Data& junk : {Data{}, Data{'b', 'p', 'l', 'i', 's', 't'},
                                 Data{'<', 'p', 'l', 'i', 's', 't', '>'}, Data(64, 0xFF)})
            EXPECT_TRUE(native->unarchiveObjectWithData(junk).isNil());
        EXPECT_TRUE(native->archivedDataWithRootObject(Value()).empty());
    }
}

TEST(MacArchiver, ReadsHdiutilsPropertyList) {
    @autoreleasepool {
        const std::string info = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>framework</key><string>671.100.2</string>
	<key>images</key>
	<array>
		<dict>
			<key>image-path</key><string>/Users/me/Downloads/Tidra.dmg</string>
			<key>writeable</key><false/>
			<key>system-entities</key>
			<array>
				<dict><key>content-hint</key><string>GUID_partition_scheme</string><key>dev-entry</key><string>/dev/disk5</string></dict>
				<dict><key>dev-entry</key><string>/dev/disk5s1</string><key>mount-point</key><string>/Volumes/Tidra</string></dict>
			</array>
		</dict>
	</array>
</dict>
</plist>
)";
        auto native = makeArchiver();
        const Value parsed = native->propertyListWithData(Data(info.begin(), info.end()));
        ASSERT_TRUE(parsed.isDictionary());
        EXPECT_EQ(parsed[Value("images")].array()[0][Value("writeable")].kind(),
                  Value::Kind::Boolean);
        EXPECT_EQ(diskImageDeviceIn(parsed, "/dev/disk5s1"), "/dev/disk5s1");
        EXPECT_EQ(diskImageDeviceIn(parsed, "/dev/disk4"), std::nullopt);
        const std::string refusal = "hdiutil: info failed - no such device\n";
        EXPECT_TRUE(native->propertyListWithData(Data(refusal.begin(), refusal.end())).isNil());
        EXPECT_TRUE(native->propertyListWithData({}).isNil());
    }
}

}  // namespace
}  // namespace tidra::mac
