// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's panel: display well, slots, labels, slope scales, shelf symbols and sockets.
#pragma once

#include "Images.h"

namespace art {

void Background(double s, int width, int height, const Emit& emit);

} // namespace art
