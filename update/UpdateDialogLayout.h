#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace update_check
{
// The update dialog's geometry as arithmetic on measured text heights, in pixels.
struct UpdateDialogGeometry
{
    static constexpr int width = 380;
    static constexpr int initialHeight = 160;
    static constexpr int contentInset = 24;
    static constexpr int contentWidth = width - 2 * contentInset;
    static constexpr int buttonHeight = 28;
    static constexpr int closeButtonWidth = 70;
    static constexpr int downloadButtonWidth = 110;
    static constexpr float changeGap = 2.0f;
};

// Where the texts go and how tall the dialog is: the title row, the message below it (a gap of
// spacing 7), the changes (after spacing 6, each followed by 2), then spacing 7 and the button row,
// all inside the content inset.
struct UpdateDialogTextLayout
{
    juce::Rectangle<float> title;
    juce::Rectangle<float> message;
    std::vector<juce::Rectangle<float>> changes;
    int height = 0;
};

UpdateDialogTextLayout layOutUpdateDialogText(float titleHeight, float messageHeight,
                                              const std::vector<float>& changeHeights);

// The button row at the bottom of the content area: Download right-aligned when shown, Close to its
// left (or right-aligned alone). download is empty without the Download button.
struct UpdateDialogButtonLayout
{
    juce::Rectangle<int> close;
    juce::Rectangle<int> download;
};

UpdateDialogButtonLayout layOutUpdateDialogButtons(juce::Rectangle<int> dialogBounds, bool withDownload);
} // namespace update_check
