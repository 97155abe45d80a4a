#include "files/UserSettings.h"

#include <cmath>

namespace
{
juce::PropertiesFile::Options optionsFor(const char* baseName)
{
    juce::PropertiesFile::Options options;
    options.applicationName = baseName;
    options.filenameSuffix = ".xml";
    options.folderName = "Corvane";
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    // Every writer saves at once; the delay only matters to a write that forgot to.
    options.millisecondsBeforeSaving = 3000;
    options.processLock = nullptr;
    return options;
}

double limited(double value, double lowest, double highest, double fallback)
{
    // A damaged file can hold "nan"; it reads as the default rather than poisoning the theme.
    return std::isnan(value) ? fallback : juce::jlimit(lowest, highest, value);
}
} // namespace

UserSettings::UserSettings(juce::File makerFolderToUse)
    : makerFolder(std::move(makerFolderToUse))
{
}

juce::File UserSettings::settingsFile(const char* baseName) const
{
    if (makerFolder == juce::File())
        return {};
    return makerFolder.getChildFile(juce::String(baseName) + ".xml");
}

std::unique_ptr<juce::PropertiesFile> UserSettings::open(const char* baseName) const
{
    const auto file = settingsFile(baseName);
    if (file == juce::File())
        return nullptr;

    // Loading never marks the properties as changed, so closing a file that was only read (or
    // failed to parse) never writes it back.
    return std::make_unique<juce::PropertiesFile>(file, optionsFor(baseName));
}

void UserSettings::saveNow(juce::PropertiesFile& file)
{
    // The folder may not exist yet on a fresh machine; a failed save is not reported.
    file.getFile().getParentDirectory().createDirectory();
    file.saveIfNeeded();
}

juce::String UserSettings::getArtistName() const
{
    const auto file = open(artistSettingsName);
    return file != nullptr ? file->getValue(artistNameKey) : juce::String();
}

void UserSettings::setArtistName(const juce::String& name) const
{
    if (auto file = open(artistSettingsName))
    {
        file->setValue(artistNameKey, name);
        saveNow(*file);
    }
}

bool UserSettings::getDoNotAskAgain() const
{
    const auto file = open(artistSettingsName);
    return file != nullptr && file->getBoolValue(doNotAskAgainKey, false);
}

void UserSettings::setDoNotAskAgain() const
{
    if (auto file = open(artistSettingsName))
    {
        file->setValue(doNotAskAgainKey, true);
        saveNow(*file);
    }
}

ThemeValues UserSettings::loadThemeSettings() const
{
    const ThemeValues defaults;
    const auto file = open(themeSettingsName);
    if (file == nullptr)
        return defaults;

    // An older file holds one saturation scale for both ramps; it is only ever read, as the
    // default of the two separate scales.
    const auto sharedSaturation = file->getDoubleValue("saturationScale", 1.0);

    ThemeValues values;
    values.primaryHue =
        limited(file->getDoubleValue("primaryHue", defaults.primaryHue), 0.0, 1.0, defaults.primaryHue);
    values.secondaryHue =
        limited(file->getDoubleValue("secondaryHue", defaults.secondaryHue), 0.0, 1.0, defaults.secondaryHue);
    values.primarySaturationScale = limited(file->getDoubleValue("primarySaturationScale", sharedSaturation),
                                            0.25, 2.0, defaults.primarySaturationScale);
    values.secondarySaturationScale =
        limited(file->getDoubleValue("secondarySaturationScale", sharedSaturation), 0.25, 2.0,
                defaults.secondarySaturationScale);
    values.glowEnabled = file->getBoolValue("glowEnabled", defaults.glowEnabled);
    values.glowIntensity = limited(file->getDoubleValue("glowIntensity", defaults.glowIntensity), 0.0, 1.0,
                                   defaults.glowIntensity);
    return values;
}

void UserSettings::saveThemeSettings(const ThemeValues& values) const
{
    if (auto file = open(themeSettingsName))
    {
        file->setValue("primaryHue", values.primaryHue);
        file->setValue("secondaryHue", values.secondaryHue);
        file->setValue("primarySaturationScale", values.primarySaturationScale);
        file->setValue("secondarySaturationScale", values.secondarySaturationScale);
        file->setValue("glowEnabled", values.glowEnabled);
        file->setValue("glowIntensity", values.glowIntensity);
        saveNow(*file);
    }
}

int UserSettings::loadGridStrength() const
{
    const auto file = open(pluginPreferencesName);
    const auto stored = file != nullptr ? file->getIntValue(gridStrengthKey, 0) : 0;
    return juce::jlimit(0, maximumGridStrength, stored);
}

void UserSettings::saveGridStrength(int strength) const
{
    const auto limitedStrength = juce::jlimit(0, maximumGridStrength, strength);
    if (limitedStrength == loadGridStrength())
        return;

    if (auto file = open(pluginPreferencesName))
    {
        file->setValue(gridStrengthKey, limitedStrength);
        saveNow(*file);
    }
}
