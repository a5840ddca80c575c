// SPDX-License-Identifier: GPL-3.0-or-later
// Entry points of the vector kernels, one set per instruction set, each compiled in its own
// translation unit (SimdSse2.cpp, SimdAvx2.cpp; x86 only). Callers pick one by SimdLevel; every
// set computes the same values bit for bit. Audio thread: allocation-free and lock-free.
#pragma once

#include "AnalyserBank.h"
#include "CascadeLanes.h"

// Runs the sections of `lanes` in cascade over n samples of buf0 (and buf1 with two channels),
// in place, and leaves the states in `lanes`.
void RunCascadeSse2(CascadeLanes& lanes, float* buf0, float* buf1, int n);
void RunCascadeAvx2(CascadeLanes& lanes, float* buf0, float* buf1, int n);

// Runs count mono samples through every lane of the bank, stages and envelope, and restarts
// lanes that ended non-finite.
void RunAnalyserSse2(AnalyserBank& bank, const float* input, int count);
void RunAnalyserAvx2(AnalyserBank& bank, const float* input, int count);
