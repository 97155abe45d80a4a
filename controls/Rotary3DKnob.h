#pragma once

#include "controls/KnobStyle.h"
#include "controls/SliderTextEntry.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_core
{
// Sizes of a knob for a given component size and style.
struct KnobGeometry
{
    juce::Point<float> centre;
    float bodyRadius = 0.0f;  // 0.36 of the smaller side
    float trackRadius = 0.0f; // the track's centre line, inside the bounds by half its thickness
    float pointerWidth = 0.0f;
    float rimThickness = 0.0f;
    bool small = false; // 60 px or less: thinner rim, relatively wider pointer

    static KnobGeometry of(int width, int height, const KnobStyle& style);
};

// The knob of the popup panels: a shaded disc inside a circular track, a value arc and a pill-shaped
// pointer. The static body is rendered once into two images at the display's scale (normal and
// highlighted) and blitted; only the arc, the pointer and the hover veil are drawn per frame.
// Dragging and the mouse wheel behave like the framework's rotary slider; a double-click (or Return)
// opens an entry to type a value; the cursor keys step the value. Every user change is one gesture.
class Rotary3DKnob final : public juce::Slider
{
public:
    Rotary3DKnob();
    ~Rotary3DKnob() override;

    void setStyle(const KnobStyle& newStyle);
    const KnobStyle& getStyle() const noexcept { return style; }

    SliderTextEntry& getTextEntry() noexcept { return textEntry; }
    KnobGeometry getGeometry() const { return KnobGeometry::of(getWidth(), getHeight(), style); }

    // How often the body images were rendered, and at which scale the current ones were.
    int getBodyRenderCount() const noexcept { return bodyRenders; }
    float getBodyImageScale() const noexcept { return cachedScale; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseEnter(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseDoubleClick(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void enablementChanged() override { repaint(); }
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void renderBodyImagesIfNeeded(float scale);
    void renderBody(juce::Image& image, float scale, float rimAlpha) const;
    float valueAngle();

    KnobStyle style;
    SliderTextEntry textEntry{*this};
    bool hovered = false;
    bool pressed = false;

    juce::Image normalBody, highlightedBody;
    float cachedScale = 0.0f;
    bool cacheValid = false;
    int bodyRenders = 0;
};
} // namespace ui_core
