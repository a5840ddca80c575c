// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing surface a window copies to the screen: on Windows a 32-bit top-down DIB section
// (NativeHandle() is its HBITMAP), elsewhere ordinary memory (NativeHandle() is null). All
// pixels are 0 at creation; sizes below 0 count as 0. Should Windows refuse the DIB section,
// the surface falls back to memory and NativeHandle() is null.
#pragma once

#include "RBitmap.h"

class RSurface : public RBitmap
{
public:
    RSurface(int width, int height);
    ~RSurface() override;
    RSurface(const RSurface&) = delete;
    RSurface& operator=(const RSurface&) = delete;

    void* NativeHandle() const { return mNative; }

private:
    void* mNative = nullptr;
    RPixel* mOwned = nullptr;
};
