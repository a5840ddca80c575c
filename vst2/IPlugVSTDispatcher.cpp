// SPDX-License-Identifier: GPL-3.0-or-later
// IPlugVST's dispatcher: one case per opcode the plug-in answers, each under the plug-in lock.
// Texts go into host buffers cut to the opcode's limit and terminated; a missing pointer, an
// invalid index and anything the plug-in cannot do answer 0. Opcodes not listed answer 0.
#include "IPlugVST.h"

#include "Vst2EditorWindow.h"
#include "Vst2Text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr VstInt32 kIdentify = Vst2FourCC("NvEf");
// The Cockos extensions of effVendorSpecific: a parameter's display for a given value, and
// whether a parameter moves in whole steps.
constexpr VstInt32 kCockosParamDisplay = effGetParamDisplay;
constexpr VstInt32 kCockosParamIsStepped = 8;

bool FitsInt(VstIntPtr value)
{
    return value >= INT32_MIN && value <= INT32_MAX;
}
} // namespace

VstIntPtr IPlugVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    PlugLockGuard guard(*this);
    char* text = static_cast<char*>(ptr);
    switch (opcode)
    {
    case effOpen:
        InitForHost();
        for (int i = 0; i < ParamCount(); ++i)
            ParamChanged(i);
        return 0;

    case effSetProgram:
        if (FitsInt(value))
            LoadPreset((int) value);
        return 0;
    case effGetProgram: return CurrentPresetIdx();
    case effSetProgramName:
        if (text != nullptr)
        {
            ModifyCurrentPreset(Vst2Text::ReadIn(text, kVstMaxProgNameLen).c_str());
            PresetChanged();
        }
        return 0;
    case effGetProgramName:
        Vst2Text::CopyOut(text, PresetName(CurrentPresetIdx()), kVstMaxProgNameLen);
        return 0;
    case effGetProgramNameIndexed:
        if (text == nullptr)
            return 0;
        Vst2Text::CopyOut(text, PresetName(index), kVstMaxProgNameLen);
        return text[0] != '\0' ? 1 : 0;

    case effGetParamLabel:
        if (const IParamSpec* p = Param(index))
            Vst2Text::CopyOut(text, p->LabelForHost(), kVstMaxParamStrLen);
        return 0;
    case effGetParamDisplay:
        if (const IParamSpec* p = Param(index))
            Vst2Text::CopyOut(text, p->FormatValue(p->Value(), false, true), kVstMaxParamStrLen);
        return 0;
    case effGetParamName:
        if (const IParamSpec* p = Param(index))
            Vst2Text::CopyOut(text, p->Name(), kVstMaxParamStrLen);
        return 0;
    case effCanBeAutomated: {
        const IParamSpec* p = Param(index);
        return p != nullptr && p->CanAutomate() ? 1 : 0;
    }
    case effString2Parameter: return String2Parameter(index, text);

    case effSetSampleRate:
        ChangeSampleRate(opt);
        RestartProcessing();
        return 0;
    case effSetBlockSize:
        // A block size below 1 is no block size; the prepared one stays.
        if (value >= 1)
        {
            ChangeBlockSize(value > kMaxPreparedBlock ? kMaxPreparedBlock : (int) value);
            RestartProcessing();
        }
        return 0;
    case effMainsChanged:
        ActivationChanged(value != 0);
        if (value == 0)
            RestartProcessing();
        return 0;

    case effEditGetRect: return EditGetRect(ptr);
    case effEditOpen: return EditOpen(ptr);
    case effEditClose: return EditClose();

    case effIdentify: return kIdentify;
    case effGetChunk: return GetChunk(index == 0, ptr);
    case effSetChunk: return SetChunk(index == 0, value, ptr);
    case effProcessEvents: return ProcessEvents(static_cast<const VstEvents*>(ptr));

    case effGetInputProperties: return PinProperties(index, ptr, true);
    case effGetOutputProperties: return PinProperties(index, ptr, false);
    case effGetPlugCategory: return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
    case effSetSpeakerArrangement:
        return SetSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                     static_cast<VstSpeakerArrangement*>(ptr));
    case effGetSpeakerArrangement: return GetSpeakerArrangement(value, ptr);

    case effGetEffectName:
        if (text == nullptr)
            return 0;
        Vst2Text::CopyOut(text, GetEffectName(), kVstMaxEffectNameLen);
        return 1;
    case effGetVendorString:
        if (text == nullptr)
            return 0;
        Vst2Text::CopyOut(text, GetMfrName(), kVstMaxVendorStrLen);
        return 1;
    case effGetProductString:
        if (text == nullptr)
            return 0;
        Vst2Text::CopyOut(text, GetProductName(), kVstMaxProductStrLen);
        return 1;
    case effGetVendorVersion: return DecimalVersion(GetEffectVersion());
    case effVendorSpecific: return VendorSpecific(index, value, ptr, opt);
    case effCanDo: return CanDo(text);
    case effGetTailSize: return GetTailSize();
    case effGetVstVersion: return kVstVersion;

    case effGetMidiKeyName: {
        auto* key = static_cast<MidiKeyName*>(ptr);
        if (key == nullptr)
            return 0;
        key->keyName[0] = '\0';
        const bool named = GetMidiNoteName(key->thisKeyNumber, key->keyName, (int) sizeof key->keyName);
        key->keyName[sizeof key->keyName - 1] = '\0';
        return named ? 1 : 0;
    }

    default: return 0;
    }
}

// The host's text: a display text, matched whole and in letter case, for a parameter that has
// them; otherwise a number (leading blanks and trailing text allowed, as atof reads it). Text
// that is neither sets nothing and answers 0. Without a text the host asks whether the
// parameter takes text at all: a valid one does.
VstIntPtr IPlugVST::String2Parameter(VstInt32 index, const char* text)
{
    IParamSpec* p = Param(index);
    if (p == nullptr)
        return 0;
    if (text == nullptr)
        return 1;
    double v = 0.0;
    if (p->NDisplayTexts() > 0)
    {
        const DisplayTextEntry* match = nullptr;
        for (int i = 0; i < p->NDisplayTexts() && match == nullptr; ++i)
            if (std::strcmp(p->DisplayText(i)->text, text) == 0)
                match = p->DisplayText(i);
        if (match == nullptr)
            return 0;
        v = match->value;
    }
    else
    {
        char* end = nullptr;
        v = std::strtod(text, &end);
        if (end == text || !std::isfinite(v))
            return 0;
    }
    if (IEditorLink* editor = GetGUI())
        editor->PushParamToControls(index, v, false);
    p->SetPlain(v);
    ParamChanged(index);
    return 1;
}

VstIntPtr IPlugVST::PinProperties(VstInt32 index, void* ptr, bool input)
{
    auto* pin = static_cast<VstPinProperties*>(ptr);
    const int n = input ? NInChannels() : NOutChannels();
    if (pin == nullptr || index < 0 || index >= n)
        return 0;
    pin->flags = kVstPinIsActive;
    if (index % 2 == 0 && index + 1 < n)
        pin->flags |= kVstPinIsStereo;
    std::snprintf(pin->label, sizeof pin->label, "%s %d", input ? "Input" : "Output", (int) index + 1);
    return 1;
}

// The host proposes its channel counts (a missing side keeps what it is). The plug-in takes them
// only when a channel configuration allows them; it then works on that many host buffers and
// runs its other channels on their own scratch. Counts it cannot take change nothing.
VstIntPtr IPlugVST::SetSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    if (input == nullptr && output == nullptr)
        return 0;
    const int nIn = input != nullptr ? input->numChannels : -1;
    const int nOut = output != nullptr ? output->numChannels : -1;
    if ((input != nullptr && nIn < 1) || (output != nullptr && nOut < 1) || !LegalIO(nIn, nOut))
        return 0;
    if (input != nullptr)
    {
        ConnectFirstInputs(nIn);
        FillArrangement(mInputArrangement, nIn);
    }
    if (output != nullptr)
    {
        ConnectFirstOutputs(nOut);
        FillArrangement(mOutputArrangement, nOut);
    }
    return 1;
}

VstIntPtr IPlugVST::GetSpeakerArrangement(VstIntPtr inputTarget, void* outputTarget)
{
    if (auto** target = reinterpret_cast<VstSpeakerArrangement**>(inputTarget))
        *target = &mInputArrangement;
    if (auto** target = static_cast<VstSpeakerArrangement**>(outputTarget))
        *target = &mOutputArrangement;
    return 1;
}

void IPlugVST::ConnectFirstInputs(int n)
{
    for (int i = 0; i < NInChannels(); ++i)
    {
        InputChannel* channel = InChannel(i);
        channel->connected = i < n;
        if (!channel->connected)
        {
            // Whatever the channel converted while it was connected must not sound again.
            std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
            *channel->source = channel->scratch.data();
        }
    }
}

void IPlugVST::ConnectFirstOutputs(int n)
{
    for (int i = 0; i < NOutChannels(); ++i)
    {
        OutputChannel* channel = OutChannel(i);
        channel->connected = i < n;
        if (!channel->connected)
            *channel->dest = channel->scratch.data();
    }
}

VstIntPtr IPlugVST::ProcessEvents(const VstEvents* events)
{
    if (events == nullptr)
        return 0;
    VstEvent* const* list = events->events; // as many as numEvents, whatever the declaration says
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = list[i];
        if (event == nullptr)
            continue;
        if (event->type == kVstMidiType)
        {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            MidiMessage msg;
            msg.offset = midi->deltaFrames;
            msg.status = (uint8_t) midi->midiData[0];
            msg.data1 = (uint8_t) midi->midiData[1];
            msg.data2 = (uint8_t) midi->midiData[2];
            HandleMidiMessage(msg);
        }
        else if (event->type == kVstSysExType)
        {
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
            if (sysex->dumpBytes < 0 || (sysex->dumpBytes > 0 && sysex->sysexDump == nullptr))
                continue;
            SysExMessage msg;
            msg.offset = sysex->deltaFrames;
            msg.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
            msg.size = sysex->dumpBytes;
            HandleSysEx(msg);
        }
    }
    return 1;
}

VstIntPtr IPlugVST::CanDo(const char* text) const
{
    if (text == nullptr)
        return 0;
    if (std::strcmp(text, "receiveVstTimeInfo") == 0)
        return 1;
    for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
        if (std::strcmp(text, midi) == 0)
            return DoesMidi() ? 1 : 0;
    if (std::strcmp(text, "hasCockosExtensions") == 0 || std::strcmp(text, "hasCockosViewAsConfig") == 0)
        return kCockosCanDo;
    return 0;
}

VstIntPtr IPlugVST::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    const IParamSpec* p = FitsInt(value) ? Param((int) value) : nullptr;
    if (index == kCockosParamDisplay)
    {
        if (ptr == nullptr || p == nullptr)
            return 0;
        Vst2Text::CopyOut(static_cast<char*>(ptr), p->FormatValue(opt, true, true), kVstMaxParamStrLen);
        return kCockosAnswer;
    }
    if (index == kCockosParamIsStepped)
        return p != nullptr && p->Kind() != ParamKind::Double ? kCockosAnswer : 0;
    return 0;
}

VstIntPtr IPlugVST::EditGetRect(void* ptr)
{
    auto** target = static_cast<ERect**>(ptr);
    if (target == nullptr || !HasEditorWindow())
        return 0;
    *target = &mEditRect;
    return 1;
}

VstIntPtr IPlugVST::EditOpen(void* parent)
{
    if (!HasEditorWindow() || mEditorWindowOpen)
        return 0;
    if (!Vst2EditorWindow::Open(GetGUI(), parent))
        return 0;
    mEditorWindowOpen = true;
    EditorOpened();
    return 1;
}

VstIntPtr IPlugVST::EditClose()
{
    if (!mEditorWindowOpen || GetGUI() == nullptr)
        return 0;
    EditorClosed();
    Vst2EditorWindow::Close(GetGUI());
    mEditorWindowOpen = false;
    return 1;
}
