#include "controls/TextEditorStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokenCache.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const TextEditorStyle& s)
{
    return std::tie(s.font, s.justification, s.textColour, s.highlightColour, s.caretColour,
                    s.backgroundColour, s.outlineColour, s.focusedOutlineColour, s.shadowColour,
                    s.scrollbarThumbColour, s.backgroundAlpha, s.highlightAlpha, s.outlineAlpha,
                    s.focusedOutlineAlpha, s.shadowAlpha, s.cornerRadius, s.leftIndent, s.topIndent,
                    s.preferredHeight, s.multiLine, s.readOnly);
}

TextEditorStyle buildTextEditorPreset()
{
    const auto& p = palette();
    TextEditorStyle s;
    s.font = makeFont(bodyFontSpec).font;
    s.justification = juce::Justification::centredLeft;
    s.textColour = p.neutral9;
    s.highlightColour = p.primary8;
    s.caretColour = p.secondary6;
    s.backgroundColour = p.neutral0;
    s.outlineColour = p.neutral3;
    s.focusedOutlineColour = p.primary5;
    s.shadowColour = p.neutral0;
    s.backgroundAlpha = 0.4f;
    s.highlightAlpha = 0.3f;
    s.outlineAlpha = 0.7f;
    s.focusedOutlineAlpha = 0.9f;
    s.shadowAlpha = 0.5f;
    s.cornerRadius = 6.0f;
    return s;
}
} // namespace

bool TextEditorStyle::operator==(const TextEditorStyle& other) const
{
    return fields(*this) == fields(other);
}

const TextEditorStyle& textEditorPreset()
{
    static ThemeTokenCache<TextEditorStyle> cache(&buildTextEditorPreset);
    return cache.get();
}
} // namespace ui_core
