// SPDX-License-Identifier: GPL-3.0-or-later
// A binding without a host: it answers the host-facing operations of the plug-in base and
// records the calls a host would receive, for tests to inspect. Its constructor follows the
// convention of every binding: the plug-in base's arguments without the plug-in API.
#pragma once

#include "IPlugBase.h"

#include <utility>
#include <vector>

class ITestBinding : public IPlugBase
{
public:
    ITestBinding(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                 const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                 int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst);

    void BeginParamGesture(int paramIdx) override;
    void NotifyHostParamValue(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    void NotifyHostPresetChanged() override;
    int GetSamplePosition() override;
    double GetTempoBpm() override;
    void GetTimeSignature(int& numerator, int& denominator) override;
    void GetTransportInfo(TransportInfo& info) override;
    void RequestEditorResize(int width, int height) override;
    bool SendMidiToHost(const MidiMessage& msg) override;

    // What the binding answers for the transport queries.
    TransportInfo transport;

    // What a host would have received, in call order.
    std::vector<int> gestureBegins;
    std::vector<int> gestureEnds;
    std::vector<std::pair<int, double>> hostValues;
    int presetChangedNotifications = 0;
    std::vector<std::pair<int, int>> resizeRequests;
    std::vector<MidiMessage> midiSent;
};
