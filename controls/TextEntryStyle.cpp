#include "controls/TextEntryStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
bool TextEntryStyle::operator==(const TextEntryStyle& other) const
{
    return std::tie(font, textColour, caretColour, backdropColour, cornerRadius) ==
           std::tie(other.font, other.textColour, other.caretColour, other.backdropColour,
                    other.cornerRadius);
}

TextEntryStyle textEntryPreset()
{
    const auto& p = palette();
    TextEntryStyle s;
    s.font = makeFont(monoFontSpec).font;
    s.textColour = p.primary6;
    s.caretColour = p.secondary6;
    s.backdropColour = p.neutral1.withAlpha(static_cast<juce::uint8>(217));
    s.cornerRadius = radiusScale()[3];
    return s;
}
} // namespace ui_core
