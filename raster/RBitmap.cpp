// SPDX-License-Identifier: GPL-3.0-or-later
#include "RBitmap.h"

RPixel RBitmap::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return 0;
    return Row(y)[x];
}

void RBitmap::SetStorage(RPixel* pixels, int width, int height, int stride)
{
    mPixels = pixels;
    mWidth = width;
    mHeight = height;
    mStride = stride;
}

RMemBitmap::RMemBitmap(int width, int height)
{
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    mStorage.assign((size_t) width * (size_t) height, 0);
    SetStorage(mStorage.data(), width, height, width);
}
