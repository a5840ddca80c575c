// SPDX-License-Identifier: GPL-3.0-or-later
// The binding the effect derives from in the test build.
#pragma once

#include "TestBinding.h"

using ParvelBinding = ITestBinding;
