// SPDX-License-Identifier: GPL-3.0-or-later
// PNG decoding from bytes in memory (libpng), into a straight-alpha bitmap. Every PNG colour
// type and bit depth is converted to 8-bit RGBA.
#pragma once

#include "RBitmap.h"

#include <cstddef>
#include <memory>

// Null for anything that is not a whole, decodable PNG (damaged, truncated, too large, not
// PNG at all); never reads outside the bytes given.
std::unique_ptr<RMemBitmap> RDecodePng(const void* data, size_t size);
