// SPDX-License-Identifier: GPL-3.0-or-later
// Our own declarations of the VST 2.4 plug-in interface: the records a host and a plug-in
// exchange, with the published layouts (natural alignment, which is what the interface's
// 8-byte packing gives on every platform it runs on), and the opcode, flag and limit values.
// Only what this plug-in and its test host use is declared. The asserts at the end pin every
// size and offset for the 64-bit and the 32-bit layout; Vst2LayoutCheck.cpp beside it compiles them
// with a 32-bit compiler where one is installed.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VST2_CALLBACK __cdecl
#else
#define VST2_CALLBACK
#endif

using VstInt16 = int16_t;
using VstInt32 = int32_t;
using VstIntPtr = intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(VST2_CALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                      VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(VST2_CALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                        VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void(VST2_CALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                                VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VST2_CALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                                      VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VST2_CALLBACK*)(AEffect* effect, VstInt32 index, float parameter);
using AEffectGetParameterProc = float(VST2_CALLBACK*)(AEffect* effect, VstInt32 index);

// The entry point's type: VSTPluginMain, and main under its older name.
using VstPluginMainProc = AEffect*(VST2_CALLBACK*)(audioMasterCallback host);

constexpr VstInt32 Vst2FourCC(const char (&s)[5])
{
    return (VstInt32) (((uint32_t) (unsigned char) s[0] << 24) | ((uint32_t) (unsigned char) s[1] << 16)
                       | ((uint32_t) (unsigned char) s[2] << 8) | (uint32_t) (unsigned char) s[3]);
}

constexpr VstInt32 kEffectMagic = Vst2FourCC("VstP");

struct AEffect
{
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process; // the accumulating entry
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object; // the plug-in's
    void* user;   // the host's
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

enum VstAEffectFlags : VstInt32
{
    effFlagsHasEditor = 1 << 0,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12,
};

enum AEffectOpcodes : VstInt32
{
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,
    effStartProcess,
    effStopProcess,
    effSetTotalSampleToProcess,
    effSetPanLaw,
    effBeginLoadBank,
    effBeginLoadProgram,
    effSetProcessPrecision,
    effGetNumMidiInputChannels,
    effGetNumMidiOutputChannels,
};

// The opcodes count up from 0; these pin the count where the published table has landmarks.
static_assert(effIdentify == 22 && effSetChunk == 24 && effString2Parameter == 27 && effGetPlugCategory == 35
                  && effSetSpeakerArrangement == 42 && effGetEffectName == 45 && effCanDo == 51
                  && effGetVstVersion == 58 && effGetMidiKeyName == 66 && effGetSpeakerArrangement == 69
                  && effSetProcessPrecision == 77 && effGetNumMidiOutputChannels == 79,
              "dispatcher opcodes");

enum AudioMasterOpcodes : VstInt32
{
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterCanDo = 37,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

// Text limits in characters, without the terminating zero.
enum VstStringConstants : VstInt32
{
    kVstMaxProgNameLen = 24,
    kVstMaxParamStrLen = 8,
    kVstMaxVendorStrLen = 64,
    kVstMaxProductStrLen = 64,
    kVstMaxEffectNameLen = 32,
    kVstMaxNameLen = 64,
    kVstMaxLabelLen = 64,
    kVstMaxShortLabelLen = 8,
};

enum VstPlugCategory : VstInt32
{
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
};

enum VstProcessLevels : VstInt32
{
    kVstProcessLevelUnknown = 0,
    kVstProcessLevelUser = 1,
    kVstProcessLevelRealtime = 2,
    kVstProcessLevelPrefetch = 3,
    kVstProcessLevelOffline = 4,
};

struct ERect
{
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};

enum VstEventTypes : VstInt32
{
    kVstMidiType = 1,
    kVstSysExType = 6,
};

struct VstEvent
{
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    char data[16];
};

// The host allocates as many event pointers as numEvents says; two are declared.
struct VstEvents
{
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};

struct VstMidiEvent
{
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent
{
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 dumpBytes;
    VstIntPtr resvd1;
    char* sysexDump;
    VstIntPtr resvd2;
};

enum VstPinPropertiesFlags : VstInt32
{
    kVstPinIsActive = 1 << 0,
    kVstPinIsStereo = 1 << 1,
    kVstPinUseSpeaker = 1 << 2,
};

struct VstPinProperties
{
    char label[kVstMaxLabelLen];
    VstInt32 flags;
    VstInt32 arrangementType;
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

enum VstSpeakerArrangementType : VstInt32
{
    kSpeakerArrUserDefined = -2,
    kSpeakerArrEmpty = -1,
    kSpeakerArrMono = 0,
    kSpeakerArrStereo = 1,
};

struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[kVstMaxNameLen];
    VstInt32 type;
    char future[28];
};

// The host allocates as many speakers as numChannels says; eight are declared.
struct VstSpeakerArrangement
{
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};

enum VstTimeInfoFlags : VstInt32
{
    kVstTransportChanged = 1 << 0,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstAutomationWriting = 1 << 6,
    kVstAutomationReading = 1 << 7,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15,
};

struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;
};

struct MidiKeyName
{
    VstInt32 thisProgramIndex;
    VstInt32 thisKeyNumber;
    char keyName[kVstMaxNameLen];
    VstInt32 reserved;
    VstInt32 flags;
};

// Layouts. P is the pointer size: 8 in the 64-bit layout, 4 in the 32-bit one. The formulas hold
// for both, so the same asserts check whichever layout the compiler builds.
namespace Vst2Layout
{
constexpr size_t P = sizeof(void*);
static_assert(P == 8 || P == 4, "the interface has a 32-bit and a 64-bit layout only");
static_assert(sizeof(VstIntPtr) == P, "VstIntPtr is pointer-sized");

// Offsets of AEffect, field after field: four bytes for an int32 or a float, P for a pointer,
// which is aligned to P.
constexpr size_t AlignP(size_t x) { return (x + P - 1) / P * P; }
constexpr size_t kFlags = 5 * P + 16;
constexpr size_t kResvd1 = AlignP(kFlags + 4);
constexpr size_t kInitialDelay = kResvd1 + 2 * P;
constexpr size_t kObject = AlignP(kInitialDelay + 16);
constexpr size_t kUniqueID = kObject + 2 * P;
constexpr size_t kProcessReplacing = AlignP(kUniqueID + 8);
constexpr size_t kFuture = kProcessReplacing + 2 * P;

static_assert(offsetof(AEffect, magic) == 0, "");
static_assert(offsetof(AEffect, dispatcher) == P, "");
static_assert(offsetof(AEffect, process) == 2 * P, "");
static_assert(offsetof(AEffect, setParameter) == 3 * P, "");
static_assert(offsetof(AEffect, getParameter) == 4 * P, "");
static_assert(offsetof(AEffect, numPrograms) == 5 * P, "");
static_assert(offsetof(AEffect, numParams) == 5 * P + 4, "");
static_assert(offsetof(AEffect, numInputs) == 5 * P + 8, "");
static_assert(offsetof(AEffect, numOutputs) == 5 * P + 12, "");
static_assert(offsetof(AEffect, flags) == kFlags, "");
static_assert(offsetof(AEffect, resvd1) == kResvd1, "");
static_assert(offsetof(AEffect, resvd2) == kResvd1 + P, "");
static_assert(offsetof(AEffect, initialDelay) == kInitialDelay, "");
static_assert(offsetof(AEffect, realQualities) == kInitialDelay + 4, "");
static_assert(offsetof(AEffect, offQualities) == kInitialDelay + 8, "");
static_assert(offsetof(AEffect, ioRatio) == kInitialDelay + 12, "");
static_assert(offsetof(AEffect, object) == kObject, "");
static_assert(offsetof(AEffect, user) == kObject + P, "");
static_assert(offsetof(AEffect, uniqueID) == kUniqueID, "");
static_assert(offsetof(AEffect, version) == kUniqueID + 4, "");
static_assert(offsetof(AEffect, processReplacing) == kProcessReplacing, "");
static_assert(offsetof(AEffect, processDoubleReplacing) == kProcessReplacing + P, "");
static_assert(offsetof(AEffect, future) == kFuture, "");
static_assert(sizeof(AEffect) == AlignP(kFuture + 56), "");
// The published figures themselves.
static_assert(P != 8 || (kFlags == 56 && kResvd1 == 64 && kObject == 96 && kUniqueID == 112 && kFuture == 136
                         && sizeof(AEffect) == 192),
              "64-bit layout");
static_assert(P != 4 || (kFlags == 36 && kResvd1 == 40 && kObject == 64 && kUniqueID == 72 && kFuture == 88
                         && sizeof(AEffect) == 144),
              "32-bit layout");

static_assert(sizeof(ERect) == 8 && offsetof(ERect, left) == 2 && offsetof(ERect, bottom) == 4
                  && offsetof(ERect, right) == 6,
              "");

static_assert(sizeof(VstEvent) == 32 && offsetof(VstEvent, data) == 16, "");
static_assert(offsetof(VstEvents, reserved) == P && offsetof(VstEvents, events) == 2 * P && sizeof(VstEvents) == 4 * P,
              "");
static_assert(sizeof(VstMidiEvent) == 32 && offsetof(VstMidiEvent, noteLength) == 16
                  && offsetof(VstMidiEvent, midiData) == 24 && offsetof(VstMidiEvent, detune) == 28
                  && offsetof(VstMidiEvent, reserved2) == 31,
              "");
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16 && offsetof(VstMidiSysexEvent, resvd1) == (P == 8 ? 24 : 20)
                  && offsetof(VstMidiSysexEvent, sysexDump) == (P == 8 ? 32 : 24)
                  && offsetof(VstMidiSysexEvent, resvd2) == (P == 8 ? 40 : 28)
                  && sizeof(VstMidiSysexEvent) == (P == 8 ? 48 : 32),
              "");

static_assert(offsetof(VstPinProperties, flags) == 64 && offsetof(VstPinProperties, arrangementType) == 68
                  && offsetof(VstPinProperties, shortLabel) == 72 && offsetof(VstPinProperties, future) == 80
                  && sizeof(VstPinProperties) == 128,
              "");

static_assert(offsetof(VstSpeakerProperties, name) == 16 && offsetof(VstSpeakerProperties, type) == 80
                  && sizeof(VstSpeakerProperties) == 112,
              "");
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4 && offsetof(VstSpeakerArrangement, speakers) == 8
                  && sizeof(VstSpeakerArrangement) == 8 + 8 * 112,
              "");

static_assert(offsetof(VstTimeInfo, sampleRate) == 8 && offsetof(VstTimeInfo, ppqPos) == 24
                  && offsetof(VstTimeInfo, tempo) == 32 && offsetof(VstTimeInfo, barStartPos) == 40
                  && offsetof(VstTimeInfo, cycleStartPos) == 48 && offsetof(VstTimeInfo, cycleEndPos) == 56
                  && offsetof(VstTimeInfo, timeSigNumerator) == 64 && offsetof(VstTimeInfo, timeSigDenominator) == 68
                  && offsetof(VstTimeInfo, samplesToNextClock) == 80 && offsetof(VstTimeInfo, flags) == 84
                  && sizeof(VstTimeInfo) == 88,
              "");

static_assert(offsetof(MidiKeyName, thisKeyNumber) == 4 && offsetof(MidiKeyName, keyName) == 8
                  && offsetof(MidiKeyName, reserved) == 72 && offsetof(MidiKeyName, flags) == 76
                  && sizeof(MidiKeyName) == 80,
              "");
} // namespace Vst2Layout
