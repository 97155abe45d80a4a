#include "update/UpdateDialogLayout.h"

#include "controls/ThemeTokens.h"

#include <cmath>

namespace update_check
{
using Geometry = UpdateDialogGeometry;

UpdateDialogTextLayout layOutUpdateDialogText(float titleHeight, float messageHeight,
                                              const std::vector<float>& changeHeights)
{
    const auto sectionGap = static_cast<float>(ui_core::spacingScale()[7]);
    const auto listGap = static_cast<float>(ui_core::spacingScale()[6]);
    const auto left = static_cast<float>(Geometry::contentInset);
    const auto width = static_cast<float>(Geometry::contentWidth);

    UpdateDialogTextLayout layout;
    auto y = static_cast<float>(Geometry::contentInset);
    layout.title = {left, y, width, titleHeight};
    y += titleHeight + sectionGap;
    layout.message = {left, y, width, messageHeight};
    y += messageHeight;

    if (!changeHeights.empty())
    {
        y += listGap;
        for (const auto itemHeight : changeHeights)
        {
            layout.changes.emplace_back(left, y, width, itemHeight);
            y += itemHeight + Geometry::changeGap;
        }
    }

    y += sectionGap + static_cast<float>(Geometry::buttonHeight + Geometry::contentInset);
    layout.height = static_cast<int>(std::ceil(y));
    return layout;
}

UpdateDialogButtonLayout layOutUpdateDialogButtons(juce::Rectangle<int> dialogBounds, bool withDownload)
{
    auto content = dialogBounds.reduced(Geometry::contentInset);
    auto row = content.removeFromBottom(std::min(Geometry::buttonHeight, content.getHeight()));

    UpdateDialogButtonLayout buttons;
    if (withDownload)
    {
        buttons.download = row.removeFromRight(std::min(Geometry::downloadButtonWidth, row.getWidth()));
        row.removeFromRight(ui_core::spacingScale()[6]);
    }
    buttons.close = row.removeFromRight(std::min(Geometry::closeButtonWidth, std::max(0, row.getWidth())));
    return buttons;
}
} // namespace update_check
