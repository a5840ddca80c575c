// SPDX-License-Identifier: GPL-3.0-or-later
#include "RResource.h"

#include "RPng.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>

bool RFindResource(void* module, int id, const void*& data, size_t& size)
{
    const int key = id & 0xFFFF;
    if (key == 0)
        return false;
    HMODULE m = static_cast<HMODULE>(module);
    HRSRC res = FindResourceA(m, MAKEINTRESOURCEA(key), "PNG");
    if (!res)
        return false;
    HGLOBAL loaded = LoadResource(m, res);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    data = bytes;
    size = SizeofResource(m, res);
    return true;
}
#else
// Defined by the resource target linked into the program (cmake/EmbedResources.cmake).
extern "C" const RResourceEntry RResourceTable[];
extern "C" const size_t RResourceCount;

bool RFindResource(void*, int id, const void*& data, size_t& size)
{
    const int key = id & 0xFFFF;
    for (size_t i = 0; i < RResourceCount; ++i)
        if (RResourceTable[i].id == key)
        {
            data = RResourceTable[i].begin;
            size = (size_t) (RResourceTable[i].end - RResourceTable[i].begin);
            return true;
        }
    return false;
}
#endif

bool RIsPngName(const char* name)
{
    if (!name || !*name)
        return false;
    const char* dot = std::strrchr(name, '.');
    const char* ext = dot ? dot + 1 : name + 1;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? (char) (c - 'A' + 'a') : c; };
    return std::strlen(ext) == 3 && lower(ext[0]) == 'p' && lower(ext[1]) == 'n' && lower(ext[2]) == 'g';
}

std::unique_ptr<RMemBitmap> RLoadPngResource(void* module, int id, const char* name)
{
    const void* data = nullptr;
    size_t size = 0;
    if (!RIsPngName(name) || !RFindResource(module, id, data, size) || size < 8)
        return nullptr;
    return RDecodePng(data, size);
}
