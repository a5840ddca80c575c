// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts on Windows: a GDI font drawn white on black into a memory DIB that covers only the
// visible part of the text; the grey level becomes the coverage (ClearType's three subpixel
// values averaged), which is blended with the text colour. So GDI never writes the surface and
// its missing alpha never reaches it.
#include "RFont.h"

#include "RTextPlace.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

namespace
{
constexpr int kMaxHeight = 4096;

DWORD GdiQuality(RFontQuality q)
{
    switch (q)
    {
    case RFontQuality::NoAntialias:
        return NONANTIALIASED_QUALITY;
    case RFontQuality::Antialiased:
        return ANTIALIASED_QUALITY;
    case RFontQuality::ClearType:
        return CLEARTYPE_QUALITY;
    default:
        return DEFAULT_QUALITY;
    }
}

class RFontGdi final : public RFont
{
public:
    RFontGdi(HFONT font, HDC dc, int orientation) : mFont(font), mDc(dc), mOrientation(orientation)
    {
        mOldFont = SelectObject(mDc, mFont);
        TEXTMETRICA tm{};
        GetTextMetricsA(mDc, &tm);
        mHeight = tm.tmHeight;
        SetBkMode(mDc, TRANSPARENT);
        SetTextColor(mDc, RGB(255, 255, 255));
        SetTextAlign(mDc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    }

    ~RFontGdi() override
    {
        SelectObject(mDc, mOldFont);
        if (mDib)
        {
            SelectObject(mDc, mOldBitmap);
            DeleteObject(mDib);
        }
        DeleteDC(mDc);
        DeleteObject(mFont);
    }

    void Draw(RCanvas& canvas, const char* text, const RRect& box, RTextAlign align, bool clipToBox,
              bool useAlpha) override
    {
        if (!text || !*text)
            return;
        std::lock_guard<std::mutex> lock(mMutex);
        const int len = (int) std::min<size_t>(std::strlen(text), 0x7FFFFFFF);
        const int64_t width = Width(text, len);
        const RTextPlace place(box, align, width, mOrientation);

        // The rotated cell rectangle's bounds around the reference point, widened for
        // overhangs (italics, glyphs reaching out of their cell).
        const double ex[4] = {0.0, width * place.dirX, mHeight * place.downX, width * place.dirX + mHeight * place.downX};
        const double ey[4] = {0.0, width * place.dirY, mHeight * place.downY, width * place.dirY + mHeight * place.downY};
        const int64_t margin = mHeight / 2 + 2;
        const RRect clip = clipToBox ? canvas.Clip().Intersect(box) : canvas.Clip();
        const int64_t l = std::max<int64_t>(place.x + (int64_t) std::floor(*std::min_element(ex, ex + 4)) - margin, clip.l);
        const int64_t r = std::min<int64_t>(place.x + (int64_t) std::ceil(*std::max_element(ex, ex + 4)) + margin, clip.r);
        const int64_t t = std::max<int64_t>(place.y + (int64_t) std::floor(*std::min_element(ey, ey + 4)) - margin, clip.t);
        const int64_t b = std::min<int64_t>(place.y + (int64_t) std::ceil(*std::max_element(ey, ey + 4)) + margin, clip.b);
        if (l >= r || t >= b)
            return;
        const int w = (int) (r - l), h = (int) (b - t);
        if (!EnsureDib(w, h))
            return;
        std::memset(mBits, 0, (size_t) mDibW * h * sizeof(RPixel));
        TextOutA(mDc, (int) (place.x - l), (int) (place.y - t), text, len);
        GdiFlush();

        mMask.resize((size_t) w * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const RPixel p = mBits[(size_t) y * mDibW + x];
                mMask[(size_t) y * w + x] = (uint8_t) ((RRed(p) + RGreen(p) + RBlue(p) + 1) / 3);
            }
        RPixel colour = mColour;
        if (!useAlpha)
            colour |= 0xFF000000u;
        canvas.FillMask(mMask.data(), w, w, h, (int) l, (int) t, colour, 1.0f, RBlendMode::Alpha);
    }

    void Measure(const char* text, int& width, int& height) override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const int len = text ? (int) std::min<size_t>(std::strlen(text), 0x7FFFFFFF) : 0;
        width = (int) Width(text, len);
        height = mHeight;
    }

private:
    int64_t Width(const char* text, int len)
    {
        SIZE size{};
        if (len <= 0 || !GetTextExtentPoint32A(mDc, text, len, &size))
            return 0;
        return size.cx;
    }

    // A top-down 32-bit DIB of at least w × h selected into the DC; grows, never shrinks.
    bool EnsureDib(int w, int h)
    {
        if (mDib && w <= mDibW && h <= mDibH)
            return true;
        const int nw = std::max(w, mDibW), nh = std::max(h, mDibH);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = nw;
        bi.bmiHeader.biHeight = -nh;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(mDc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!dib || !bits)
        {
            if (dib)
                DeleteObject(dib);
            return false;
        }
        HGDIOBJ old = SelectObject(mDc, dib);
        if (mDib)
            DeleteObject(mDib);
        else
            mOldBitmap = old;
        mDib = dib;
        mBits = static_cast<RPixel*>(bits);
        mDibW = nw;
        mDibH = nh;
        return true;
    }

    HFONT mFont;
    HDC mDc;
    HGDIOBJ mOldFont = nullptr;
    HGDIOBJ mOldBitmap = nullptr;
    HBITMAP mDib = nullptr;
    RPixel* mBits = nullptr;
    int mDibW = 0, mDibH = 0;
    int mHeight = 0;
    int mOrientation;
    std::vector<uint8_t> mMask;
    std::mutex mMutex;
};
} // namespace

std::unique_ptr<RFont> RFont::Create(const RFontSpec& spec)
{
    if (spec.height < 1 || spec.height > kMaxHeight)
        return nullptr;
    const int tenths = (spec.orientation % 360) * 10;
    HFONT font = CreateFontA(spec.height, 0, tenths, tenths, spec.weight, spec.italic ? TRUE : FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, GdiQuality(spec.quality),
                             DEFAULT_PITCH | FF_DONTCARE, spec.face.c_str());
    if (!font)
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
    {
        DeleteObject(font);
        return nullptr;
    }
    return std::unique_ptr<RFont>(new RFontGdi(font, dc, spec.orientation));
}
