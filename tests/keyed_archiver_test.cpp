#include "sim/formats/keyed_archiver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "sim/formats/plist_value.h"
#include "test_files.h"

namespace tidra::sim {
namespace {

Data readFixture(const std::string& name) {
    return testing::testData("keyed-archives/" + name);
}

Value fileUrl(const std::string& text) {
    return Value(*Url::fromString(text));
}

// The archive's property list with every UID shown as {"CF$UID": n}, as its XML form writes it:
// parsePlist alone refuses UIDs, which only keyed archives hold.
Value structureOf(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_UID: {
            std::uint64_t uid = 0;
            plist_get_uid_val(node, &uid);
            return Value(Dictionary{{Value("CF$UID"), Value(static_cast<std::int64_t>(uid))}});
        }
        case PLIST_ARRAY: {
            Array out;
            for (std::uint32_t i = 0; i < plist_array_get_size(node); ++i)
                out.push_back(structureOf(plist_array_get_item(node, i)));
            return Value(std::move(out));
        }
        case PLIST_DICT: {
            Dictionary out;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            for (;;) {
                char* key = nullptr;
                plist_t item = nullptr;
                plist_dict_next_item(node, it, &key, &item);
                if (!key) break;
                out[Value(std::string(key))] = structureOf(item);
                std::free(key);
            }
            std::free(it);
            return Value(std::move(out));
        }
        default:
            return fromPlist(node);
    }
}

Value archiveStructure(const Data& bytes) {
    PlistNode root = parsePlistNode(bytes);
    return root ? structureOf(root.get()) : Value();
}

TEST(KeyedArchiver, RoundTripsWallpaperAndOptionsDictionaries) {
    KeyedArchiver archiver;
    Dictionary wallpapers{{Value(1), fileUrl("file:///Users/me/Pictures/Beach%20Day.jpg")},
                          {Value(69732928), fileUrl("file:///Library/x.heic")}};
    Data bytes = archiver.archivedDataWithRootObject(Value(wallpapers));
    EXPECT_EQ(archiver.unarchiveObjectWithData(bytes), Value(wallpapers));
    EXPECT_EQ(bytes, archiver.archivedDataWithRootObject(Value(wallpapers)));  // deterministic

    Dictionary options{{Value("NSWorkspaceDesktopImageScalingKey"), Value(3)},
                       {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(true)},
                       {Value("$null"), Value("$null")}};
    Value back =
        archiver.unarchiveObjectWithData(archiver.archivedDataWithRootObject(Value(options)));
    EXPECT_EQ(back, Value(options));
    EXPECT_EQ(back["NSWorkspaceDesktopImageAllowClippingKey"].kind(), Value::Kind::Boolean);

    // The structure matches the platform's archiver: header keys, $null first, deduped records.
    Dictionary nested{{Value(1), Value(Dictionary{})},
                      {Value(2), Value(Dictionary{})},
                      {Value(3), Value(Array{Value("a"), Value("a")})}};
    Value archive = archiveStructure(archiver.archivedDataWithRootObject(Value(nested)));
    EXPECT_EQ(archive["$archiver"], Value("NSKeyedArchiver"));
    EXPECT_EQ(archive["$version"], Value(100000));
    const Array& objects = archive["$objects"].array();
    ASSERT_FALSE(objects.empty());
    EXPECT_EQ(objects[0], Value("$null"));
    int dictClasses = 0, strings = 0;
    for (const Value& o : objects) {
        if (o["$classname"] == Value("NSDictionary")) {
            ++dictClasses;
            EXPECT_EQ(o["$classes"], Value(Array{Value("NSDictionary"), Value("NSObject")}));
        }
        strings += o == Value("a");
    }
    EXPECT_EQ(dictClasses, 1);
    EXPECT_EQ(strings, 1);
}

TEST(KeyedArchiver, DecodesArchivesFromAnIndependentArchiver) {
    KeyedArchiver archiver;
    Value two = archiver.unarchiveObjectWithData(readFixture("wallpapers-2-screens.archive"));
    EXPECT_EQ(two, Value(Dictionary{
                       {Value(1), fileUrl("file:///Users/me/Pictures/Beach%20Day.jpg")},
                       {Value(69732928),
                        fileUrl("file:///Library/Desktop%20Pictures/Monterey%20Graphic.heic")}}));
    EXPECT_EQ(*two[Value(1)].url().path(), "/Users/me/Pictures/Beach Day.jpg");

    Value options =
        archiver.unarchiveObjectWithData(readFixture("wallpapersOptions-2-screens.archive"));
    EXPECT_EQ(options[Value(1)]["NSWorkspaceDesktopImageScalingKey"], Value(3));
    EXPECT_EQ(options[Value(1)]["NSWorkspaceDesktopImageAllowClippingKey"], Value(true));
    EXPECT_EQ(options[Value(69732928)], Value(Dictionary{}));

    for (int n : {10, 11}) {
        Value v = archiver.unarchiveObjectWithData(
            readFixture("wallpapers-" + std::to_string(n) + "-entries.archive"));
        ASSERT_TRUE(v.isNumberKeyedDictionary()) << n;
        EXPECT_EQ(v.dictionary().size(), size_t(n));
        EXPECT_EQ(v[Value(n)], fileUrl("file:///Users/me/Pictures/p" + std::to_string(n) + ".png"));
    }
    Value stringKeys =
        archiver.unarchiveObjectWithData(readFixture("wallpapers-string-keys.archive"));
    EXPECT_EQ(stringKeys, Value(Dictionary{{Value("1"), fileUrl("file:///x.png")}}));
    EXPECT_EQ(archiver.unarchiveObjectWithData(readFixture("wallpapers-array-root.archive")),
              Value(Array{Value("x")}));
}

TEST(KeyedArchiver, MalformedArchivesAnswerNil) {
    KeyedArchiver archiver;
    Data good = readFixture("wallpapers-2-screens.archive");
    ASSERT_FALSE(archiver.unarchiveObjectWithData(good).isNil());
    for (size_t cut : {size_t(0), size_t(8), good.size() / 2, good.size() - 1})
        EXPECT_TRUE(
            archiver.unarchiveObjectWithData(Data(good.begin(), good.begin() + cut)).isNil())
            << cut;
    EXPECT_TRUE(archiver.unarchiveObjectWithData(Data{'g', 'a', 'r', 'b', 'a', 'g', 'e'}).isNil());
    Data noise(4096);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = std::uint8_t(i * 7919 + 13);
    EXPECT_TRUE(archiver.unarchiveObjectWithData(noise).isNil());
    // Every single-byte corruption either decodes or answers nil; none may crash.
    for (size_t i = 0; i < good.size(); ++i) {
        Data bad = good;
        bad[i] ^= 0xFF;
        (void)archiver.unarchiveObjectWithData(bad);
    }

    auto xmlArchive = [](const std::string& archiverName, const std::string& objects, int root) {
        std::string xml =
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>$archiver</key><string>" +
            archiverName + "</string><key>$version</key><integer>100000</integer>" +
            "<key>$top</key><dict><key>root</key><dict><key>CF$UID</key><integer>" +
            std::to_string(root) + "</integer></dict></dict><key>$objects</key><array>" +
            "<string>$null</string>" + objects + "</array></dict></plist>";
        return Data(xml.begin(), xml.end());
    };
    auto uid = [](int n) {
        return "<dict><key>CF$UID</key><integer>" + std::to_string(n) + "</integer></dict>";
    };
    std::string arrayClass =
        "<dict><key>$classname</key><string>NSArray</string><key>$classes</key><array>"
        "<string>NSArray</string><string>NSObject</string></array></dict>";
    std::string selfArray = "<dict><key>$class</key>" + uid(2) + "<key>NS.objects</key><array>" +
                            uid(1) + "</array></dict>" + arrayClass;
    ASSERT_EQ(archiver.unarchiveObjectWithData(
                  xmlArchive("NSKeyedArchiver",
                             "<dict><key>$class</key>" + uid(2) + "<key>NS.objects</key><array>" +
                                 uid(3) + "</array></dict>" + arrayClass + "<string>x</string>",
                             1)),
              Value(Array{Value("x")}));
    EXPECT_TRUE(
        archiver.unarchiveObjectWithData(xmlArchive("NSKeyedArchiver", selfArray, 1)).isNil());
    EXPECT_TRUE(archiver.unarchiveObjectWithData(xmlArchive("NSArchiver", "<string>x</string>", 1))
                    .isNil());
    EXPECT_TRUE(
        archiver.unarchiveObjectWithData(xmlArchive("NSKeyedArchiver", "<string>x</string>", 9))
            .isNil());
    EXPECT_TRUE(archiver
                    .unarchiveObjectWithData(
                        xmlArchive("NSKeyedArchiver",
                                   "<dict><key>$class</key>" + uid(2) + "<key>NS.objects</key>" +
                                       "<string>no array</string></dict>" + arrayClass,
                                   1))
                    .isNil());
    // Arrays nested far deeper than any real archive.
    std::string deep;
    for (int i = 1; i <= 2000; ++i)
        deep += "<dict><key>$class</key>" + uid(2001) + "<key>NS.objects</key><array>" +
                uid(i + 1) + "</array></dict>";
    deep += arrayClass;
    EXPECT_TRUE(archiver.unarchiveObjectWithData(xmlArchive("NSKeyedArchiver", deep, 1)).isNil());
}

}  // namespace
}  // namespace tidra::sim
