// SPDX-License-Identifier: GPL-3.0-or-later
#include "StrokeFont.h"

#include "Shapes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace art {

namespace {

// Polylines separated by blanks; a point is two grid digits "xy", points joined by '-'.
struct GlyphDef
{
    char ch;
    const char* strokes;
};

// Capitals and figures on a grid 0..2 wide (M, W: 0..4; N, Q: 0..3) and 0..4 high.
const GlyphDef kLabelGlyphs[] = {
    {'A', "04-01-10-21-24 02-22"},
    {'B', "00-04-14-23-12-02 00-10-21-12"},
    {'C', "20-10-01-03-14-24"},
    {'D', "00-10-21-23-14-04-00"},
    {'E', "20-00-04-24 02-12"},
    {'F', "20-00-04 02-12"},
    {'G', "20-10-01-03-14-24-22"},
    {'H', "00-04 20-24 02-22"},
    {'I', "00-20 10-14 04-24"},
    {'J', "20-23-14-03"},
    {'K', "00-04 20-02-24"},
    {'L', "00-04-24"},
    {'M', "04-00-22-40-44"},
    {'N', "04-00-33 30-34"},
    {'O', "10-01-03-14-23-21-10"},
    {'P', "04-00-10-21-12-02"},
    {'Q', "10-20-31-32-23-14-03-01-10 23-34"},
    {'R', "04-00-10-21-12-02 12-23-24"},
    {'S', "20-10-01-12-23-14-04"},
    {'T', "00-20 10-14"},
    {'U', "00-04-24-20"},
    {'V', "00-02-13-14 20-22-13"},
    {'W', "00-03-14-23-22 23-34-43-40"},
    {'X', "00-01-12-03-04 20-21-12-23-24"},
    {'Y', "00-01-12-14 20-21-12"},
    {'Z', "00-20-21-03-04-24"},
    {'0', "00-20-24-04-00"},
    {'1', "01-10-14 04-24"},
    {'2', "00-20-22-02-04-24"},
    {'3', "00-20-24-04 02-22"},
    {'4', "00-02-22 20-24"},
    {'5', "20-00-02-22-24-04"},
    {'6', "20-00-04-24-22-02"},
    {'7', "00-20-24"},
    {'8', "00-20-24-04-00 02-22"},
    {'9', "22-02-00-20-24-04"},
    {'.', "14-14"},
    {'-', "02-22"},
    {'/', "20-21-03-04"},
};

// The number displays' glyphs on a grid 0..3 wide and 0..6 high.
const GlyphDef kNumberGlyphs[] = {
    {'0', "01-10-20-31-35-26-16-05-01"},
    {'1', "11-20-26 16-36"},
    {'2', "01-10-20-31-32-05-06-36"},
    {'3', "01-10-20-31-32-23-13 23-34-35-26-16-05"},
    {'4', "26-20-02-03-33"},
    {'5', "30-00-02-22-33-35-26-16-05"},
    {'6', "20-10-01-05-16-26-35-34-23-03"},
    {'7', "00-30-31-13-16"},
    {'8', "10-20-31-32-23-13-02-01-10 13-04-05-16-26-35-34-23"},
    {'9', "33-13-02-01-10-20-31-35-26-16"},
    {'k', "00-06 32-14-36"},
    {'-', "03-33"},
    {'.', "16-16"},
};

constexpr int kLabelHeight = 4; // grid rows 0..4
constexpr int kNumberWidth = 3, kNumberHeight = 6;

const char* StrokesOf(char ch, FontKind kind)
{
    if (kind == FontKind::Number) {
        for (const GlyphDef& g : kNumberGlyphs)
            if (g.ch == ch)
                return g.strokes;
        return "";
    }
    for (const GlyphDef& g : kLabelGlyphs)
        if (g.ch == ch)
            return g.strokes;
    return "";
}

// Grid columns a glyph spans (its widest x); the blank takes two columns' worth.
int GridWidth(char ch, FontKind kind)
{
    if (ch == ' ')
        return 1;
    int w = 0;
    for (const char* p = StrokesOf(ch, kind); *p; ++p)
        if (p[0] >= '0' && p[0] <= '9' && p[1] >= '0' && p[1] <= '9') {
            w = std::max(w, p[0] - '0');
            ++p;
        }
    return w;
}

int PixelWidth(char ch, const FontMetrics& m)
{
    return (int) (Snap(GridWidth(ch, m.kind) * m.unitX) + std::ceil(m.stroke));
}

struct Segment
{
    Point a, b;
};

std::vector<Segment> SegmentsOf(char ch, const FontMetrics& m, int ox, int oy)
{
    std::vector<Segment> out;
    const double half = m.stroke * 0.5;
    auto point = [&](const char* p) {
        return Point{ox + half + Snap((p[0] - '0') * m.unitX), oy + half + Snap((p[1] - '0') * m.unitY)};
    };
    const char* p = StrokesOf(ch, m.kind);
    while (*p) {
        Point prev = point(p);
        bool single = true;
        p += 2;
        while (*p == '-') {
            const Point next = point(p + 1);
            out.push_back({prev, next});
            prev = next;
            single = false;
            p += 3;
        }
        if (single)
            out.push_back({prev, prev});
        while (*p == ' ')
            ++p;
    }
    return out;
}

// Coverage of one pen stroke at a pixel centre. Upright strokes get square caps, so their ends
// sit on pixel edges; thin strokes at 45 degrees are drawn solid along their pixel diagonal.
double StrokeCoverage(const Segment& s, double w, double px, double py)
{
    const double dx = std::fabs(s.b.x - s.a.x), dy = std::fabs(s.b.y - s.a.y);
    const double half = w * 0.5;
    if (dx == 0.0 || dy == 0.0)
        return EdgeCoverage(RoundRectDistance(px, py, std::min(s.a.x, s.b.x) - half, std::min(s.a.y, s.b.y) - half,
                                              std::max(s.a.x, s.b.x) + half, std::max(s.a.y, s.b.y) + half, 0.0));
    const double d = SegmentDistance(px, py, s.a, s.b);
    if (w <= 1.0 && dx == dy)
        return d <= half + 1e-9 ? 1.0 : 0.0;
    return EdgeCoverage(d - half);
}

} // namespace

FontMetrics LabelFont(double s)
{
    FontMetrics m;
    m.kind = FontKind::Label;
    m.stroke = std::floor(s);
    m.unitX = std::floor(s + 0.5); // whole pixels, so the middle column of a glyph is a pixel column
    m.unitY = s;
    m.gap = (int) m.unitX;
    return m;
}

FontMetrics NumberFont(int cellWidth, int cellHeight)
{
    FontMetrics m;
    m.kind = FontKind::Number;
    m.stroke = cellWidth >= 8 ? 2.0 : 1.0;
    const int spacing = std::max(1, cellWidth / 5);
    m.unitX = (cellWidth - spacing - m.stroke) / kNumberWidth;
    m.unitY = (cellHeight - m.stroke) / kNumberHeight;
    m.gap = spacing;
    return m;
}

int TextWidth(const std::string& text, const FontMetrics& m)
{
    int w = 0;
    for (size_t i = 0; i < text.size(); ++i)
        w += PixelWidth(text[i], m) + (i + 1 < text.size() ? m.gap : 0);
    return w;
}

int TextHeight(const FontMetrics& m)
{
    const int rows = m.kind == FontKind::Label ? kLabelHeight : kNumberHeight;
    return (int) (Snap(rows * m.unitY) + std::ceil(m.stroke));
}

void DrawText(Canvas& cv, const std::string& text, int x, int y, const FontMetrics& m, Colour colour)
{
    for (char ch : text) {
        const std::vector<Segment> segs = SegmentsOf(ch, m, x, y);
        if (!segs.empty()) {
            const int w = PixelWidth(ch, m), h = TextHeight(m);
            cv.Paint(Box{x - 1, y - 1, x + w + 1, y + h + 1},
                     [&](double px, double py) {
                         double c = 0.0;
                         for (const Segment& s : segs)
                             c = std::max(c, StrokeCoverage(s, m.stroke, px, py));
                         return c;
                     },
                     Solid(colour));
        }
        x += PixelWidth(ch, m) + m.gap;
    }
}

void DrawTextCentred(Canvas& cv, const std::string& text, double cx, double cy, const FontMetrics& m, Colour colour)
{
    const int x = (int) Snap(cx - TextWidth(text, m) * 0.5);
    const int y = (int) Snap(cy - TextHeight(m) * 0.5);
    DrawText(cv, text, x, y, m, colour);
}

} // namespace art
