#pragma once

#include "visualizer/ImageUpscaler.h"
#include "visualizer/RoundStroker.h"
#include "visualizer/ScanlineFiller.h"
#include "visualizer/StackBlurStrategy.h"

#include <juce_graphics/juce_graphics.h>

#include <memory>

namespace ui_core
{
// The phosphor glow under one trace: a widened copy of the trace stroked at half resolution,
// blurred, and drawn stretched under the sharp core line. The image persists between frames and is
// only made anew when its size or placement changes.
class TraceGlow
{
public:
    struct Parameters
    {
        juce::Colour colour{0xffffffff}; // drawn opaque
        float thickness = 2.0f;          // of the trace, in pixels
        float intensity = 0.05f;
        float spread = 12.0f;
        float spreadScale = 1.0f;
        float alpha = 1.0f; // of the trace: widens the glow stroke together with the intensity
    };

    // Frames the display keeps refreshing after a change, so the glow spill catches up.
    static constexpr int settleFrames = 30;

    // Copies the parameters in; a change of thickness or spread restarts the settling, any change
    // renders the glow anew.
    void update(const Parameters& newParameters) noexcept;

    // The path changed: the next draw renders the glow anew.
    void invalidate() noexcept { renderNeeded = true; }

    // Draws the glow of `path` for the data area, rendering it first when the path, the parameters
    // or the area changed since the last render. Returns false, drawing nothing, for an empty path.
    bool draw(juce::Graphics& g, const juce::Path& path, juce::Rectangle<float> dataArea);

    // Releases the image and its placement and stops settling (a change of display mode).
    void reset() noexcept;

    void restartSettling() noexcept { settleCount = settleFrames; }
    void settle() noexcept { settleCount = 0; }
    // One settling frame: counts down; true while frames remain.
    bool stepSettling() noexcept;

    int getSettleCount() const noexcept { return settleCount; }
    const Parameters& getParameters() const noexcept { return parameters; }
    const juce::Image& getImage() const noexcept { return image; }
    juce::Rectangle<float> getPlacement() const noexcept { return placement; }
    int getBlurKey() const noexcept { return blurKey; }
    int getBlurGeneration() const noexcept { return blurGeneration; }
    int getRenderCount() const noexcept { return renderCount; }

    // Width of the half-resolution glow stroke, in component pixels.
    static float strokeWidth(float alpha, float intensity, float thickness) noexcept;

private:
    void renderIfNeeded(const juce::Path& path, juce::Rectangle<float> dataArea);
    bool prepareImage(juce::Rectangle<float> dataArea);
    void render(const juce::Path& path);
    void prepareBlur();

    Parameters parameters;
    juce::Image image;
    juce::Rectangle<float> placement;
    int settleCount = 0;
    std::unique_ptr<StackBlurStrategy> blur;
    RoundStroker stroker;
    juce::Path outline;
    ScanlineFiller filler;
    ImageUpscaler upscaler;
    juce::Rectangle<int> glowArea; // every pixel of the image that is not transparent
    int blurKey = 0;
    int blurGeneration = 0;
    bool renderNeeded = true;
    int renderCount = 0;
};
} // namespace ui_core
