// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled on its own by a 32-bit (and a Windows) compiler where one is installed, so that the
// layout asserts of Vst2Interface.h are checked for the layout the native build does not use.
#include "Vst2Interface.h"
