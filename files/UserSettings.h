#pragma once

#include "files/ThemeValues.h"

#include <juce_data_structures/juce_data_structures.h>

#include <memory>

// The per-user settings that outlive a host project: the artist name, the colour theme and the
// plot's grid strength, each in its own XML properties file in the maker's folder. Every operation
// opens its file afresh, so several plug-in instances sharing the files see each other's last save.
// A missing or damaged file reads as the defaults and is never rewritten by a read.
class UserSettings
{
public:
    static constexpr const char* artistSettingsName = "artist-settings";
    static constexpr const char* themeSettingsName = "theme-settings";
    static constexpr const char* pluginPreferencesName = "plugin-preferences";

    static constexpr const char* artistNameKey = "artistName";
    static constexpr const char* doNotAskAgainKey = "doNotAskAgain";
    static constexpr const char* gridStrengthKey = "Veltrane Probe.gridStrength";

    static constexpr int maximumGridStrength = 2;

    // makerFolder: the user's application-data folder + "Corvane". With the empty path every read
    // gives the defaults and every write does nothing.
    explicit UserSettings(juce::File makerFolder);

    juce::String getArtistName() const;
    void setArtistName(const juce::String& name) const;

    bool getDoNotAskAgain() const;
    void setDoNotAskAgain() const;

    // The six values, each limited to the range the theme accepts.
    ThemeValues loadThemeSettings() const;
    void saveThemeSettings(const ThemeValues& values) const;

    // 0..2; values outside the range read as the nearer bound.
    int loadGridStrength() const;
    void saveGridStrength(int strength) const;

    // The file that holds a settings group, e.g. settingsFile(artistSettingsName).
    juce::File settingsFile(const char* baseName) const;

private:
    std::unique_ptr<juce::PropertiesFile> open(const char* baseName) const;
    static void saveNow(juce::PropertiesFile& file);

    juce::File makerFolder;
};
