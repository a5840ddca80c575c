// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlStateBlob.h"

#include "IStateChunk.h"
#include "XmlNumberText.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace
{
constexpr const char* kRootTag = "PARVEL";
constexpr const char* kParamTag = "PARAM";

// Numbers are written in fixed notation with 20 decimals, so the text round-trips every double
// the parameters can hold and the bytes do not depend on the locale.
juce::String Fixed(double v) { return juce::String(v, 20); }

uint32_t ReadLE32(const uint8_t* p)
{
    return (uint32_t) p[0] | ((uint32_t) p[1] << 8) | ((uint32_t) p[2] << 16) | ((uint32_t) p[3] << 24);
}

// The XML parser recurses once per nesting level, also into elements that an entity name
// spells out, and expands DTD entities recursively. Every level needs a '<' of its own, so a
// bound on their number bounds the recursion; a document type is never part of a state.
bool IsParsableText(const char* text, int64_t len)
{
    if (! juce::CharPointer_UTF8::isValidString(text, (int) len))
        return false;

    const char* const end = text + len;
    int tags = 0;
    for (const char* p = text; p != end; ++p)
    {
        if (*p != '<')
            continue;
        if (++tags > XmlStateBlob::kMaxTags)
            return false;
        static constexpr char kDocType[] = "<!DOCTYPE";
        const auto rest = (size_t) (end - p);
        if (rest >= sizeof(kDocType) - 1 && std::memcmp(p, kDocType, sizeof(kDocType) - 1) == 0)
            return false;
    }
    return true;
}

// The parser hands back what it has read when a text stops between two attributes of a start
// tag or inside a closing tag. A state's text is one element and ends with its closing '>':
// one that does not is cut off, not a state.
bool EndsWithClosedElement(const char* text, int64_t len)
{
    while (len > 0 && juce::CharacterFunctions::isWhitespace(text[len - 1]))
        --len;
    return len > 0 && text[len - 1] == '>';
}

double NumberAttribute(const juce::XmlElement& e, const char* name, double missing)
{
    return e.hasAttribute(name) ? XmlNumberText::ReadDouble(e.getStringAttribute(name)) : missing;
}

std::optional<bool> BoolAttribute(const juce::XmlElement& e, const char* name)
{
    if (! e.hasAttribute(name))
        return std::nullopt;
    return e.getBoolAttribute(name);
}

// A display option in dB; non-finite texts keep the current value, others are held to bounds.
std::optional<float> DbAttribute(const juce::XmlElement& e, const char* name, double lo, double hi)
{
    if (! e.hasAttribute(name))
        return std::nullopt;
    const double v = NumberAttribute(e, name, 0.0);
    if (! std::isfinite(v))
        return std::nullopt;
    return (float) std::clamp(v, lo, hi);
}

StateUpdate Extract(const juce::XmlElement& root)
{
    StateUpdate u;
    const bool wdl = root.getBoolAttribute("wdl", false);
    u.sizeIndex = XmlStateBlob::SizeOfScale(NumberAttribute(root, "guisize", 0.0));
    u.showGain = BoolAttribute(root, "showgain");
    u.showBgText = BoolAttribute(root, "showbgtext");
    u.analyserOn = BoolAttribute(root, "analyser");
    u.analyserInput = BoolAttribute(root, "analyserinput");
    u.analyserTop = DbAttribute(root, "analysertop", -kMaxOptionDb, kMaxOptionDb);
    u.analyserRange = DbAttribute(root, "analyserrange", kMinOptionSpanDb, kMaxOptionDb);
    u.magRange = DbAttribute(root, "freqviewmagrange", kMinOptionSpanDb, kMaxOptionDb);

    // The library's own tag lookup ignores letter case; a state's element names are exact.
    for (const auto* e : root.getChildIterator())
    {
        if (e->getTagName() != kParamTag)
            continue;
        const int idx = FindParvelParam(e->getStringAttribute("id").toRawUTF8());
        if (idx < 0 || ! e->hasAttribute("value"))
            continue;
        double v = NumberAttribute(*e, "value", 0.0);
        // A NaN has no place in any range; it would reach the filter design. Infinities clamp.
        if (std::isnan(v))
            continue;
        // States written before the marker existed stored the shelf switch the other way round.
        if (! wdl && idx == kLoShelf)
            v = v > 0.5 ? 0.0 : 1.0;
        u.values[(size_t) idx] = v;
    }
    return u;
}
} // namespace

double XmlStateBlob::ScaleOfSize(int sizeIndex)
{
    switch (sizeIndex)
    {
    case 1: return 1.5;
    case 2: return 2.0;
    default: return 1.0;
    }
}

int XmlStateBlob::SizeOfScale(double scale)
{
    if (scale < 1.25)
        return 0;
    if (scale < 1.75)
        return 1;
    return 2;
}

void XmlStateBlob::Write(const StateSnapshot& s, IStateChunk& chunk)
{
    const EditorOptionValues& o = s.options;
    juce::XmlElement root(kRootTag);
    root.setAttribute("guisize", Fixed(ScaleOfSize(o.sizeIndex)));
    root.setAttribute("wdl", 1);
    root.setAttribute("version", (int) ParvelInfo::kVersion);
    root.setAttribute("showgain", o.showGain ? 1 : 0);
    root.setAttribute("showbgtext", o.showBgText ? 1 : 0);
    root.setAttribute("freqviewmagrange", Fixed(o.magRange));
    root.setAttribute("analyser", o.analyserOn ? 1 : 0);
    root.setAttribute("analyserinput", o.analyserInput ? 1 : 0);
    root.setAttribute("analysertop", Fixed(o.analyserTop));
    root.setAttribute("analyserrange", Fixed(o.analyserRange));
    for (const ParvelParamInfo& info : kParvelParams)
    {
        auto* e = root.createNewChildElement(kParamTag);
        e->setAttribute("id", info.name);
        e->setAttribute("value", Fixed(s.values[(size_t) info.index]));
    }

    const juce::String text = root.toString(juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const char* utf8 = text.toRawUTF8();
    const auto n = (int) text.getNumBytesAsUTF8();
    const uint8_t zero = 0;
    chunk.PutInt32(kMagic);
    chunk.PutInt32((int32_t) n);
    chunk.PutBytes(utf8, n);
    chunk.PutBytes(&zero, 1);
}

std::optional<StateUpdate> XmlStateBlob::Read(const IStateChunk& chunk, int startPos)
{
    if (startPos < 0 || startPos > chunk.Size())
        return std::nullopt;
    return Read(chunk.Data() + startPos, (int64_t) chunk.Size() - startPos);
}

std::optional<StateUpdate> XmlStateBlob::Read(const uint8_t* bytes, int64_t size)
{
    if (bytes == nullptr || size < kHeaderSize + 1)
        return std::nullopt;
    if ((int32_t) ReadLE32(bytes) != kMagic)
        return std::nullopt;
    const uint32_t n = ReadLE32(bytes + 4);
    if (n == 0 || n > 0x7fffffffu)
        return std::nullopt;

    // The first n bytes after the header, or all that remain when the chunk is shorter; the
    // parser stops at a zero byte, so the text ends at the first one.
    const char* text = reinterpret_cast<const char*>(bytes + kHeaderSize);
    int64_t len = std::min<int64_t>(n, size - kHeaderSize);
    if (len > kMaxTextBytes)
        return std::nullopt;
    if (const void* nul = std::memchr(text, 0, (size_t) len))
        len = static_cast<const char*>(nul) - text;
    if (len == 0 || ! EndsWithClosedElement(text, len) || ! IsParsableText(text, len))
        return std::nullopt;

    juce::XmlDocument doc(juce::String::fromUTF8(text, (int) len));
    const std::unique_ptr<juce::XmlElement> root = doc.getDocumentElement();
    if (root == nullptr)
        return std::nullopt;
    return Extract(*root);
}
