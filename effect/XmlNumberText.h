// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers that the saved state and the settings file read from attribute texts, read as the
// XML library reads them (the leading number of the text, 0 when there is none) but defined for
// every text: the library's readers overflow a signed int on a long exponent or on an integer
// at or beyond 2^31, which is undefined and, where it wraps, turns large values into small or
// negative ones.
#pragma once

namespace juce
{
class String;
}

class XmlNumberText
{
public:
    // The leading decimal number; exponents beyond a double's range give the same infinity or
    // zero as any other exponent that large.
    static double ReadDouble(const juce::String& text);
    // The leading base-10 integer (blanks skipped, an optional '-'), saturated at the ends of int.
    static int ReadInt(const juce::String& text);
};
