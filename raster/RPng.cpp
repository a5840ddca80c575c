// SPDX-License-Identifier: GPL-3.0-or-later
// libpng reports errors by longjmp back to the setjmp in Decode. Decode therefore keeps no
// object with a destructor of its own: the bitmap and the row pointers live in the caller,
// which discards them when Decode fails.
#include "RPng.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace
{
struct Input
{
    const unsigned char* data;
    size_t size;
    size_t pos;
};

void ReadInput(png_structp png, png_bytep out, size_t count)
{
    auto* in = static_cast<Input*>(png_get_io_ptr(png));
    if (count > in->size - in->pos)
        png_error(png, "truncated");
    std::memcpy(out, in->data + in->pos, count);
    in->pos += count;
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

bool Decode(png_structp png, png_infop info, std::unique_ptr<RMemBitmap>& out, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Lets mutated inputs past the checksums into the decoder proper.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#else
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
#endif
    png_set_user_limits(png, kRPngMaxSide, kRPngMaxSide);
    png_set_chunk_malloc_max(png, 1 << 20);

    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    if ((size_t) width * height > kRPngMaxPixels)
        return false;

    png_set_expand(png); // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png); // B, G, R, A in memory: 0xAARRGGBB on a little-endian machine
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != (size_t) width * 4)
        return false;

    out = std::make_unique<RMemBitmap>((int) width, (int) height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(out->Row((int) y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr); // checks the chunks up to IEND
    return true;
}
} // namespace

std::unique_ptr<RMemBitmap> RDecodePng(const void* data, size_t size)
{
    if (!data || size < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
        return nullptr;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    Input in{static_cast<const unsigned char*>(data), size, 0};
    png_set_read_fn(png, &in, ReadInput);

    std::unique_ptr<RMemBitmap> bitmap;
    std::vector<png_bytep> rows;
    const bool ok = Decode(png, info, bitmap, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        bitmap.reset();
    return bitmap;
}
