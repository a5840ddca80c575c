// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in's saved state through IComponent and IEditController: round trips, damaged
// bytes and hosts whose streams misreport their size.
#include "Vst3TestHost.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kBypass = 0x62706173;
}

namespace
{
// A host stream that claims a size it does not deliver, or cannot seek, or refuses writes.
class HostileStream : public IBStream
{
public:
    HostileStream(std::vector<char> content, int64 claimedSize, bool canSeek, bool canWrite = true)
        : bytes(std::move(content)), claimed(claimedSize), seekable(canSeek), writable(canWrite)
    {
    }
    tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) SMTG_OVERRIDE
    {
        const int32 n = (int32) std::min<int64>(numBytes, (int64) bytes.size() - cursor);
        if (n > 0)
            std::memcpy(buffer, bytes.data() + cursor, (size_t) n);
        cursor += std::max(n, 0);
        if (numBytesRead)
            *numBytesRead = std::max(n, 0);
        return kResultOk;
    }
    tresult PLUGIN_API write(void*, int32, int32* written) SMTG_OVERRIDE
    {
        if (written)
            *written = 0;
        return writable ? kResultOk : kResultFalse;
    }
    tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) SMTG_OVERRIDE
    {
        if (!seekable)
            return kNotImplemented;
        cursor = mode == kIBSeekEnd ? claimed : pos;
        if (result)
            *result = cursor;
        cursor = std::min<int64>(cursor, (int64) bytes.size());
        return kResultOk;
    }
    tresult PLUGIN_API tell(int64* pos) SMTG_OVERRIDE
    {
        if (pos)
            *pos = cursor;
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) SMTG_OVERRIDE
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::vector<char> bytes;
    int64 claimed;
    bool seekable;
    bool writable;
    int64 cursor = 0;
};

// The saved state with one attribute text replaced and the blob's length field adjusted:
// magic, 32-bit text length, the XML text, a zero byte, then the 4-byte bypass flag.
std::vector<char> EditState(const std::vector<char>& state, const std::string& from, const std::string& to)
{
    std::string text(state.begin() + 8, state.end() - 5);
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    std::string out(state.begin(), state.begin() + 8);
    const uint32 n = (uint32) text.size();
    for (int i = 0; i < 4; ++i)
        out[(size_t) (4 + i)] = (char) ((n >> (8 * i)) & 0xFF);
    out += text;
    out.append(state.end() - 5, state.end());
    return std::vector<char>(out.begin(), out.end());
}

void ChangeEverything(TestPlugin& plug)
{
    ASSERT_EQ(plug.setup(32), kResultOk);
    TestBlock<float> block(2, 2, 32);
    for (ParamID id = 0; id < 25; ++id)
        block.changes.add(id, 0.3 + 0.02 * id);
    block.changes.add(kBypass, 1.0);
    ASSERT_EQ(plug.processor()->process(block.data), kResultOk);
}
} // namespace

TEST(IPlugVST3State, StateRoundTripRestoresEveryParameterOptionAndBypass)
{
    TestPlugin source;
    ChangeEverything(source);
    const std::vector<char> saved = source.getState();
    ASSERT_GT(saved.size(), 13u);
    EXPECT_EQ(std::vector<char>(saved.end() - 4, saved.end()), (std::vector<char>{1, 0, 0, 0}))
        << "the state ends with the bypass flag as a little-endian 1";

    TestPlugin target;
    ASSERT_EQ(target.setState(saved), kResultOk);
    EXPECT_EQ(target.paramValues(), source.paramValues());
    EXPECT_EQ(target.controller()->getParamNormalized(kBypass), 1.0);
    EXPECT_EQ(target.getState(), saved);

    // Options travel too: a state with other options comes back byte for byte.
    std::vector<char> options = EditState(saved, "showgain=\"0\"", "showgain=\"1\"");
    options = EditState(options, "showbgtext=\"1\"", "showbgtext=\"0\"");
    options[options.size() - 4] = 0;
    TestPlugin third;
    ASSERT_EQ(third.setState(options), kResultOk);
    EXPECT_EQ(third.getState(), options);
    EXPECT_EQ(third.controller()->getParamNormalized(kBypass), 0.0);

    IPtr<MemoryStream> viaController(new MemoryStream(), false);
    int32 written = 0;
    viaController->write(const_cast<char*>(saved.data()), (int32) saved.size(), &written);
    viaController->seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(target.controller()->setComponentState(viaController), kResultOk);
}

TEST(IPlugVST3State, DamagedStatesAreRefusedAndChangeNothing)
{
    TestPlugin good;
    ChangeEverything(good);
    const std::vector<char> saved = good.getState();

    TestPlugin plug;
    const std::vector<double> before = plug.paramValues();
    std::vector<char> hugeLength = {'V', 'C', '2', '!', (char) 0xFF, (char) 0xFF, (char) 0xFF, 0x7F, '<', 'P', 0, 1, 0, 0, 0};
    const std::vector<std::vector<char>> damaged = {
        {},
        {1, 0, 0},
        {'g', 'a', 'r', 'b', 'a', 'g', 'e', '!', 1, 0, 0, 0},
        hugeLength,
        std::vector<char>(saved.begin(), saved.begin() + (long) saved.size() / 2),
        EditState(saved, "<PARAM", "<<<<<<"),
        std::vector<char>(5000, 1),
    };
    for (size_t i = 0; i < damaged.size(); ++i)
    {
        EXPECT_EQ(plug.setState(damaged[i]), kResultFalse) << "damaged state " << i;
        EXPECT_EQ(plug.paramValues(), before) << "damaged state " << i;
        EXPECT_EQ(plug.controller()->getParamNormalized(kBypass), 0.0) << "damaged state " << i;
    }
    EXPECT_EQ(plug.component()->setState(nullptr), kResultFalse);
    EXPECT_EQ(plug.component()->getState(nullptr), kResultFalse);
    HostileStream refusesWrites({}, 0, true, false);
    EXPECT_EQ(plug.component()->getState(&refusesWrites), kResultFalse);
}

TEST(IPlugVST3State, StateReadingEndsWhenTheStreamRunsDry)
{
    TestPlugin good;
    ChangeEverything(good);
    const std::vector<char> saved = good.getState();

    TestPlugin claimsMore, cannotSeek;
    HostileStream overstated(saved, (int64) saved.size() + 100000, true);
    EXPECT_EQ(claimsMore.component()->setState(&overstated), kResultOk);
    EXPECT_EQ(claimsMore.paramValues(), good.paramValues());
    HostileStream unseekable(saved, 0, false);
    EXPECT_EQ(cannotSeek.component()->setState(&unseekable), kResultOk);
    EXPECT_EQ(cannotSeek.paramValues(), good.paramValues());
    EXPECT_EQ(cannotSeek.controller()->getParamNormalized(kBypass), 1.0);
}
