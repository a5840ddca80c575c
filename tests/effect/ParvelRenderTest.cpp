// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parvel.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace
{
constexpr double kRate = 48000.0;

std::vector<double> Noise(size_t n, unsigned seed)
{
    std::vector<double> v(n);
    uint32_t x = seed * 2654435761u + 1u;
    for (double& s : v)
    {
        x = x * 1664525u + 1013904223u;
        s = ((double) (x >> 8) / (double) (1u << 24)) * 2.0 - 1.0;
    }
    return v;
}

std::vector<double> Sine(size_t n, double freq, double amp = 1.0)
{
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = amp * std::sin(2.0 * M_PI * freq * (double) i / kRate);
    return v;
}

struct Stereo
{
    std::vector<double> l, r;
};

class ParvelRenderTest : public ::testing::Test
{
protected:
    std::unique_ptr<Parvel> Make(int blockSize = 1024)
    {
        auto fx = std::make_unique<Parvel>();
        fx->ChangeSampleRate(kRate);
        fx->ChangeBlockSize(blockSize);
        return fx;
    }

    // Every filter busy: two bells, both shelves, both cut filters of odd order.
    static void ConfigureBusy(Parvel& fx)
    {
        const std::pair<int, double> settings[] = {
            {kBand_Low, 1},     {kFreq_Low, 120},   {kGain_Low, 6},     {kLoShelf, 1},     {kBand_LoMid, 1},
            {kFreq_LoMid, 700}, {kQ_LoMid, 4},      {kGain_LoMid, -9},  {kBand_HiMid, 1},  {kFreq_HiMid, 2500},
            {kGain_HiMid, 4},   {kBand_High, 1},    {kFreq_High, 9000}, {kGain_High, -5},  {kHiShelf, 1},
            {kBand_HP, 1},      {kFreq_HP, 40},     {kOrder_HP, 2},     {kBand_LP, 1},     {kFreq_LP, 15000},
            {kOrder_LP, 4},
        };
        for (const auto& [idx, v] : settings)
            fx.Param(idx)->SetPlain(v);
    }

    static Stereo Render(Parvel& fx, const std::vector<double>& l, const std::vector<double>& r)
    {
        Stereo out{std::vector<double>(l.size()), std::vector<double>(r.size())};
        double* ins[2] = {const_cast<double*>(l.data()), const_cast<double*>(r.data())};
        double* outs[2] = {out.l.data(), out.r.data()};
        fx.RenderBlock(ins, outs, (int) l.size());
        return out;
    }

    TempHome home;
};
} // namespace

TEST_F(ParvelRenderTest, WithEverythingOffTheOutputIsTheInputInSinglePrecision)
{
    auto fx = Make();
    fx->Param(kGain)->SetPlain(6.0); // no effect while the gain display is hidden
    const auto l = Noise(700, 1), r = Noise(700, 2);
    const Stereo out = Render(*fx, l, r);
    for (size_t i = 0; i < l.size(); ++i)
    {
        ASSERT_EQ(out.l[i], (double) (float) l[i]) << "left sample " << i;
        ASSERT_EQ(out.r[i], (double) (float) r[i]) << "right sample " << i;
    }
    EXPECT_EQ(fx->OutputGainFactor(), 1.0);
}

TEST_F(ParvelRenderTest, OutputGainActsOnlyWhileShown)
{
    auto fx = Make();
    fx->Param(kGain)->SetPlain(6.0);
    fx->Options().showGain = true;
    const auto l = Noise(300, 3), r = Noise(300, 4);
    const Stereo out = Render(*fx, l, r);
    const double factor = fx->OutputGainFactor();
    EXPECT_NEAR(factor, std::pow(10.0, 0.3), 1e-12);
    for (size_t i = 0; i < l.size(); ++i)
    {
        ASSERT_EQ(out.l[i], (double) (float) (factor * l[i])) << "gain applied in double, then rounded";
        ASSERT_EQ(out.r[i], (double) (float) (factor * r[i]));
    }

    fx->Options().showGain = false;
    const Stereo plain = Render(*fx, l, r);
    EXPECT_EQ(fx->OutputGainFactor(), 1.0);
    EXPECT_EQ(plain.l[10], (double) (float) l[10]);
}

TEST_F(ParvelRenderTest, ALongCallEqualsCallsOfOneChunkEach)
{
    auto whole = Make();
    auto pieces = Make();
    ConfigureBusy(*whole);
    ConfigureBusy(*pieces);
    whole->SetAnalyserOn(true);
    pieces->SetAnalyserOn(true);
    const auto l = Noise(300, 5), r = Noise(300, 6);

    const Stereo a = Render(*whole, l, r);
    Stereo b{std::vector<double>(300), std::vector<double>(300)};
    int offset = 0;
    for (int n : {128, 128, 44})
    {
        double* ins[2] = {const_cast<double*>(l.data()) + offset, const_cast<double*>(r.data()) + offset};
        double* outs[2] = {b.l.data() + offset, b.r.data() + offset};
        pieces->RenderBlock(ins, outs, n);
        offset += n;
    }
    EXPECT_EQ(a.l, b.l);
    EXPECT_EQ(a.r, b.r);
    for (int band = 0; band < BandAnalyser::kBands; ++band)
        EXPECT_EQ(whole->Analyser().levels[(size_t) band], pieces->Analyser().levels[(size_t) band]) << band;

    bool filtered = false;
    for (size_t i = 0; i < l.size(); ++i)
        filtered = filtered || a.l[i] != (double) (float) l[i];
    EXPECT_TRUE(filtered) << "the configuration must actually filter";
}

// The chain against the same stages run one by one per channel: high-pass, low-pass, then the
// bands that are on in their order (here three, so the pairing of bands leaves one over).
TEST_F(ParvelRenderTest, StagesRunInOrderOnEachChannel)
{
    auto fx = Make();
    ConfigureBusy(*fx);
    fx->Param(kBand_LoMid)->SetPlain(0);
    const auto l = Noise(300, 7), r = Noise(300, 8);
    const Stereo out = Render(*fx, l, r);

    CutFilterChain hp, lp;
    hp.Update(3, 40.0f, CutKind::HighPass, (float) kRate);
    lp.Update(5, 15000.0f, CutKind::LowPass, (float) kRate);
    struct Band { float freq, q, gain; FilterShape shape; };
    const Band bands[] = {{120, 0.707f, 6, FilterShape::LowShelf},
                          {2500, 0.707f, 4, FilterShape::Bell},
                          {9000, 0.707f, -5, FilterShape::HighShelf}};
    BandSection sections[3];
    for (int k = 0; k < 3; ++k)
        sections[k].params.Update(bands[k].freq, bands[k].q, bands[k].gain, bands[k].shape, (float) kRate);

    std::vector<float> x0(l.begin(), l.end()), x1(r.begin(), r.end());
    for (size_t at = 0; at < x0.size(); at += 128)
    {
        const int n = (int) std::min<size_t>(128, x0.size() - at);
        hp.Process(x0.data() + at, x1.data() + at, n);
        lp.Process(x0.data() + at, x1.data() + at, n);
        for (BandSection& b : sections)
        {
            ProcessSection(b.states[0], b.params, x0.data() + at, x0.data() + at, n);
            ProcessSection(b.states[1], b.params, x1.data() + at, x1.data() + at, n);
        }
    }
    for (size_t i = 0; i < x0.size(); ++i)
    {
        ASSERT_EQ(out.l[i], (double) x0[i]) << "left, frame " << i;
        ASSERT_EQ(out.r[i], (double) x1[i]) << "right, frame " << i;
    }
}

TEST_F(ParvelRenderTest, ABandSwitchedOffWhileRingingResumesFromItsFrozenState)
{
    auto paused = Make();
    auto straight = Make();
    for (Parvel* fx : {paused.get(), straight.get()})
    {
        fx->Param(kBand_LoMid)->SetPlain(1);
        fx->Param(kFreq_LoMid)->SetPlain(200);
        fx->Param(kQ_LoMid)->SetPlain(12);
        fx->Param(kGain_LoMid)->SetPlain(24);
    }
    std::vector<double> impulse(64, 0.0), silence(256, 0.0);
    impulse[0] = 1.0;
    Render(*paused, impulse, impulse);
    Render(*straight, impulse, impulse);

    paused->Param(kBand_LoMid)->SetPlain(0);
    const Stereo off = Render(*paused, silence, silence);
    EXPECT_TRUE(std::all_of(off.l.begin(), off.l.end(), [](double s) { return s == 0.0; }))
        << "a switched-off band passes silence through";
    paused->Param(kBand_LoMid)->SetPlain(1);

    const Stereo resumed = Render(*paused, silence, silence);
    const Stereo reference = Render(*straight, silence, silence);
    EXPECT_EQ(resumed.l, reference.l);
    EXPECT_EQ(resumed.r, reference.r);
    EXPECT_GT(std::abs(resumed.l[0]), 1e-4) << "the ringing continues, it does not restart from silence";
}

TEST_F(ParvelRenderTest, ShapesFollowTheShelfSwitchesEvenForSwitchedOffBands)
{
    auto fx = Make();
    double* none[2] = {nullptr, nullptr};
    fx->RenderBlock(none, none, 0);
    EXPECT_EQ(fx->Band(0).params.shape, FilterShape::Bell);
    EXPECT_EQ(fx->Band(3).params.shape, FilterShape::Bell);
    EXPECT_EQ(fx->Band(0).params.sampleRate, (float) kRate);

    fx->Param(kLoShelf)->SetPlain(1);
    fx->Param(kHiShelf)->SetPlain(1);
    fx->Param(kFreq_HP)->SetPlain(80);
    fx->Param(kOrder_HP)->SetPlain(5);
    fx->RenderBlock(none, none, 0);
    EXPECT_EQ(fx->Band(0).params.shape, FilterShape::LowShelf);
    EXPECT_EQ(fx->Band(1).params.shape, FilterShape::Bell);
    EXPECT_EQ(fx->Band(2).params.shape, FilterShape::Bell);
    EXPECT_EQ(fx->Band(3).params.shape, FilterShape::HighShelf);
    EXPECT_EQ(fx->HighPass().order, 6);
    EXPECT_EQ(fx->HighPass().freq, 80.0f);
    EXPECT_EQ(fx->HighPass().kind, CutKind::HighPass);
    EXPECT_EQ(fx->LowPass().kind, CutKind::LowPass);
    EXPECT_EQ(fx->LowPass().order, 1);
}

TEST_F(ParvelRenderTest, NoFramesWritesNothingButStillUpdates)
{
    auto fx = Make();
    fx->Param(kGain)->SetPlain(-6.0);
    fx->Options().showGain = true;
    std::vector<double> in(8, 0.5), out(8, 123.0);
    double* ins[2] = {in.data(), in.data()};
    double* outs[2] = {out.data(), out.data()};
    for (int frames : {0, -5})
    {
        fx->RenderBlock(ins, outs, frames);
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](double s) { return s == 123.0; }));
    }
    EXPECT_NEAR(fx->OutputGainFactor(), std::pow(10.0, -0.3), 1e-12);
}

TEST_F(ParvelRenderTest, MonoConnectionsProcessTheFirstChannel)
{
    auto mono = Make();
    auto stereo = Make();
    auto half = Make();
    for (Parvel* fx : {mono.get(), stereo.get(), half.get()})
        ConfigureBusy(*fx);
    const auto x = Noise(333, 7);

    std::vector<double> monoOut(x.size());
    double* monoIns[2] = {const_cast<double*>(x.data()), nullptr};
    double* monoOuts[2] = {monoOut.data(), nullptr};
    mono->RenderBlock(monoIns, monoOuts, (int) x.size());

    const Stereo ref = Render(*stereo, x, x);
    EXPECT_EQ(monoOut, ref.l);

    // A null second input with a second output: both channels filter the first input.
    Stereo out{std::vector<double>(x.size()), std::vector<double>(x.size())};
    double* outs[2] = {out.l.data(), out.r.data()};
    half->RenderBlock(monoIns, outs, (int) x.size());
    EXPECT_EQ(out.l, ref.l);
    EXPECT_EQ(out.r, ref.r);
}

TEST_F(ParvelRenderTest, BlocksLargerThanPreparedAreSafe)
{
    auto fx = Make(64);
    ConfigureBusy(*fx);
    fx->SetAnalyserOn(true);
    fx->Options().analyserInput = false;
    const auto l = Sine(5000, 1000.0), r = Sine(5000, 3000.0);
    const Stereo out = Render(*fx, l, r);
    EXPECT_TRUE(std::all_of(out.l.begin(), out.l.end(), [](double s) { return std::isfinite(s); }));
    EXPECT_TRUE(std::all_of(out.r.begin(), out.r.end(), [](double s) { return std::isfinite(s); }));

    // Without any prepared size the analyser has no buffer and stays idle.
    auto unprepared = std::make_unique<Parvel>();
    unprepared->SetAnalyserOn(true);
    const Stereo raw = Render(*unprepared, l, r);
    EXPECT_EQ(raw.l[100], (double) (float) l[100]);
}

TEST_F(ParvelRenderTest, AnalyserTapsInputOrOutput)
{
    auto pre = Make();
    auto post = Make();
    for (Parvel* fx : {pre.get(), post.get()})
    {
        fx->SetAnalyserOn(true);
        fx->Param(kGain)->SetPlain(-24.0);
        fx->Options().showGain = true;
    }
    post->Options().analyserInput = false;
    const auto x = Sine(9600, 1000.0, 0.5);
    Render(*pre, x, x);
    Render(*post, x, x);
    const auto loudest = [](const Parvel& fx) {
        float m = 0.0f;
        for (int b = 0; b < BandAnalyser::kBands; ++b)
            m = std::max(m, (float) fx.Analyser().peaks[(size_t) b]);
        return m;
    };
    EXPECT_NEAR(loudest(*pre), 0.5f, 0.05f);
    EXPECT_NEAR(loudest(*post) / loudest(*pre), std::pow(10.0, -24.0 / 20.0), 0.005);
}

#if defined(__SSE__)
TEST_F(ParvelRenderTest, FlushesDenormalsDuringTheCallAndRestoresTheCallersState)
{
    auto fx = Make();
    const unsigned callerState = _mm_getcsr() & ~0x8040u;
    _mm_setcsr(callerState);
    std::vector<double> tiny(16, 1e-40), out(16, 1.0);
    ASSERT_NE((float) tiny[0], 0.0f) << "1e-40 is a single-precision denormal";
    double* ins[2] = {tiny.data(), nullptr};
    double* outs[2] = {out.data(), nullptr};
    const unsigned before = _mm_getcsr();
    ASSERT_EQ(before & 0x8040u, 0u);
    fx->RenderBlock(ins, outs, 16);
    EXPECT_EQ(out[0], 0.0) << "denormals are flushed inside the call";
    EXPECT_EQ(_mm_getcsr(), before) << "the caller's control and status bits come back unchanged";
}
#endif

TEST_F(ParvelRenderTest, MissingHostBuffersReadAsSilenceAndAreNotWritten)
{
    auto fx = Make();
    fx->SetAnalyserOn(true);
    std::vector<double> out0(300, 9.0), out1(300, 9.0);
    double* noIns[2] = {nullptr, nullptr};
    double* outs[2] = {out0.data(), out1.data()};
    fx->RenderBlock(noIns, outs, 300);
    EXPECT_TRUE(std::all_of(out0.begin(), out0.end(), [](double s) { return s == 0.0; }));
    EXPECT_TRUE(std::all_of(out1.begin(), out1.end(), [](double s) { return s == 0.0; }));

    const auto x = Noise(300, 8);
    double* ins[2] = {const_cast<double*>(x.data()), nullptr};
    double* noOuts[2] = {nullptr, nullptr};
    fx->Options().analyserInput = false;
    fx->RenderBlock(ins, noOuts, 300);
    fx->RenderBlock(nullptr, nullptr, 300);
    double* secondOnly[2] = {nullptr, out1.data()};
    fx->RenderBlock(ins, secondOnly, 300);
    EXPECT_EQ(out1[5], (double) (float) x[5]) << "the second output carries the first input";
}

// The editor draws from the options, the parameter values, the section records and the analyser
// without the lock while the audio runs; under ThreadSanitizer this shows them race-free.
TEST_F(ParvelRenderTest, EditorSideReadsDuringProcessingAreRaceFree)
{
    auto fx = Make(256);
    ConfigureBusy(*fx);
    fx->SetAnalyserOn(true);
    std::atomic<bool> done{false};
    std::thread editor([&] {
        float phi[8] = {0.01f, 0.02f, 0.05f, 0.1f, 0.2f, 0.3f, 0.4f, 0.49f};
        float mag[8];
        double sink = 0.0;
        while (! done.load())
        {
            const EditorOptions& o = fx->Options();
            sink += o.magRange + o.analyserTop + o.analyserRange + (o.showGain ? 1 : 0) + o.sizeIndex;
            for (int i = 0; i < kNumParvelParams; ++i)
                sink += fx->Param(i)->Value();
            for (int k = 0; k < kNumBands; ++k)
                fx->Band(k).params.MultiplyMagnitudeSquared(mag, phi, 8, true);
            fx->HighPass().MultiplyMagnitudeSquared(mag, phi, 8);
            for (int b = 0; b < BandAnalyser::kBands; ++b)
                sink += fx->Analyser().levels[(size_t) b] + fx->Analyser().peaks[(size_t) b];
        }
        EXPECT_TRUE(std::isfinite(sink));
    });
    const auto x = Noise(256, 9);
    for (int block = 0; block < 40; ++block)
    {
        fx->Param(kFreq_LoMid)->SetPlain(200.0 + 50.0 * block);
        fx->Options().showGain = (block % 2) == 0;
        fx->Options().analyserInput = (block % 3) == 0;
        Render(*fx, x, x);
    }
    done = true;
    editor.join();
}
