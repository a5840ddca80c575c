// SPDX-License-Identifier: GPL-3.0-or-later
#include "IStateChunk.h"

#include <climits>
#include <cstring>
#include <new>

bool IStateChunk::Fits(int pos, int64_t nBytes) const
{
    return pos >= 0 && nBytes >= 0 && (int64_t) pos + nBytes <= (int64_t) mBytes.size();
}

// Grows the capacity in whole 4096-byte units; false when the chunk would pass INT_MAX
// bytes or the memory is not there.
bool IStateChunk::Reserve(int64_t extra)
{
    const int64_t needed = (int64_t) mBytes.size() + extra;
    if (extra < 0 || needed > (int64_t) INT_MAX)
        return false;
    if ((uint64_t) needed <= mBytes.capacity())
        return true;
    int64_t units = (needed + kGrowthUnit - 1) / kGrowthUnit;
    int64_t capacity = units * kGrowthUnit;
    const int64_t doubled = (int64_t) mBytes.capacity() * 2;
    if (doubled > capacity)
        capacity = doubled; // keeps repeated appends linear
    if (capacity > (int64_t) INT_MAX)
        capacity = (int64_t) INT_MAX;
    try
    {
        mBytes.reserve((size_t) capacity);
    }
    catch (const std::exception&)
    {
        return false;
    }
    return true;
}

void IStateChunk::PutLE(uint64_t bits, int nBytes)
{
    if (!Reserve(nBytes))
        return;
    for (int i = 0; i < nBytes; ++i)
        mBytes.push_back((uint8_t) (bits >> (8 * i)));
}

uint64_t IStateChunk::GetLE(int pos, int nBytes) const
{
    uint64_t bits = 0;
    for (int i = 0; i < nBytes; ++i)
        bits |= (uint64_t) mBytes[(size_t) pos + (size_t) i] << (8 * i);
    return bits;
}

void IStateChunk::PutInt32(int32_t v)
{
    PutLE((uint32_t) v, 4);
}

void IStateChunk::PutDouble(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    PutLE(bits, 8);
}

void IStateChunk::PutBool(bool v)
{
    PutLE(v ? 1u : 0u, 1);
}

void IStateChunk::PutString(const char* text)
{
    const size_t n = text ? std::strlen(text) : 0;
    if (n > (size_t) INT_MAX - 4 || !Reserve(4 + (int64_t) n))
        return;
    PutInt32((int32_t) n);
    mBytes.insert(mBytes.end(), (const uint8_t*) text, (const uint8_t*) text + n);
}

void IStateChunk::PutBytes(const IStateChunk& other)
{
    if (&other == this)
    {
        const std::vector<uint8_t> copy = mBytes;
        if (Reserve((int64_t) copy.size()))
            mBytes.insert(mBytes.end(), copy.begin(), copy.end());
        return;
    }
    PutBytes(other.Data(), other.Size());
}

bool IStateChunk::PutBytes(const void* data, int nBytes)
{
    if (nBytes < 0 || (nBytes > 0 && !data) || !Reserve(nBytes))
        return false;
    const uint8_t* bytes = (const uint8_t*) data;
    mBytes.insert(mBytes.end(), bytes, bytes + nBytes);
    return true;
}

int IStateChunk::GetInt32(int pos, int32_t& out) const
{
    if (!Fits(pos, 4))
        return -1;
    out = (int32_t) (uint32_t) GetLE(pos, 4);
    return pos + 4;
}

int IStateChunk::GetDouble(int pos, double& out) const
{
    if (!Fits(pos, 8))
        return -1;
    const uint64_t bits = GetLE(pos, 8);
    std::memcpy(&out, &bits, sizeof out);
    return pos + 8;
}

int IStateChunk::GetBool(int pos, bool& out) const
{
    if (!Fits(pos, 1))
        return -1;
    out = mBytes[(size_t) pos] != 0;
    return pos + 1;
}

int IStateChunk::GetString(int pos, std::string& out) const
{
    int32_t count = 0;
    const int textPos = GetInt32(pos, count);
    if (textPos < 0)
        return -1;
    if (count < 1)
    {
        out.clear();
        return textPos;
    }
    if (!Fits(textPos, count))
        return -1;
    out.assign((const char*) mBytes.data() + textPos, (size_t) count);
    return textPos + count;
}

bool IStateChunk::Resize(int nBytes)
{
    if (nBytes < 0)
        nBytes = 0;
    if (nBytes > Size() && !Reserve((int64_t) nBytes - Size()))
        return false;
    mBytes.resize((size_t) nBytes, 0);
    return true;
}

void IStateChunk::WriteChunkHeader(IStateChunk& chunk)
{
    chunk.Clear();
    chunk.PutInt32(kMagic);
    chunk.PutInt32(kFrameworkVersion);
}

int IStateChunk::ReadChunkHeader(const IStateChunk& chunk, int& pos)
{
    int32_t magic = 0;
    const int versionPos = chunk.GetInt32(pos, magic);
    if (versionPos < 0 || magic != kMagic)
        return 0;
    int32_t version = 0;
    pos = chunk.GetInt32(versionPos, version);
    return pos < 0 ? 0 : version;
}
