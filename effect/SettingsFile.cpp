// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include "XmlNumberText.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstring>

namespace
{
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Strict UTF-8 (no overlong forms, surrogates or code points above U+10FFFF) and no NUL. The
// parser steps over multi-byte sequences by their lead byte alone, so a damaged sequence at the
// end of the text would otherwise carry it past the terminator.
bool IsCleanUtf8(const unsigned char* p, size_t n)
{
    size_t i = 0;
    while (i < n)
    {
        const unsigned char c = p[i];
        size_t extra = 0;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the first continuation byte
        if (c == 0)
            return false;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if (c >= 0xE0 && c <= 0xEF)
        {
            extra = 2;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        }
        else if (c >= 0xF0 && c <= 0xF4)
        {
            extra = 3;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        }
        else
            return false;

        if (extra > n - i - 1)
            return false;
        if (extra > 0 && (p[i + 1] < lo || p[i + 1] > hi))
            return false;
        for (size_t k = 2; k <= extra; ++k)
            if (!IsContinuation(p[i + k]))
                return false;
        i += extra + 1;
    }
    return true;
}

bool StartsWith(const unsigned char* p, size_t n, const char* prefix)
{
    const size_t len = std::strlen(prefix);
    return n >= len && std::memcmp(p, prefix, len) == 0;
}

// Keeps the XML parser inside bounds it does not keep itself: its recursion depth is at most
// the number of '<', and each attribute name it interns needs a '='. It scans from every '&' to
// the next ';' (to the end of the text when there is none, once per '&'), and a character
// reference cut off by the end of the text steps past the terminator; hence a ';' must follow
// each '&' closely. A document type declaration is refused: this file never has one, and the
// parser would expand its entities (also into elements) without limit.
bool HasBoundedMarkup(const unsigned char* p, size_t n)
{
    int tags = 0, attributes = 0;
    for (size_t i = 0; i < n; ++i)
    {
        switch (p[i])
        {
        case '<':
            if (++tags > SettingsFile::kMaxTags)
                return false;
            if (i + 1 < n && p[i + 1] == '!' && !StartsWith(p + i, n - i, "<!--")
                && !StartsWith(p + i, n - i, "<![CDATA["))
                return false;
            break;
        case '=':
            if (++attributes > SettingsFile::kMaxAttributes)
                return false;
            break;
        case '&':
        {
            const size_t end = std::min(n, i + 1 + (size_t) SettingsFile::kMaxEntityLength);
            if (std::find(p + i + 1, p + end, (unsigned char) ';') == p + end)
                return false;
            break;
        }
        default:
            break;
        }
    }
    return true;
}

// A whole document ends with the '>' of its root's end tag (or of a trailing comment). The parser
// accepts a root start tag cut off after a complete attribute as if it had been closed.
bool EndsWithMarkup(const unsigned char* p, size_t n)
{
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\t' || p[n - 1] == '\r' || p[n - 1] == '\n'))
        --n;
    return n > 0 && p[n - 1] == '>';
}

std::unique_ptr<juce::XmlElement> NewEmptyRoot() { return std::make_unique<juce::XmlElement>(SettingsFile::kRootTag); }

juce::XmlElement* FirstDefaultsChild(juce::XmlElement& root)
{
    for (auto* child : root.getChildIterator())
        if (child->getTagName() == EffectDefaults::kDefaultsTag)
            return child;
    return nullptr;
}
} // namespace

juce::File SettingsFile::SettingsFilePath()
{
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory)
        .getChildFile(kFolderName)
        .getChildFile(kFileName);
}

std::unique_ptr<juce::XmlElement> SettingsFile::ParseSettingsRoot(const void* data, size_t numBytes)
{
    auto* p = static_cast<const unsigned char*>(data);
    if (p == nullptr || numBytes > kMaxFileBytes)
        return NewEmptyRoot();
    if (StartsWith(p, numBytes, "\xEF\xBB\xBF"))
    {
        p += 3;
        numBytes -= 3;
    }
    if (!IsCleanUtf8(p, numBytes) || !HasBoundedMarkup(p, numBytes) || !EndsWithMarkup(p, numBytes))
        return NewEmptyRoot();

    // Parsed from text, not from the file: the parser then has no source to resolve external
    // references against.
    juce::XmlDocument doc(juce::String::fromUTF8(reinterpret_cast<const char*>(p), (int) numBytes));
    if (auto root = doc.getDocumentElement())
        return root;
    return NewEmptyRoot();
}

std::unique_ptr<juce::XmlElement> SettingsFile::LoadSettingsRoot()
{
    juce::FileInputStream in(SettingsFilePath());
    if (!in.openedOk())
        return NewEmptyRoot();
    // One byte more than accepted tells an oversized file from one of exactly the limit.
    juce::MemoryBlock bytes;
    const size_t got = in.readIntoMemoryBlock(bytes, (ssize_t) kMaxFileBytes + 1);
    if (got == 0 || got > kMaxFileBytes)
        return NewEmptyRoot();
    return ParseSettingsRoot(bytes.getData(), got);
}

bool SettingsFile::SaveSettingsRoot(const juce::XmlElement* root)
{
    if (root == nullptr)
        return false;
    const juce::File file = SettingsFilePath();
    if (file.getParentDirectory().createDirectory().failed())
        return false;
    return root->writeTo(file, juce::XmlElement::TextFormat());
}

int SettingsFile::ReadDefaultSize(const juce::XmlElement* root)
{
    if (root == nullptr || !root->hasAttribute(kSizeAttribute))
        return 0;
    return std::clamp(XmlNumberText::ReadInt(root->getStringAttribute(kSizeAttribute)), 0, kMaxSizeIndex);
}

EffectDefaults SettingsFile::LoadDefaults()
{
    EffectDefaults d;
    const auto root = LoadSettingsRoot();
    EffectDefaults::ReadDefaults(root.get(), d);
    return d;
}

int SettingsFile::LoadDefaultSize()
{
    const auto root = LoadSettingsRoot();
    return ReadDefaultSize(root.get());
}

void SettingsFile::SaveCurrentAsDefaults(const IPlugBase& effect, const EditorOptionValues& options)
{
    SaveCurrentAsDefaults(EffectDefaults::CaptureDefaults(&effect, options));
}

void SettingsFile::SaveCurrentAsDefaults(const EffectDefaults& d)
{
    const auto root = LoadSettingsRoot();
    auto e = EffectDefaults::BuildDefaultsElement(d);
    if (juce::XmlElement* old = FirstDefaultsChild(*root))
        root->replaceChildElement(old, e.release());
    else
        root->addChildElement(e.release());
    SaveSettingsRoot(root.get());
}

void SettingsFile::ResetFactoryDefaults()
{
    const auto root = LoadSettingsRoot();
    while (juce::XmlElement* old = FirstDefaultsChild(*root))
        root->removeChildElement(old, true);
    SaveSettingsRoot(root.get());
}

void SettingsFile::SaveDefaultSize(int sizeIndex)
{
    const auto root = LoadSettingsRoot();
    root->setAttribute(kSizeAttribute, sizeIndex);
    SaveSettingsRoot(root.get());
}
