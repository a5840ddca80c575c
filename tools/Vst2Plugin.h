// SPDX-License-Identifier: GPL-3.0-or-later
// A VST 2.4 plug-in loaded the way a Linux host loads it: dlopen of the shared library, its
// entry point VSTPluginMain (or main, the older name), one AEffect per instance, and every call
// through the record's function pointers. The host callback records each call it receives and
// answers the queries a plug-in makes (product and vendor version, time, process level).
#pragma once

#include "Vst2Interface.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Vst2Module
{
public:
    // Null and a message when the library does not load or exports no entry point.
    static std::unique_ptr<Vst2Module> Load(const std::string& path, std::string& error);
    ~Vst2Module();
    Vst2Module(const Vst2Module&) = delete;
    Vst2Module& operator=(const Vst2Module&) = delete;

    VstPluginMainProc entry() const { return mainProc; }
    // Looks up an exported symbol of the library, or null.
    void* symbol(const char* name) const;

private:
    Vst2Module() = default;
    void* handle = nullptr;
    VstPluginMainProc mainProc = nullptr;
};

// One call the plug-in made to the host. text holds what the plug-in passed in ptr for the
// opcodes that carry a text or a list of events (as "status data1 data2 @offset" per event).
struct Vst2HostCall
{
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    float opt = 0.0f;
    std::string text;
};

// The host side of one plug-in instance. Calls may arrive from any thread.
class Vst2Host
{
public:
    // What the host answers.
    std::string productString = "parvel-render";
    VstIntPtr vendorVersion = 10000;
    VstInt32 processLevel = kVstProcessLevelUser;
    bool answersTime = true;
    VstTimeInfo time{};
    VstIntPtr processEventsAnswer = 1;
    // Runs inside the callback, after the call is recorded (tests use it to probe the plug-in).
    std::function<void(const Vst2HostCall&)> onCall;

    std::vector<Vst2HostCall> calls() const;
    int count(VstInt32 opcode) const;
    void clear();

    // The callback given to the entry point.
    static VstIntPtr VST2_CALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                            void* ptr, float opt);

private:
    friend class Vst2Instance;
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    mutable std::mutex lock;
    std::vector<Vst2HostCall> recorded;
};

// One plug-in made by the module's entry point, opened (effOpen) like a host does. Closes it
// (effClose) on destruction.
class Vst2Instance
{
public:
    // open: send effOpen right away. Null and a message when the entry point makes no plug-in.
    static std::unique_ptr<Vst2Instance> Create(const Vst2Module& module, Vst2Host& host, std::string& error,
                                                bool open = true);
    // The entry point called with no host callback at all.
    static std::unique_ptr<Vst2Instance> CreateWithoutCallback(const Vst2Module& module);
    ~Vst2Instance();
    Vst2Instance(const Vst2Instance&) = delete;
    Vst2Instance& operator=(const Vst2Instance&) = delete;

    AEffect* effect() const { return aeffect; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) const;
    // A text the plug-in writes into a buffer of this many bytes (beyond the interface's limit,
    // so that a plug-in writing past the limit is caught); the buffer's end is checked.
    std::string text(VstInt32 opcode, VstInt32 index = 0, int bufferSize = 256) const;
    float getParameter(VstInt32 index) const;
    void setParameter(VstInt32 index, float value) const;
    // effString2Parameter's answer.
    bool setParameterText(VstInt32 index, const std::string& text) const;
    // The index of the parameter whose name is name, matching the name the plug-in reports or,
    // when hosts' buffers cut it, its first characters (kVstMaxParamStrLen). -1 when none or
    // several match.
    int findParameter(const std::string& name) const;
    // Sets a parameter from a user's text: the plug-in's own text conversion, or, for a number n
    // the plug-in only takes as display text (a switch's 0 and 1), the n-th of its display texts.
    bool setParameterFromUser(VstInt32 index, const std::string& value) const;

    // Chunks: index 1 a program, 0 the bank. An empty result when the plug-in gives none.
    std::vector<char> getChunk(bool bank) const;
    VstIntPtr setChunk(bool bank, const std::vector<char>& bytes) const;

    // Sends effClose now; later calls do nothing.
    void close();

private:
    Vst2Instance() = default;
    AEffect* aeffect = nullptr;
};
