// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's saved state: an XML element with every editor option and every parameter by
// name, framed as the magic "VC2!", the text's byte length, the UTF-8 text and a zero byte.
// Write and Read are the one pair every caller uses (host state, presets); they know the
// format and nothing of the effect. Read parses and validates everything before it reports
// anything, so a caller can apply the result knowing it will not fail half-way.
#pragma once

#include "EditorOptionValues.h"
#include "ParvelParams.h"

#include <array>
#include <cstdint>
#include <optional>

class IStateChunk;


struct StateSnapshot
{
    EditorOptionValues options;
    std::array<double, kNumParvelParams> values{};
};

// What a readable state sets. An empty optional keeps the current value. Parameter values
// are plain, still to be clamped by the record; the LoShelf inversion of states without the
// "wdl" marker is already applied.
struct StateUpdate
{
    int sizeIndex = 0;
    std::optional<bool> showGain;
    std::optional<bool> showBgText;
    std::optional<bool> analyserOn;
    std::optional<bool> analyserInput;
    std::optional<float> magRange;
    std::optional<float> analyserTop;
    std::optional<float> analyserRange;
    std::array<std::optional<double>, kNumParvelParams> values{};
};

class XmlStateBlob
{
public:
    static constexpr int32_t kMagic = 556942166; // the bytes 'V' 'C' '2' '!' read little-endian
    static constexpr int kHeaderSize = 8;
    // A state is about 2.5 KB; texts beyond these bounds are not states of this plug-in and are
    // refused before the XML parser ever sees them. The parser recurses per nesting level, and it
    // interns every attribute name it meets for the life of the process.
    static constexpr int64_t kMaxTextBytes = 64 * 1024;
    static constexpr int kMaxTags = 512;

    // Appends the blob for s to chunk; whatever the chunk holds stays in front.
    static void Write(const StateSnapshot& s, IStateChunk& chunk);

    // The state held by the bytes from startPos to the end of chunk, or nothing when they do
    // not hold a readable one. Bytes after the blob are ignored.
    static std::optional<StateUpdate> Read(const IStateChunk& chunk, int startPos);
    static std::optional<StateUpdate> Read(const uint8_t* bytes, int64_t size);

    // guisize: the editor scale of a size index, and the index a saved scale selects.
    static double ScaleOfSize(int sizeIndex);
    static int SizeOfScale(double scale);
};
