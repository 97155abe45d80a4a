#pragma once

#include "controls/IconButtonStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace ui_core
{
// A button that shows an SVG icon (freeze, play, save), drawn in black and recoloured for each state.
class IconButton final : public juce::Button
{
public:
    explicit IconButton(const juce::String& name);

    // Parses the SVG text; text that is not an SVG document leaves the button without an icon.
    void setIcon(const juce::String& svgText);
    bool hasIcon() const noexcept { return icon != nullptr; }

    void setStyle(const IconButtonStyle& newStyle);
    const IconButtonStyle& getStyle() const noexcept { return style; }

    // The square the icon is fitted into, in the button's coordinates.
    juce::Rectangle<float> getIconArea() const;

    // How often the recoloured state copies were rebuilt (they are rebuilt on an icon or style change
    // only).
    int getStateDrawableBuildCount() const noexcept { return stateDrawableBuilds; }

    void resized() override;
    void paintButton(juce::Graphics& g, bool hovered, bool pressed) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    enum StateIndex
    {
        normalIcon,
        hoveredIcon,
        pressedIcon,
        disabledIcon,
        toggledIcon,
        stateCount
    };

    void rebuildStateDrawables();
    void layoutStateDrawables();
    const juce::Drawable* drawableFor(bool hovered, bool pressed) const;

    IconButtonStyle style;
    std::unique_ptr<juce::Drawable> icon;
    std::array<std::unique_ptr<juce::Drawable>, stateCount> stateDrawables;
    int stateDrawableBuilds = 0;
};
} // namespace ui_core
