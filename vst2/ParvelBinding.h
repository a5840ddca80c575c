// SPDX-License-Identifier: GPL-3.0-or-later
// The binding the effect derives from in the VST2 plug-in.
#pragma once

#include "IPlugVST.h"

using ParvelBinding = IPlugVST;
