// SPDX-License-Identifier: GPL-3.0-or-later
// Module data of the VST3 module: the handle the loader gave it, and the copy InitDll makes
// for loading the embedded artwork.
#pragma once

namespace ParvelModule
{
void* ModuleHandle();
void* ResourceModuleHandle();
} // namespace ParvelModule
