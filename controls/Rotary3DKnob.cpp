#include "controls/Rotary3DKnob.h"

#include "controls/AccessibleSliderHandler.h"
#include "controls/SliderKeyboardControl.h"

#include <cmath>

namespace ui_core
{
namespace
{
constexpr float halfPi = juce::MathConstants<float>::halfPi;

// The track when the style leaves it unset: grey darkened by 1/1.3 per channel.
const juce::Colour fallbackTrackColour{0xff626262};

juce::Path arc(const KnobGeometry& geometry, float fromAngle, float toAngle)
{
    // The framework measures angles from twelve o'clock, the style from three o'clock.
    juce::Path path;
    path.addCentredArc(geometry.centre.x, geometry.centre.y, geometry.trackRadius, geometry.trackRadius, 0.0f,
                       fromAngle + halfPi, toAngle + halfPi, true);
    return path;
}

juce::PathStrokeType arcStroke(float thickness)
{
    return {thickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded};
}

juce::Path disc(juce::Point<float> centre, float radius)
{
    juce::Path path;
    path.addEllipse(centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius);
    return path;
}
} // namespace

KnobGeometry KnobGeometry::of(int width, int height, const KnobStyle& style)
{
    KnobGeometry geometry;
    const auto m = static_cast<float>(std::min(width, height));
    geometry.centre = {static_cast<float>(width) / 2.0f, static_cast<float>(height) / 2.0f};
    geometry.bodyRadius = 0.36f * m;
    geometry.trackRadius = m / 2.0f - style.trackThickness / 2.0f;
    geometry.small = m <= 60.0f;
    const auto pointer = (geometry.small ? 1.5f : 2.0f) * style.pointerWidth;
    geometry.pointerWidth = pointer < 2.0f ? 2.0f : std::min(geometry.bodyRadius / 2.0f, pointer);
    geometry.rimThickness = geometry.small ? 0.8f : 1.0f;
    return geometry;
}

Rotary3DKnob::Rotary3DKnob()
    : juce::Slider(juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox)
{
    setWantsKeyboardFocus(true);
}

Rotary3DKnob::~Rotary3DKnob() = default;

void Rotary3DKnob::setStyle(const KnobStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    cacheValid = false;
    repaint();
}

float Rotary3DKnob::valueAngle()
{
    double proportion = 0.0;
    if (getMaximum() > getMinimum())
        proportion = juce::jlimit(0.0, 1.0, valueToProportionOfLength(getValue()));
    return style.startAngle + static_cast<float>(proportion) * (style.endAngle - style.startAngle);
}

void Rotary3DKnob::renderBodyImagesIfNeeded(float scale)
{
    const auto width = juce::roundToInt(static_cast<float>(getWidth()) * scale);
    const auto height = juce::roundToInt(static_cast<float>(getHeight()) * scale);
    if (cacheValid && normalBody.getWidth() == width && normalBody.getHeight() == height &&
        std::abs(scale - cachedScale) < 0.01f)
        return;

    normalBody = juce::Image(juce::Image::ARGB, std::max(width, 1), std::max(height, 1), true);
    highlightedBody = juce::Image(juce::Image::ARGB, std::max(width, 1), std::max(height, 1), true);
    renderBody(normalBody, scale, 0.12f);
    renderBody(highlightedBody, scale, 0.2f);
    cachedScale = scale;
    cacheValid = true;
    ++bodyRenders;
}

void Rotary3DKnob::renderBody(juce::Image& image, float scale, float rimAlpha) const
{
    juce::Graphics g(image);
    g.addTransform(juce::AffineTransform::scale(scale));

    const auto geometry = getGeometry();
    const auto centre = geometry.centre;
    const auto radius = geometry.bodyRadius;

    g.setColour(style.trackColour.getAlpha() != 0 ? style.trackColour : fallbackTrackColour);
    g.strokePath(arc(geometry, style.startAngle, style.endAngle), arcStroke(style.trackThickness));

    const auto body = disc(centre, radius);
    g.setColour(style.bodyColour);
    g.fillPath(body);

    {
        const juce::Graphics::ScopedSaveState clipped(g);
        g.reduceClipRegion(body);
        g.setGradientFill({juce::Colours::black.withAlpha(static_cast<juce::uint8>(20)), centre.x,
                           centre.y + 0.6f * radius, juce::Colours::transparentBlack, centre.x,
                           centre.y - 0.3f * radius, false});
        g.fillPath(body);
        g.setGradientFill({juce::Colours::white.withAlpha(static_cast<juce::uint8>(15)), centre.x,
                           centre.y - 0.7f * radius,
                           juce::Colours::white.withAlpha(static_cast<juce::uint8>(0)), centre.x,
                           centre.y + 0.2f * radius, false});
        g.fillPath(body);
    }

    const auto rim = geometry.rimThickness;
    g.setGradientFill(
        {juce::Colours::white.withAlpha(static_cast<juce::uint8>(juce::roundToInt(255.0f * rimAlpha))),
         centre.x - 0.5f * radius, centre.y - 0.6f * radius,
         juce::Colours::white.withAlpha(static_cast<juce::uint8>(0)), centre.x + 0.6f * radius,
         centre.y + 0.5f * radius, false});
    g.strokePath(disc(centre, radius - rim / 2.0f), arcStroke(rim));
}

void Rotary3DKnob::paint(juce::Graphics& g)
{
    const auto scale = std::max(1.0f, g.getInternalContext().getPhysicalPixelScaleFactor());
    renderBodyImagesIfNeeded(scale);

    const auto& body = hovered || pressed ? highlightedBody : normalBody;
    if (std::abs(scale - 1.0f) < 0.01f)
        g.drawImageAt(body, 0, 0);
    else
        g.drawImageTransformed(body, juce::AffineTransform::scale(1.0f / scale));

    const auto geometry = getGeometry();
    const auto angle = valueAngle();
    if (angle != style.startAngle)
    {
        g.setColour(style.valueArcColour.getAlpha() != 0 ? style.valueArcColour : style.accentColour);
        g.strokePath(arc(geometry, style.startAngle, angle), arcStroke(style.trackThickness));
    }

    const auto centre = geometry.centre;
    const auto radius = geometry.bodyRadius;
    const auto bodyDisc = disc(centre, radius);

    if (isEnabled())
    {
        const auto pw = geometry.pointerWidth;
        juce::Path pointer;
        pointer.addRoundedRectangle(centre.x - pw / 2.0f, centre.y - 0.92f * radius, pw, 0.62f * radius,
                                    pw / 2.0f);
        pointer.applyTransform(juce::AffineTransform::rotation(angle + halfPi, centre.x, centre.y));

        const juce::Graphics::ScopedSaveState clipped(g);
        g.reduceClipRegion(bodyDisc);
        g.setColour(juce::Colours::black.withAlpha(static_cast<juce::uint8>(46)));
        g.fillPath(pointer, juce::AffineTransform::translation(0.5f, 0.8f));
        g.setColour(style.accentColour);
        g.fillPath(pointer);
        g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(38)));
        g.fillPath(pointer, juce::AffineTransform::translation(-0.3f, -0.5f));
    }

    if (pressed || hovered)
    {
        g.setColour(juce::Colours::white.withAlpha(static_cast<juce::uint8>(pressed ? 15 : 10)));
        g.fillPath(bodyDisc);
    }

    if (textEntry.isActive())
    {
        const auto& entryStyle = textEntry.getStyle();
        g.setColour(entryStyle.backdropColour);
        g.fillRoundedRectangle(textEntry.getEditorBounds().expanded(2).toFloat(), entryStyle.cornerRadius);
    }
}

void Rotary3DKnob::resized()
{
    juce::Slider::resized();
    cacheValid = false;
    textEntry.updateEditorBounds();
}

void Rotary3DKnob::mouseEnter(const juce::MouseEvent& e)
{
    hovered = true;
    juce::Slider::mouseEnter(e);
    repaint();
}

void Rotary3DKnob::mouseExit(const juce::MouseEvent& e)
{
    hovered = false;
    juce::Slider::mouseExit(e);
    repaint();
}

void Rotary3DKnob::mouseDown(const juce::MouseEvent& e)
{
    if (textEntry.isActive())
        return;
    pressed = true;
    juce::Slider::mouseDown(e);
    repaint();
}

void Rotary3DKnob::mouseDrag(const juce::MouseEvent& e)
{
    if (pressed)
        juce::Slider::mouseDrag(e);
}

void Rotary3DKnob::mouseUp(const juce::MouseEvent& e)
{
    if (!pressed)
        return;
    pressed = false;
    juce::Slider::mouseUp(e);
    repaint();
}

void Rotary3DKnob::mouseDoubleClick(const juce::MouseEvent&)
{
    // Replaces the framework's reset-on-double-click.
    if (isEnabled())
        textEntry.tryStart();
}

bool Rotary3DKnob::keyPressed(const juce::KeyPress& key)
{
    if (textEntry.isActive() || !isEnabled())
        return false;
    if (key == juce::KeyPress::returnKey)
        return textEntry.tryStart();
    return stepSliderWithKey(*this, key);
}

std::unique_ptr<juce::AccessibilityHandler> Rotary3DKnob::createAccessibilityHandler()
{
    return std::make_unique<AccessibleSliderHandler>(
        *this, [this] { return getTooltip().upToFirstOccurrenceOf("\n", false, false); });
}
} // namespace ui_core
