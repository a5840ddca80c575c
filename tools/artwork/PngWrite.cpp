// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWrite.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <vector>

namespace art {

bool WritePng(const RBitmap& bitmap, const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(f);
        return false;
    }
    std::vector<png_byte> row((size_t) bitmap.Width() * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, (png_uint_32) bitmap.Width(), (png_uint_32) bitmap.Height(), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_window_bits(png, 15);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const RPixel* src = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[(size_t) x * 4 + 0] = (png_byte) RRed(src[x]);
            row[(size_t) x * 4 + 1] = (png_byte) RGreen(src[x]);
            row[(size_t) x * 4 + 2] = (png_byte) RBlue(src[x]);
            row[(size_t) x * 4 + 3] = (png_byte) RAlpha(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace art
