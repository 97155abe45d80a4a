#pragma once

#include "visualizer/ImageUpscaler.h"
#include "visualizer/RoundStroker.h"
#include "visualizer/ScanlineFiller.h"
#include "visualizer/StackBlurStrategy.h"
#include "visualizer/WaveformVisualizer.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace ui_core
{
// Light spilling from the display onto the panel: a soft, quarter-resolution glow of the main trace
// that shows only outside the rounded plot area. A sibling laid over the visualizer it follows,
// transparent to the mouse; it re-renders at most every 33 ms while the visualizer produces frames
// and repaints only the strips around the plot.
class GlowSpillOverlay : public juce::Component, private juce::ComponentListener
{
public:
    using Clock = std::function<double()>; // milliseconds

    static constexpr double minimumRefreshInterval = 33.0;

    GlowSpillOverlay();
    ~GlowSpillOverlay() override;

    // Follows `visualizer` (or nothing): sets the bounds around its plot and takes over its
    // onContentChanged and onFramePainted, which it empties again when it lets go.
    void setVisualizer(WaveformVisualizer* visualizer);
    WaveformVisualizer* getVisualizer() const noexcept { return visualizer.getComponent(); }

    int getRenderCount() const noexcept { return renderCount; }
    const juce::Image& getImage() const noexcept { return image; }

    // Replaces the high-resolution clock of the refresh limit (tests).
    void setClock(Clock newClock);

    void paint(juce::Graphics& g) override;
    void resized() override;
    void moved() override;

private:
    void detach();
    void updateBounds();
    void refreshRequested();
    void render(const WaveformVisualizer& source);
    // The visualizer's plot in this overlay's coordinates.
    juce::Rectangle<float> plotInOverlay(const WaveformVisualizer& source) const;

    void componentMovedOrResized(juce::Component& component, bool wasMoved, bool wasResized) override;
    void componentVisibilityChanged(juce::Component& component) override;
    void componentBeingDeleted(juce::Component& component) override;

    juce::Component::SafePointer<WaveformVisualizer> visualizer;
    juce::Image image;
    juce::Rectangle<float> placement;
    std::unique_ptr<StackBlurStrategy> blur;
    RoundStroker stroker;
    juce::Path outline;
    ScanlineFiller filler;
    ImageUpscaler upscaler;
    int blurKey = 0;
    int blurGeneration = 0;
    int renderCount = 0;
    bool needsRender = false;
    bool dirty = true;
    double lastRefreshTime = -1.0e9;
    Clock clock;
};
} // namespace ui_core
