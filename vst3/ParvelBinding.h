// SPDX-License-Identifier: GPL-3.0-or-later
// The binding the effect derives from in the VST3 module.
#pragma once

#include "IPlugVST3.h"

using ParvelBinding = IPlugVST3;
