// SPDX-License-Identifier: GPL-3.0-or-later
#include "RSurface.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

RSurface::RSurface(int width, int height)
{
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    if (width == 0 || height == 0)
        return;
    RPixel* pixels = nullptr;
#ifdef _WIN32
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // negative: rows top to bottom, as RBitmap has them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits)
    {
        mNative = dib;
        pixels = static_cast<RPixel*>(bits);
        std::memset(pixels, 0, (size_t) width * (size_t) height * sizeof(RPixel));
    }
    else if (dib)
        DeleteObject(dib);
#endif
    if (!pixels)
        pixels = mOwned = new RPixel[(size_t) width * (size_t) height]();
    SetStorage(pixels, width, height, width);
}

RSurface::~RSurface()
{
#ifdef _WIN32
    if (mNative)
        DeleteObject(static_cast<HBITMAP>(mNative));
#endif
    delete[] mOwned;
}
