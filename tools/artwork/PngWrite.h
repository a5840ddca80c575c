// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a bitmap as an 8-bit RGBA PNG with fixed compression settings and no time or text
// chunks, so the same pixels always give the same bytes.
#pragma once

#include "RBitmap.h"

#include <string>

namespace art {

bool WritePng(const RBitmap& bitmap, const std::string& path);

} // namespace art
