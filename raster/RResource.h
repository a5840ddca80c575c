// SPDX-License-Identifier: GPL-3.0-or-later
// PNG images embedded in the module and found by integer id (cmake/EmbedResources.cmake builds
// them in from one list of ids and files). Windows: resources of type "PNG" in the module given,
// found with FindResource. Elsewhere the module argument is ignored: the bytes are linked into
// the program, and a program that looks resources up must link exactly one resource target.
#pragma once

#include "RBitmap.h"

#include <cstddef>
#include <memory>

// One embedded file, as the generated resource table holds it (not used on Windows).
struct RResourceEntry
{
    int id;
    const unsigned char* begin;
    const unsigned char* end;
};

// The bytes of resource id (its low 16 bits); false when there is none. The bytes stay valid
// while the module is loaded.
bool RFindResource(void* module, int id, const void*& data, size_t& size);

// Whether name passes for a PNG: the part after its last "." (after its first character when it
// has no ".") equals "png" in any letter case. Null and empty names do not.
bool RIsPngName(const char* name);

// The name rule, then the resource by id, at least 8 bytes of it, decoded; null when any step
// fails.
std::unique_ptr<RMemBitmap> RLoadPngResource(void* module, int id, const char* name);
