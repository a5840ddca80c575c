// SPDX-License-Identifier: GPL-3.0-or-later
// LeakSanitizer reads this on start in the sanitizer build. fontconfig loses a few hundred bytes
// once while it parses its configuration files on first use; the loss is inside fontconfig
// and bounded, so it is not reported.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
