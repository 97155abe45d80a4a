#include "files/UserSettings.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
class UserSettingsTest : public ::testing::Test
{
protected:
    // The maker folder does not exist yet, as on a machine where the plug-in never ran.
    juce::File makerFolder() const { return temporary.get().getChildFile("Corvane"); }
    UserSettings settings() const { return UserSettings(makerFolder()); }

    juce::File writeSettingsFile(const char* baseName, const juce::String& content) const
    {
        makerFolder().createDirectory();
        const auto file = makerFolder().getChildFile(juce::String(baseName) + ".xml");
        // Byte for byte, empty content included (replaceWithText would change the line ends and
        // replaceWithData would delete the file instead of emptying it).
        file.deleteFile();
        juce::FileOutputStream(file).write(content.toRawUTF8(), content.getNumBytesAsUTF8());
        return file;
    }

    juce::File writeProperties(const char* baseName, const juce::StringPairArray& values) const
    {
        juce::String xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n";
        for (const auto& key : values.getAllKeys())
            xml << "  <VALUE name=\"" << key << "\" val=\"" << values[key] << "\"/>\n";
        xml << "</PROPERTIES>\n";
        return writeSettingsFile(baseName, xml);
    }

    // Reads a saved file as any XML reader would, independently of the properties class.
    static std::optional<juce::String> storedValue(const juce::File& file, const juce::String& key)
    {
        const auto xml = juce::XmlDocument::parse(file);
        if (xml == nullptr || !xml->hasTagName("PROPERTIES"))
            return std::nullopt;
        for (const auto* value : xml->getChildWithTagNameIterator("VALUE"))
            if (value->getStringAttribute("name") == key)
                return value->getStringAttribute("val");
        return std::nullopt;
    }

    testsupport::TemporaryFolder temporary;
};
} // namespace

TEST_F(UserSettingsTest, ArtistNameIsOnDiskAsSoonAsItIsSet)
{
    settings().setArtistName("Ann Example");

    // No save delay: the file is complete before the call returns.
    const auto file = makerFolder().getChildFile("artist-settings.xml");
    ASSERT_TRUE(file.existsAsFile());
    EXPECT_EQ(storedValue(file, "artistName"), juce::String("Ann Example"));
    EXPECT_EQ(settings().getArtistName(), "Ann Example");
}

TEST_F(UserSettingsTest, DoNotAskAgainIsStoredBesideTheArtistName)
{
    EXPECT_FALSE(settings().getDoNotAskAgain());

    settings().setArtistName("Ann");
    settings().setDoNotAskAgain();

    EXPECT_TRUE(settings().getDoNotAskAgain());
    EXPECT_EQ(settings().getArtistName(), "Ann");
}

TEST_F(UserSettingsTest, SharedSaturationScaleSeedsBothScalesAndIsNeverWritten)
{
    juce::StringPairArray values;
    values.set("saturationScale", "1.5");
    const auto file = writeProperties("theme-settings", values);

    auto loaded = settings().loadThemeSettings();
    EXPECT_DOUBLE_EQ(loaded.primarySaturationScale, 1.5);
    EXPECT_DOUBLE_EQ(loaded.secondarySaturationScale, 1.5);

    loaded.primarySaturationScale = 0.5;
    loaded.secondarySaturationScale = 1.75;
    settings().saveThemeSettings(loaded);

    EXPECT_EQ(storedValue(file, "primarySaturationScale"), juce::String("0.5"));
    EXPECT_EQ(storedValue(file, "secondarySaturationScale"), juce::String("1.75"));
    EXPECT_EQ(storedValue(file, "saturationScale"), juce::String("1.5"));
}

TEST_F(UserSettingsTest, ThemeSaveWritesTheSixKeysOnly)
{
    ThemeValues values;
    values.primaryHue = 0.25;
    values.secondaryHue = 0.75;
    values.primarySaturationScale = 0.3;
    values.secondarySaturationScale = 1.9;
    values.glowEnabled = false;
    values.glowIntensity = 0.125;
    settings().saveThemeSettings(values);

    const auto xml = juce::XmlDocument::parse(makerFolder().getChildFile("theme-settings.xml"));
    ASSERT_NE(xml, nullptr);
    juce::StringArray names;
    for (const auto* value : xml->getChildWithTagNameIterator("VALUE"))
        names.add(value->getStringAttribute("name"));
    EXPECT_EQ(names.joinIntoString(","), "primaryHue,secondaryHue,primarySaturationScale,"
                                         "secondarySaturationScale,glowEnabled,glowIntensity");

    const auto loaded = settings().loadThemeSettings();
    EXPECT_DOUBLE_EQ(loaded.primaryHue, 0.25);
    EXPECT_DOUBLE_EQ(loaded.secondaryHue, 0.75);
    EXPECT_DOUBLE_EQ(loaded.primarySaturationScale, 0.3);
    EXPECT_DOUBLE_EQ(loaded.secondarySaturationScale, 1.9);
    EXPECT_FALSE(loaded.glowEnabled);
    EXPECT_DOUBLE_EQ(loaded.glowIntensity, 0.125);
}

TEST_F(UserSettingsTest, OutOfRangeThemeValuesLoadClampedWhileTheFileKeepsThem)
{
    juce::StringPairArray values;
    values.set("primaryHue", "3");
    values.set("secondaryHue", "-0.5");
    values.set("primarySaturationScale", "0.1");
    values.set("secondarySaturationScale", "7");
    values.set("glowIntensity", "nan");
    const auto file = writeProperties("theme-settings", values);
    const auto before = file.loadFileAsString();

    const auto loaded = settings().loadThemeSettings();

    EXPECT_DOUBLE_EQ(loaded.primaryHue, 1.0);
    EXPECT_DOUBLE_EQ(loaded.secondaryHue, 0.0);
    EXPECT_DOUBLE_EQ(loaded.primarySaturationScale, 0.25);
    EXPECT_DOUBLE_EQ(loaded.secondarySaturationScale, 2.0);
    EXPECT_DOUBLE_EQ(loaded.glowIntensity, ThemeValues().glowIntensity);
    EXPECT_EQ(file.loadFileAsString(), before);
}

class GridStrengthLoadTest : public UserSettingsTest,
                             public ::testing::WithParamInterface<std::pair<int, int>>
{
};

TEST_P(GridStrengthLoadTest, StoredValueLoadsWithinZeroToTwo)
{
    juce::StringPairArray values;
    values.set("Veltrane Probe.gridStrength", juce::String(GetParam().first));
    writeProperties("plugin-preferences", values);

    EXPECT_EQ(settings().loadGridStrength(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(StoredValues, GridStrengthLoadTest,
                         ::testing::Values(std::pair{7, 2}, std::pair{-1, 0}, std::pair{1, 1},
                                           std::pair{2, 2}));

TEST_F(UserSettingsTest, GridStrengthIsWrittenOnlyWhenItChanges)
{
    const auto file = makerFolder().getChildFile("plugin-preferences.xml");

    settings().saveGridStrength(0);
    EXPECT_FALSE(file.exists()) << "0 is the value already in effect";

    settings().saveGridStrength(5);
    EXPECT_EQ(storedValue(file, "Veltrane Probe.gridStrength"), juce::String("2"));
    EXPECT_EQ(settings().loadGridStrength(), 2);

    // Below the range: stored as 0, not as the value asked for.
    settings().saveGridStrength(-3);
    EXPECT_EQ(storedValue(file, "Veltrane Probe.gridStrength"), juce::String("0"));
}

TEST(ThemeValues, DefaultsAreTheThemeTheWindowOpensWith)
{
    const ThemeValues defaults;
    EXPECT_EQ(defaults.primaryHue, 0.011);
    EXPECT_EQ(defaults.secondaryHue, 0.086);
    EXPECT_EQ(defaults.primarySaturationScale, 1.0);
    EXPECT_EQ(defaults.secondarySaturationScale, 1.0);
    EXPECT_TRUE(defaults.glowEnabled);
    EXPECT_EQ(defaults.glowIntensity, 0.716);
}

TEST_F(UserSettingsTest, EmptyFolderGivesDefaultsAndNoFile)
{
    const UserSettings nowhere{juce::File()};

    EXPECT_EQ(nowhere.settingsFile(UserSettings::artistSettingsName), juce::File());
    EXPECT_TRUE(nowhere.getArtistName().isEmpty());
    EXPECT_EQ(nowhere.loadGridStrength(), 0);
    EXPECT_DOUBLE_EQ(nowhere.loadThemeSettings().primaryHue, ThemeValues().primaryHue);
}

namespace
{
struct DamagedFile
{
    const char* name;
    const char* content;
};

void PrintTo(const DamagedFile& damaged, std::ostream* out)
{
    *out << damaged.name;
}
} // namespace

class DamagedSettingsFileTest : public UserSettingsTest, public ::testing::WithParamInterface<DamagedFile>
{
};

TEST_P(DamagedSettingsFileTest, ReadsDefaultsAndLeavesTheFileAsItWas)
{
    for (const auto* baseName : {"artist-settings", "theme-settings", "plugin-preferences"})
        writeSettingsFile(baseName, GetParam().content);

    const auto theme = settings().loadThemeSettings();
    const ThemeValues defaults;

    EXPECT_TRUE(settings().getArtistName().isEmpty());
    EXPECT_FALSE(settings().getDoNotAskAgain());
    EXPECT_EQ(settings().loadGridStrength(), 0);
    EXPECT_DOUBLE_EQ(theme.primaryHue, defaults.primaryHue);
    EXPECT_DOUBLE_EQ(theme.secondaryHue, defaults.secondaryHue);
    EXPECT_DOUBLE_EQ(theme.primarySaturationScale, defaults.primarySaturationScale);
    EXPECT_DOUBLE_EQ(theme.secondarySaturationScale, defaults.secondarySaturationScale);
    EXPECT_EQ(theme.glowEnabled, defaults.glowEnabled);
    EXPECT_DOUBLE_EQ(theme.glowIntensity, defaults.glowIntensity);

    for (const auto* baseName : {"artist-settings", "theme-settings", "plugin-preferences"})
    {
        const auto file = makerFolder().getChildFile(juce::String(baseName) + ".xml");
        EXPECT_TRUE(file.existsAsFile()) << baseName;
        EXPECT_EQ(file.loadFileAsString(), juce::String(GetParam().content)) << baseName;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Contents, DamagedSettingsFileTest,
    ::testing::Values(DamagedFile{"Empty", ""},
                      DamagedFile{"Truncated", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n"
                                               "  <VALUE name=\"artistName\" val=\"Ann"},
                      DamagedFile{"NotXml", "artistName = Ann\nprimaryHue = 0.5\n"},
                      DamagedFile{"ForeignRoot",
                                  "<?xml version=\"1.0\"?><SETTINGS><VALUE name=\"primaryHue\" val=\"0.5\"/>"
                                  "</SETTINGS>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UserSettingsTest, MissingFilesGiveDefaultsWithoutCreatingAnything)
{
    EXPECT_TRUE(settings().getArtistName().isEmpty());
    EXPECT_EQ(settings().loadGridStrength(), 0);
    EXPECT_TRUE(settings().loadThemeSettings().glowEnabled);

    EXPECT_FALSE(makerFolder().exists());
}
