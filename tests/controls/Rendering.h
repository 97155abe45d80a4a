#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>

namespace testsupport
{
// The component painted by the software renderer, as a host's window would show it at that scale.
inline juce::Image snapshot(juce::Component& component, float scale = 1.0f)
{
    return component.createComponentSnapshot(component.getLocalBounds(), true, scale);
}

// The same on an opaque background, for checks of blended colours.
inline juce::Image snapshotOver(juce::Component& component, juce::Colour background, float scale = 1.0f)
{
    auto image = snapshot(component, scale);
    juce::Image composed(juce::Image::ARGB, image.getWidth(), image.getHeight(), false);
    juce::Graphics g(composed);
    g.fillAll(background);
    g.drawImageAt(image, 0, 0);
    return composed;
}

inline bool writePng(const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    return out.openedOk() && png.writeImageToStream(image, out);
}

// Whether every channel, alpha included, is within the tolerance.

inline bool closeTo(juce::Colour actual, juce::Colour expected, int tolerance = 2)
{
    return std::abs(actual.getRed() - expected.getRed()) <= tolerance &&
           std::abs(actual.getGreen() - expected.getGreen()) <= tolerance &&
           std::abs(actual.getBlue() - expected.getBlue()) <= tolerance &&
           std::abs(actual.getAlpha() - expected.getAlpha()) <= tolerance;
}

// How many pixels of the area are close to the colour.
inline int countPixels(const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour,
                       int tolerance = 2)
{
    int count = 0;
    area = area.getIntersection(image.getBounds());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (closeTo(image.getPixelAt(x, y), colour, tolerance))
                ++count;
    return count;
}

// Counts the paints of the component it is attached to (Component::setComponentEffect), drawing
// them unchanged.
class PaintCounter final : public juce::ImageEffectFilter
{
public:
    int paints = 0;

    void applyEffect(juce::Image& image, juce::Graphics& g, float, float alpha) override
    {
        ++paints;
        g.setOpacity(alpha);
        g.drawImageAt(image, 0, 0);
    }
};
} // namespace testsupport
