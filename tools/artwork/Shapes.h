// SPDX-License-Identifier: GPL-3.0-or-later
// Vector shapes as signed distance functions (negative inside, in pixels) and the fills that
// turn them into antialiased coverage: a distance d at a pixel centre covers 0.5 - d of it,
// which is exact for straight edges. Angles run clockwise from 12 o'clock, in degrees.
#pragma once

#include "Canvas.h"

#include <functional>

namespace art {

struct Point
{
    double x = 0.0, y = 0.0;
};

// The point at radius r and angle a (degrees clockwise from straight up) around c.
Point Polar(Point c, double r, double degrees);

double CircleDistance(double px, double py, Point c, double r);
double RoundRectDistance(double px, double py, double x0, double y0, double x1, double y1, double r);
double SegmentDistance(double px, double py, Point a, Point b);
// The arc of radius r around c from angle a0 clockwise to a1 (a0 <= a1).
struct Arc
{
    Arc(Point c, double r, double a0, double a1);
    double Distance(double px, double py) const;

    Point c;
    double r, a0, a1;
    Point e0, e1; // end points
};

inline double EdgeCoverage(double d) { return Clamp01(0.5 - d); }
// Coverage with a soft edge blur pixels wide on each side, for shadows and glows.
inline double SoftCoverage(double d, double blur) { return 1.0 - SmoothStep(-blur, blur, d); }

using Shade = std::function<Colour(double, double)>;
Shade Solid(Colour c);
// Linear gradient from c0 at y0 to c1 at y1, clamped beyond.
Shade VerticalGradient(double y0, Colour c0, double y1, Colour c1);

void FillCircle(Canvas& cv, Point c, double r, const Shade& shade);
void FillRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, const Shade& shade);
// A ring of width w centred on radius r.
void StrokeCircle(Canvas& cv, Point c, double r, double w, const Shade& shade);
void StrokeArc(Canvas& cv, Point c, double r, double a0, double a1, double w, const Shade& shade);
// A line of width w with round caps.
void StrokeSegment(Canvas& cv, Point a, Point b, double w, const Shade& shade);
void StrokePolyline(Canvas& cv, const Point* pts, int n, double w, const Shade& shade);
// The outline of a rounded rectangle, w wide, inside its edge.
void StrokeRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, double w, const Shade& shade);

// Soft shapes for shadows and glows.
void SoftCircle(Canvas& cv, Point c, double r, double blur, Colour colour);
void SoftRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, double blur, Colour colour);

} // namespace art
