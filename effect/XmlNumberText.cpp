// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlNumberText.h"

#include <juce_core/juce_core.h>

#include <climits>
#include <cstdint>
#include <string>

// The library accumulates an exponent without bound, which overflows for ten digits or more;
// an exponent of more than four significant digits is beyond a double's range anyway, so every
// digit run after an 'e' is capped at 9999 first, which gives the same infinity or zero.
double XmlNumberText::ReadDouble(const juce::String& text)
{
    std::string s = text.toStdString();
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (s[i] != 'e' && s[i] != 'E')
            continue;
        size_t start = i + 1;
        if (start < s.size() && (s[start] == '+' || s[start] == '-'))
            ++start;
        size_t end = start;
        size_t significant = 0;
        while (end < s.size() && s[end] >= '0' && s[end] <= '9')
        {
            if (significant > 0 || s[end] != '0')
                ++significant;
            ++end;
        }
        if (significant > 4)
            s.replace(start, end - start, "9999");
    }
    return juce::String(s).getDoubleValue();
}

int XmlNumberText::ReadInt(const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    const bool negative = *p == '-';
    if (negative)
        ++p;
    // One past the magnitude of INT_MIN is enough to saturate either end.
    constexpr int64_t kLimit = (int64_t) INT_MAX + 2;
    int64_t v = 0;
    for (juce::juce_wchar c = *p; c >= '0' && c <= '9'; c = *++p)
        if (v < kLimit)
            v = v * 10 + (c - '0');
    if (negative)
        v = -v;
    if (v < (int64_t) INT_MIN)
        return INT_MIN;
    if (v > (int64_t) INT_MAX)
        return INT_MAX;
    return (int) v;
}
