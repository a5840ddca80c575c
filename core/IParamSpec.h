// SPDX-License-Identifier: GPL-3.0-or-later
// One automatable parameter: kind, range, step, the mapping between plain units and the
// normalised 0..1 scale that hosts and controls use, display precision and display texts.
// The value is a relaxed atomic: it is written under the plug-in lock (or by a host call
// without it) and read by the editor without the lock. Everything else is set once by the
// Define operations before any other thread sees the record.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

enum class ParamKind : int
{
    Undefined = 0,
    Bool = 1,
    Int = 2,
    Double = 4,
};

// A text that replaces the number for one integer value ("off", "on").
struct DisplayTextEntry
{
    int value = 0;
    char text[32] = {};
};

class IParamSpec
{
public:
    static constexpr int kTextSize = 32; // name, label, group and display texts: at most 31 characters
    static constexpr int kMaxDisplayPrecision = 6;

    IParamSpec() = default;
    IParamSpec(const IParamSpec&) = delete;
    IParamSpec& operator=(const IParamSpec&) = delete;

    // shape 1 maps linearly, any other value logarithmically (when 0 < min < max); 0 keeps the shape.
    void DefineDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                      const char* label = "", double shape = 1.0);
    void DefineInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "");
    void DefineBool(const char* name, bool defaultVal);
    void AddDisplayText(int value, const char* text);

    // Clamped to [min, max]; not rounded to the step. NaN stores min.
    void SetPlain(double v);
    // Rounded to the step grid unless Double; capped at max but not raised to min (a
    // normalised value below 0 can store a value below min). A non-finite result is clamped.
    void SetFromNormalized(double x);

    double Value() const { return mValue.load(std::memory_order_relaxed); }
    int IntValue() const;
    bool BoolValue() const { return Value() >= 0.5; }
    double NormalizedValue() const { return NormalizedOf(Value()); }
    double NormalizedOf(double v) const;
    double Clamp(double v) const;

    static bool IsLogMapping(double minVal, double maxVal, double shape);
    static double MapToNormalized(double v, double minVal, double maxVal, double shape);
    static double MapFromNormalized(double x, double minVal, double maxVal, double shape);

    std::string FormatValue(double x, bool isNormalized, bool withDisplayTexts) const;
    std::string FormatCurrentValue() const { return FormatValue(Value(), false, true); }
    const char* LabelForHost() const;
    // Host text (8-bit) read as atof reads it, clamped, normalised. Display texts are not consulted.
    double ParseValueText(const char* text) const;
    // Editor text entry: plain value. Bool matches display texts exactly; others use textParser or atof.
    double ParseEditorText(const char* text) const;

    ParamKind Kind() const { return mKind; }
    double Min() const { return mMin; }
    double Max() const { return mMax; }
    double Step() const { return mStep; }
    double Shape() const { return mShape; }
    double Default() const { return mDefault; }
    int DisplayPrecision() const { return mDisplayPrecision; }
    const char* Name() const { return mName; }
    const char* Label() const { return mLabel; }
    const char* Group() const { return mGroup; }
    bool CanAutomate() const { return mCanAutomate; }
    int NDisplayTexts() const { return (int) mDisplayTexts.size(); }
    const DisplayTextEntry* DisplayText(int idx) const;
    // The text of the first entry whose value equals trunc(v), or null when there is none or it is empty.
    const char* DisplayTextFor(double v) const;

    std::function<double(const char*)> textParser;

private:
    ParamKind mKind = ParamKind::Undefined;
    std::atomic<double> mValue{0.0};
    double mMin = 0.0;
    double mMax = 1.0;
    double mStep = 1.0;
    double mShape = 1.0;
    double mDefault = 0.0;
    int mDisplayPrecision = 0;
    char mName[kTextSize] = {};
    char mLabel[kTextSize] = {};
    char mGroup[kTextSize] = {};
    bool mCanAutomate = true;
    std::vector<DisplayTextEntry> mDisplayTexts;
};
