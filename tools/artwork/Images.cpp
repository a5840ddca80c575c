// SPDX-License-Identifier: GPL-3.0-or-later
#include "Images.h"

#include "Background.h"
#include "Controls.h"

#include <algorithm>

namespace art {

double ScaleOf(int scaleIndex)
{
    const double scales[kScaleCount] = {1.0, 1.5, 2.0};
    return scales[scaleIndex];
}

namespace {

const Colour kLow = Rgb(204, 85, 85), kLoMid = Rgb(204, 153, 17), kHiMid = Rgb(85, 204, 170),
             kHigh = Rgb(17, 119, 204), kCut = Rgb(187, 187, 187);

ImageInfo Knob(const char* name, Colour c)
{
    return {name, 240, {28, 42, 56}, {6720, 10080, 13440},
            [c](double s, int w, int h, const Emit& e) { BandKnob(s, w, h, c, e); }};
}

ImageInfo Button(const char* name, const char* text, Colour c)
{
    return {name, 2, {34, 51, 68}, {26, 39, 52},
            [text, c](double s, int w, int h, const Emit& e) { SwitchButton(s, w, h, text, c, e); }};
}

std::vector<ImageInfo> MakeImages()
{
    return {
        {"Background", 1, {204, 306, 408}, {379, 569, 758}, Background},
        Knob("red", kLow),
        Knob("yellow", kLoMid),
        Knob("green", kHiMid),
        Knob("blue", kHigh),
        Knob("grey", kCut),
        {"locutorder", 8, {28, 42, 56}, {224, 336, 448},
         [](double s, int w, int h, const Emit& e) { SlopeKnob(s, w, h, true, e); }},
        {"hicutorder", 8, {28, 42, 56}, {224, 336, 448},
         [](double s, int w, int h, const Emit& e) { SlopeKnob(s, w, h, false, e); }},
        Button("lowbutton", "LOW", kLow),
        Button("lomidbutton", "LO MID", kLoMid),
        Button("himidbutton", "HI MID", kHiMid),
        Button("highbutton", "HIGH", kHigh),
        Button("hpbutton", "LO CUT", kCut),
        Button("lpbutton", "HI CUT", kCut),
        {"sizebutton", 3, {34, 51, 68}, {39, 59, 78}, SizeButton},
        {"font", 13, {5, 8, 10}, {91, 143, 182}, NumberGlyphs},
        {"shelfswitch", 2, {34, 51, 68}, {24, 36, 48}, ShelfSwitch},
    };
}

} // namespace

const std::vector<ImageInfo>& Images()
{
    static const std::vector<ImageInfo> images = MakeImages();
    return images;
}

std::string FileName(const ImageInfo& image, int scaleIndex)
{
    const char* suffix[kScaleCount] = {"", "_1-5", "_2-0"};
    if (image.name == "Background")
        return image.name + (scaleIndex == 0 ? "_1-0" : suffix[scaleIndex]) + ".png";
    return image.name + suffix[scaleIndex] + ".png";
}

FrameRows FrameContent(int stripHeight, int frames, int i)
{
    const int h = stripHeight / frames;
    const int starts[] = {i * h, stripHeight * i / frames, (int) ((double) stripHeight * i / frames + 0.5)};
    const int top = *std::max_element(std::begin(starts), std::end(starts));
    const int end = *std::min_element(std::begin(starts), std::end(starts)) + h;
    return {top, end - top};
}

std::unique_ptr<RMemBitmap> RenderImage(const ImageInfo& image, int scaleIndex)
{
    const int w = image.width[scaleIndex], h = image.height[scaleIndex], n = image.frames;
    auto strip = std::make_unique<RMemBitmap>(w, h);
    // Every frame is drawn at the height all frames show in full, placed where all readings agree.
    int common = h / n;
    for (int i = 0; i < n; ++i)
        common = std::min(common, FrameContent(h, n, i).height);
    int frame = 0;
    image.draw(ScaleOf(scaleIndex), w, common, [&](const Canvas& cv) {
        if (frame < n)
            cv.CopyTo(*strip, 0, FrameContent(h, n, frame).top);
        ++frame;
    });
    return strip;
}

} // namespace art
