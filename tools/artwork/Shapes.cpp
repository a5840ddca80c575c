// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shapes.h"

#include <algorithm>

namespace art {

Point Polar(Point c, double r, double degrees)
{
    double s, co;
    SinCos(Radians(degrees), s, co);
    return {c.x + r * s, c.y - r * co};
}

double CircleDistance(double px, double py, Point c, double r)
{
    const double dx = px - c.x, dy = py - c.y;
    return std::sqrt(dx * dx + dy * dy) - r;
}

double RoundRectDistance(double px, double py, double x0, double y0, double x1, double y1, double r)
{
    const double cx = (x0 + x1) * 0.5, cy = (y0 + y1) * 0.5;
    const double hx = (x1 - x0) * 0.5 - r, hy = (y1 - y0) * 0.5 - r;
    const double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

double SegmentDistance(double px, double py, Point a, Point b)
{
    const double bx = b.x - a.x, by = b.y - a.y;
    const double len2 = bx * bx + by * by;
    double t = len2 > 0.0 ? ((px - a.x) * bx + (py - a.y) * by) / len2 : 0.0;
    t = Clamp01(t);
    const double dx = px - (a.x + t * bx), dy = py - (a.y + t * by);
    return std::sqrt(dx * dx + dy * dy);
}

Arc::Arc(Point centre, double radius, double from, double to)
    : c(centre), r(radius), a0(from), a1(to), e0(Polar(centre, radius, from)), e1(Polar(centre, radius, to))
{
}

double Arc::Distance(double px, double py) const
{
    const double dx = px - c.x, dy = py - c.y;
    // Clockwise from straight up: atan2 of (x, -y).
    double a = Atan2(dx, -dy) * (180.0 / kPi);
    const double mid = (a0 + a1) * 0.5;
    while (a < mid - 180.0)
        a += 360.0;
    while (a > mid + 180.0)
        a -= 360.0;
    if (a >= a0 && a <= a1)
        return std::fabs(std::sqrt(dx * dx + dy * dy) - r);
    const double d0 = std::sqrt((px - e0.x) * (px - e0.x) + (py - e0.y) * (py - e0.y));
    const double d1 = std::sqrt((px - e1.x) * (px - e1.x) + (py - e1.y) * (py - e1.y));
    return std::min(d0, d1);
}

Shade Solid(Colour c)
{
    return [c](double, double) { return c; };
}

Shade VerticalGradient(double y0, Colour c0, double y1, Colour c1)
{
    return [=](double, double py) { return Mix(c0, c1, Clamp01((py - y0) / (y1 - y0))); };
}

void FillCircle(Canvas& cv, Point c, double r, const Shade& shade)
{
    cv.Paint(BoundsOf(c.x - r, c.y - r, c.x + r, c.y + r),
             [&](double px, double py) { return EdgeCoverage(CircleDistance(px, py, c, r)); }, shade);
}

void FillRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, const Shade& shade)
{
    cv.Paint(BoundsOf(x0, y0, x1, y1),
             [&](double px, double py) { return EdgeCoverage(RoundRectDistance(px, py, x0, y0, x1, y1, r)); },
             shade);
}

void StrokeCircle(Canvas& cv, Point c, double r, double w, const Shade& shade)
{
    const double o = r + w;
    cv.Paint(BoundsOf(c.x - o, c.y - o, c.x + o, c.y + o),
             [&](double px, double py) { return EdgeCoverage(std::fabs(CircleDistance(px, py, c, r)) - w * 0.5); },
             shade);
}

void StrokeArc(Canvas& cv, Point c, double r, double a0, double a1, double w, const Shade& shade)
{
    const double o = r + w;
    const Arc arc(c, r, a0, a1);
    cv.Paint(BoundsOf(c.x - o, c.y - o, c.x + o, c.y + o),
             [&](double px, double py) {
                 // Nothing of the arc, ends included, lies nearer than the ring itself.
                 if (std::fabs(CircleDistance(px, py, c, r)) - w * 0.5 >= 0.5)
                     return 0.0;
                 return EdgeCoverage(arc.Distance(px, py) - w * 0.5);
             },
             shade);
}

void StrokeSegment(Canvas& cv, Point a, Point b, double w, const Shade& shade)
{
    cv.Paint(BoundsOf(a.x, a.y, b.x, b.y, w),
             [&](double px, double py) { return EdgeCoverage(SegmentDistance(px, py, a, b) - w * 0.5); }, shade);
}

void StrokePolyline(Canvas& cv, const Point* pts, int n, double w, const Shade& shade)
{
    double x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
    for (int i = 1; i < n; ++i) {
        x0 = std::min(x0, pts[i].x), x1 = std::max(x1, pts[i].x);
        y0 = std::min(y0, pts[i].y), y1 = std::max(y1, pts[i].y);
    }
    // One coverage for the whole line, so joins are not blended twice.
    cv.Paint(BoundsOf(x0, y0, x1, y1, w),
             [&](double px, double py) {
                 double d = SegmentDistance(px, py, pts[0], pts[n > 1 ? 1 : 0]);
                 for (int i = 2; i < n; ++i)
                     d = std::min(d, SegmentDistance(px, py, pts[i - 1], pts[i]));
                 return EdgeCoverage(d - w * 0.5);
             },
             shade);
}

void StrokeRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, double w, const Shade& shade)
{
    cv.Paint(BoundsOf(x0, y0, x1, y1),
             [&](double px, double py) {
                 const double d = RoundRectDistance(px, py, x0, y0, x1, y1, r);
                 return std::min(EdgeCoverage(d), EdgeCoverage(-d - w));
             },
             shade);
}

void SoftCircle(Canvas& cv, Point c, double r, double blur, Colour colour)
{
    const double o = r + blur;
    cv.Paint(BoundsOf(c.x - o, c.y - o, c.x + o, c.y + o),
             [&](double px, double py) { return SoftCoverage(CircleDistance(px, py, c, r), blur); }, Solid(colour));
}

void SoftRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, double blur, Colour colour)
{
    cv.Paint(BoundsOf(x0, y0, x1, y1, blur + 1.0),
             [&](double px, double py) { return SoftCoverage(RoundRectDistance(px, py, x0, y0, x1, y1, r), blur); },
             Solid(colour));
}

} // namespace art
