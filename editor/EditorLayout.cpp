#include "editor/EditorLayout.h"

#include <algorithm>

EditorLayout EditorLayout::compute(const Input& in)
{
    EditorLayout l;
    const auto w = in.width;
    const auto h = in.height;

    // The strip along the bottom, lower when the window is.
    const auto s = std::min(h, stripHeight);
    const auto y0 = h - s;
    l.strip = {0, y0, w, s};

    const auto logoWidth = std::min(w, logoSize);
    l.logo = {0, y0, logoWidth, s};

    // The control row, and the tooltip line in what is left under it.
    const auto r = std::min(s, rowHeight);
    const auto rest = s - r - std::min(s - r, 4);
    l.tooltip = {logoWidth + 4, y0 + r, std::max(w - logoWidth - std::min(w - logoWidth, 68) - 8, 0),
                 std::max(rest, 0)};

    auto x = logoWidth + 24;
    const auto buttonY = y0 + (r - buttonSize) / 2;
    for (auto* button : {&l.play, &l.freeze, &l.save})
    {
        *button = {x, buttonY, buttonSize, buttonSize};
        x += buttonPitch;
    }

    // From the right edge leftwards, without gaps: Smoothing, the two combos of the state, Y Lag,
    // X Lag, Scale.
    auto cursor = w - 8;
    const auto place = [&](juce::Rectangle<int>& bounds, int width)
    {
        bounds = {cursor - width, y0, width, rowHeight};
        cursor -= width;
    };
    place(l.smoothingDisplay, in.smoothingWidth);
    if (in.frozen)
    {
        place(l.captureSize, in.captureSizeWidth);
        place(l.algorithm, in.algorithmWidth);
    }
    else
    {
        place(l.windowSize, in.windowSizeWidth);
        place(l.mode, in.modeWidth);
    }
    place(l.yLag, in.lagWidth);
    place(l.xLag, in.lagWidth);
    place(l.scaleDisplay, in.scaleWidth);

    l.visualizer = {0, 0, w, y0};

    if (in.warningHeight)
        l.warning = {w / 2 - warningWidth / 2, y0 / 2 - *in.warningHeight / 2, warningWidth,
                     *in.warningHeight};

    if (in.scalePanelShown)
        l.scalePanel =
            l.scaleDisplay.withY(l.scaleDisplay.getY() - popupPanelHeight).withHeight(popupPanelHeight);
    if (in.smoothingPanelShown)
        l.smoothingPanel = l.smoothingDisplay.withY(l.smoothingDisplay.getY() - popupPanelHeight)
                               .withHeight(popupPanelHeight);
    return l;
}
