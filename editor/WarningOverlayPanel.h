#pragma once

#include "editor/WarningOverlayStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_panels
{
// The card shown over the plot while the probe cannot work (no sidechain signal, live X-Y view): a
// title, a paragraph, a signal-flow diagram and instructions. It takes no mouse input, so the
// controls under it stay usable.
class WarningOverlayPanel final : public juce::Component
{
public:
    static constexpr int cardWidth = 400;

    WarningOverlayPanel();

    void setStyle(const WarningOverlayStyle& newStyle);
    const WarningOverlayStyle& getStyle() const noexcept { return style; }

    // Empty texts are left out of painting and sizing.
    void setTitle(const juce::String& text);
    void setDescription(const juce::String& text);
    void setInstructions(const juce::String& text);

    // The height the card needs at its width of 400.
    int getPreferredHeight() const;

    void paint(juce::Graphics& g) override;

private:
    // Height of a text laid out with word wrap at the given width.
    float wrappedHeight(const juce::String& text, float width) const;
    void drawWrapped(juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area) const;
    void drawDiagram(juce::Graphics& g, juce::Rectangle<float> area) const;

    WarningOverlayStyle style;
    juce::String title, description, instructions;
};
} // namespace ui_panels
