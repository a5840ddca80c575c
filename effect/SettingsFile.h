// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user settings file "parvelsettings.xml" in the folder "wexo" of the user's
// application-data folder, shared by every instance of both deliverables. It is read when an
// instance is constructed and rewritten whole by the three menu commands that store defaults;
// nothing keeps it open and no lock guards it: the last writer wins, and writing through a
// temporary file that then replaces the old one keeps the file whole.
//
// All operations run on the user-interface thread (or the constructing thread) and report nothing:
// reading failures give an empty root, writing failures leave the old file. Each of the three
// saving commands creates the "wexo" folder first, so storing defaults works on a machine where
// nothing was saved before.
#pragma once

#include "EffectDefaults.h"

#include <cstddef>
#include <memory>

namespace juce
{
class File;
class XmlElement;
}

class SettingsFile
{
public:
    static constexpr const char* kFolderName = "wexo";
    static constexpr const char* kFileName = "parvelsettings.xml";
    static constexpr const char* kRootTag = "PARVEL";
    static constexpr const char* kSizeAttribute = "size";
    static constexpr int kMaxSizeIndex = 2;

    // Limits on what is handed to the XML parser. The file this system writes is about 1.5 KB
    // with 4 tags and 40 attributes; anything beyond these is not a settings file and reads as
    // unreadable. They bound the parser's recursion (one level per tag), its entity scans and the
    // attribute names it interns.
    static constexpr size_t kMaxFileBytes = 256 * 1024;
    static constexpr int kMaxTags = 256;
    static constexpr int kMaxAttributes = 1024;
    static constexpr int kMaxEntityLength = 32;

    // The user's application-data folder, then "wexo", then "parvelsettings.xml".
    static juce::File SettingsFilePath();

    // The parsed document element of the settings file, owned by the caller; a new empty
    // "PARVEL" element when the file is missing, unreadable, too large or not well-formed XML.
    static std::unique_ptr<juce::XmlElement> LoadSettingsRoot();

    // The same for the file's bytes, without touching the disk.
    static std::unique_ptr<juce::XmlElement> ParseSettingsRoot(const void* data, size_t numBytes);

    // Creates the "wexo" folder (and any missing parents) and writes root to the settings file
    // with the XML declaration, two-space indentation, attributes wrapped after 60 characters and
    // CR LF line ends. Does nothing for a null root. Returns whether the file was replaced.
    static bool SaveSettingsRoot(const juce::XmlElement* root);

    // The default editor size index held by root's "size" attribute, clamped to 0..2; 0 when
    // root is null or has no such attribute.
    static int ReadDefaultSize(const juce::XmlElement* root);

    // What a new instance starts from: factory values overwritten by the file's DEFAULTS, and the
    // file's default size.
    static EffectDefaults LoadDefaults();
    static int LoadDefaultSize();

    // "Set Current Parameters as Default": the effect's parameters and options replace the
    // first DEFAULTS element in its place (or are appended); the rest of the file stays.
    static void SaveCurrentAsDefaults(const IPlugBase& effect, const EditorOptionValues& options);
    static void SaveCurrentAsDefaults(const EffectDefaults& d);

    // "Reset Factory Default Parameters": every DEFAULTS element goes; the size and any other
    // content stay.
    static void ResetFactoryDefaults();

    // "Set Current Size as Default Size": root's "size" attribute becomes sizeIndex.
    static void SaveDefaultSize(int sizeIndex);
};
