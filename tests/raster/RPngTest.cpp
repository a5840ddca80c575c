// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder against files written by libpng's writer: every colour type becomes the expected
// straight-alpha pixels exactly; every truncation and every damaged byte of a file gives null.
#include "RPng.h"
#include "TestPng.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>

namespace
{
struct RoundTrip
{
    const char* name;
    TestPngSpec spec;
    std::vector<RPixel> expected; // row by row
};

std::vector<RoundTrip> RoundTrips()
{
    std::vector<RoundTrip> cases;
    {
        TestPngSpec s;
        s.width = 2, s.height = 2;
        s.rows = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 255, 255, 255, 255, 0};
        cases.push_back({"rgba8", s, {0xFFFF0000, 0x8000FF00, 0xFF0000FF, 0x00FFFFFF}});
    }
    {
        TestPngSpec s;
        s.width = 3, s.colourType = PNG_COLOR_TYPE_RGB;
        s.rows = {1, 2, 3, 250, 128, 7, 0, 0, 0};
        cases.push_back({"rgb8", s, {0xFF010203, 0xFFFA8007, 0xFF000000}});
    }
    {
        TestPngSpec s;
        s.width = 2, s.colourType = PNG_COLOR_TYPE_GRAY;
        s.rows = {0x40, 0xC0};
        cases.push_back({"grey8", s, {0xFF404040, 0xFFC0C0C0}});
    }
    {
        TestPngSpec s;
        s.width = 2, s.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
        s.rows = {0x40, 0x00, 0xC0, 0x99};
        cases.push_back({"greyalpha8", s, {0x00404040, 0x99C0C0C0}});
    }
    {
        TestPngSpec s;
        s.width = 10, s.colourType = PNG_COLOR_TYPE_GRAY, s.bitDepth = 1;
        s.rows = {0xA0, 0x40}; // 1010 0000 01
        std::vector<RPixel> e(10, 0xFF000000);
        e[0] = e[2] = e[9] = 0xFFFFFFFF;
        cases.push_back({"grey1", s, e});
    }
    {
        TestPngSpec s;
        s.width = 2, s.colourType = PNG_COLOR_TYPE_GRAY, s.bitDepth = 8;
        s.rows = {7, 8};
        s.greyKey = true, s.greyKeyValue = 7;
        cases.push_back({"grey8 with key", s, {0x00070707, 0xFF080808}});
    }
    {
        TestPngSpec s;
        s.width = 3, s.colourType = PNG_COLOR_TYPE_PALETTE, s.bitDepth = 2;
        s.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
        s.paletteAlpha = {0, 100};
        s.rows = {0x24}; // indices 0, 2, 1
        cases.push_back({"palette2 with alpha", s, {0x000A141E, 0xFF46505A, 0x6428323C}});
    }
    {
        TestPngSpec s;
        s.width = 1, s.height = 2, s.bitDepth = 16;
        // 16-bit samples are rounded, not cut, to 8 bits: 0x10D8 -> 0x11, 0x1074 -> 0x10.
        s.rows = {0x10, 0xD8, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80, 0x10, 0x74, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00};
        cases.push_back({"rgba16", s, {0x8011FF00, 0x001000FF}});
    }
    {
        TestPngSpec s;
        s.width = 9, s.height = 9, s.colourType = PNG_COLOR_TYPE_RGB, s.interlaced = true;
        std::vector<RPixel> e;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x)
            {
                const uint8_t r = (uint8_t) (x * 28), g = (uint8_t) (y * 28), b = (uint8_t) (x * y);
                s.rows.insert(s.rows.end(), {r, g, b});
                e.push_back(RPack(255, r, g, b));
            }
        cases.push_back({"rgb8 interlaced", s, e});
    }
    return cases;
}

std::vector<uint8_t> SmallPng()
{
    TestPngSpec s;
    s.width = 3, s.height = 2;
    s.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    return EncodeTestPng(s);
}
} // namespace

TEST(RPng, EveryColourTypeDecodesToStraightArgb)
{
    for (const RoundTrip& c : RoundTrips())
    {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file = EncodeTestPng(c.spec);
        ASSERT_FALSE(file.empty());
        auto bmp = RDecodePng(file.data(), file.size());
        ASSERT_TRUE(bmp);
        ASSERT_EQ(bmp->Width(), c.spec.width);
        ASSERT_EQ(bmp->Height(), c.spec.height);
        for (int y = 0; y < c.spec.height; ++y)
            for (int x = 0; x < c.spec.width; ++x)
                EXPECT_EQ(bmp->At(x, y), c.expected[(size_t) y * c.spec.width + x]) << "pixel " << x << ", " << y;
    }
}

TEST(RPng, EveryTruncationGivesNull)
{
    const std::vector<uint8_t> file = SmallPng();
    ASSERT_TRUE(RDecodePng(file.data(), file.size()));
    for (size_t n = 0; n < file.size(); ++n)
    {
        // A copy of exactly n bytes, so that ASan sees any read past them.
        std::vector<uint8_t> cut(file.begin(), file.begin() + n);
        EXPECT_FALSE(RDecodePng(cut.data(), cut.size())) << "cut to " << n << " bytes";
    }
}

TEST(RPng, EveryDamagedByteGivesNull)
{
    const std::vector<uint8_t> file = SmallPng();
    for (uint8_t flip : {0x01, 0x80, 0xFF})
        for (size_t i = 0; i < file.size(); ++i)
        {
            std::vector<uint8_t> bad = file;
            bad[i] ^= flip;
            EXPECT_FALSE(RDecodePng(bad.data(), bad.size())) << "byte " << i << " xor " << (int) flip;
        }
}

TEST(RPng, NonPngInputGivesNull)
{
    const std::string jpeg = "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00";
    const std::string text = "just some text that is not an image";
    EXPECT_FALSE(RDecodePng(nullptr, 100));
    EXPECT_FALSE(RDecodePng(text.data(), 0));
    EXPECT_FALSE(RDecodePng(jpeg.data(), jpeg.size()));
    EXPECT_FALSE(RDecodePng(text.data(), text.size()));
    // The signature alone, and the signature followed by garbage.
    const std::vector<uint8_t> file = SmallPng();
    std::vector<uint8_t> sigOnly(file.begin(), file.begin() + 8);
    EXPECT_FALSE(RDecodePng(sigOnly.data(), sigOnly.size()));
    sigOnly.insert(sigOnly.end(), text.begin(), text.end());
    EXPECT_FALSE(RDecodePng(sigOnly.data(), sigOnly.size()));
}

TEST(RPng, TooFewRowsGiveNull)
{
    // Well-formed chunks with good checksums whose compressed data holds 2 of the 4 rows.
    auto chunk = [](std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
    {
        const uint32_t n = (uint32_t) data.size();
        out.insert(out.end(), {(uint8_t) (n >> 24), (uint8_t) (n >> 16), (uint8_t) (n >> 8), (uint8_t) n});
        const size_t typeAt = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), data.begin(), data.end());
        const uint32_t crc = (uint32_t) crc32(0, out.data() + typeAt, (uInt) (4 + n));
        out.insert(out.end(), {(uint8_t) (crc >> 24), (uint8_t) (crc >> 16), (uint8_t) (crc >> 8), (uint8_t) crc});
    };
    for (int rows : {2, 4})
    {
        std::vector<uint8_t> raw;
        for (int y = 0; y < rows; ++y)
        {
            raw.push_back(0); // filter: none
            raw.insert(raw.end(), 4 * 4, (uint8_t) (40 * y));
        }
        std::vector<uint8_t> packed(compressBound((uLong) raw.size()));
        uLongf packedSize = (uLongf) packed.size();
        ASSERT_EQ(compress(packed.data(), &packedSize, raw.data(), (uLong) raw.size()), Z_OK);
        packed.resize(packedSize);
        std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        chunk(file, "IHDR", {0, 0, 0, 4, 0, 0, 0, 4, 8, 6, 0, 0, 0});
        chunk(file, "IDAT", packed);
        chunk(file, "IEND", {});
        EXPECT_EQ((bool) RDecodePng(file.data(), file.size()), rows == 4) << rows << " rows";
    }
}

TEST(RPng, OversizedImagesAreRefused)
{
    struct Case
    {
        int width, height;
        bool decodes;
    };
    // One-bit grey keeps the files small; the limits are on pixels, not bytes.
    for (const Case& c : {Case{kRPngMaxSide, 1, true}, Case{kRPngMaxSide + 1, 1, false},
                          Case{8192, (int) (kRPngMaxPixels / 8192) + 1, false}})
    {
        TestPngSpec s;
        s.width = c.width, s.height = c.height, s.colourType = PNG_COLOR_TYPE_GRAY, s.bitDepth = 1;
        s.rows.assign((size_t) (c.width + 7) / 8 * c.height, 0);
        const std::vector<uint8_t> file = EncodeTestPng(s);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ((bool) RDecodePng(file.data(), file.size()), c.decodes) << c.width << " x " << c.height;
    }
}
