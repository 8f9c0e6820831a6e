// The file types Tidra gives the open panel, read as extensions or type identifiers. A type the
// panel reads wrongly is one it drops, and a panel whose types are all dropped would take any file.
#include <gtest/gtest.h>

#include "mac/panel_file_types.h"

namespace tidra::mac {
namespace {

using Kind = PanelFileType::Kind;

TEST(MacPanelFileTypes, ExtensionsWithOrWithoutTheirDotAndTypeIdentifiersAreTold) {
    const struct {
        const char* given;
        Kind kind;
        const char* name;
    } cases[] = {
        {"png", Kind::Extension, "png"},
        {".png", Kind::Extension, "png"},
        {".JPEG", Kind::Extension, "JPEG"},
        {".tar.gz", Kind::Extension, "tar.gz"},
        {"public.png", Kind::Identifier, "public.png"},
        {"com.adobe.pdf", Kind::Identifier, "com.adobe.pdf"},
    };
    for (const auto& c : cases) {
        const auto read = readPanelFileType(c.given);
        ASSERT_TRUE(read.has_value()) << c.given;
        EXPECT_EQ(read->kind, c.kind) << c.given;
        EXPECT_EQ(read->name, c.name) << c.given;
    }
}

TEST(MacPanelFileTypes, WhatIsNeitherIsNothing) {
    for (const char* given : {"", ".", "..", "..png", "png.", "public..png", ".png."})
        EXPECT_FALSE(readPanelFileType(given).has_value()) << '"' << given << '"';
}

}  // namespace
}  // namespace tidra::mac
