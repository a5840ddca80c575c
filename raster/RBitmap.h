// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmaps of the raster library. A pixel is one 32-bit word A·2^24 + R·2^16 + G·2^8 + B
// (0xAARRGGBB: little-endian memory order B, G, R, A, as a Windows 32-bit DIB holds it).
// Colours are straight, not premultiplied: R, G and B are the colour whatever A says, and every
// operation of the library reads and writes them that way. Rows run top to bottom; a row holds
// Stride() words, of which the first Width() are pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using RPixel = uint32_t;

constexpr RPixel RPack(int a, int r, int g, int b)
{
    return ((RPixel) (a & 255) << 24) | ((RPixel) (r & 255) << 16) | ((RPixel) (g & 255) << 8) | (RPixel) (b & 255);
}
constexpr int RAlpha(RPixel p) { return (int) (p >> 24); }
constexpr int RRed(RPixel p) { return (int) ((p >> 16) & 255); }
constexpr int RGreen(RPixel p) { return (int) ((p >> 8) & 255); }
constexpr int RBlue(RPixel p) { return (int) (p & 255); }

// Any bitmap the library draws from or into.
class RBitmap
{
public:
    virtual ~RBitmap() = default;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int Stride() const { return mStride; }
    RPixel* Pixels() { return mPixels; }
    const RPixel* Pixels() const { return mPixels; }
    RPixel* Row(int y) { return mPixels + (std::ptrdiff_t) y * mStride; }
    const RPixel* Row(int y) const { return mPixels + (std::ptrdiff_t) y * mStride; }
    // The pixel at (x, y), or 0 outside the bitmap.
    RPixel At(int x, int y) const;

protected:
    RBitmap() = default;
    void SetStorage(RPixel* pixels, int width, int height, int stride);

private:
    RPixel* mPixels = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    int mStride = 0;
};

// A bitmap in ordinary memory, all pixels 0 (transparent black) at construction. Sizes below
// 0 count as 0.
class RMemBitmap : public RBitmap
{
public:
    RMemBitmap(int width, int height);

private:
    std::vector<RPixel> mStorage;
};
