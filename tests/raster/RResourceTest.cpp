// SPDX-License-Identifier: GPL-3.0-or-later
// The resources of data/resources.txt, embedded into this program by parvel_embed_resources.
#include "RResource.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(RResource, LookupByTheLow16BitsOfTheId)
{
    struct Case
    {
        int id;
        bool found;
        size_t size;
    };
    for (const Case& c : {Case{201, true, 78}, Case{202, true, 69}, Case{204, true, 7}, Case{0x10000 + 201, true, 78},
                          Case{-65536 + 202, true, 69}, Case{200, false, 0}, Case{205, false, 0}, Case{0, false, 0}})
    {
        const void* data = nullptr;
        size_t size = 0;
        ASSERT_EQ(RFindResource(nullptr, c.id, data, size), c.found) << "id " << c.id;
        if (!c.found)
            continue;
        EXPECT_EQ(size, c.size) << "id " << c.id;
        EXPECT_EQ(std::memcmp(data, "\x89PNG\r\n\x1a", 7), 0) << "id " << c.id;
    }
}

TEST(RResource, PngNameRule)
{
    struct Case
    {
        const char* name;
        bool png;
    };
    for (const Case& c : {Case{"resources/gui/red_1-5.png", true}, Case{"A.PNG", true}, Case{"b.PnG", true},
                          Case{"dir.v2/knob.png", true}, Case{".png", true}, Case{"xpng", true}, Case{"png", false},
                          Case{"knob.pngx", false}, Case{"knob.png.bak", false}, Case{"knob.pn", false},
                          Case{"knob.", false}, Case{"knob", false}, Case{"p", false}, Case{"", false},
                          Case{nullptr, false}})
        EXPECT_EQ(RIsPngName(c.name), c.png) << (c.name ? c.name : "(null)");
}

TEST(RResource, LoadPngResource)
{
    auto quad = RLoadPngResource(nullptr, 201, "resources/gui/quad.png");
    ASSERT_TRUE(quad);
    ASSERT_EQ(quad->Width(), 2);
    ASSERT_EQ(quad->Height(), 2);
    EXPECT_EQ(quad->At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(quad->At(1, 0), 0x8000FF00u);
    EXPECT_EQ(quad->At(0, 1), 0xFF0000FFu);
    EXPECT_EQ(quad->At(1, 1), 0x00FFFFFFu);
    auto grey = RLoadPngResource(nullptr, 0x10000 + 202, "GRAY.PNG");
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->Width(), 3);
    EXPECT_EQ(grey->At(1, 0), 0xFF808080u);

    EXPECT_FALSE(RLoadPngResource(nullptr, 201, "quad.bmp")) << "name rule";
    EXPECT_FALSE(RLoadPngResource(nullptr, 201, nullptr)) << "no name";
    EXPECT_FALSE(RLoadPngResource(nullptr, 203, "cut.png")) << "truncated file";
    EXPECT_FALSE(RLoadPngResource(nullptr, 204, "short.png")) << "below 8 bytes";
    EXPECT_FALSE(RLoadPngResource(nullptr, 205, "missing.png")) << "no such id";
}
