#include "controls/TooltipStripStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const TooltipStripStyle& s)
{
    return std::tie(s.backgroundColour, s.textColour, s.font, s.horizontalPadding, s.cornerRadius,
                    s.borderColour, s.borderThickness, s.backgroundOpacity);
}
} // namespace

bool TooltipStripStyle::operator==(const TooltipStripStyle& other) const
{
    return fields(*this) == fields(other);
}

TooltipStripStyle tooltipStripPreset()
{
    const auto& p = palette();
    TooltipStripStyle s;
    s.backgroundColour = p.neutral0;
    s.textColour = p.neutral6;
    s.font = makeFont({FontFamily::Nunito, FontWeight::Medium, 15.0f, 22.0f, 0.0f})
                 .font.withExtraKerningFactor(0.05f);
    s.horizontalPadding = spacingScale()[1];
    s.cornerRadius = 0.0f;
    s.borderColour = p.neutral3;
    s.borderThickness = 0.0f;
    s.backgroundOpacity = 0.0f;
    return s;
}
} // namespace ui_core
