// SPDX-License-Identifier: GPL-3.0-or-later
// Texts crossing the VST2 interface. Every opcode that exchanges a text has a length limit
// (Vst2Interface.h, kVstMax...); the host's buffer holds that many characters and a zero. Texts
// going out are cut to the limit, at a character boundary, and always terminated; texts coming in
// are read no further than the limit.
#pragma once

#include <cstring>
#include <string>

namespace Vst2Text
{
// Copies at most maxChars bytes of text, ending before a cut UTF-8 sequence, then a zero:
// dst must hold maxChars + 1 bytes. A null text copies "".
inline void CopyOut(char* dst, const char* text, int maxChars)
{
    if (dst == nullptr || maxChars < 0)
        return;
    size_t n = text != nullptr ? strnlen(text, (size_t) maxChars + 1) : 0;
    if (n > (size_t) maxChars)
    {
        n = (size_t) maxChars;
        // Back off to the start of the sequence that the cut would split.
        size_t start = n;
        while (start > 0 && ((unsigned char) text[start] & 0xC0) == 0x80)
            --start;
        n = start;
    }
    if (n > 0)
        std::memcpy(dst, text, n);
    dst[n] = '\0';
}

inline void CopyOut(char* dst, const std::string& text, int maxChars)
{
    CopyOut(dst, text.c_str(), maxChars);
}

// The host's text, read no further than maxChars bytes.
inline std::string ReadIn(const char* text, int maxChars)
{
    if (text == nullptr || maxChars <= 0)
        return std::string();
    return std::string(text, strnlen(text, (size_t) maxChars));
}
} // namespace Vst2Text
