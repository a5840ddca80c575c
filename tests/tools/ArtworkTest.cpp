// SPDX-License-Identifier: GPL-3.0-or-later
// The committed editor images: the sizes and frame counts the editor expects, frames that read
// the same whichever way the frame offset is rounded, and a generator run that reproduces every
// file byte for byte.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ImageSize
{
    const char* name;
    int frames;
    int width[3], height[3]; // the whole strip at 1.0, 1.5, 2.0
};

const ImageSize kImages[] = {
    {"Background", 1, {204, 306, 408}, {379, 569, 758}},
    {"red", 240, {28, 42, 56}, {6720, 10080, 13440}},
    {"yellow", 240, {28, 42, 56}, {6720, 10080, 13440}},
    {"green", 240, {28, 42, 56}, {6720, 10080, 13440}},
    {"blue", 240, {28, 42, 56}, {6720, 10080, 13440}},
    {"grey", 240, {28, 42, 56}, {6720, 10080, 13440}},
    {"locutorder", 8, {28, 42, 56}, {224, 336, 448}},
    {"hicutorder", 8, {28, 42, 56}, {224, 336, 448}},
    {"lowbutton", 2, {34, 51, 68}, {26, 39, 52}},
    {"lomidbutton", 2, {34, 51, 68}, {26, 39, 52}},
    {"himidbutton", 2, {34, 51, 68}, {26, 39, 52}},
    {"highbutton", 2, {34, 51, 68}, {26, 39, 52}},
    {"hpbutton", 2, {34, 51, 68}, {26, 39, 52}},
    {"lpbutton", 2, {34, 51, 68}, {26, 39, 52}},
    {"sizebutton", 3, {34, 51, 68}, {39, 59, 78}},
    {"font", 13, {5, 8, 10}, {91, 143, 182}},
    {"shelfswitch", 2, {34, 51, 68}, {24, 36, 48}},
};

std::string FileName(const ImageSize& image, int scale)
{
    const char* suffix[] = {"_1-0", "_1-5", "_2-0"};
    const std::string name = image.name;
    if (name == "Background" || scale > 0)
        return name + suffix[scale] + ".png";
    return name + ".png";
}

std::vector<char> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Decoded
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    int Alpha(int x, int y) const { return rgba[((size_t) y * width + x) * 4 + 3]; }
};

bool Decode(const fs::path& path, Decoded& out)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    out.width = (int) image.width;
    out.height = (int) image.height;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
}

// Width, height, bit depth, colour type and interlace method from the IHDR chunk.
struct Header
{
    int width = 0, height = 0, depth = 0, colourType = 0, interlace = 0;
};

Header ReadHeader(const std::vector<char>& bytes)
{
    auto u32 = [&](size_t at) {
        return (int) (((unsigned char) bytes[at] << 24) | ((unsigned char) bytes[at + 1] << 16) |
                      ((unsigned char) bytes[at + 2] << 8) | (unsigned char) bytes[at + 3]);
    };
    Header h;
    if (bytes.size() < 33 || std::string(bytes.data() + 12, 4) != "IHDR")
        return h;
    h.width = u32(16);
    h.height = u32(20);
    h.depth = (unsigned char) bytes[24];
    h.colourType = (unsigned char) bytes[25];
    h.interlace = (unsigned char) bytes[28];
    return h;
}

const fs::path kGui = PARVEL_GUI_DIR;

TEST(Artwork, EveryCommittedImageHasItsStripSizeAsRgba)
{
    for (const ImageSize& image : kImages)
        for (int scale = 0; scale < 3; ++scale) {
            const std::string file = FileName(image, scale);
            const Header h = ReadHeader(ReadFile(kGui / file));
            EXPECT_EQ(h.width, image.width[scale]) << file;
            EXPECT_EQ(h.height, image.height[scale]) << file;
            EXPECT_EQ(h.depth, 8) << file;
            EXPECT_EQ(h.colourType, 6) << file << " is not RGBA";
            EXPECT_EQ(h.interlace, 0) << file;
        }
}

// The editor finds frame i (from 0) of n in a strip H rows high at (int) (H * i / n + 0.5), which
// reads as H * i / n in floating point or in integers; a simpler rule takes i * (H / n). Rows that
// not every reading shows within the frame are left transparent, and every frame has content
// that differs from the frame before it.
TEST(Artwork, FramesReadTheSameUnderEveryFrameOffsetRuleAndAllDiffer)
{
    for (const ImageSize& image : kImages)
        for (int scale = 0; scale < 3; ++scale) {
            const std::string file = FileName(image, scale);
            Decoded d;
            ASSERT_TRUE(Decode(kGui / file, d)) << file;
            const int n = image.frames, h = d.height / n;
            std::vector<bool> shownByAll(d.height, false);
            for (int i = 0; i < n; ++i) {
                const int a = (int) ((double) d.height * i / n + 0.5), b = d.height * i / n, c = i * h;
                for (int y = std::max({a, b, c}); y < std::min({a, b, c}) + h; ++y)
                    shownByAll[y] = true;
            }
            for (int y = 0; y < d.height; ++y) {
                if (shownByAll[y])
                    continue;
                for (int x = 0; x < d.width; ++x)
                    ASSERT_EQ(d.Alpha(x, y), 0) << file << " has content at (" << x << ", " << y
                                                << "), a row not every reading of the frame offset shows";
            }
            const size_t frameBytes = (size_t) d.width * h * 4;
            for (int i = 0; i < n; ++i) {
                const auto* frame = d.rgba.data() + (size_t) i * frameBytes;
                bool content = false;
                for (size_t k = 3; k < frameBytes && !content; k += 4)
                    content = frame[k] != 0;
                EXPECT_TRUE(content) << file << " frame " << i << " is empty";
                if (i > 0) {
                    EXPECT_FALSE(std::equal(frame, frame + frameBytes, frame - frameBytes))
                        << file << " frame " << i << " repeats frame " << i - 1;
                }
            }
        }
}

TEST(Artwork, GeneratorReproducesTheCommittedFilesByteForByte)
{
    const fs::path out = fs::path(PARVEL_TEST_WORK_DIR) / "regenerated";
    fs::remove_all(out);
    const std::string command = std::string("\"") + PARVEL_ARTWORK_TOOL + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::set<std::string> expected, written, committed;
    for (const ImageSize& image : kImages)
        for (int scale = 0; scale < 3; ++scale)
            expected.insert(FileName(image, scale));
    for (const auto& entry : fs::directory_iterator(out))
        written.insert(entry.path().filename().string());
    for (const auto& entry : fs::directory_iterator(kGui))
        if (entry.path().extension() == ".png")
            committed.insert(entry.path().filename().string());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(committed, expected);
    for (const std::string& file : expected)
        EXPECT_TRUE(ReadFile(out / file) == ReadFile(kGui / file)) << file << " differs from the generator's output";
}

} // namespace
