// SPDX-License-Identifier: GPL-3.0-or-later
// The pole-zero part N(z)/D(z) of a filter section in the two-integrator form that ProcessSection
// runs. With N(z) = n0 + n1/z + n2/z^2 and D(z) = 1 + d1/z + d2/z^2:
//   k = sqrt(1 + d1 + d2), a2 = d2, cA = n0/k, cAPrev = -n2/k, cB = (n0 + n1 + n2)/k^2.
// The audio thread writes the fields (under the plug-in lock) while the editor may read them
// without it, hence relaxed atomics.
#pragma once

#include "Relaxed.h"

namespace FilterStage
{
struct FilterParams
{
    virtual ~FilterParams() = default;

    // Doubles in, fields rounded to single; k*k in cB is formed in single precision from the
    // stored k, as the processing and the magnitude evaluation see it.
    void SetPoleZero(double n0, double n1, double n2, double d1, double d2);

    Relaxed<float> k = 1.0f;
    Relaxed<float> a2 = 0.0f;
    Relaxed<float> cA = 1.0f;
    Relaxed<float> cAPrev = 0.0f;
    Relaxed<float> cB = 1.0f;
};
} // namespace FilterStage
