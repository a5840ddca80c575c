// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the PNG decoder: any bytes. Built only with -DPARVEL_LIBFUZZER=ON and
// clang, the decoder compiled in with checksums ignored so that mutations reach past them.
#include "RPng.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto bmp = RDecodePng(data, size);
    if (bmp)
    {
        // Touch every pixel, so that a bitmap smaller than it claims shows up under ASan.
        uint32_t sum = 0;
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width(); ++x)
                sum += bmp->Row(y)[x];
        volatile uint32_t sink = sum;
        (void) sink;
    }
    return 0;
}
