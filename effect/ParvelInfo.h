// SPDX-License-Identifier: GPL-3.0-or-later
// The product's identity: names, codes and version, shared by the effect and both bindings.
#pragma once

#include <cstdint>

namespace ParvelInfo
{
constexpr int32_t FourCC(const char (&s)[5])
{
    return (int32_t) (((uint32_t) (unsigned char) s[0] << 24) | ((uint32_t) (unsigned char) s[1] << 16)
                      | ((uint32_t) (unsigned char) s[2] << 8) | (uint32_t) (unsigned char) s[3]);
}

constexpr const char* kEffectName = "Parvel";
constexpr const char* kProductName = "";
constexpr const char* kMakerName = "wexo";
constexpr const char* kChannelIO = "1-1 2-2";
constexpr int kNumParams = 25;
constexpr int kNumPresets = 1;
constexpr int32_t kVersion = 0x10505; // 1.5.5: major << 16 | minor << 8 | third
constexpr const char* kVersionString = "1.5.5";
constexpr int32_t kUniqueId = FourCC("Parv");
constexpr int32_t kMakerId = FourCC("Wexo");
constexpr int kLatency = 0;
constexpr bool kDoesMidi = false;
constexpr bool kStateChunks = true;
constexpr bool kIsInstrument = false;
} // namespace ParvelInfo

// The VST3 module's class: its id bytes are 0D E7 AE F2 DE 00 4E 4F followed by the maker code
// 'Wexo' and the plug-in code 'Parv' in reading order (the Windows byte order of the unique id
// 0xF2AEE70D, 0x00DE4F4E, 'Wexo', 'Parv'), written out so that every platform sees the same id.
namespace ParvelInfo
{
constexpr unsigned char kVst3ClassId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                            'W',  'e',  'x',  'o',  'P',  'a',  'r',  'v'};
constexpr const char* kVst3Category = "Audio Module Class";
constexpr const char* kVst3SubCategories = "Fx|EQ";
constexpr const char* kVst3SdkVersion = "VST 3.6.6";
constexpr const char* kMakerUrl = "https://wexo.example.org";
constexpr const char* kMakerEmail = "mailto:plugins@wexo.example.org";
} // namespace ParvelInfo
