#include "ReferenceImages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace visualizertest
{
namespace
{
juce::File referenceFolder()
{
    return juce::File(VELTRANE_VISUALIZER_REFERENCES);
}

juce::File outputFolder()
{
    return juce::File(VELTRANE_VISUALIZER_TEST_OUTPUT);
}

bool writePng(const juce::Image& image, const juce::File& file)
{
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream stream(file);
    juce::PNGImageFormat png;
    return stream.openedOk() && png.writeImageToStream(image, stream);
}

bool updateRequested()
{
    const auto* value = std::getenv("VELTRANE_UPDATE_REFERENCES");
    return value != nullptr && std::strcmp(value, "1") == 0;
}
} // namespace

::testing::AssertionResult matchesReference(const juce::Image& actual, const juce::String& name,
                                            int tolerance)
{
    const auto referenceFile = referenceFolder().getChildFile(name + ".png");
    if (updateRequested())
    {
        if (!writePng(actual, referenceFile))
            return ::testing::AssertionFailure() << "could not write " << referenceFile.getFullPathName();
        return ::testing::AssertionSuccess() << "reference written: " << referenceFile.getFullPathName();
    }

    const auto reference =
        juce::ImageFileFormat::loadFrom(referenceFile).convertedToFormat(juce::Image::ARGB);
    if (!reference.isValid())
        return ::testing::AssertionFailure() << "no reference " << referenceFile.getFullPathName()
                                             << " (VELTRANE_UPDATE_REFERENCES=1 writes it)";

    const auto actualFile = outputFolder().getChildFile(name + ".actual.png");
    if (reference.getWidth() != actual.getWidth() || reference.getHeight() != actual.getHeight())
    {
        writePng(actual, actualFile);
        return ::testing::AssertionFailure()
               << name << ": size " << actual.getWidth() << "x" << actual.getHeight() << ", reference "
               << reference.getWidth() << "x" << reference.getHeight() << "; actual image in "
               << actualFile.getFullPathName();
    }

    // PNG stores unpremultiplied colour, so compare the colours as JUCE hands them back.
    juce::Image difference(juce::Image::ARGB, actual.getWidth(), actual.getHeight(), true);
    int largest = 0, beyond = 0;
    double signedSum = 0.0; // of the pixels beyond the tolerance: brighter (+) or darker (-)
    for (int y = 0; y < actual.getHeight(); ++y)
        for (int x = 0; x < actual.getWidth(); ++x)
        {
            const auto a = actual.getPixelAt(x, y), r = reference.getPixelAt(x, y);
            const int d =
                std::max({std::abs(a.getAlpha() - r.getAlpha()), std::abs(a.getRed() - r.getRed()),
                          std::abs(a.getGreen() - r.getGreen()), std::abs(a.getBlue() - r.getBlue())});
            largest = std::max(largest, d);
            if (d > tolerance)
            {
                ++beyond;
                signedSum +=
                    (a.getRed() + a.getGreen() + a.getBlue()) - (r.getRed() + r.getGreen() + r.getBlue());
            }
            const auto shown = static_cast<juce::uint8>(std::min(255, d * 16));
            difference.setPixelAt(
                x, y, d > tolerance ? juce::Colour(255, 0, 0) : juce::Colour(shown, shown, shown));
        }

    if (beyond == 0)
        return ::testing::AssertionSuccess();

    const auto differenceFile = outputFolder().getChildFile(name + ".difference.png");
    writePng(actual, actualFile);
    writePng(difference, differenceFile);
    return ::testing::AssertionFailure()
           << name << ": " << beyond << " pixels differ by more than " << tolerance << " (largest " << largest
           << ", on average " << signedSum / (3.0 * beyond) << " a channel); actual image "
           << actualFile.getFullPathName() << ", difference " << differenceFile.getFullPathName();
}
} // namespace visualizertest
