// SPDX-License-Identifier: GPL-3.0-or-later
#include "IStateChunk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace
{
std::vector<uint8_t> Bytes(const IStateChunk& chunk)
{
    return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

IStateChunk FromBytes(const std::vector<uint8_t>& bytes)
{
    IStateChunk chunk;
    chunk.PutBytes(bytes.data(), (int) bytes.size());
    return chunk;
}
} // namespace

TEST(IStateChunk, EncodingsAreLittleEndian)
{
    IStateChunk chunk;
    chunk.PutInt32(0x01020304);
    chunk.PutInt32(-2);
    chunk.PutDouble(1.0);
    chunk.PutBool(true);
    chunk.PutBool(false);
    chunk.PutString("abc");
    chunk.PutString("");
    const std::vector<uint8_t> expected = {
        0x04, 0x03, 0x02, 0x01,                         // int32
        0xFE, 0xFF, 0xFF, 0xFF,                         // -2
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, // 1.0
        0x01, 0x00,                                     // bools
        0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c',          // count, bytes, no terminator
        0x00, 0x00, 0x00, 0x00,                         // empty string
    };
    EXPECT_EQ(Bytes(chunk), expected);

    IStateChunk copy;
    copy.PutBytes(chunk);
    copy.PutBytes(copy);
    EXPECT_EQ(copy.Size(), 2 * chunk.Size()) << "PutBytes appends the other chunk without a count";
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), copy.Data() + chunk.Size()));
}

TEST(IStateChunk, ReadsReturnTheNextPosition)
{
    IStateChunk chunk;
    chunk.PutInt32(-123456);
    chunk.PutDouble(-0.125);
    chunk.PutBool(true);
    chunk.PutString("Freq_Lo");

    int32_t i = 0;
    double d = 0;
    bool b = false;
    std::string s;
    int pos = chunk.GetInt32(0, i);
    EXPECT_EQ(pos, 4);
    pos = chunk.GetDouble(pos, d);
    EXPECT_EQ(pos, 12);
    pos = chunk.GetBool(pos, b);
    EXPECT_EQ(pos, 13);
    pos = chunk.GetString(pos, s);
    EXPECT_EQ(pos, chunk.Size());
    EXPECT_EQ(i, -123456);
    EXPECT_EQ(d, -0.125);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, "Freq_Lo");
}

TEST(IStateChunk, ReadsOutsideTheChunkReportMinusOneAndKeepTheValue)
{
    IStateChunk chunk;
    chunk.PutDouble(2.0); // 8 bytes
    for (int pos : {-1, INT_MIN, 5, 8, INT_MAX, INT_MAX - 3})
    {
        int32_t i = 7;
        double d = 7;
        bool b = true;
        std::string s = "kept";
        EXPECT_EQ(chunk.GetInt32(pos, i), -1) << pos;
        EXPECT_EQ(chunk.GetDouble(pos == 5 ? 1 : pos, d), -1) << pos;
        EXPECT_EQ(chunk.GetBool(pos == 5 ? 8 : pos, b), -1) << pos;
        EXPECT_EQ(chunk.GetString(pos, s), -1) << pos;
        EXPECT_EQ(i, 7);
        EXPECT_EQ(d, 7);
        EXPECT_TRUE(b);
        EXPECT_EQ(s, "kept");
    }
}

TEST(IStateChunk, StringCountsThatLieAreRefused)
{
    const struct
    {
        int32_t count;
        int expectedPos; // chunk holds the count and 3 bytes "xyz"
        const char* expectedText;
    } cases[] = {
        {3, 7, "xyz"}, {2, 6, "xy"}, {0, 4, ""}, {-1, 4, ""}, {INT_MIN, 4, ""}, {4, -1, "kept"}, {INT_MAX, -1, "kept"},
    };
    for (const auto& c : cases)
    {
        IStateChunk chunk;
        chunk.PutInt32(c.count);
        chunk.PutBytes("xyz", 3);
        std::string text = "kept";
        EXPECT_EQ(chunk.GetString(0, text), c.expectedPos) << "count " << c.count;
        EXPECT_EQ(text, c.expectedText) << "count " << c.count;
    }
}

TEST(IStateChunk, FrameworkHeader)
{
    IStateChunk chunk;
    chunk.PutString("old content");
    IStateChunk::WriteChunkHeader(chunk);
    EXPECT_EQ(Bytes(chunk), (std::vector<uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));

    chunk.PutDouble(1.0);
    int pos = 0;
    EXPECT_EQ(IStateChunk::ReadChunkHeader(chunk, pos), 65536);
    EXPECT_EQ(pos, 8);
}

TEST(IStateChunk, ReadChunkHeaderOnForeignOrShortBlocks)
{
    const std::string xml = "<?xml version=\"1.0\"?><PARVEL/>";
    const struct
    {
        std::vector<uint8_t> bytes;
        int startPos;
        int version;
        int pos;
    } cases[] = {
        {std::vector<uint8_t>(xml.begin(), xml.end()), 0, 0, 0},
        {{}, 0, 0, 0},
        {{0x74, 0x66, 0x66}, 0, 0, 0},
        {{0x74, 0x66, 0x66, 0x70}, 0, 0, -1},
        {{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01}, 0, 0, -1},
        {{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}, -4, 0, -4},
        {{0xAA, 0x74, 0x66, 0x66, 0x70, 0x05, 0x00, 0x00, 0x00}, 1, 5, 9},
    };
    for (const auto& c : cases)
    {
        const IStateChunk chunk = FromBytes(c.bytes);
        int pos = c.startPos;
        EXPECT_EQ(IStateChunk::ReadChunkHeader(chunk, pos), c.version) << c.bytes.size() << " bytes";
        EXPECT_EQ(pos, c.pos) << c.bytes.size() << " bytes";
    }
}

TEST(IStateChunk, ResizeClearAndRawAppends)
{
    IStateChunk chunk;
    EXPECT_TRUE(chunk.Resize(5000));
    EXPECT_EQ(chunk.Size(), 5000);
    EXPECT_EQ(std::count(chunk.Data(), chunk.Data() + 5000, 0), 5000);
    EXPECT_TRUE(chunk.Resize(-3));
    EXPECT_EQ(chunk.Size(), 0);

    EXPECT_FALSE(chunk.PutBytes(nullptr, 4));
    EXPECT_FALSE(chunk.PutBytes("abcd", -1));
    EXPECT_TRUE(chunk.PutBytes(nullptr, 0));
    EXPECT_EQ(chunk.Size(), 0);
    EXPECT_TRUE(chunk.PutBytes("abcd", 4));
    chunk.Clear();
    EXPECT_EQ(chunk.Size(), 0);
}
