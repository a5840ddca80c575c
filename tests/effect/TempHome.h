// SPDX-License-Identifier: GPL-3.0-or-later
// Points the user's home, and with it the application-data folder the settings file lives in,
// at a fresh temporary directory for one scope, so that no test reads or writes the user's
// files. The directory and everything in it go when the scope ends; HOME is restored.
#pragma once

#include "SettingsFile.h"

#include <juce_core/juce_core.h>

#include <cstdlib>
#include <optional>
#include <string>

class TempHome
{
public:
    TempHome()
    {
        if (const char* home = std::getenv("HOME"))
            savedHome = home;
        char pattern[] = "/tmp/parvel-home-XXXXXX";
        if (const char* dir = mkdtemp(pattern))
            path = dir;
        setenv("HOME", path.c_str(), 1);
    }

    ~TempHome()
    {
        if (! path.empty())
            juce::File(path).deleteRecursively();
        if (savedHome)
            setenv("HOME", savedHome->c_str(), 1);
        else
            unsetenv("HOME");
    }

    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    // Writes text as the settings file, creating its folder.
    void WriteSettings(const std::string& text) const
    {
        const juce::File file = SettingsFile::SettingsFilePath();
        file.getParentDirectory().createDirectory();
        file.replaceWithText(text);
    }

    const std::string& Path() const { return path; }

private:
    std::optional<std::string> savedHome;
    std::string path;
};
