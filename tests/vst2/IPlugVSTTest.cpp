// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in as a VST2 host sees it, through dlopen and VSTPluginMain: the exports, the record,
// every opcode of the dispatcher with its answer, texts cut to the interface's limits, text
// entry, MIDI, host identification, and hostile calls.
#include "Vst2TestHost.h"

#include "ParvelParams.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace
{
// The names the shared library exports, read from its dynamic symbol table.
std::set<std::string> ExportedSymbols(const std::string& path)
{
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
    {
        char address[64], type[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3)
            names.insert(name);
    }
    ::pclose(pipe);
    return names;
}
} // namespace

TEST(IPlugVST, ExportsExactlyTheEntryPointUnderBothNames)
{
    EXPECT_EQ(ExportedSymbols(PARVEL_VST2_PLUGIN), (std::set<std::string>{"VSTPluginMain", "main"}));
    void* entry = TheModule().symbol("VSTPluginMain");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(TheModule().symbol("main"), entry) << "main is the same entry under its older name";

    // Each call makes a plug-in of its own, through either name.
    Vst2Host host;
    auto viaMain = reinterpret_cast<VstPluginMainProc>(TheModule().symbol("main"));
    AEffect* a = viaMain(&Vst2Host::Callback);
    AEffect* b = TheModule().entry()(&Vst2Host::Callback);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(a->object, b->object);
    a->dispatcher(a, effClose, 0, 0, nullptr, 0);
    b->dispatcher(b, effClose, 0, 0, nullptr, 0);
}

TEST(IPlugVST, RecordFields)
{
    TestPlugin plugin(false);
    const AEffect* e = plugin.effect();
    EXPECT_EQ(e->magic, Vst2FourCC("VstP"));
    EXPECT_EQ(e->uniqueID, Vst2FourCC("Parv"));
    EXPECT_EQ(e->version, 10505);
    // Replacing 16 + chunks 32 + double replacing 4096 + mono 8; no editor: Linux has no window
    // for effEditOpen to open, so none is advertised.
    EXPECT_EQ(e->flags, 4152);
    EXPECT_EQ(e->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 25);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_NE(e->object, nullptr);
    for (auto fn : {(void*) e->dispatcher, (void*) e->process, (void*) e->setParameter, (void*) e->getParameter,
                    (void*) e->processReplacing, (void*) e->processDoubleReplacing})
        EXPECT_NE(fn, nullptr);
    EXPECT_TRUE(plugin.host.calls().empty()) << "the plug-in asks the host nothing while it is made";
}

namespace
{
struct OpcodeCase
{
    const char* what;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    const char* textIn; // passed as ptr; null: a 256-byte output buffer is passed instead
    float opt;
    VstIntPtr answer;
    const char* textOut; // what the output buffer holds afterwards; null: not checked
};

const OpcodeCase kOpcodes[] = {
    {"open", effOpen, 0, 0, nullptr, 0, 0, nullptr},
    {"program", effGetProgram, 0, 0, nullptr, 0, 0, nullptr},
    {"program name", effGetProgramName, 0, 0, nullptr, 0, 0, "Empty"},
    {"program 0 by index", effGetProgramNameIndexed, 0, 0, nullptr, 0, 1, "Empty"},
    {"program 1 by index", effGetProgramNameIndexed, 1, 0, nullptr, 0, 0, ""},
    {"label of a switch", effGetParamLabel, kBand_Low, 0, nullptr, 0, 0, ""},
    {"label of a frequency", effGetParamLabel, kFreq_Low, 0, nullptr, 0, 0, "Hz"},
    {"label of an order", effGetParamLabel, kOrder_HP, 0, nullptr, 0, 0, "dB/Oct"},
    {"label of no parameter", effGetParamLabel, 25, 0, nullptr, 0, 0, "\x7f"},
    {"display of a switch", effGetParamDisplay, kBand_Low, 0, nullptr, 0, 0, "off"},
    {"display of a frequency", effGetParamDisplay, kFreq_Low, 0, nullptr, 0, 0, "100"},
    {"display of no parameter", effGetParamDisplay, -1, 0, nullptr, 0, 0, "\x7f"},
    {"name", effGetParamName, kGain_Low, 0, nullptr, 0, 0, "Gain_Low"},
    {"name cut to 8 characters", effGetParamName, kFreq_LoMid, 0, nullptr, 0, 0, "Freq_LoM"},
    {"name of no parameter", effGetParamName, 25, 0, nullptr, 0, 0, "\x7f"},
    {"sample rate", effSetSampleRate, 0, 0, nullptr, 44100.0f, 0, nullptr},
    {"block size", effSetBlockSize, 0, 256, nullptr, 0, 0, nullptr},
    {"resume", effMainsChanged, 0, 1, nullptr, 0, 0, nullptr},
    {"suspend", effMainsChanged, 0, 0, nullptr, 0, 0, nullptr},
    {"editor rectangle", effEditGetRect, 0, 0, nullptr, 0, 0, nullptr},
    {"editor open", effEditOpen, 0, 0, nullptr, 0, 0, nullptr},
    {"editor close", effEditClose, 0, 0, nullptr, 0, 0, nullptr},
    {"identify", effIdentify, 0, 0, nullptr, 0, Vst2FourCC("NvEf"), nullptr},
    {"automatable", effCanBeAutomated, kQ_High, 0, nullptr, 0, 1, nullptr},
    {"automatable, no parameter", effCanBeAutomated, 25, 0, nullptr, 0, 0, nullptr},
    {"input 1", effGetInputProperties, 0, 0, nullptr, 0, 1, "Input 1"},
    {"input 2", effGetInputProperties, 1, 0, nullptr, 0, 1, "Input 2"},
    {"input 3", effGetInputProperties, 2, 0, nullptr, 0, 0, "\x7f"},
    {"output 1", effGetOutputProperties, 0, 0, nullptr, 0, 1, "Output 1"},
    {"output 2", effGetOutputProperties, 1, 0, nullptr, 0, 1, "Output 2"},
    {"output -1", effGetOutputProperties, -1, 0, nullptr, 0, 0, "\x7f"},
    {"category", effGetPlugCategory, 0, 0, nullptr, 0, kPlugCategEffect, nullptr},
    {"variable io", effProcessVarIo, 0, 0, nullptr, 0, 0, nullptr},
    {"effect name", effGetEffectName, 0, 0, nullptr, 0, 1, "Parvel"},
    {"vendor", effGetVendorString, 0, 0, nullptr, 0, 1, "wexo"},
    {"product", effGetProductString, 0, 0, nullptr, 0, 1, ""},
    {"vendor version", effGetVendorVersion, 0, 0, nullptr, 0, 10505, nullptr},
    {"display of a value, Cockos", effVendorSpecific, 7, kGain, nullptr, 0.75f, 0xBEEF, "12.0"},
    {"display of no parameter, Cockos", effVendorSpecific, 7, 25, nullptr, 0.75f, 0, "\x7f"},
    {"stepped order, Cockos", effVendorSpecific, 8, kOrder_HP, nullptr, 0, 0xBEEF, nullptr},
    {"stepped switch, Cockos", effVendorSpecific, 8, kBand_HP, nullptr, 0, 0xBEEF, nullptr},
    {"stepped frequency, Cockos", effVendorSpecific, 8, kFreq_HP, nullptr, 0, 0, nullptr},
    {"stepped no parameter, Cockos", effVendorSpecific, 8, 1LL << 40, nullptr, 0, 0, nullptr},
    {"other vendor request", effVendorSpecific, 9, 0, nullptr, 0, 0, nullptr},
    {"can do time info", effCanDo, 0, 0, "receiveVstTimeInfo", 0, 1, nullptr},
    {"can do Cockos", effCanDo, 0, 0, "hasCockosExtensions", 0, 0xBEEF0000, nullptr},
    {"can do Cockos view", effCanDo, 0, 0, "hasCockosViewAsConfig", 0, 0xBEEF0000, nullptr},
    {"cannot receive MIDI", effCanDo, 0, 0, "receiveVstMidiEvent", 0, 0, nullptr},
    {"cannot send MIDI", effCanDo, 0, 0, "sendVstEvents", 0, 0, nullptr},
    {"cannot do others", effCanDo, 0, 0, "bypass", 0, 0, nullptr},
    {"tail", effGetTailSize, 0, 0, nullptr, 0, 0, nullptr},
    {"VST version", effGetVstVersion, 0, 0, nullptr, 0, 2400, nullptr},
    {"bypass", effSetBypass, 0, 1, nullptr, 0, 0, nullptr},
    {"precision", effSetProcessPrecision, 0, 1, nullptr, 0, 0, nullptr},
    {"start", effStartProcess, 0, 0, nullptr, 0, 0, nullptr},
    {"stop", effStopProcess, 0, 0, nullptr, 0, 0, nullptr},
    {"parameter properties", effGetParameterProperties, 0, 0, nullptr, 0, 0, nullptr},
    {"idle", effIdle, 0, 0, nullptr, 0, 0, nullptr},
    {"editor idle", effEditIdle, 0, 0, nullptr, 0, 0, nullptr},
    {"key down", effEditKeyDown, 0, 65, nullptr, 0, 0, nullptr},
    {"key up", effEditKeyUp, 0, 65, nullptr, 0, 0, nullptr},
    {"unknown opcode", 9999, 0, 0, nullptr, 0, 0, nullptr},
    {"negative opcode", -1, 0, 0, nullptr, 0, 0, nullptr},
};
} // namespace

TEST(IPlugVST, EveryOpcodeAnswers)
{
    TestPlugin plugin;
    for (const OpcodeCase& c : kOpcodes)
    {
        std::vector<char> buffer(256, '\x7f');
        buffer.back() = '\0';
        void* ptr = c.textIn != nullptr ? const_cast<char*>(c.textIn) : buffer.data();
        EXPECT_EQ(plugin->dispatch(c.opcode, c.index, c.value, ptr, c.opt), c.answer) << c.what;
        if (c.textOut == nullptr)
            continue;
        if (std::strcmp(c.textOut, "\x7f") == 0)
        {
            EXPECT_EQ(buffer[0], '\x7f') << c.what << ": nothing is written";
        }
        else
        {
            EXPECT_STREQ(buffer.data(), c.textOut) << c.what;
        }
    }
}

TEST(IPlugVST, RecordsTheHostReadsAnswerThroughPointers)
{
    TestPlugin plugin;
    VstPinProperties pins[2];
    std::memset(pins, 0x55, sizeof pins);
    ASSERT_EQ(plugin->dispatch(effGetInputProperties, 0, 0, &pins[0]), 1);
    ASSERT_EQ(plugin->dispatch(effGetOutputProperties, 1, 0, &pins[1]), 1);
    EXPECT_EQ(pins[0].flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(pins[1].flags, kVstPinIsActive);
    EXPECT_STREQ(pins[1].label, "Output 2");
    EXPECT_EQ((unsigned char) pins[0].shortLabel[0], 0x55) << "fields the plug-in does not fill stay the host's";

    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(plugin->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
    ASSERT_TRUE(in != nullptr && out != nullptr);
    EXPECT_EQ(in->type, kSpeakerArrStereo);
    EXPECT_EQ(in->numChannels, 2);
    EXPECT_EQ(out->type, kSpeakerArrStereo);
    EXPECT_EQ(out->numChannels, 2);
    EXPECT_EQ(plugin->dispatch(effGetSpeakerArrangement, 0, 0, &out), 1) << "a missing side is skipped";

    MidiKeyName key{};
    key.thisKeyNumber = 60;
    std::strcpy(key.keyName, "junk");
    EXPECT_EQ(plugin->dispatch(effGetMidiKeyName, 0, 0, &key), 0);
    EXPECT_STREQ(key.keyName, "");

    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 0) << "no editor window to give a size for";
    EXPECT_EQ(rect, nullptr);
}

// Each text goes into a buffer of the interface's size for its opcode (limit + 1 bytes) followed
// by guard bytes: the text arrives cut to the limit, terminated, and nothing lies beyond.
TEST(IPlugVST, TextsStayInsideTheBuffersTheInterfaceProvides)
{
    TestPlugin plugin;
    const std::string longName = "A program name far longer than twenty-four characters";
    plugin->dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
    plugin->setParameter(kGain, 0.123456f);

    struct Case
    {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        int limit;
        const char* expected;
    };
    const Case cases[] = {
        {effGetParamName, kFreq_HiMid, 0, kVstMaxParamStrLen, "Freq_HiM"},
        {effGetParamName, kBand_High, 0, kVstMaxParamStrLen, "Band_Hig"},
        {effGetParamLabel, kOrder_LP, 0, kVstMaxParamStrLen, "dB/Oct"},
        {effGetParamDisplay, kGain, 0, kVstMaxParamStrLen, "-18.1"},
        {effGetProgramName, 0, 0, kVstMaxProgNameLen, "A program name far longe"},
        {effGetProgramNameIndexed, 0, 0, kVstMaxProgNameLen, "A program name far longe"},
        {effGetEffectName, 0, 0, kVstMaxEffectNameLen, "Parvel"},
        {effGetVendorString, 0, 0, kVstMaxVendorStrLen, "wexo"},
        {effGetProductString, 0, 0, kVstMaxProductStrLen, ""},
        {effVendorSpecific, 7, kFreq_Low, kVstMaxParamStrLen, "20000"},
    };
    constexpr int kGuard = 64;
    for (const Case& c : cases)
    {
        std::vector<char> buffer((size_t) c.limit + 1 + kGuard, '\x7f');
        plugin->dispatch(c.opcode, c.index, c.value, buffer.data(), 1.0f);
        EXPECT_EQ(std::string(buffer.data()), c.expected) << "opcode " << c.opcode << " index " << c.index;
        for (size_t i = (size_t) c.limit + 1; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], '\x7f') << "opcode " << c.opcode << " wrote past its limit at byte " << i;
    }
}

// Display texts are matched whole and in letter case; numbers are read as atof reads them and
// clamped; text that is neither, or a parameter that does not exist, changes nothing.
TEST(IPlugVST, TextEntryWithDisplayTextsAndNumbers)
{
    TestPlugin plugin;
    struct Case
    {
        VstInt32 index;
        const char* text;
        VstIntPtr answer;
        const char* display; // of the parameter afterwards
    };
    const Case cases[] = {
        {kBand_Low, "on", 1, "on"},
        {kBand_Low, "On", 0, "on"},
        {kBand_Low, "1", 0, "on"},
        {kBand_Low, "off", 1, "off"},
        {kBand_Low, "off ", 0, "off"},
        {kFreq_Low, "50000", 1, "20000"},
        {kFreq_Low, "  440 Hz", 1, "440"},
        {kFreq_Low, "Hz", 0, "440"},
        {kFreq_Low, "", 0, "440"},
        {kFreq_Low, "nan", 0, "440"},
        {kGain_Low, "-6.5", 1, "-6.5"},
        {kGain_Low, "-1e9", 1, "-24.0"},
        {kOrder_HP, "3", 1, "3"},
        {kFreq_Low, nullptr, 1, "440"}, // the host asks whether the parameter takes text
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(plugin->dispatch(effString2Parameter, c.index, 0, const_cast<char*>(c.text)), c.answer)
            << c.index << " \"" << (c.text ? c.text : "(none)") << "\"";
        EXPECT_EQ(plugin->text(effGetParamDisplay, c.index), c.display) << c.index << " \"" << (c.text ? c.text : "(none)") << "\"";
    }
    const std::vector<float> before = plugin.values();
    for (VstInt32 index : {-1, 25, 1 << 30})
        EXPECT_EQ(plugin->dispatch(effString2Parameter, index, 0, const_cast<char*>("1")), 0) << index;
    EXPECT_EQ(plugin->dispatch(effString2Parameter, 25, 0, nullptr), 0);
    EXPECT_EQ(plugin.values(), before);
    EXPECT_EQ(plugin.host.count(audioMasterAutomate), 0) << "a change from the host is not reported back";
}

TEST(IPlugVST, ParameterEntries)
{
    TestPlugin plugin;
    plugin->setParameter(kBand_Low, 0.49f);
    EXPECT_EQ(plugin->getParameter(kBand_Low), 0.0f);
    plugin->setParameter(kBand_Low, 0.5f);
    EXPECT_EQ(plugin->getParameter(kBand_Low), 1.0f);
    plugin->setParameter(kGain_Low, 0.25f);
    EXPECT_EQ(plugin->text(effGetParamDisplay, kGain_Low), "-12.0");

    const std::vector<float> before = plugin.values();
    plugin->setParameter(kGain_Low, std::nanf(""));
    plugin->setParameter(kGain_Low, INFINITY);
    plugin->setParameter(-1, 0.5f);
    plugin->setParameter(25, 0.5f);
    EXPECT_EQ(plugin.values(), before) << "values that are not numbers and invalid indices change nothing";
    EXPECT_EQ(plugin->getParameter(25), 0.0f);
    EXPECT_EQ(plugin->getParameter(-7), 0.0f);
    EXPECT_EQ(plugin.host.count(audioMasterAutomate), 0);
}

TEST(IPlugVST, ProgramNameAndSelection)
{
    TestPlugin plugin;
    EXPECT_EQ(plugin->dispatch(effSetProgramName, 0, 0, const_cast<char*>("Mine")), 0);
    EXPECT_EQ(plugin->text(effGetProgramName), "Mine");
    EXPECT_EQ(plugin->dispatch(effSetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->text(effGetProgramName), "Mine");
    for (VstIntPtr program : {(VstIntPtr) 1, (VstIntPtr) -1, (VstIntPtr) 1 << 40})
    {
        plugin->dispatch(effSetProgram, 0, program);
        EXPECT_EQ(plugin->dispatch(effGetProgram), 0) << program;
    }
}

// The plug-in declares no MIDI: what the host sends is taken and nothing goes back.
TEST(IPlugVST, MidiIsTakenAndNotEchoed)
{
    TestPlugin plugin;
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.byteSize = sizeof note;
    note.deltaFrames = 17;
    note.midiData[0] = (char) 0x90;
    note.midiData[1] = 60;
    note.midiData[2] = 100;
    char dump[] = {(char) 0xF0, 1, 2, (char) 0xF7};
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof sysex;
    sysex.dumpBytes = sizeof dump;
    sysex.sysexDump = dump;
    VstMidiSysexEvent lyingSysex = sysex;
    lyingSysex.dumpBytes = -5;
    VstEvent other{};
    other.type = 99;
    // Room for four event pointers, as a host allocates it.
    struct
    {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[5];
    } list{5, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, reinterpret_cast<VstEvent*>(&sysex),
                  reinterpret_cast<VstEvent*>(&lyingSysex), &other}};
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, &list), 1);
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin.host.count(audioMasterProcessEvents), 0);
}

// At effOpen the plug-in asks the host's product and, when it has one, its version; with no
// product it does not ask the version.
TEST(IPlugVST, AsksTheHostWhoItIsOnceWhenOpened)
{
    TestPlugin named(false);
    named.host.productString = "REAPER";
    named.host.vendorVersion = 10203;
    named->dispatch(effOpen);
    named->dispatch(effOpen);
    EXPECT_EQ(named.host.count(audioMasterGetProductString), 1);
    EXPECT_EQ(named.host.count(audioMasterGetVendorVersion), 1);

    TestPlugin anonymous(false);
    anonymous.host.productString = "";
    anonymous->dispatch(effOpen);
    EXPECT_EQ(anonymous.host.count(audioMasterGetProductString), 1);
    EXPECT_EQ(anonymous.host.count(audioMasterGetVendorVersion), 0);

    // Nothing else reaches the host from opening, setting up and processing.
    for (const Vst2HostCall& call : named.host.calls())
        EXPECT_TRUE(call.opcode == audioMasterGetProductString || call.opcode == audioMasterGetVendorVersion)
            << "opcode " << call.opcode;
}

// A host that gives no callback, and calls with records that are not the plug-in's.
TEST(IPlugVST, HostileHostsGetRefusalsNotCrashes)
{
    std::unique_ptr<Vst2Instance> lonely = Vst2Instance::CreateWithoutCallback(TheModule());
    ASSERT_NE(lonely, nullptr);
    lonely->dispatch(effOpen);
    lonely->dispatch(effSetBlockSize, 0, 32);
    lonely->dispatch(effMainsChanged, 0, 1);
    HostBuffers<float> block(2, 2, 100);
    lonely->effect()->processReplacing(lonely->effect(), block.inPtrs.get(), block.outPtrs.get(), 100);
    EXPECT_FALSE(lonely->getChunk(false).empty());
    lonely->close();

    TestPlugin plugin;
    AEffect stranger{};
    AEffect* e = plugin.effect();
    EXPECT_EQ(e->dispatcher(&stranger, effGetVendorVersion, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(nullptr, effGetVendorVersion, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->getParameter(nullptr, 0), 0.0f);
    e->setParameter(&stranger, 0, 1.0f);
    e->processReplacing(nullptr, nullptr, nullptr, 64);
    e->processDoubleReplacing(&stranger, nullptr, nullptr, 64);

    // Pointers the host leaves out: nothing is written, the answer says so.
    for (VstInt32 opcode : {effGetProgramNameIndexed, effGetEffectName, effGetVendorString, effGetProductString,
                            effGetInputProperties, effGetOutputProperties, effGetChunk, effSetChunk, effProcessEvents,
                            effEditGetRect, effGetMidiKeyName, effCanDo, effSetSpeakerArrangement})
        EXPECT_EQ(plugin->dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay, effGetProgramName,
                            effSetProgramName})
        EXPECT_EQ(plugin->dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    EXPECT_EQ(plugin->dispatch(effVendorSpecific, 7, kGain, nullptr, 0.5f), 0);
    EXPECT_EQ(plugin->dispatch(effGetSpeakerArrangement, 0, 0, nullptr), 1);

    // Processing with no buffers, or a count below one, renders nothing and reads nothing.
    plugin.prepare(64);
    e->processReplacing(e, nullptr, nullptr, 64);
    e->process(e, nullptr, nullptr, 64);
    e->processDoubleReplacing(e, nullptr, nullptr, 64);
    e->processReplacing(e, block.inPtrs.get(), block.outPtrs.get(), -1);
    e->processReplacing(e, block.inPtrs.get(), block.outPtrs.get(), 0);
}
