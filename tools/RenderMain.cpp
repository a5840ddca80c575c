// SPDX-License-Identifier: GPL-3.0-or-later
// parvel-render: a command-line VST3 and VST2 host. It loads a VST3 module with dlopen and
// creates its audio effect class through the factory, or (--vst2) loads a VST 2.4 plug-in with
// dlopen and makes one through its entry point, and renders a WAV file (or the embedded sweep)
// through it, using nothing but the plug-in interfaces. Exit status: 0 on success, 2 for bad
// arguments, 1 when loading, processing or file I/O fails.
#include "ComponentHandler.h"
#include "HostApplication.h"
#include "ParameterChanges.h"
#include "PluginInstance.h"
#include "PluginModule.h"
#include "RenderCommon.h"
#include "RenderSession.h"
#include "SweepSignal.h"
#include "WavFile.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

#ifndef PARVEL_DEFAULT_MODULE
#define PARVEL_DEFAULT_MODULE "Parvel.vst3"
#endif

namespace
{
using Options = RenderOptions;

void PrintUsage(FILE* to)
{
    std::fprintf(to,
                 "usage: parvel-render [options] [IN.wav|-] [OUT.wav]\n"
                 "Renders IN.wav (or, without it or with -, a 5 s log sweep 20 Hz..20 kHz at -6 dBFS)\n"
                 "through a VST3 module (or a VST2 plug-in) into OUT.wav (default out.wav, 32-bit float).\n"
                 "  --param NAME=VALUE   set parameter NAME (its title) to a plain VALUE (repeatable)\n"
                 "  --sample-rate HZ     processing rate (default: the input's, or 48000)\n"
                 "  --block N            block size (default 512)\n"
                 "  --mono               one channel in and out (default stereo)\n"
                 "  --double             64-bit processing\n"
                 "  --bypass             render with the plug-in bypassed\n"
                 "  --state-in FILE      restore these state bytes before processing\n"
                 "  --state-out FILE     save the state after processing\n"
                 "  --levels F1,F2,...   print the gain of the rendered sweep at these frequencies\n"
                 "  --info               print factory, class and parameter information and exit\n"
                 "  --module PATH        the .vst3 bundle (default %s)\n"
                 "  --vst2 PATH          render through the VST2 plug-in PATH (a .so) instead; a parameter's\n"
                 "                       NAME may be the name the plug-in reports or the full name it cuts,\n"
                 "                       VALUE goes to the plug-in as text (a switch also takes 0 or 1);\n"
                 "                       the state is the plug-in's program chunk\n",
                 PARVEL_DEFAULT_MODULE);
}

bool ParseDouble(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(value);
}

bool ParseArgs(int argc, char** argv, Options& o, std::string& error)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto next = [&](std::string& to) {
            if (i + 1 >= argc)
            {
                error = arg + " needs a value";
                return false;
            }
            to = argv[++i];
            return true;
        };
        std::string value;
        if (arg == "--param")
        {
            if (!next(value))
                return false;
            const size_t eq = value.find('=');
            if (eq == std::string::npos || eq == 0)
            {
                error = "--param wants NAME=VALUE, got \"" + value + "\"";
                return false;
            }
            o.params.emplace_back(value.substr(0, eq), value.substr(eq + 1));
        }
        else if (arg == "--sample-rate")
        {
            if (!next(value) || !ParseDouble(value, o.sampleRate) || o.sampleRate < 1000.0 || o.sampleRate > 768000.0)
            {
                error = error.empty() ? "--sample-rate wants a rate from 1000 to 768000 Hz, got \"" + value + "\"" : error;
                return false;
            }
        }
        else if (arg == "--block")
        {
            double n = 0;
            if (!next(value) || !ParseDouble(value, n) || n < 1 || n > 65536 || n != std::floor(n))
            {
                error = error.empty() ? "--block wants a whole number from 1 to 65536, got \"" + value + "\"" : error;
                return false;
            }
            o.blockSize = (int) n;
        }
        else if (arg == "--levels")
        {
            if (!next(value))
                return false;
            size_t start = 0;
            while (start <= value.size())
            {
                const size_t comma = value.find(',', start);
                const std::string item = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                double hz = 0;
                if (!ParseDouble(item, hz) || hz <= 0)
                {
                    error = "--levels wants frequencies in Hz separated by commas, got \"" + value + "\"";
                    return false;
                }
                o.levels.push_back(hz);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        }
        else if (arg == "--mono")
            o.mono = true;
        else if (arg == "--double")
            o.doublePrecision = true;
        else if (arg == "--bypass")
            o.bypass = true;
        else if (arg == "--info")
            o.info = true;
        else if (arg == "--state-in")
        {
            if (!next(o.stateIn))
                return false;
        }
        else if (arg == "--state-out")
        {
            if (!next(o.stateOut))
                return false;
        }
        else if (arg == "--module")
        {
            if (!next(o.modulePath))
                return false;
        }
        else if (arg == "--vst2")
        {
            if (!next(o.vst2Path))
                return false;
        }
        else if (arg.size() > 1 && arg[0] == '-' && arg != "-")
        {
            error = "unknown option " + arg;
            return false;
        }
        else
            positional.push_back(arg);
    }
    if (positional.size() > 2)
    {
        error = "too many file arguments";
        return false;
    }
    if (!positional.empty() && positional[0] != "-")
        o.input = positional[0];
    if (positional.size() == 2)
        o.output = positional[1];
    if (!o.levels.empty() && !o.input.empty())
    {
        error = "--levels measures the embedded sweep; give no input file";
        return false;
    }
    return true;
}

std::string Narrow(const TChar* text, size_t max)
{
    std::string out;
    for (size_t i = 0; i < max && text[i] != 0; ++i)
        out.push_back(text[i] < 128 ? (char) text[i] : '?');
    return out;
}

std::string HexId(const TUID id)
{
    std::string out;
    char digits[3];
    for (int i = 0; i < 16; ++i)
    {
        std::snprintf(digits, sizeof digits, "%02X", (unsigned) (unsigned char) id[i]);
        out += digits;
    }
    return out;
}

void PrintInfo(IPluginFactory* factory, PluginInstance& plugin)
{
    PFactoryInfo f{};
    if (factory->getFactoryInfo(&f) == kResultOk)
        std::printf("factory: vendor \"%s\", url \"%s\", email \"%s\", flags %d\n", f.vendor, f.url, f.email, f.flags);
    FUnknownPtr<IPluginFactory2> factory2(factory);
    for (int32 i = 0; i < factory->countClasses(); ++i)
    {
        PClassInfo2 c{};
        if (factory2 && factory2->getClassInfo2(i, &c) == kResultOk)
            std::printf("class %d: cid %s, name \"%s\", category \"%s\", subcategories \"%s\", version \"%s\", "
                        "sdk \"%s\", vendor \"%s\", cardinality %d, flags %u\n",
                        (int) i, HexId(c.cid).c_str(), c.name, c.category, c.subCategories, c.version, c.sdkVersion,
                        c.vendor, c.cardinality, c.classFlags);
        else
        {
            PClassInfo b{};
            if (factory->getClassInfo(i, &b) == kResultOk)
                std::printf("class %d: cid %s, name \"%s\", category \"%s\"\n", (int) i, HexId(b.cid).c_str(), b.name,
                            b.category);
        }
    }
    IEditController* ec = plugin.controller;
    std::printf("parameters: %d\n", (int) ec->getParameterCount());
    for (int32 i = 0; i < ec->getParameterCount(); ++i)
    {
        ParameterInfo p{};
        if (ec->getParameterInfo(i, p) != kResultOk)
            continue;
        String128 text{};
        const bool hasText = ec->getParamStringByValue(p.id, p.defaultNormalizedValue, text) == kResultOk;
        std::printf("  %d: id %u, title \"%s\", units \"%s\", steps %d, default %g (%s)\n", (int) i, (unsigned) p.id,
                    Narrow(p.title, 128).c_str(), Narrow(p.units, 128).c_str(), (int) p.stepCount,
                    ec->normalizedParamToPlain(p.id, p.defaultNormalizedValue),
                    hasText ? ("\"" + Narrow(text, 128) + "\"").c_str() : "no text");
    }
}

bool FindParameter(IEditController* ec, const std::string& title, ParameterInfo& found)
{
    for (int32 i = 0; i < ec->getParameterCount(); ++i)
    {
        ParameterInfo p{};
        if (ec->getParameterInfo(i, p) == kResultOk && Narrow(p.title, 128) == title)
        {
            found = p;
            return true;
        }
    }
    return false;
}

bool FindBypass(IEditController* ec, ParamID& id)
{
    for (int32 i = 0; i < ec->getParameterCount(); ++i)
    {
        ParameterInfo p{};
        if (ec->getParameterInfo(i, p) == kResultOk && (p.flags & ParameterInfo::kIsBypass) != 0)
        {
            id = p.id;
            return true;
        }
    }
    return false;
}

int Run(int argc, char** argv)
{
    Options o;
    o.modulePath = PARVEL_DEFAULT_MODULE;
    std::string error;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
        {
            PrintUsage(stdout);
            return 0;
        }
    if (!ParseArgs(argc, argv, o, error))
    {
        PrintUsage(stderr);
        return Fail(kExitUsage, error);
    }
    if (!o.vst2Path.empty())
        return RunVst2Render(o);

    std::unique_ptr<PluginModule> module = PluginModule::Load(o.modulePath, error);
    if (!module)
        return Fail(kExitFailure, error);
    HostApplication host;
    ComponentHandler handler;
    std::unique_ptr<PluginInstance> plugin = PluginInstance::Create(module->factory(), &host, error);
    if (!plugin)
        return Fail(kExitFailure, error);
    IEditController* ec = plugin->controller;
    ec->setComponentHandler(&handler);

    if (o.info)
    {
        PrintInfo(module->factory(), *plugin);
        return 0;
    }

    ParameterChanges changes;
    for (const auto& [name, text] : o.params)
    {
        ParameterInfo p{};
        if (!FindParameter(ec, name, p))
            return Fail(kExitUsage, "no parameter is called \"" + name + "\" (see --info)");
        double plain = 0;
        if (!ParseDouble(text, plain))
            return Fail(kExitUsage, "\"" + text + "\" is not a number (parameter \"" + name + "\")");
        const double normalized = ec->plainParamToNormalized(p.id, plain);
        changes.add(p.id, normalized);
        ec->setParamNormalized(p.id, normalized);
    }
    if (o.bypass)
    {
        ParamID bypassId = 0;
        if (!FindBypass(ec, bypassId))
            return Fail(kExitFailure, "the plug-in has no bypass parameter");
        changes.add(bypassId, 1.0);
    }

    AudioBuffer source;
    const SweepSpec sweep;
    double rate = 0;
    if (!LoadSource(o, sweep, source, rate, error))
        return Fail(kExitFailure, error);

    if (!o.stateIn.empty())
    {
        std::vector<char> bytes;
        if (!ReadBytes(o.stateIn, bytes))
            return Fail(kExitFailure, "cannot read " + o.stateIn);
        IPtr<MemoryStream> stream(new MemoryStream(), false);
        int32 written = 0;
        if (!bytes.empty())
            stream->write(bytes.data(), (int32) bytes.size(), &written);
        stream->seek(0, IBStream::kIBSeekSet, nullptr);
        if (plugin->component->setState(stream) != kResultOk)
            return Fail(kExitFailure, "the plug-in refused the state in " + o.stateIn);
        if (plugin->separateController)
        {
            stream->seek(0, IBStream::kIBSeekSet, nullptr);
            ec->setComponentState(stream);
        }
    }

    RenderSettings settings;
    settings.sampleRate = rate;
    settings.blockSize = o.blockSize;
    settings.channels = o.mono ? 1 : 2;
    settings.doublePrecision = o.doublePrecision;
    AudioBuffer rendered;
    {
        RenderSession session(*plugin, settings);
        if (!session.prepare(error))
            return Fail(kExitFailure, error);
        if (!session.render(source, rendered, changes, ProgressLine(source, rate), error))
            return Fail(kExitFailure, error);
    }

    if (!o.stateOut.empty())
    {
        IPtr<MemoryStream> stream(new MemoryStream(), false);
        if (plugin->component->getState(stream) != kResultOk)
            return Fail(kExitFailure, "the plug-in could not save its state");
        if (!WriteBytes(o.stateOut, stream->getData(), (size_t) stream->getSize()))
            return Fail(kExitFailure, "cannot write " + o.stateOut);
    }
    return FinishRender(o, sweep, source, rendered);
}
} // namespace

int main(int argc, char** argv)
{
    return Run(argc, argv);
}
