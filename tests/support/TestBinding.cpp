// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestBinding.h"

ITestBinding::ITestBinding(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                           const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
                           int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
                latency, plugDoesMidi, plugDoesChunks, plugIsInst, PluginApi::VST3)
{
}

void ITestBinding::BeginParamGesture(int paramIdx)
{
    gestureBegins.push_back(paramIdx);
}

void ITestBinding::NotifyHostParamValue(int paramIdx, double normalized)
{
    hostValues.emplace_back(paramIdx, normalized);
}

void ITestBinding::EndParamGesture(int paramIdx)
{
    gestureEnds.push_back(paramIdx);
}

void ITestBinding::NotifyHostPresetChanged()
{
    ++presetChangedNotifications;
}

int ITestBinding::GetSamplePosition()
{
    return (int) transport.samplePos;
}

double ITestBinding::GetTempoBpm()
{
    return transport.tempo;
}

void ITestBinding::GetTimeSignature(int& numerator, int& denominator)
{
    numerator = transport.numerator;
    denominator = transport.denominator;
}

void ITestBinding::GetTransportInfo(TransportInfo& info)
{
    info = transport;
}

void ITestBinding::RequestEditorResize(int width, int height)
{
    resizeRequests.emplace_back(width, height);
}

bool ITestBinding::SendMidiToHost(const MidiMessage& msg)
{
    midiSent.push_back(msg);
    return true;
}
