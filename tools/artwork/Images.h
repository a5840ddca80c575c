// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's seventeen images, each drawn at the three scales: their file names, strip sizes
// and frame counts, and the one function per image that draws its frames.
#pragma once

#include "Canvas.h"
#include "RBitmap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace art {

constexpr int kScaleCount = 3;
double ScaleOf(int scaleIndex); // 1.0, 1.5, 2.0

// Receives the frames of an image in order.
using Emit = std::function<void(const Canvas&)>;
// Draws every frame of an image at scale s into canvases of width x height and emits them.
using DrawFrames = std::function<void(double s, int width, int height, const Emit& emit)>;

struct ImageInfo
{
    std::string name; // "Background", "red", ...
    int frames;
    int width[kScaleCount], height[kScaleCount]; // the whole strip at 1.0, 1.5, 2.0
    DrawFrames draw;
};

const std::vector<ImageInfo>& Images();

// "resources/gui/" relative file name of an image at a scale: red.png, red_1-5.png, ...
std::string FileName(const ImageInfo& image, int scaleIndex);

// Rows [top, top + height) of frame i that every reading of the frame offset shows in full:
// i * (H / n), H * i / n in integers, and (int) (H * i / n + 0.5) in floating point.
struct FrameRows
{
    int top, height;
};
FrameRows FrameContent(int stripHeight, int frames, int i);

// The whole strip of an image at a scale.
std::unique_ptr<RMemBitmap> RenderImage(const ImageInfo& image, int scaleIndex);

} // namespace art
