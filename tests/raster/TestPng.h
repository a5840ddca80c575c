// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files written in memory with libpng's writer, for the decoder and resource tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

struct TestPngSpec
{
    int width = 1, height = 1;
    int colourType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> rows;         // height rows of packed samples, big-endian as PNG has them
    std::vector<png_color> palette;    // for palette images
    std::vector<uint8_t> paletteAlpha; // tRNS of a palette image
    bool greyKey = false;              // tRNS of a grey image: the grey value greyKeyValue
    int greyKeyValue = 0;
};

inline std::vector<uint8_t> EncodeTestPng(const TestPngSpec& s)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n)
        {
            auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            v->insert(v->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colourType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty())
        png_set_PLTE(png, info, s.palette.data(), (int) s.palette.size());
    if (!s.paletteAlpha.empty())
        png_set_tRNS(png, info, s.paletteAlpha.data(), (int) s.paletteAlpha.size(), nullptr);
    if (s.greyKey)
    {
        png_color_16 key{};
        key.gray = (png_uint_16) s.greyKeyValue;
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    if (s.interlaced)
        png_set_interlace_handling(png);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rowPointers;
    for (int y = 0; y < s.height; ++y)
        rowPointers.push_back(const_cast<png_bytep>(s.rows.data() + y * rowBytes));
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
