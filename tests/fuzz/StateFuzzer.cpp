// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the state restore: any bytes as a host's state chunk. Built only with
// -DPARVEL_LIBFUZZER=ON and clang. The settings file is read from a temporary home.
#include "IStateChunk.h"
#include "Parvel.h"
#include "StateInvariants.h"
#include "TempHome.h"
#include "XmlStateBlob.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
std::unique_ptr<TempHome> home;
std::unique_ptr<Parvel> effect;

std::vector<uint8_t> Saved(Parvel& fx)
{
    IStateChunk c;
    fx.SerializeEffectState(c);
    return std::vector<uint8_t>(c.Data(), c.Data() + c.Size());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    home = std::make_unique<TempHome>();
    effect = std::make_unique<Parvel>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (size_t) XmlStateBlob::kMaxTextBytes * 2)
        return 0;
    IStateChunk chunk;
    chunk.PutBytes(data, (int) size);
    const std::vector<uint8_t> before = Saved(*effect);
    const bool readable = XmlStateBlob::Read(chunk, 0).has_value();
    if (effect->UnserializeEffectState(chunk, 0) != chunk.Size())
        std::abort();
    const std::string violation = StateViolation(*effect);
    if (! violation.empty())
    {
        std::fprintf(stderr, "%s\n", violation.c_str());
        std::abort();
    }
    if (! readable && Saved(*effect) != before)
        std::abort();
    return 0;
}
