// SPDX-License-Identifier: GPL-3.0-or-later
// Growable byte buffer in which state blocks for hosts are built and parsed. Every
// multi-byte value is little-endian whatever the machine order: bytes are written and
// read one by one. Reads take a position and return the position after the value, or -1
// when the position is negative or the value does not fit; they never touch memory outside
// the chunk and leave the output untouched on -1. A chunk never grows beyond INT_MAX bytes:
// an append that would pass it (or that cannot be allocated) is dropped whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IStateChunk
{
public:
    static constexpr int32_t kMagic = 0x70666674;          // 'pfft', stored as the bytes t f f p
    static constexpr int32_t kFrameworkVersion = 0x10000;  // 1.0.0
    static constexpr int kGrowthUnit = 4096;

    void PutInt32(int32_t v);
    void PutDouble(double v);
    void PutBool(bool v);
    // Int32 byte count without terminator, then the bytes. A null text counts as "".
    void PutString(const char* text);
    void PutString(const std::string& text) { PutString(text.c_str()); }
    void PutBytes(const IStateChunk& other);
    // Raw bytes, no count. Returns false (and appends nothing) for a bad size or when out of memory.
    bool PutBytes(const void* data, int nBytes);

    int GetInt32(int pos, int32_t& out) const;
    int GetDouble(int pos, double& out) const;
    int GetBool(int pos, bool& out) const;
    // A count below 1 gives "" and the position after the count.
    int GetString(int pos, std::string& out) const;

    int Size() const { return (int) mBytes.size(); }
    // New size in bytes, new bytes zeroed; a negative size counts as 0. False when out of memory.
    bool Resize(int nBytes);
    void Clear() { mBytes.clear(); }
    const uint8_t* Data() const { return mBytes.data(); }
    uint8_t* Data() { return mBytes.data(); }

    // Framework header in front of VST2 blocks: magic, then the framework version.
    static void WriteChunkHeader(IStateChunk& chunk);
    // Version and pos + 8 when the header is at pos; 0 and pos unchanged when the magic is
    // not there; 0 and pos = -1 when the magic is there but the version does not fit.
    static int ReadChunkHeader(const IStateChunk& chunk, int& pos);

private:
    bool Fits(int pos, int64_t nBytes) const;
    bool Reserve(int64_t extra);
    void PutLE(uint64_t bits, int nBytes);
    uint64_t GetLE(int pos, int nBytes) const;

    std::vector<uint8_t> mBytes;
};
