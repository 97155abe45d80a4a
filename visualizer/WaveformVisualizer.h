#pragma once

#include "visualizer/ColumnEnvelope.h"
#include "visualizer/RepaintThrottle.h"
#include "visualizer/ScaledImageCache.h"
#include "visualizer/TraceGlow.h"
#include "visualizer/TraceLine.h"
#include "visualizer/VisualizerLayout.h"
#include "visualizer/VisualizerStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace ui_core
{
// The plug-in window's large display: an X-versus-Y plot of sample pairs or of the fitted curve
// ("tfunc" mode), or two triggered time-domain traces ("time" mode), with a phosphor glow. It holds
// no audio logic: the editor pushes plain values in, and the display repaints on the vertical blank
// at most about sixty times a second, only when what it shows changed. Its tooltip, which the
// window's tooltip line shows, is what its owner sets (the values under the pointer).
class WaveformVisualizer : public juce::Component, public juce::SettableTooltipClient
{
public:
    enum class DisplayMode
    {
        segments, // the points joined in order
        scatter   // every point a separate dot
    };

    enum class GridStrength
    {
        faint,
        medium,
        strong
    };

    class BezelOverlay;

    WaveformVisualizer();
    ~WaveformVisualizer() override;

    void setStyle(const VisualizerStyle& newStyle);
    const VisualizerStyle& getStyle() const noexcept { return style; }

    void setDisplayMode(DisplayMode mode);
    void setGridStrength(GridStrength strength);
    float getGridStrength() const noexcept { return gridStrength; }

    // X-Y content, each value in -1..+1: 2048 live pairs, or the 16384 points of the fitted curve.
    void setPoints(const std::vector<juce::Point<double>>& newPoints);

    // Time-domain content, X the sidechain and Y the main input, equal lengths, values in -1..+1.
    void setTraces(const std::vector<float>& newTraceX, const std::vector<float>& newTraceY);

    // Empties both traces (the live X-Y feed does so, to hold no stale time-domain data).
    void clearTraces();

    // What was handed in last (the window's tests compare it with what they fed).
    const std::vector<juce::Point<double>>& getPoints() const noexcept { return points; }
    const std::vector<float>& getTraceX() const noexcept { return traceX; }
    const std::vector<float>& getTraceY() const noexcept { return traceY; }

    // Asks for the plot to be repainted on the next vertical blank (at most one frame per 16 ms);
    // never repaints directly.
    void requestPaint();

    juce::Rectangle<float> getPlotBounds() const noexcept { return layout.plotBounds; }
    juce::Rectangle<float> getDataBounds() const noexcept { return layout.dataBounds; }
    // The style's corner radius limited to half the shorter plot side.
    float getCornerRadius() const noexcept { return layout.cornerRadius; }
    bool isTimeMode() const noexcept { return timeMode; }
    bool isScatter() const noexcept { return scatter; }

    // The X trace, or the points, as drawn (component coordinates); the glow spill strokes it too.
    const juce::Path& getMainPath() const noexcept { return mainPath; }
    // The Y trace in time mode, else empty.
    const juce::Path& getSecondPath() const noexcept { return secondPath; }

    // Called after every content or style change.
    std::function<void()> onContentChanged;
    // Called after every frame served on the vertical blank.
    std::function<void()> onFramePainted;
    // Receives all mouse input, with the event's name ("mouseDown", "mouseDrag", ...).
    std::function<void(const juce::MouseEvent&, const juce::String&)> onMouseEvent;

    // The frame scheduling, for tests and for anything that drives frames without a display.
    RepaintThrottle& getRepaintThrottle() noexcept { return throttle; }
    bool isPaintPending() const noexcept { return throttle.isPending(); }

    const TraceGlow& getMainGlow() const noexcept { return mainGlow; }
    const TraceGlow& getSecondGlow() const noexcept { return secondGlow; }
    const ScaledImageCache& getBackgroundCache() const noexcept { return backgroundCache; }

    void paint(juce::Graphics& g) override;
    void resized() override;

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseMove(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDoubleClick(const juce::MouseEvent& e) override;

private:
    void updateLayout();
    void rebuildPaths();
    void buildPointsPath();
    void buildTracePaths();
    int envelopeSpace(std::size_t count) const noexcept;
    void contentChanged();
    void serveFrame();
    void restartSettling() noexcept;
    void invalidateTraces() noexcept;

    bool coversPanel() const noexcept;
    void renderBackground(juce::Graphics& g) const;
    void drawGrid(juce::Graphics& g) const;
    void drawPoints(juce::Graphics& g, bool& mainDrew);
    void drawTraces(juce::Graphics& g, bool& mainDrew, bool& secondDrew);
    void forward(const juce::MouseEvent& e, const char* name);

    TraceGlow::Parameters mainGlowParameters() const noexcept;
    TraceGlow::Parameters secondGlowParameters() const noexcept;

    VisualizerStyle style;
    VisualizerLayout layout;
    std::vector<juce::Point<double>> points;
    bool hasPoints = false;
    std::vector<float> traceX, traceY;
    bool timeMode = false;
    bool scatter = false;
    float gridStrength = 1.0f;
    static constexpr double gridStep = 0.1;

    juce::Path mainPath, secondPath;
    float pathScale = 1.0f; // display scale the paths were thinned for
    ColumnEnvelope envelope;
    TraceGlow mainGlow, secondGlow;
    TraceLine mainLine, secondLine;
    ScaledImageCache backgroundCache;
    // What is on screen no longer shows the content; frames that only settle the glow leave the plot
    // alone.
    bool plotOutdated = true;

    std::unique_ptr<BezelOverlay> bezel;
    RepaintThrottle throttle;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(WaveformVisualizer)
};
} // namespace ui_core
