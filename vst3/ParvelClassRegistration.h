// SPDX-License-Identifier: GPL-3.0-or-later
// The module's one class, "Parvel": its class info and the create function the factory calls.
#pragma once

class CPluginFactory;

// Fills the class info (once per process) and registers the class with the factory.
void RegisterParvelClass(CPluginFactory& factory);
