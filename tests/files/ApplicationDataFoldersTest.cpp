#include "files/ApplicationDataFolders.h"

#include <gtest/gtest.h>

TEST(ApplicationDataFolders, PresetFolderIsMakerFolderPlusTransferFunctions)
{
    const auto appData = juce::File::getSpecialLocation(juce::File::tempDirectory).getChildFile("appdata");

    EXPECT_EQ(ApplicationDataFolders::makerFolderIn(appData).getFullPathName(),
              appData.getChildFile("Corvane").getFullPathName());
    EXPECT_EQ(ApplicationDataFolders::presetFolderIn(appData).getFullPathName(),
              appData.getChildFile("Corvane").getChildFile("Transfer Functions").getFullPathName());
}

TEST(ApplicationDataFolders, UnknownFolderStaysEmptyInsteadOfLandingAtTheRoot)
{
    EXPECT_EQ(ApplicationDataFolders::makerFolderIn({}), juce::File());
    EXPECT_EQ(ApplicationDataFolders::presetFolderIn({}), juce::File());
}
