#include "editor/ThemeOverlayLayout.h"

#include <algorithm>

namespace ui_panels
{
namespace
{
constexpr int titleHeight = 20;
// A caption line is this much taller than a slider row.
constexpr int captionExtra = 2;
} // namespace

int themeOverlayCardHeight(const ThemeOverlayStyle& style)
{
    return style.buttonHeight + 11 * style.rowHeight + 8 * style.gap + 2 * style.padding + titleHeight +
           5 * captionExtra;
}

ThemeOverlayLayout layOutThemeOverlay(const ThemeOverlayStyle& style, int width, int height)
{
    const auto cardHeight = themeOverlayCardHeight(style);
    const auto contentWidth = std::max(style.cardWidth - 2 * style.padding, 0);

    ThemeOverlayLayout layout;
    layout.card = {(width - style.cardWidth) / 2, (height - cardHeight) / 2, style.cardWidth, cardHeight};

    juce::Rectangle<int> content(layout.card.getX() + style.padding, layout.card.getY() + style.padding,
                                 contentWidth, std::max(cardHeight - 2 * style.padding, 0));
    const auto take = [&content](int rowHeight) { return content.removeFromTop(std::max(rowHeight, 0)); };
    const auto takeRow = [&](ThemeOverlayRow& row)
    {
        row.label = take(style.rowHeight + captionExtra);
        row.slider = take(style.rowHeight);
    };

    layout.title = content.withHeight(std::min(content.getHeight(), titleHeight));
    take(style.gap + titleHeight);
    takeRow(layout.primaryHue);
    for (auto* row : {&layout.secondaryHue, &layout.primarySaturation, &layout.secondarySaturation})
    {
        take(style.gap);
        takeRow(*row);
    }

    take(style.gap);
    layout.glowRow = take(style.rowHeight);
    const auto switchSide = std::min(contentWidth, style.swatchWidth);
    layout.glowSwitch = layout.glowRow.withLeft(layout.glowRow.getRight() - switchSide)
                            .withSizeKeepingCentre(switchSide, switchSide);
    take(style.gap);
    takeRow(layout.glowAmount);

    take(style.gap);
    take(style.gap);
    auto buttons = take(style.buttonHeight);
    const auto buttonWidth = std::max((contentWidth - 2 * style.buttonGap) / 3, 0);
    const auto buttonGap = std::max(style.buttonGap, 0);
    layout.resetButton = buttons.removeFromLeft(buttonWidth);
    buttons.removeFromLeft(buttonGap);
    layout.cancelButton = buttons.removeFromLeft(buttonWidth);
    buttons.removeFromLeft(buttonGap);
    layout.okButton = buttons;
    return layout;
}
} // namespace ui_panels
