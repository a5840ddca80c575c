// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilterParams.h"

#include <cmath>

namespace FilterStage
{
void FilterParams::SetPoleZero(double n0, double n1, double n2, double d1, double d2)
{
    const float kf = static_cast<float>(std::sqrt(d1 + 1.0 + d2));
    a2 = static_cast<float>(d2);
    k = kf;
    cA = static_cast<float>(n0 / kf);
    cAPrev = static_cast<float>(-n2 / kf);
    cB = static_cast<float>((n0 + n1 + n2) / static_cast<double>(kf * kf));
}
} // namespace FilterStage
