#include "controls/IconButton.h"

#include "controls/StyleColours.h"
#include "controls/SvgIcon.h"
#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
IconButton::IconButton(const juce::String& name)
    : juce::Button(name)
{
}

void IconButton::setIcon(const juce::String& svgText)
{
    icon = createDrawableFromSvgText(svgText);
    rebuildStateDrawables();
    repaint();
}

void IconButton::setStyle(const IconButtonStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    rebuildStateDrawables();
    repaint();
}

juce::Rectangle<float> IconButton::getIconArea() const
{
    const auto size = style.iconSize;
    const auto x = std::max(0, getWidth() - 2 * style.padding) / 2.0f + style.padding - size / 2.0f;
    const auto y = std::max(0, getHeight() - 2 * style.padding) / 2.0f + style.padding - size / 2.0f;
    return {x, y, static_cast<float>(size), static_cast<float>(size)};
}

void IconButton::resized()
{
    layoutStateDrawables();
}

void IconButton::rebuildStateDrawables()
{
    for (auto& drawable : stateDrawables)
        drawable.reset();

    if (icon != nullptr)
    {
        stateDrawables[normalIcon] = recolouredCopy(*icon, style.iconColour);
        stateDrawables[hoveredIcon] = recolouredCopy(*icon, style.iconHoveredColour);
        stateDrawables[pressedIcon] = recolouredCopy(*icon, style.iconPressedColour);
        stateDrawables[disabledIcon] = recolouredCopy(*icon, style.iconDisabledColour);
        // A transparent toggled colour means "no toggled look": the hovered icon stands in.
        if (!style.iconToggledColour.isTransparent())
            stateDrawables[toggledIcon] = recolouredCopy(*icon, style.iconToggledColour);
    }

    ++stateDrawableBuilds;
    layoutStateDrawables();
}

void IconButton::layoutStateDrawables()
{
    // An icon size of 0 leaves the drawables where they are: there is nothing to fit them into.
    const auto area = getIconArea();
    for (auto& drawable : stateDrawables)
        if (drawable != nullptr)
            fitArtworkInto(*drawable, area);
}

const juce::Drawable* IconButton::drawableFor(bool hovered, bool pressed) const
{
    if (!isEnabled())
        return stateDrawables[disabledIcon].get();
    if (getToggleState())
        return stateDrawables[toggledIcon] != nullptr ? stateDrawables[toggledIcon].get()
                                                      : stateDrawables[hoveredIcon].get();
    if (pressed)
        return stateDrawables[pressedIcon].get();
    if (hovered)
        return stateDrawables[hoveredIcon].get();
    return stateDrawables[normalIcon].get();
}

void IconButton::paintButton(juce::Graphics& g, bool hovered, bool pressed)
{
    const auto bounds = getLocalBounds().toFloat();

    auto background = style.backgroundColour;
    if (!isEnabled())
        background = juce::Colours::transparentBlack;
    else if (pressed)
        background = atOpacity(style.backgroundPressedColour, style.pressedBackgroundAlpha);
    else if (hovered)
        background = atOpacity(style.backgroundHoveredColour, style.hoverBackgroundAlpha);

    if (!background.isTransparent())
    {
        g.setColour(background);
        g.fillRoundedRectangle(bounds, style.cornerRadius);
    }

    if (const auto* drawable = drawableFor(hovered, pressed))
        drawable->draw(g, 1.0f);

    const auto outline = bounds.reduced(0.5f);
    if (style.focusOutlineEnabled && hasKeyboardFocus(true))
    {
        g.setColour(style.focusOutlineColour);
        g.drawRoundedRectangle(outline, style.cornerRadius, 1.0f);
    }
    if (getToggleState())
    {
        g.setColour(style.toggledOutlineColour);
        g.drawRoundedRectangle(outline, style.cornerRadius, 1.0f);
    }
}

std::unique_ptr<juce::AccessibilityHandler> IconButton::createAccessibilityHandler()
{
    return WidgetAccessibilityHandler::forButton(*this, WidgetAccessibilityHandler::tooltipOrName(*this));
}
} // namespace ui_core
