#include "core/PluginAudioProcessor.h"
#include "files/PresetFormat.h"
#include "files/UserSettings.h"
#include "files/ValueTreeStreamCheck.h"
#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
PluginEnvironment environmentIn(const juce::File& root)
{
    PluginEnvironment environment;
    environment.userApplicationDataFolder = root.getChildFile("user");
    environment.commonApplicationDataFolder = root.getChildFile("common");
    return environment;
}

PresetReadResult readPresetFile(const juce::File& file)
{
    juce::MemoryBlock bytes;
    if (!file.loadFileAsData(bytes))
        return {};
    return readPreset(readValueTreeSafely(bytes.getData(), bytes.getSize()));
}
} // namespace

// The processor's own preset library writes the current table with the artist from the user's
// settings, into the user preset folder below the application-data folder it was given.
TEST(PluginAudioProcessorPresetLibrary, SavesTheCurrentTableWithTheSettingsArtist)
{
    testsupport::TemporaryFolder temporary;
    UserSettings(temporary.get().getChildFile("user/Corvane")).setArtistName("Hedy");

    PluginAudioProcessor processor(environmentIn(temporary.get()));
    auto& library = processor.getPresetLibrary();
    const auto userFolder = temporary.get().getChildFile("user/Corvane/Transfer Functions");
    EXPECT_EQ(library.getUserFolder(), userFolder);
    EXPECT_TRUE(userFolder.isDirectory()); // created with the library
    EXPECT_EQ(library.getFactoryFolder(), temporary.get().getChildFile("common/Corvane/Transfer Functions"));

    std::vector<double> curve(16384);
    for (size_t i = 0; i < curve.size(); ++i)
        curve[i] = std::sin(0.001 * (double) i);
    processor.writeSmoothedBinsToTransferFunction(curve);

    const auto target = userFolder.getChildFile("sine.tfunc");
    ASSERT_TRUE(library.save(target));
    const auto read = readPresetFile(target);
    ASSERT_TRUE(read.ok) << read.error;
    for (size_t i = 0; i < curve.size(); ++i)
        ASSERT_EQ(read.values[i], (double) (float) curve[i]) << i;

    juce::MemoryBlock bytes;
    ASSERT_TRUE(target.loadFileAsData(bytes));
    const auto metadata = readValueTreeSafely(bytes.getData(), bytes.getSize()).getChildWithName("metadata");
    EXPECT_EQ(metadata["artist"].toString(), "Hedy");

    ASSERT_EQ(library.getIndex().size(), 1u); // rescanned after the save
    EXPECT_EQ(library.getIndex()[0].file, target);
}

TEST(PluginAudioProcessorPresetLibrary, EnvironmentArtistOverridesTheSettings)
{
    testsupport::TemporaryFolder temporary;
    UserSettings(temporary.get().getChildFile("user/Corvane")).setArtistName("Hedy");
    auto environment = environmentIn(temporary.get());
    environment.artistName = [] { return juce::String("Grace"); };

    PluginAudioProcessor processor(std::move(environment));
    const auto target = temporary.get().getChildFile("elsewhere.tfunc");
    ASSERT_TRUE(processor.getPresetLibrary().save(target));
    juce::MemoryBlock bytes;
    ASSERT_TRUE(target.loadFileAsData(bytes));
    EXPECT_EQ(readValueTreeSafely(bytes.getData(), bytes.getSize())
                  .getChildWithName("metadata")["artist"]
                  .toString(),
              "Grace");
}

// Without folders (the default for tests and tools) the library has none and touches nothing.
TEST(PluginAudioProcessorPresetLibrary, DefaultEnvironmentHasNoPresetFolders)
{
    PluginAudioProcessor processor;
    EXPECT_EQ(processor.getPresetLibrary().getUserFolder(), juce::File());
    EXPECT_EQ(processor.getPresetLibrary().getFactoryFolder(), juce::File());
}
