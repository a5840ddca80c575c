// SPDX-License-Identifier: GPL-3.0-or-later
// Program and bank chunks through effGetChunk and effSetChunk: the framework header, round trips
// between instances, blocks without the header, and refused blocks that change nothing.
#include "Vst2TestHost.h"

#include "ParvelParams.h"

#include <cstdint>
#include <cstring>
#include <random>

namespace
{
constexpr bool kProgram = false;
constexpr bool kBank = true;
const std::vector<char> kHeader = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};

uint32_t ReadLE32(const std::vector<char>& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | (unsigned char) bytes[at + (size_t) i];
    return v;
}

// A plug-in whose every parameter and whose program name differ from a fresh one's.
void MakeDistinct(Vst2Instance& plugin, int seed)
{
    for (VstInt32 i = 0; i < plugin.effect()->numParams; ++i)
        plugin.setParameter(i, (float) ((i * 37 + seed * 11) % 97) / 96.0f);
    plugin.dispatch(effSetProgramName, 0, 0, const_cast<char*>(seed % 2 ? "Odd" : "Even"));
}
} // namespace

TEST(IPlugVSTState, ProgramChunkIsTheHeaderFollowedByTheEffectState)
{
    TestPlugin plugin;
    const std::vector<char> chunk = plugin->getChunk(kProgram);
    ASSERT_GT(chunk.size(), 17u);
    EXPECT_EQ(std::vector<char>(chunk.begin(), chunk.begin() + 8), kHeader);
    EXPECT_EQ(std::string(chunk.begin() + 8, chunk.begin() + 12), "VC2!");
    // The effect's state: magic, text length n, the text and a zero byte; the chunk is 8 more.
    const uint32_t n = ReadLE32(chunk, 12);
    EXPECT_EQ(chunk.size(), (size_t) n + 9 + 8);
    EXPECT_EQ(chunk.back(), '\0');
    EXPECT_EQ(std::string(chunk.begin() + 16, chunk.begin() + 24), "<PARVEL ");

    const std::vector<char> bank = plugin->getChunk(kBank);
    ASSERT_GT(bank.size(), 8u + 4 + 5 + 1);
    EXPECT_EQ(std::vector<char>(bank.begin(), bank.begin() + 8), kHeader);
    EXPECT_EQ(ReadLE32(bank, 8), 5u);
    EXPECT_EQ(std::string(bank.begin() + 12, bank.begin() + 17), "Empty");
    EXPECT_EQ(bank[17], 1) << "the preset holds a state";
    EXPECT_EQ(std::vector<char>(bank.begin() + 18, bank.end()), std::vector<char>(chunk.begin() + 8, chunk.end()))
        << "the bank's one preset holds the present state";

    void* data = nullptr;
    EXPECT_EQ(plugin->dispatch(effGetChunk, 1, 0, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(effGetChunk, 1, 0, &data), (VstIntPtr) chunk.size());
}

// A chunk saved by one instance restores every parameter, and the program name with a bank,
// in another; the other then saves the very same bytes.
TEST(IPlugVSTState, ChunksOfOneInstanceRestoreAnother)
{
    for (bool bank : {kProgram, kBank})
    {
        TestPlugin source;
        MakeDistinct(*source, 1);
        const std::vector<char> chunk = source->getChunk(bank);

        TestPlugin target;
        ASSERT_NE(target.values(), source.values());
        EXPECT_EQ(target->setChunk(bank, chunk), 1) << (bank ? "bank" : "program");
        EXPECT_EQ(target.values(), source.values()) << (bank ? "bank" : "program");
        EXPECT_EQ(target->getChunk(bank), chunk) << (bank ? "bank" : "program");
        if (bank)
        {
            EXPECT_EQ(target->text(effGetProgramName), "Odd");
        }
        EXPECT_EQ(target.host.count(audioMasterAutomate), 0);
    }

    // The host may hand back the very bytes effGetChunk gave it.
    TestPlugin plugin;
    void* data = nullptr;
    const VstIntPtr size = plugin->dispatch(effGetChunk, 0, 0, &data);
    EXPECT_EQ(plugin->dispatch(effSetChunk, 0, size, data), 1);
}

// A block without the framework header is read as effect state from its start, for a program
// and for a bank alike.
TEST(IPlugVSTState, BlocksWithoutTheHeaderAreEffectStates)
{
    TestPlugin source;
    MakeDistinct(*source, 2);
    const std::vector<char> chunk = source->getChunk(kProgram);
    const std::vector<char> bare(chunk.begin() + 8, chunk.end());
    for (bool bank : {kProgram, kBank})
    {
        TestPlugin target;
        EXPECT_EQ(target->setChunk(bank, bare), 1);
        EXPECT_EQ(target.values(), source.values());
    }
}

// Damaged, truncated and foreign blocks are refused, and the refusal changes nothing: neither a
// parameter, nor the editor options, nor the program (the plug-in saves the same bytes after).
TEST(IPlugVSTState, RefusedChunksChangeNothing)
{
    TestPlugin source;
    MakeDistinct(*source, 3);
    const std::vector<char> program = source->getChunk(kProgram);
    const std::vector<char> bank = source->getChunk(kBank);

    std::vector<std::pair<std::string, std::vector<char>>> bad;
    // Every cut that loses more than the state's final zero byte.
    for (size_t n = 1; n + 1 < program.size(); n += (n < 40 || n + 40 > program.size()) ? 1 : 7)
        bad.emplace_back("program cut at " + std::to_string(n), std::vector<char>(program.begin(), program.begin() + (long) n));
    for (size_t n = 1; n + 1 < bank.size(); n += (n < 40 || n + 40 > bank.size()) ? 1 : 7)
        bad.emplace_back("bank cut at " + std::to_string(n), std::vector<char>(bank.begin(), bank.begin() + (long) n));
    auto damaged = [&](const std::vector<char>& from, size_t at, char to, const std::string& what) {
        std::vector<char> copy = from;
        copy[at] = to;
        bad.emplace_back(what, copy);
    };
    damaged(program, 8, 'X', "state magic");
    damaged(program, 12, 0, "state length 0");
    damaged(program, 15, (char) 0x80, "state length with the top bit");
    damaged(program, 16, 'x', "XML start");
    damaged(program, program.size() - 2, ' ', "XML end");
    damaged(bank, 8, (char) 0x7f, "preset name length");
    damaged(bank, 18, 'X', "preset state magic");
    damaged(bank, 30, '"', "preset XML");
    bad.emplace_back("header only", kHeader);
    std::vector<char> headerWithoutVersion(kHeader.begin(), kHeader.begin() + 6);
    bad.emplace_back("header without its version", headerWithoutVersion);
    std::mt19937 random(7);
    std::vector<char> noise(3000);
    for (char& c : noise)
        c = (char) random();
    bad.emplace_back("noise", noise);
    std::vector<char> framedNoise = kHeader;
    framedNoise.insert(framedNoise.end(), noise.begin(), noise.end());
    bad.emplace_back("noise after the header", framedNoise);
    const std::string json = "{\"plugin\": \"Other\", \"gain\": 3}";
    bad.emplace_back("another plug-in's text", std::vector<char>(json.begin(), json.end()));

    TestPlugin target;
    MakeDistinct(*target, 4);
    const std::vector<float> values = target.values();
    const std::vector<char> programBefore = target->getChunk(kProgram);
    const std::vector<char> bankBefore = target->getChunk(kBank);
    for (const auto& [what, bytes] : bad)
        for (bool asBank : {kProgram, kBank})
        {
            EXPECT_EQ(target->setChunk(asBank, bytes), 0) << what << (asBank ? " as a bank" : " as a program");
            ASSERT_EQ(target.values(), values) << what << (asBank ? " as a bank" : " as a program");
            ASSERT_EQ(target->getChunk(kProgram), programBefore) << what << (asBank ? " as a bank" : " as a program");
            ASSERT_EQ(target->getChunk(kBank), bankBefore) << what << (asBank ? " as a bank" : " as a program");
        }

    EXPECT_EQ(target->dispatch(effSetChunk, 1, 0, const_cast<char*>(program.data())), 0) << "no bytes";
    EXPECT_EQ(target->dispatch(effSetChunk, 1, -5, const_cast<char*>(program.data())), 0) << "a negative size";
    EXPECT_EQ(target->dispatch(effSetChunk, 1, (VstIntPtr) program.size(), nullptr), 0) << "no pointer";
    EXPECT_EQ(target.values(), values);
}
