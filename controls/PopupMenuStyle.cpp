#include "controls/PopupMenuStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <algorithm>
#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const PopupMenuStyle& s)
{
    return std::tie(s.font, s.backgroundColour, s.borderColour, s.textColour, s.highlightedTextColour,
                    s.pressedTextColour, s.disabledTextColour, s.separatorColour,
                    s.highlightedBackgroundColour, s.pressedBackgroundColour, s.scrollbarColour,
                    s.cornerRadius, s.itemHorizontalPadding, s.itemVerticalPadding);
}
} // namespace

bool PopupMenuStyle::operator==(const PopupMenuStyle& other) const
{
    return fields(*this) == fields(other);
}

PopupMenuStyle contextMenuPopupStyle()
{
    const auto& p = palette();
    const auto& opacities = stateOpacities();
    const auto& spacing = spacingScale();

    PopupMenuStyle s;
    s.font = makeFont(bodyFontSpec).font;
    s.backgroundColour = p.neutral1;
    s.borderColour = p.neutral3;
    s.textColour = p.neutral8;
    s.highlightedTextColour = p.primary6;
    s.pressedTextColour = p.neutral8;
    s.disabledTextColour = p.neutral4;
    s.separatorColour = p.neutral3.withAlpha(0.2f);
    s.highlightedBackgroundColour = p.neutral0.withAlpha(opacities[1]);
    s.pressedBackgroundColour = p.neutral0.withAlpha(opacities[2]);
    s.scrollbarColour = p.neutral3.withAlpha(std::max(0.05f, 0.4f));
    s.cornerRadius = radiusScale()[3];
    s.itemHorizontalPadding = spacing[1];
    s.itemVerticalPadding = spacing[2];
    return s;
}
} // namespace ui_core
