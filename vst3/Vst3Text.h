// SPDX-License-Identifier: GPL-3.0-or-later
// Text conversions at the VST3 boundary: the framework's 8-bit texts widen one character to
// one UTF-16 unit; host texts narrow each unit to its low byte. Both stop at capacity - 1
// units and always terminate, so a String128 is never overrun.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Vst3Text
{
inline void Widen(const char* src, Steinberg::Vst::TChar* dst, int capacity)
{
    if (dst == nullptr || capacity <= 0)
        return;
    int i = 0;
    for (; src != nullptr && src[i] != '\0' && i < capacity - 1; ++i)
        dst[i] = (Steinberg::Vst::TChar) (unsigned char) src[i];
    dst[i] = 0;
}

inline void Narrow(const Steinberg::Vst::TChar* src, char* dst, int capacity)
{
    if (dst == nullptr || capacity <= 0)
        return;
    int i = 0;
    for (; src != nullptr && src[i] != 0 && i < capacity - 1; ++i)
        dst[i] = (char) (src[i] & 0xFF);
    dst[i] = '\0';
}
} // namespace Vst3Text
