// SPDX-License-Identifier: GPL-3.0-or-later
// parvel-render --vst2: the render through a VST 2.4 plug-in, loaded and driven exactly as a
// host drives it (Vst2Plugin.h). Parameters are set as a host sets what a user typed, through
// the plug-in's text conversion; the state is the plug-in's program chunk.
#include "RenderCommon.h"
#include "Vst2Plugin.h"
#include "Vst2RenderSession.h"

#include <cstdio>

namespace
{
std::string FourCC(VstInt32 code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = (char) ((code >> shift) & 0xFF);
        text.push_back(c >= 32 && c < 127 ? c : '?');
    }
    return text;
}

void PrintInfo(const Vst2Instance& plugin)
{
    const AEffect* e = plugin.effect();
    std::printf("effect: \"%s\", vendor \"%s\", product \"%s\", vendor version %ld, VST version %ld\n",
                plugin.text(effGetEffectName).c_str(), plugin.text(effGetVendorString).c_str(),
                plugin.text(effGetProductString).c_str(), (long) plugin.dispatch(effGetVendorVersion),
                (long) plugin.dispatch(effGetVstVersion));
    std::printf("record: uniqueID '%s', version %d, flags %d, programs %d, parameters %d, inputs %d, outputs %d, "
                "initial delay %d\n",
                FourCC(e->uniqueID).c_str(), e->version, e->flags, e->numPrograms, e->numParams, e->numInputs,
                e->numOutputs, e->initialDelay);
    std::printf("parameters: %d\n", e->numParams);
    for (VstInt32 i = 0; i < e->numParams; ++i)
        std::printf("  %d: name \"%s\", label \"%s\", value %g (\"%s\")\n", (int) i,
                    plugin.text(effGetParamName, i).c_str(), plugin.text(effGetParamLabel, i).c_str(),
                    plugin.getParameter(i), plugin.text(effGetParamDisplay, i).c_str());
}
} // namespace

int RunVst2Render(const RenderOptions& o)
{
    std::string error;
    std::unique_ptr<Vst2Module> module = Vst2Module::Load(o.vst2Path, error);
    if (!module)
        return Fail(kExitFailure, error);
    Vst2Host host;
    host.processLevel = kVstProcessLevelOffline;
    std::unique_ptr<Vst2Instance> plugin = Vst2Instance::Create(*module, host, error);
    if (!plugin)
        return Fail(kExitFailure, error);

    if (o.info)
    {
        PrintInfo(*plugin);
        return 0;
    }
    if (o.bypass)
        return Fail(kExitFailure, "a VST2 plug-in has no bypass to render with");

    if (!o.stateIn.empty())
    {
        std::vector<char> bytes;
        if (!ReadBytes(o.stateIn, bytes))
            return Fail(kExitFailure, "cannot read " + o.stateIn);
        if (plugin->setChunk(false, bytes) != 1)
            return Fail(kExitFailure, "the plug-in refused the state in " + o.stateIn);
    }
    for (const auto& [name, text] : o.params)
    {
        const int index = plugin->findParameter(name);
        if (index < 0)
            return Fail(kExitUsage, "no parameter is called \"" + name + "\" (see --info)");
        if (!plugin->setParameterFromUser(index, text))
            return Fail(kExitUsage, "the plug-in does not take \"" + text + "\" for parameter \"" + name + "\"");
    }

    AudioBuffer source;
    const SweepSpec sweep;
    double rate = 0;
    if (!LoadSource(o, sweep, source, rate, error))
        return Fail(kExitFailure, error);

    RenderSettings settings;
    settings.sampleRate = rate;
    settings.blockSize = o.blockSize;
    settings.channels = o.mono ? 1 : 2;
    settings.doublePrecision = o.doublePrecision;
    AudioBuffer rendered;
    {
        Vst2RenderSession session(*plugin, settings);
        if (!session.prepare(error) || !session.render(source, rendered, ProgressLine(source, rate), error))
            return Fail(kExitFailure, error);
    }

    if (!o.stateOut.empty())
    {
        const std::vector<char> bytes = plugin->getChunk(false);
        if (bytes.empty())
            return Fail(kExitFailure, "the plug-in could not save its state");
        if (!WriteBytes(o.stateOut, bytes.data(), bytes.size()))
            return Fail(kExitFailure, "cannot write " + o.stateOut);
    }
    return FinishRender(o, sweep, source, rendered);
}
