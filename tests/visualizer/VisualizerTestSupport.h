#pragma once

#include "controls/ThemePalette.h"
#include "visualizer/GlowSpillOverlay.h"
#include "visualizer/ThemedVisualizerStyle.h"
#include "visualizer/WaveformVisualizer.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace visualizertest
{
// Paints a component and its children with the software renderer at a display scale.
inline juce::Image render(juce::Component& component, float scale = 1.0f)
{
    juce::Image image(juce::Image::ARGB, juce::roundToInt(static_cast<float>(component.getWidth()) * scale),
                      juce::roundToInt(static_cast<float>(component.getHeight()) * scale), true,
                      juce::SoftwareImageType());
    juce::Graphics g(image);
    g.addTransform(juce::AffineTransform::scale(scale));
    component.paintEntireComponent(g, false);
    return image;
}

// The visualizer as the window holds it: on the panel, with the glow spill laid over it.
class VisualizerPanel : public juce::Component
{
public:
    static constexpr int padding = 24;

    VisualizerPanel(int visualizerWidth, int visualizerHeight)
    {
        addAndMakeVisible(visualizer);
        addAndMakeVisible(spill);
        setSize(visualizerWidth + 2 * padding, visualizerHeight + 2 * padding);
        visualizer.setBounds(padding, padding, visualizerWidth, visualizerHeight);
        visualizer.setStyle(ui_core::themedVisualizerStyle());
        spill.setVisualizer(&visualizer);
    }

    void paint(juce::Graphics& g) override { g.fillAll(ui_core::palette().neutral1); }

    ui_core::WaveformVisualizer visualizer;
    ui_core::GlowSpillOverlay spill;
};

// A test clock in milliseconds.
struct ManualClock
{
    double now = 1000.0;
    std::function<double()> function()
    {
        return [this] { return now; };
    }
};
} // namespace visualizertest
