// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts on Linux: fontconfig picks the face file (a missing family such as "Verdana" falls back
// to its nearest present face), FreeType renders coverage. The pixel size follows the Windows
// cell height: the em is scaled so that the face's Windows ascent + descent (OS/2 usWinAscent +
// usWinDescent) spans the requested height. Missing bold or italic faces are synthesised.
#include "RFont.h"

#include "RTextPlace.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace
{
constexpr int kMaxHeight = 4096;

std::mutex& FontconfigMutex()
{
    static std::mutex m;
    return m;
}

struct FaceChoice
{
    std::string file;
    int index = 0;
    bool synthBold = false;
    bool synthItalic = false;
};

bool ChooseFace(const RFontSpec& spec, FaceChoice& out)
{
    std::lock_guard<std::mutex> lock(FontconfigMutex());
    const int weight = spec.weight <= 0 ? 400 : std::min(spec.weight, 1000);
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    if (!spec.face.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(spec.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, spec.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    int index = 0, matchedWeight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    const bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok)
    {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.file = reinterpret_cast<const char*>(file);
        out.index = index;
        out.synthBold = weight >= 600 && matchedWeight < FC_WEIGHT_DEMIBOLD;
        out.synthItalic = spec.italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return ok;
}

struct Glyph
{
    bool ready = false;
    std::vector<uint8_t> coverage;
    int w = 0, h = 0, left = 0, top = 0;
    FT_Pos advX = 0, advY = 0; // 26.6, FreeType's y up
};

class RFontFreeType final : public RFont
{
public:
    RFontFreeType(FT_Library lib, FT_Face face, const RFontSpec& spec, const FaceChoice& choice)
        : mLib(lib), mFace(face), mHeight(spec.height), mOrientation(spec.orientation),
          mMono(spec.quality == RFontQuality::NoAntialias), mEmbolden(choice.synthBold)
    {
        const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        double ascent = face->ascender, cell = (double) face->ascender - face->descender;
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        {
            ascent = os2->usWinAscent;
            cell = (double) os2->usWinAscent + os2->usWinDescent;
        }
        if (cell <= 0)
            ascent = cell = face->units_per_EM;
        const double scale = spec.height / cell;
        FT_Set_Char_Size(face, 0, (FT_F26Dot6) std::lround(face->units_per_EM * scale * 64.0), 72, 72);
        mAscent = (int) std::lround(ascent * scale);

        const double a = (spec.orientation % 360) * 3.14159265358979323846 / 180.0;
        const double shear = choice.synthItalic ? 0.2 : 0.0;
        // Rotation after the shear: [cos −sin; sin cos] · [1 shear; 0 1], in 16.16.
        const double c = std::cos(a), s = std::sin(a);
        FT_Matrix m;
        m.xx = (FT_Fixed) std::lround(c * 65536.0);
        m.xy = (FT_Fixed) std::lround((c * shear - s) * 65536.0);
        m.yx = (FT_Fixed) std::lround(s * 65536.0);
        m.yy = (FT_Fixed) std::lround((s * shear + c) * 65536.0);
        if (spec.orientation % 360 != 0 || choice.synthItalic)
            FT_Set_Transform(face, &m, nullptr);
    }

    ~RFontFreeType() override
    {
        FT_Done_Face(mFace);
        FT_Done_FreeType(mLib);
    }

    void Draw(RCanvas& canvas, const char* text, const RRect& box, RTextAlign align, bool clipToBox,
              bool useAlpha) override
    {
        if (!text || !*text)
            return;
        std::lock_guard<std::mutex> lock(mMutex);
        const RTextPlace place(box, align, Width(text), mOrientation);
        const RRect oldClip = canvas.Clip();
        if (clipToBox)
            canvas.SetClip(oldClip.Intersect(box));
        const RRect clip = canvas.Clip();
        RPixel colour = mColour;
        if (!useAlpha)
            colour |= 0xFF000000u;

        // Pen in 26.6 on the baseline: the reference point moved down by the ascent.
        int64_t penX = place.x * 64 + std::llround(mAscent * place.downX * 64.0);
        int64_t penY = place.y * 64 + std::llround(mAscent * place.downY * 64.0);
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        {
            const Glyph& g = GlyphFor(*p);
            const int64_t gx = ((penX + 32) >> 6) + g.left, gy = ((penY + 32) >> 6) - g.top;
            penX += g.advX;
            penY -= g.advY;
            if (g.w == 0 || gx >= clip.r || gy >= clip.b || gx + g.w <= clip.l || gy + g.h <= clip.t)
                continue;
            canvas.FillMask(g.coverage.data(), g.w, g.w, g.h, (int) gx, (int) gy, colour, 1.0f, RBlendMode::Alpha);
        }
        canvas.SetClip(oldClip);
    }

    void Measure(const char* text, int& width, int& height) override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const int64_t w = text ? Width(text) : 0;
        width = (int) std::min<int64_t>(w, 0x7FFFFFFF);
        height = mHeight;
    }

private:
    // The advance of the whole text along its baseline, in pixels.
    int64_t Width(const char* text)
    {
        double sum = 0.0;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        {
            const Glyph& g = GlyphFor(*p);
            sum += std::hypot((double) g.advX, (double) g.advY);
        }
        return (int64_t) std::llround(sum / 64.0);
    }

    const Glyph& GlyphFor(unsigned char ch)
    {
        Glyph& g = mGlyphs[ch];
        if (g.ready)
            return g;
        g.ready = true;
        const FT_UInt index = FT_Get_Char_Index(mFace, ch);
        const FT_Int32 flags = mMono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
        if (FT_Load_Glyph(mFace, index, flags) != 0)
            return g;
        FT_GlyphSlot slot = mFace->glyph;
        if (mEmbolden)
            FT_GlyphSlot_Embolden(slot);
        g.advX = slot->advance.x;
        g.advY = slot->advance.y;
        if (FT_Render_Glyph(slot, mMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
            return g;
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.width == 0 || bm.rows == 0 || !bm.buffer)
            return g;
        g.w = (int) bm.width;
        g.h = (int) bm.rows;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.coverage.assign((size_t) g.w * g.h, 0);
        for (int y = 0; y < g.h; ++y)
        {
            const unsigned char* row = bm.buffer + (bm.pitch >= 0 ? y : y - g.h + 1) * bm.pitch;
            for (int x = 0; x < g.w; ++x)
            {
                int v;
                if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                    v = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                else
                    v = bm.num_grays == 256 ? row[x] : row[x] * 255 / std::max(1, bm.num_grays - 1);
                g.coverage[(size_t) y * g.w + x] = (uint8_t) v;
            }
        }
        return g;
    }

    FT_Library mLib;
    FT_Face mFace;
    int mHeight;
    int mOrientation;
    bool mMono;
    bool mEmbolden;
    int mAscent = 0;
    std::mutex mMutex;
    Glyph mGlyphs[256];
};
} // namespace

std::unique_ptr<RFont> RFont::Create(const RFontSpec& spec)
{
    if (spec.height < 1 || spec.height > kMaxHeight)
        return nullptr;
    FaceChoice choice;
    if (!ChooseFace(spec, choice))
        return nullptr;
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0)
        return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(lib, choice.file.c_str(), choice.index, &face) != 0 || !FT_IS_SCALABLE(face))
    {
        if (face)
            FT_Done_Face(face);
        FT_Done_FreeType(lib);
        return nullptr;
    }
    return std::unique_ptr<RFont>(new RFontFreeType(lib, face, spec, choice));
}
