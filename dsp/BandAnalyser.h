// SPDX-License-Identifier: GPL-3.0-or-later
// The 32-band filter-bank analyser: band-passes spaced logarithmically from fmin to fmax, each
// with a peak envelope and a held peak, fed with the effect's input or output mixed to mono.
//
// Threads: BuildBands and SetBlockLength are serialised with Feed by the caller (they run on
// sample-rate or block-size changes). The editor reads bandFreqs, levels, peaks, enabled and
// GroupCount without a lock and calls ClearPeaks and ResetLevels without one: those two only
// post a request (and zero the published values at once); the next Feed carries it out on the
// audio thread, so filter states are touched by one thread only.
#pragma once

#include "AnalyserBank.h"
#include "Relaxed.h"
#include "SimdLevel.h"

#include <array>
#include <vector>

class BandAnalyser
{
public:
    static constexpr int kBands = 32;
    // The bands counted in groups of four, as GroupCount reports them once built.
    static constexpr int kGroups = kBands / 4;
    static constexpr int kStereoPiece = 64;

    // Designs the 32 bands for fs and resets levels, peaks and states.
    void BuildBands(double fmin, double fmax, double sampleRate);

    // Sizes the sample buffer for blocks of n frames when n differs from the stored length. The
    // only place that allocates; if the allocation throws, the analyser keeps its previous buffer
    // and length.
    void SetBlockLength(int n);
    int BlockLength() const { return blockLength; }

    // One block of mono samples. Does nothing while disabled or before BuildBands and
    // SetBlockLength; a count beyond the block length is fed in pieces of the block length.
    // Publishes levels and peaks once per call. Audio thread, allocation-free.
    void Feed(const double* samples, int count);
    // Two channels: mixed to mono in pieces of 64 samples, or fed straight when they are the same
    // pointer or the second is null.
    void FeedStereo(const double* first, const double* second, int count);

    // Zeroes envelopes, held peaks and filter states (deferred to the next Feed, see above).
    void ResetLevels();
    // Zeroes the held peaks (deferred likewise).
    void ClearPeaks();

    // 0 before BuildBands, kGroups after.
    int GroupCount() const { return groupCount; }
    // The bands' coefficients and lane values, for inspection while no Feed runs.
    const AnalyserBank& Bank() const { return bank; }
    // The kernel Feed uses (every level gives the same values); the processor's best by default.
    // Set it while no Feed runs; a level the processor lacks falls back to the best it has.
    void SetSimdLevel(SimdLevel level) { simdLevel = SimdLevelAvailable(level) ? level : BestSimdLevel(); }

    Relaxed<bool> enabled = true;
    // Centre frequencies in Hz as designed, and every band's envelope and held peak (linear
    // amplitude), all doubles for the display.
    std::array<Relaxed<double>, kBands> bandFreqs {};
    std::array<Relaxed<double>, kBands> levels {};
    std::array<Relaxed<double>, kBands> peaks {};

private:
    void ApplyRequests();
    void ResetNow();
    void Publish();

    AnalyserBank bank;
    Relaxed<int> groupCount = 0;
    SimdLevel simdLevel = BestSimdLevel();
    std::vector<float> input;
    int blockLength = 0;
    Relaxed<bool> resetRequested = false;
    Relaxed<bool> clearPeaksRequested = false;
};
