// SPDX-License-Identifier: GPL-3.0-or-later
#include "MZTiBiquadParams.h"

#include "AnalogPrototype.h"

#include <cmath>

namespace FilterStage
{
namespace
{
constexpr double kPi = 3.14159265358979323846;

// 1 + c1/z + c2/z^2 with the roots of p0 + p1*s + p2*s^2 mapped by z = exp(s*w).
struct Monic
{
    double c1 = 0.0;
    double c2 = 0.0;
};

Monic MatchedZ(double p0, double p1, double p2, double w)
{
    Monic m;
    if (p2 != 0.0)
    {
        const double disc = p1 * p1 - 4.0 * p0 * p2;
        if (p1 * p1 >= 4.0 * p0 * p2)
        {
            const double r = std::sqrt(disc);
            const double r1 = std::exp(-w * (p1 + r) / (2.0 * p2));
            const double r2 = std::exp(-w * (p1 - r) / (2.0 * p2));
            m.c1 = -r1 - r2;
            m.c2 = r1 * r2;
        }
        else
        {
            const double mag = std::exp(-w * p1 / (2.0 * p2));
            const double theta = w * std::sqrt(4.0 * p0 * p2 - p1 * p1) / (2.0 * p2);
            const double re = mag * std::cos(theta);
            const double im = mag * std::sin(theta);
            m.c1 = -2.0 * re;
            m.c2 = im * im + re * re;
        }
    }
    else if (p1 != 0.0)
    {
        m.c1 = -std::exp(-w * p0 / p1);
    }
    return m;
}

// |p0 + p1/z + p2/z^2|^2 on the unit circle, phi = sin^2(omega/2), split into the quadratic in
// phi alpha - beta*phi + gamma*phi^2 so that array loops only multiply and add.
struct PhiQuadratic
{
    double alpha, beta, gamma;

    PhiQuadratic(double p0, double p1, double p2)
        : alpha((p0 + p1 + p2) * (p0 + p1 + p2)),
          beta(4.0 * (p0 * p1 + 4.0 * p0 * p2 + p1 * p2)),
          gamma(16.0 * p0 * p2)
    {
    }

    double operator()(double phi) const { return alpha - beta * phi + gamma * (phi * phi); }
};

// A fit radicand that rounding or an unreachable target made negative (shelves and high-Q cut
// sections close to Nyquist) is taken as 0: the taps stay finite, the fit becomes the nearest
// real one, and the same settings always give the same taps whatever was designed before.
// A NaN radicand is taken as 0 as well.
double ClampedSqrt(double r)
{
    return std::sqrt(r > 0.0 ? r : 0.0);
}
} // namespace

void MZTiBiquadParams::Update(float f0, float qIn, float gain, FilterShape shp, float fs)
{
    if (f0 == freq.Load() && qIn == q.Load() && gain == gainDb.Load() && shp == shape.Load()
        && fs == sampleRate.Load())
        return;
    freq = f0;
    q = qIn;
    gainDb = gain;
    shape = shp;
    sampleRate = fs;

    const AnalogPrototype proto = AnalogPrototype::Make(shp, qIn, gain);
    const double w = 2.0 * kPi * static_cast<double>(f0) / static_cast<double>(fs);
    const Monic num = MatchedZ(proto.b0, proto.b1, proto.b2, w);
    const Monic den = MatchedZ(proto.a0, proto.a1, proto.a2, w);
    const PhiQuadratic pn(1.0, num.c1, num.c2);
    const PhiQuadratic pd(1.0, den.c1, den.c2);

    // Near DC (1 Hz at 44.1 kHz), fs/6 and fs/3, where phi is ~0, 1/4 and 3/4.
    const double fsd = static_cast<double>(fs);
    const double fj[3] = { fsd / 44100.0, fsd / 6.0, static_cast<double>(fs + fs) / 6.0 };
    double g[3];
    for (int j = 0; j < 3; ++j)
    {
        const double s = std::sin(kPi * fj[j] / fsd);
        const double phi = s * s;
        const double analog = proto.MagnitudeSquared(fj[j] / static_cast<double>(f0));
        g[j] = std::sqrt(analog / (pn(phi) / pd(phi)));
    }

    // C(1) = g1, |C|^2 = g2^2 at phi 1/4 and g3^2 at phi 3/4, solved for the taps.
    const double g1 = g[0], g2s = g[1] * g[1], g3s = g[2] * g[2];
    const float t1 = static_cast<float>((g1 - ClampedSqrt(g1 * g1 - 2.0 * g2s + 2.0 * g3s)) * 0.5);
    const double t1d = t1;
    const float t1sq3 = 3.0f * t1 * t1;
    const float t2 = static_cast<float>(
        (3.0 * (g1 - t1d) - ClampedSqrt(12.0 * g2s - 3.0 * g1 * g1 - 6.0 * g1 * t1d - static_cast<double>(t1sq3)))
        / 6.0);
    const float t0 = static_cast<float>((g1 - t1d) - static_cast<double>(t2));

    // Inputs outside any sensible range (a sample rate of 0 or below, a NaN from a host) give a
    // design that is not finite, or unstable for a negative w; the section then passes its input
    // through instead of filling its states with NaN, and the next valid design takes over. Fields
    // are stored only once complete, so a reader on another thread never sees an intermediate NaN.
    FilterParams pz;
    pz.SetPoleZero(1.0, num.c1, num.c2, den.c1, den.c2);
    const float fields[] = { pz.k, pz.a2, pz.cA, pz.cAPrev, pz.cB, t0, t1, t2 };
    bool finite = f0 > 0.0f && fs > 0.0f;
    for (float v : fields)
        finite = finite && std::isfinite(v);
    if (!finite)
    {
        pz = FilterParams();
        fir0 = 1.0f;
        fir1 = 0.0f;
        fir2 = 0.0f;
    }
    else
    {
        fir0 = t0;
        fir1 = t1;
        fir2 = t2;
    }
    static_cast<FilterParams&>(*this) = pz;
}

void MZTiBiquadParams::MultiplyMagnitudeSquared(float* out, const float* phi, int count,
                                                bool initialise) const
{
    if (initialise)
        for (int i = 0; i < count; ++i)
            out[i] = 1.0f;

    const double kd = k.Load();
    const double a2d = a2.Load();
    const double n0 = static_cast<double>(cA.Load()) * kd;
    const double n2 = -static_cast<double>(cAPrev.Load()) * kd;
    const double n1 = static_cast<double>(cB.Load()) * kd * kd - n0 - n2;
    const double d1 = kd * kd - 1.0 - a2d;
    const PhiQuadratic pn(n0, n1, n2);
    const PhiQuadratic pd(1.0, d1, a2d);
    const PhiQuadratic pc(fir0.Load(), fir1.Load(), fir2.Load());

    // Plain element-wise loop without branches, which the compiler vectorises.
    for (int i = 0; i < count; ++i)
    {
        const double p = phi[i];
        const float pz = static_cast<float>(pn(p) / pd(p));
        const float fir = static_cast<float>(pc(p));
        out[i] = (out[i] * pz) * fir;
    }
}
} // namespace FilterStage
