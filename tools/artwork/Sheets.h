// SPDX-License-Identifier: GPL-3.0-or-later
// Review pictures made from the rendered images: the contact sheet (every image of every
// scale, knob strips as rows of sample frames) and a mock-up of the editor at its three sizes
// with the controls at their layout positions.
#pragma once

#include "Images.h"

namespace art {

// rendered[scale][image], in the order of Images().
using RenderedSet = std::vector<std::vector<std::unique_ptr<RMemBitmap>>>;

std::unique_ptr<RMemBitmap> ContactSheet(const RenderedSet& rendered);
std::unique_ptr<RMemBitmap> EditorMockup(const RenderedSet& rendered);

} // namespace art
