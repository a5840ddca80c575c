// SPDX-License-Identifier: GPL-3.0-or-later
#include "IParamSpec.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
void CopyText(char (&dst)[IParamSpec::kTextSize], const char* src)
{
    size_t n = src ? std::strlen(src) : 0;
    if (n > (size_t) IParamSpec::kTextSize - 1)
        n = (size_t) IParamSpec::kTextSize - 1;
    if (n > 0)
        std::memcpy(dst, src, n);
    dst[n] = '\0';
}

// Truncation toward zero that stays defined for NaN and values outside int.
int TruncToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= (double) INT_MAX)
        return INT_MAX;
    if (v <= (double) INT_MIN)
        return INT_MIN;
    return (int) v;
}

std::string FormatPrintf(const char* format, int precision, double v)
{
    char small[64];
    int n = std::snprintf(small, sizeof small, format, precision, v);
    if (n < 0)
        return std::string();
    if (n < (int) sizeof small)
        return std::string(small, (size_t) n);
    std::string big((size_t) n + 1, '\0');
    std::snprintf(&big[0], big.size(), format, precision, v);
    big.resize((size_t) n);
    return big;
}
} // namespace

void IParamSpec::DefineDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                              const char* label, double shape)
{
    if (mKind == ParamKind::Undefined)
        mKind = ParamKind::Double;
    CopyText(mName, name);
    CopyText(mLabel, label);
    CopyText(mGroup, "");
    mMin = minVal;
    mValue.store(defaultVal, std::memory_order_relaxed);
    mStep = step;
    mDefault = defaultVal;
    mDisplayPrecision = 0;
    mMax = std::fmax(maxVal, minVal + step);

    // Digits needed to show one step: 1 -> 0, 0.1 -> 1, 0.01 -> 2, capped at 6.
    double x = step;
    while (x != std::floor(x) && mDisplayPrecision < kMaxDisplayPrecision)
    {
        ++mDisplayPrecision;
        x *= 10.0;
    }

    if (shape != 0.0)
        mShape = shape;
}

void IParamSpec::DefineInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label)
{
    if (mKind == ParamKind::Undefined)
        mKind = ParamKind::Int;
    DefineDouble(name, (double) defaultVal, (double) minVal, (double) maxVal, 1.0, label, 1.0);
}

void IParamSpec::DefineBool(const char* name, bool defaultVal)
{
    if (mKind == ParamKind::Undefined)
        mKind = ParamKind::Bool;
    DefineDouble(name, defaultVal ? 1.0 : 0.0, 0.0, 1.0, 1.0, "", 1.0);
    AddDisplayText(0, "off");
    AddDisplayText(1, "on");
}

void IParamSpec::AddDisplayText(int value, const char* text)
{
    DisplayTextEntry entry;
    entry.value = value;
    CopyText(entry.text, text);
    mDisplayTexts.push_back(entry);
}

double IParamSpec::Clamp(double v) const
{
    if (!(v >= mMin)) // also catches NaN
        return mMin;
    if (v > mMax)
        return mMax;
    return v;
}

void IParamSpec::SetPlain(double v)
{
    mValue.store(Clamp(v), std::memory_order_relaxed);
}

void IParamSpec::SetFromNormalized(double x)
{
    double v = MapFromNormalized(x, mMin, mMax, mShape);
    if (mKind != ParamKind::Double)
        v = std::floor(v / mStep + 0.5) * mStep;
    if (v > mMax)
        v = mMax;
    // Finite values below min are kept; a NaN or -inf (from a wild x) must not reach the value.
    if (!std::isfinite(v))
        v = Clamp(v);
    mValue.store(v, std::memory_order_relaxed);
}

int IParamSpec::IntValue() const
{
    return TruncToInt(Value());
}

double IParamSpec::NormalizedOf(double v) const
{
    return MapToNormalized(Clamp(v), mMin, mMax, mShape);
}

bool IParamSpec::IsLogMapping(double minVal, double maxVal, double shape)
{
    return shape != 1.0 && 0.0 < minVal && minVal < maxVal;
}

double IParamSpec::MapToNormalized(double v, double minVal, double maxVal, double shape)
{
    if (IsLogMapping(minVal, maxVal, shape))
        return std::log(v / minVal) / std::log(maxVal / minVal);
    return (v - minVal) / (maxVal - minVal);
}

double IParamSpec::MapFromNormalized(double x, double minVal, double maxVal, double shape)
{
    if (IsLogMapping(minVal, maxVal, shape))
        return minVal * std::exp(std::log(maxVal / minVal) * x);
    return (maxVal - minVal) * x + minVal;
}

const DisplayTextEntry* IParamSpec::DisplayText(int idx) const
{
    if (idx < 0 || idx >= (int) mDisplayTexts.size())
        return nullptr;
    return &mDisplayTexts[(size_t) idx];
}

const char* IParamSpec::DisplayTextFor(double v) const
{
    const int key = TruncToInt(v);
    for (const DisplayTextEntry& entry : mDisplayTexts)
    {
        if (entry.value == key)
            return entry.text[0] != '\0' ? entry.text : nullptr;
    }
    return nullptr;
}

std::string IParamSpec::FormatValue(double x, bool isNormalized, bool withDisplayTexts) const
{
    if (isNormalized)
        x = MapFromNormalized(x, mMin, mMax, mShape);
    // Wide ranges display integers; half a step rounds them to nearest instead of cutting.
    if (mMax - mMin > 1000.0)
        x += mStep * 0.5;
    if (withDisplayTexts)
    {
        if (const char* text = DisplayTextFor(x))
            return text;
    }
    if (mDisplayPrecision > 0)
        return FormatPrintf("%.*f", mDisplayPrecision, x);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", TruncToInt(x));
    return buf;
}

const char* IParamSpec::LabelForHost() const
{
    return DisplayTextFor(Value()) ? "" : mLabel;
}

double IParamSpec::ParseValueText(const char* text) const
{
    const double v = text ? std::atof(text) : 0.0;
    return NormalizedOf(v);
}

double IParamSpec::ParseEditorText(const char* text) const
{
    if (mKind == ParamKind::Bool)
    {
        for (const DisplayTextEntry& entry : mDisplayTexts)
        {
            if (text && std::strcmp(text, entry.text) == 0)
                return (double) entry.value;
        }
        return 0.0;
    }
    if (textParser)
        return textParser(text ? text : "");
    return text ? std::atof(text) : 0.0;
}
