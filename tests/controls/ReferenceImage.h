#pragma once

#include "Rendering.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace testsupport
{
// Compares a rendered image with its committed reference (references/<name>.png beside the tests),
// allowing a small difference per channel. The rendering is always written to the build folder; a
// failed comparison also writes a difference image there and names both. Setting the environment
// variable VELTRANE_UPDATE_REFERENCE_IMAGES=1 rewrites the reference instead of comparing.
inline ::testing::AssertionResult matchesReference(const juce::Image& actual, const juce::String& name,
                                                   int tolerance = 3)
{
    const juce::File outputFolder(VELTRANE_CONTROLS_TEST_OUTPUT_DIR);
    const juce::File referenceFolder(VELTRANE_CONTROLS_REFERENCE_DIR);
    outputFolder.createDirectory();
    const auto actualFile = outputFolder.getChildFile(name + ".png");
    if (!writePng(actual, actualFile))
        return ::testing::AssertionFailure() << "cannot write " << actualFile.getFullPathName();

    const auto referenceFile = referenceFolder.getChildFile(name + ".png");
    if (const auto* update = std::getenv("VELTRANE_UPDATE_REFERENCE_IMAGES");
        update != nullptr && *update == '1')
    {
        referenceFolder.createDirectory();
        return writePng(actual, referenceFile)
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << "cannot write " << referenceFile.getFullPathName();
    }

    const auto reference = juce::ImageFileFormat::loadFrom(referenceFile);
    if (!reference.isValid())
        return ::testing::AssertionFailure()
               << "no reference " << referenceFile.getFullPathName()
               << " (VELTRANE_UPDATE_REFERENCE_IMAGES=1 writes it); rendering in "
               << actualFile.getFullPathName();
    if (reference.getBounds() != actual.getBounds())
        return ::testing::AssertionFailure()
               << "size " << actual.getWidth() << " x " << actual.getHeight() << ", reference "
               << reference.getWidth() << " x " << reference.getHeight() << "; rendering in "
               << actualFile.getFullPathName();

    // Differing pixels in red over a faded copy of the rendering.
    juce::Image difference(juce::Image::ARGB, actual.getWidth(), actual.getHeight(), true);
    int differing = 0;
    for (int y = 0; y < actual.getHeight(); ++y)
        for (int x = 0; x < actual.getWidth(); ++x)
        {
            const auto a = actual.getPixelAt(x, y);
            const auto same = closeTo(a, reference.getPixelAt(x, y), tolerance);
            differing += same ? 0 : 1;
            difference.setPixelAt(x, y, same ? a.withMultipliedAlpha(0.25f) : juce::Colours::red);
        }
    const auto differenceFile = outputFolder.getChildFile(name + "-difference.png");
    if (differing == 0)
    {
        differenceFile.deleteFile(); // left by an earlier failure
        return ::testing::AssertionSuccess();
    }

    writePng(difference, differenceFile);

    return ::testing::AssertionFailure()
           << differing << " pixels differ from " << referenceFile.getFullPathName() << " by more than "
           << tolerance << "; rendering in " << actualFile.getFullPathName() << ", differences in "
           << differenceFile.getFullPathName();
}
} // namespace testsupport
