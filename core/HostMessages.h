// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI and system-exclusive messages as the bindings hand them to the plug-in base and back.
#pragma once

#include <cstdint>

struct MidiMessage
{
    int offset = 0; // sample offset within the block
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

// The bytes belong to the caller and live only for the call.
struct SysExMessage
{
    int offset = 0;
    const uint8_t* data = nullptr;
    int size = 0;
};
