// SPDX-License-Identifier: GPL-3.0-or-later
// PNG decoding from bytes in memory (libpng), into a straight-alpha bitmap. Every PNG colour
// type and bit depth is converted to 8-bit RGBA (16-bit samples rounded, palettes and tRNS
// expanded, no gamma applied).
#pragma once

#include "RBitmap.h"

#include <cstddef>
#include <memory>

// Images larger than this are refused before any pixel memory is taken.
constexpr int kRPngMaxSide = 32768;
constexpr size_t kRPngMaxPixels = size_t(1) << 25;

// Null for anything that is not a whole, decodable PNG (damaged, with a bad checksum in any
// chunk, short of image data, truncated anywhere up to its IEND chunk, too large, not PNG at
// all); never reads outside the bytes given. Compressed data beyond the last row is ignored.
std::unique_ptr<RMemBitmap> RDecodePng(const void* data, size_t size);
