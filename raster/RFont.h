// SPDX-License-Identifier: GPL-3.0-or-later
// Text through the platform's fonts: FreeType with fontconfig on Linux, GDI on Windows. A font
// owns its system font; its glyphs are drawn as coverage and blended into the canvas with the
// text colour in Alpha mode (RCanvas.h), so GDI's missing alpha never reaches the bitmap.
// Texts are 8-bit (Latin-1 on Linux, the ANSI code page on Windows). A font may be shared by
// several editors of one process: drawing and measuring are serialised inside it.
//
// Placement: the text's reference point is the top-left corner of its first cell: (box.l, box.t)
// for Left, (box.l + floor((box width − text width) / 2), box.t) for Centre and
// (box.r − text width, box.t) for Right. The text runs from there along its orientation, the
// cell's top on the reference point, as GDI's TextOut with TA_TOP | TA_LEFT places it. Glyphs
// are clipped to the canvas clip (and the box when asked), so a text far outside draws nothing.
#pragma once

#include "RCanvas.h"

#include <memory>
#include <string>

enum class RTextAlign
{
    Left,
    Centre,
    Right,
};

enum class RFontQuality
{
    Default,     // the system's choice
    NoAntialias, // one-bit glyphs
    Antialiased, // grey coverage
    ClearType,   // treated as Antialiased where the platform has no subpixel text
};

struct RFontSpec
{
    std::string face = "Verdana"; // falls back to a present face when missing
    int height = 12;              // pixels, as the system font height (cell height); 1..4096
    int weight = 400;             // 400 normal, 700 bold
    bool italic = false;
    int orientation = 0; // degrees, counter-clockwise
    RFontQuality quality = RFontQuality::Default;
};

class RFont
{
public:
    // Null when no system font can be made or the height is outside 1..4096.
    static std::unique_ptr<RFont> Create(const RFontSpec& spec);
    virtual ~RFont() = default;

    void SetColour(RPixel colour) { mColour = colour; }
    RPixel Colour() const { return mColour; }

    // Draws text top-aligned in box with the alignment. With clipToBox false, glyphs outside
    // the box are drawn too (still within the canvas clip). With useAlpha, the colour's alpha
    // scales the coverage; otherwise the colour counts as opaque.
    virtual void Draw(RCanvas& canvas, const char* text, const RRect& box, RTextAlign align, bool clipToBox,
                      bool useAlpha) = 0;
    // The width and height in pixels that Draw covers for text (height: the font's cell height).
    virtual void Measure(const char* text, int& width, int& height) = 0;

protected:
    RFont() = default;
    RPixel mColour = RPack(255, 0, 0, 0);
};
