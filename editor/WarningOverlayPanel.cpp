#include "editor/WarningOverlayPanel.h"

#include <algorithm>
#include <cmath>

namespace ui_panels
{
namespace
{
juce::TextLayout layoutOf(const juce::String& text, const juce::Font& font, juce::Colour colour, float width)
{
    juce::AttributedString attributed;
    attributed.setWordWrap(juce::AttributedString::byWord);
    attributed.setJustification(juce::Justification::topLeft);
    attributed.append(text, font, colour);
    juce::TextLayout layout;
    layout.createLayout(attributed, width);
    return layout;
}

void drawArrow(juce::Graphics& g, float x1, float y1, float x2, float y2)
{
    g.drawLine(x1, y1, x2, y2, 1.5f);
    juce::Path head;
    head.addTriangle(x2, y2, x2 - 6.0f, y2 - 3.0f, x2 - 6.0f, y2 + 3.0f);
    g.fillPath(head);
}
} // namespace

WarningOverlayPanel::WarningOverlayPanel()
{
    setInterceptsMouseClicks(false, false);
}

void WarningOverlayPanel::setStyle(const WarningOverlayStyle& newStyle)
{
    style = newStyle;
    repaint();
}

void WarningOverlayPanel::setTitle(const juce::String& text)
{
    title = text;
    repaint();
}

void WarningOverlayPanel::setDescription(const juce::String& text)
{
    description = text;
    repaint();
}

void WarningOverlayPanel::setInstructions(const juce::String& text)
{
    instructions = text;
    repaint();
}

float WarningOverlayPanel::wrappedHeight(const juce::String& text, float width) const
{
    return layoutOf(text, style.textFont, style.textColour, width).getHeight();
}

void WarningOverlayPanel::drawWrapped(juce::Graphics& g, const juce::String& text,
                                      juce::Rectangle<float> area) const
{
    if (area.isEmpty())
        return;
    juce::Graphics::ScopedSaveState clip(g);
    g.reduceClipRegion(area.getSmallestIntegerContainer());
    layoutOf(text, style.textFont, style.textColour, area.getWidth()).draw(g, area);
}

int WarningOverlayPanel::getPreferredHeight() const
{
    const auto contentWidth = static_cast<float>(cardWidth - 2 * style.padding);
    auto h = 2 * style.padding;
    if (title.isNotEmpty())
        h += static_cast<int>(std::ceil(style.titleFont.getHeight())) + style.titleGap;
    if (description.isNotEmpty())
        h += static_cast<int>(std::ceil(wrappedHeight(description, contentWidth))) + style.sectionGap;
    if (style.diagramHeight > 0)
        h += style.diagramHeight + style.sectionGap;
    if (instructions.isNotEmpty())
        h += static_cast<int>(std::ceil(wrappedHeight(instructions, contentWidth)));
    return h;
}

void WarningOverlayPanel::paint(juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.setColour(style.backgroundColour);
    g.fillRoundedRectangle(bounds, style.cornerRadius);

    const auto half = style.borderThickness / 2.0f;
    const auto outline = juce::Rectangle<float>(half, half, std::max(bounds.getWidth() - 2.0f * half, 0.0f),
                                                std::max(bounds.getHeight() - 2.0f * half, 0.0f));
    g.setColour(style.borderColour);
    g.drawRoundedRectangle(outline, style.cornerRadius, style.borderThickness);

    // Each section takes the height it needs, clipped to what is left, and is followed by its gap.
    const auto x = static_cast<float>(style.padding);
    const auto contentWidth = static_cast<float>(std::max(getWidth() - 2 * style.padding, 0));
    auto y = static_cast<float>(style.padding);
    auto left = static_cast<float>(std::max(getHeight() - 2 * style.padding, 0));
    const auto take = [&](float needed, float gap)
    {
        const auto height = std::min(needed, left);
        const auto area = juce::Rectangle<float>(x, y, contentWidth, height);
        left -= height;
        const auto clippedGap = std::min(gap, left);
        left -= clippedGap;
        y += height + clippedGap;
        return area;
    };

    if (title.isNotEmpty())
    {
        const auto area = take(std::ceil(style.titleFont.getHeight()), static_cast<float>(style.titleGap));
        g.setColour(style.titleColour);
        g.setFont(style.titleFont);
        g.drawText(title, area, juce::Justification::centredLeft, true);
    }
    if (description.isNotEmpty())
        drawWrapped(
            g, description,
            take(std::ceil(wrappedHeight(description, contentWidth)), static_cast<float>(style.sectionGap)));
    if (style.diagramHeight > 0)
        drawDiagram(g, take(static_cast<float>(style.diagramHeight), static_cast<float>(style.sectionGap)));
    if (instructions.isNotEmpty())
        drawWrapped(g, instructions, take(left, 0.0f));
}

void WarningOverlayPanel::drawDiagram(juce::Graphics& g, juce::Rectangle<float> area) const
{
    if (area.isEmpty())
        return;

    // Three 90 x 40 boxes with 20 between them, centred; the diagram is not scaled, so on a narrow card
    // it runs past the content box.
    const auto a = area.getY() + 10.0f;
    const auto b = area.getX() + area.getWidth() / 2.0f - 155.0f;
    const char* labels[] = {"Test Signal", "Device\nUnder Test", "Veltrane\nProbe"};

    g.setColour(style.diagramColour);
    g.setFont(style.diagramFont);
    for (int i = 0; i < 3; ++i)
    {
        const auto box = juce::Rectangle<float>(b + 110.0f * static_cast<float>(i), a, 90.0f, 40.0f);
        g.drawRoundedRectangle(box, 4.0f, 1.5f);
        g.drawFittedText(labels[i], box.toNearestInt(), juce::Justification::centred, 2);
    }

    g.setColour(style.diagramArrowColour);
    drawArrow(g, b + 90.0f, a + 20.0f, b + 110.0f, a + 20.0f);
    drawArrow(g, b + 200.0f, a + 20.0f, b + 220.0f, a + 20.0f);

    // The sidechain: from under the test signal round to the bottom of the probe.
    juce::Path route;
    route.startNewSubPath(b + 45.0f, a + 40.0f);
    route.lineTo(b + 45.0f, a + 60.0f);
    route.lineTo(b + 265.0f, a + 60.0f);
    route.lineTo(b + 265.0f, a + 46.0f);
    g.strokePath(route, juce::PathStrokeType(1.5f));
    juce::Path head;
    head.addTriangle(b + 265.0f, a + 40.0f, b + 262.0f, a + 46.0f, b + 268.0f, a + 46.0f);
    g.fillPath(head);

    g.drawText("Sidechain", juce::Rectangle<float>(b + 125.0f, a + 64.0f, 60.0f, 14.0f),
               juce::Justification::centred, false);
}
} // namespace ui_panels
