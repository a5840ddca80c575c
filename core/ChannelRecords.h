// SPDX-License-Identifier: GPL-3.0-or-later
// The records behind the processing adapter: declared channel configurations and the
// per-channel state that maps host buffers onto the double-precision data pointer arrays.
#pragma once

#include <vector>

struct ChannelIOPair
{
    int inputs = 0;
    int outputs = 0;
};

// source points at this channel's entry in the plug-in's input data pointer array.
// floatSource and doubleSource are the host buffer connected for the current block (at
// most one of them is set); they are forgotten at the end of every adapter block so that a
// block without a new connection never reads a stale host buffer.
struct InputChannel
{
    bool connected = false;
    double** source = nullptr;
    std::vector<double> scratch;
    const float* floatSource = nullptr;
    double* doubleSource = nullptr;
    int floatFrames = 0; // length of floatSource; ConnectInputs converts its first block of it
};

// floatDest is the host float array the rendered scratch is converted into (null when
// processing in double precision); doubleDest is the host double array of the double form.
struct OutputChannel
{
    bool connected = false;
    double** dest = nullptr;
    float* floatDest = nullptr;
    std::vector<double> scratch;
    double* doubleDest = nullptr;
};
