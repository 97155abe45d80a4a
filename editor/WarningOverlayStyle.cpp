#include "editor/WarningOverlayStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

namespace ui_panels
{
namespace
{
juce::Font themedFontAtHeight(const ui_core::FontSpec& spec, float height)
{
    auto font = ui_core::makeFont(spec).font;
    if (font.getHeight() != height)
        font.setHeight(height);
    return font;
}
} // namespace

WarningOverlayStyle warningOverlayPreset()
{
    const auto& p = ui_core::palette();
    WarningOverlayStyle s;
    s.backgroundColour = p.neutral1;
    s.borderColour = p.neutral2;
    s.cornerRadius = ui_core::radiusScale()[7];
    s.borderThickness = ui_core::strokeScale()[1];
    s.padding = 24;
    s.titleGap = ui_core::spacingScale()[7];
    s.titleColour = p.neutral8;
    s.titleFont = themedFontAtHeight(ui_core::titleFontSpec, 19.26f);
    s.textColour = p.neutral5;
    s.textFont = themedFontAtHeight(ui_core::captionFontSpec, 14.98f);
    s.diagramColour = p.neutral8;
    s.diagramArrowColour = p.neutral5;
    s.diagramFont = themedFontAtHeight(ui_core::captionFontSpec, 11.77f);
    s.diagramHeight = 100;
    s.sectionGap = ui_core::spacingScale()[8];
    return s;
}
} // namespace ui_panels
