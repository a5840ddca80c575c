// SPDX-License-Identifier: GPL-3.0-or-later
// What must hold after any restore, readable or not: every parameter finite and inside its
// range, every option usable by the editor. Shared by the mutation test and the libFuzzer entry.
#pragma once

#include "Parvel.h"

#include <cmath>
#include <string>

// An empty text when everything holds, else what does not.
inline std::string StateViolation(const Parvel& fx)
{
    for (int i = 0; i < fx.ParamCount(); ++i)
    {
        const IParamSpec* p = fx.Param(i);
        const double v = p->Value();
        if (! std::isfinite(v) || v < p->Min() || v > p->Max())
            return std::string(p->Name()) + " holds " + std::to_string(v);
    }
    const EditorOptions& o = fx.Options();
    if (o.sizeIndex < 0 || o.sizeIndex >= EditorOptions::kNumSizes)
        return "size index " + std::to_string(o.sizeIndex);
    if (! std::isfinite(o.magRange) || o.magRange <= 0.0f)
        return "display range " + std::to_string(o.magRange);
    if (! std::isfinite(o.analyserTop))
        return "analyser top " + std::to_string(o.analyserTop);
    if (! std::isfinite(o.analyserRange) || o.analyserRange <= 0.0f)
        return "analyser range " + std::to_string(o.analyserRange);
    return {};
}
