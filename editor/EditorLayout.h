#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>

// The window's layout as arithmetic: a size, the controls' own widths and what is visible in, the
// rectangles out. Divisions round toward zero.
struct EditorLayout
{
    static constexpr int stripHeight = 68;
    static constexpr int rowHeight = 50;
    static constexpr int logoSize = 68;
    static constexpr int buttonSize = 43;
    static constexpr int buttonPitch = 47;
    static constexpr int popupPanelHeight = 100;
    static constexpr int warningWidth = 400;

    struct Input
    {
        int width = 0, height = 0;
        // Widths of the measured controls of the right-aligned row.
        int scaleWidth = 122, lagWidth = 0, smoothingWidth = 72;
        int algorithmWidth = 0, captureSizeWidth = 0, modeWidth = 0, windowSizeWidth = 0;
        // Frozen shows Algo and Size (capture), live Mode and Size (time window).
        bool frozen = false;
        std::optional<int> warningHeight; // when the warning card is shown
        bool scalePanelShown = false, smoothingPanelShown = false;
    };

    juce::Rectangle<int> strip, logo, tooltip, play, freeze, save;
    juce::Rectangle<int> scaleDisplay, xLag, yLag, algorithm, captureSize, mode, windowSize, smoothingDisplay;
    juce::Rectangle<int> visualizer, warning, scalePanel, smoothingPanel;

    static EditorLayout compute(const Input& input);
};
