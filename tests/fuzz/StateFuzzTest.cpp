// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic mutations of a valid state blob fed to UnserializeEffectState: byte flips,
// insertions, deletions, cuts, lying length fields and hostile tokens spliced into the text.
// Whatever arrives, the effect stays within its ranges, a chunk that is not a readable state
// changes nothing, and the audio that follows stays finite.
#include "IStateChunk.h"
#include "Parvel.h"
#include "StateInvariants.h"
#include "TempHome.h"
#include "XmlStateBlob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

constexpr int kMutations = 3000;

const char* const kTokens[] = {
    "nan", "-nan", "inf", "-inf", "1e999", "-1e999", "1e-320", "0x10", "  7", "-", "\"", "'", "<", ">", "/>",
    "</PARVEL>", "<PARAM id=\"Gain\" value=\"nan\"/>", "<PARAM id=\"Freq_HP\" value=\"-1e308\"/>", "&amp;",
    "&#x110000;", "&#0;", "&#99999999999;", "&unknown;", "&<a<b<c;", "<![CDATA[x]]>", "<!-- c -->",
    "<!DOCTYPE d [<!ENTITY e \"&e;\">]>", "<?pi x?>", "wdl=\"0\"", "guisize=\"1e308\"", "\xc3\x28", "\xf4\x90\x80\x80",
    "\xff",
};

Bytes Saved(Parvel& fx)
{
    IStateChunk c;
    fx.SerializeEffectState(c);
    return Bytes(c.Data(), c.Data() + c.Size());
}

void PutLE32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4 && at + (size_t) i < b.size(); ++i)
        b[at + (size_t) i] = (uint8_t) (v >> (8 * i));
}

Bytes Mutate(const Bytes& seed, std::mt19937& rng)
{
    Bytes b = seed;
    const auto pick = [&](size_t n) { return n == 0 ? (size_t) 0 : (size_t) (rng() % n); };
    const int steps = 1 + (int) (rng() % 4);
    for (int s = 0; s < steps; ++s)
    {
        switch (rng() % 9)
        {
        case 0: // flip bits of one byte
            if (! b.empty())
                b[pick(b.size())] ^= (uint8_t) (1u << (rng() % 8));
            break;
        case 1: // a random byte
            if (! b.empty())
                b[pick(b.size())] = (uint8_t) rng();
            break;
        case 2: // cut the tail
            b.resize(pick(b.size() + 1));
            break;
        case 3: // delete a range
            if (! b.empty())
            {
                const size_t at = pick(b.size());
                b.erase(b.begin() + (long) at, b.begin() + (long) std::min(b.size(), at + 1 + pick(64)));
            }
            break;
        case 4: // splice a hostile token
        {
            const char* t = kTokens[pick(sizeof(kTokens) / sizeof(kTokens[0]))];
            b.insert(b.begin() + (long) pick(b.size() + 1), t, t + std::strlen(t));
            break;
        }
        case 5: // the length field lies
        {
            const uint32_t lies[] = {0u, 1u, 8u, 0x7fffffffu, 0x80000000u, 0xffffffffu, (uint32_t) rng(),
                                     (uint32_t) b.size(), (uint32_t) b.size() - 20u};
            PutLE32(b, 4, lies[pick(sizeof(lies) / sizeof(lies[0]))]);
            break;
        }
        case 6: // a digit somewhere in the text
            if (b.size() > 8)
                b[8 + pick(b.size() - 8)] = (uint8_t) ('0' + rng() % 10);
            break;
        case 7: // duplicate a range
            if (! b.empty())
            {
                const size_t at = pick(b.size());
                const Bytes part(b.begin() + (long) at, b.begin() + (long) std::min(b.size(), at + 1 + pick(200)));
                b.insert(b.begin() + (long) pick(b.size() + 1), part.begin(), part.end());
            }
            break;
        default: // garbage after the blob
            for (int i = 0, n = (int) pick(16); i < n; ++i)
                b.push_back((uint8_t) rng());
            break;
        }
    }
    return b;
}

std::vector<double> Noise(size_t n, std::mt19937& rng)
{
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    std::vector<double> v(n);
    for (double& s : v)
        s = d(rng);
    return v;
}
} // namespace

TEST(StateFuzz, MutatedStatesKeepTheEffectSound)
{
    TempHome home;
    Parvel source;
    source.Options().sizeIndex = 1;
    source.SetAnalyserOn(true);
    for (int i = 0; i < kNumParvelParams; ++i)
        source.Param(i)->SetPlain(source.Param(i)->Max());
    Parvel fresh;
    const Bytes seeds[] = {Saved(source), Saved(fresh)};

    Parvel fx;
    fx.ChangeSampleRate(44100.0);
    fx.ChangeBlockSize(64);
    std::mt19937 rng(20240611u);
    const std::vector<double> in = Noise(64, rng);
    std::vector<double> out0(64), out1(64);

    int accepted = 0;
    for (int k = 0; k < kMutations; ++k)
    {
        const Bytes mutated = Mutate(seeds[k % 2], rng);
        IStateChunk chunk;
        chunk.PutBytes(mutated.data(), (int) mutated.size());
        const Bytes before = Saved(fx);

        const bool readable = XmlStateBlob::Read(chunk, 0).has_value();
        ASSERT_EQ(fx.UnserializeEffectState(chunk, 0), chunk.Size()) << "mutation " << k;
        const std::string violation = StateViolation(fx);
        ASSERT_TRUE(violation.empty()) << "mutation " << k << ": " << violation;
        if (! readable)
        {
            ASSERT_EQ(Saved(fx), before) << "mutation " << k << " was refused but changed the effect";
            continue;
        }
        ++accepted;
        double* ins[2] = {const_cast<double*>(in.data()), const_cast<double*>(in.data())};
        double* outs[2] = {out0.data(), out1.data()};
        fx.RenderBlock(ins, outs, 64);
        for (size_t i = 0; i < out0.size(); ++i)
            ASSERT_TRUE(std::isfinite(out0[i]) && std::isfinite(out1[i])) << "mutation " << k << " sample " << i;
    }
    // Both outcomes must have been exercised for the test to mean anything.
    EXPECT_GT(accepted, kMutations / 20);
    EXPECT_LT(accepted, kMutations - kMutations / 20);
}
