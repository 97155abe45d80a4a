#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// A static layer (the plot's background and grid, the bezel) rendered once into an image at the
// display's physical pixel scale and then only blitted. It is rendered again when invalidated, or
// when the window moved to a display whose scale differs by 0.01 or more.
class ScaledImageCache
{
public:
    // Draws the layer, first rendering it through `render` (which draws in component coordinates)
    // when needed. A component less than 1 pixel wide or high releases the image and draws nothing.
    // `opaqueArea` (component coordinates), when given, is known to come out opaque: it is kept as
    // an image without alpha too, which the framework copies instead of blending.
    template <typename Render>
    void draw(juce::Graphics& g, int width, int height, Render&& render,
              juce::Rectangle<float> opaqueArea = {})
    {
        if (update(physicalScaleOf(g), width, height, render, opaqueArea))
            blit(g);
    }

    // Renders the layer for this scale when needed; false when there is nothing to draw.
    template <typename Render>
    bool update(float wantedScale, int width, int height, Render&& render,
                juce::Rectangle<float> opaqueArea = {})
    {
        if (needsRender(wantedScale))
        {
            if (!prepareImage(width, height, wantedScale))
                return false;
            {
                juce::Graphics imageGraphics(image);
                imageGraphics.addTransform(juce::AffineTransform::scale(scale));
                render(imageGraphics);
            }
            keepOpaquePart(opaqueArea);
            valid = true;
            ++renderCount;
        }
        return image.isValid();
    }

    void invalidate() noexcept { valid = false; }

    bool isValid() const noexcept { return valid; }
    float getScale() const noexcept { return scale; }
    const juce::Image& getImage() const noexcept { return image; }
    int getRenderCount() const noexcept { return renderCount; }

    static float physicalScaleOf(juce::Graphics& g) noexcept;

private:
    bool needsRender(float wantedScale) const noexcept;
    bool prepareImage(int width, int height, float newScale);
    void keepOpaquePart(juce::Rectangle<float> opaqueArea);
    void blit(juce::Graphics& g) const;

    juce::Image image;
    juce::Image opaquePart;            // RGB copy of the opaque middle, when there is one
    juce::Rectangle<int> opaqueBounds; // where it goes, in component coordinates
    float scale = 1.0f;
    bool valid = false;
    int renderCount = 0;
};
} // namespace ui_core
