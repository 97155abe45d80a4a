#pragma once

#include "visualizer/ScaledImageCache.h"
#include "visualizer/WaveformVisualizer.h"

namespace ui_core
{
// The bezel over the plot: a shade along the inner edge, fading out by a smoothstep over the shade
// depth, and the panel colour over everything outside the rounded plot area. A child covering the
// whole visualizer, repainted with it, transparent to the mouse; drawn from a cached image.
class WaveformVisualizer::BezelOverlay : public juce::Component
{
public:
    explicit BezelOverlay(const WaveformVisualizer& owner);

    void invalidate() noexcept { cache.invalidate(); }
    const ScaledImageCache& getCache() const noexcept { return cache; }

    void paint(juce::Graphics& g) override;

private:
    void render(juce::Graphics& g) const;
    void drawEdgeShade(juce::Graphics& g) const;
    void drawCornerMask(juce::Graphics& g) const;
    // The region the bezel leaves transparent, in whole pixels.
    juce::Rectangle<int> clearInterior() const;

    const WaveformVisualizer& owner;
    ScaledImageCache cache;
};
} // namespace ui_core
