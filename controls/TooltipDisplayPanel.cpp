#include "controls/TooltipDisplayPanel.h"

#include "controls/StyleColours.h"
#include "controls/TimerPollClock.h"
#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
TooltipDisplayPanel::TooltipDisplayPanel(std::unique_ptr<PollClock> pollClock)
    : clock(pollClock != nullptr ? std::move(pollClock) : std::make_unique<TimerPollClock>())
{
    setInterceptsMouseClicks(false, false);
    clock->onTick = [this] { tick(); };
    clock->start(idleIntervalMilliseconds);
}

TooltipDisplayPanel::~TooltipDisplayPanel()
{
    clock->stop();
    clock->onTick = nullptr;
}

void TooltipDisplayPanel::setWatchedRoot(juce::Component* root)
{
    watchedRoot = root;
}

void TooltipDisplayPanel::setStyle(const TooltipStripStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    repaint();
}

float TooltipDisplayPanel::getTextWidth() const
{
    return style.font.getStringWidthFloat(currentText);
}

float TooltipDisplayPanel::availableWidth() const
{
    return static_cast<float>(std::max(getWidth() - 2 * style.horizontalPadding, 0));
}

void TooltipDisplayPanel::setInterval(int milliseconds)
{
    if (clock->getIntervalMilliseconds() != milliseconds)
        clock->start(milliseconds);
}

juce::String TooltipDisplayPanel::tooltipUnderMouse() const
{
    auto* root = watchedRoot.getComponent();
    if (root == nullptr)
        return {};

    const auto onScreen = juce::Desktop::getInstance().getMainMouseSource().getScreenPosition();
    auto* component = root->getComponentAt(root->getLocalPoint(nullptr, onScreen).roundToInt());
    for (; component != nullptr; component = component->getParentComponent())
    {
        if (auto* client = dynamic_cast<juce::TooltipClient*>(component))
            return client->getTooltip();
        if (component == root)
            break;
    }
    return {};
}

void TooltipDisplayPanel::tick()
{
    const auto tooltip = tooltipUnderMouse();
    if (tooltip != currentText)
    {
        currentText = tooltip;
        offset = 0.0f;
        scrolling = false;
        setInterval(idleIntervalMilliseconds);
        repaint();
        return;
    }
    if (currentText.isEmpty())
        return;

    const auto overflow = getTextWidth() - availableWidth();
    if (overflow <= 0.0f)
    {
        if (scrolling)
        {
            scrolling = false;
            offset = 0.0f;
            setInterval(idleIntervalMilliseconds);
            repaint();
        }
        return;
    }

    if (!scrolling)
    {
        scrolling = true;
        offset = 0.0f;
        countdown = pauseTicks;
        setInterval(marqueeIntervalMilliseconds);
    }

    if (countdown < 1)
    {
        offset += 1.0f;
        if (offset >= overflow)
        {
            offset = overflow;
            countdown = pauseTicks; // rest with the end of the text in view
        }
        repaint();
    }
    else
    {
        const auto pauseEnding = countdown == 1;
        countdown -= 1;
        if (pauseEnding && offset >= overflow)
        {
            offset = 0.0f;
            countdown = pauseTicks;
            repaint();
        }
    }
}

void TooltipDisplayPanel::paint(juce::Graphics& g)
{
    const auto width = static_cast<float>(getWidth());
    const auto height = static_cast<float>(getHeight());

    const auto background =
        atOpacity(style.backgroundColour, style.backgroundColour.getFloatAlpha() * style.backgroundOpacity);
    g.setColour(background);
    if (style.cornerRadius > 0.0f)
    {
        g.fillRoundedRectangle(0.0f, 0.0f, width, height, style.cornerRadius);
        const auto b = style.borderThickness;
        if (b > 0.0f)
        {
            g.setColour(style.borderColour);
            g.drawRoundedRectangle(b / 2.0f, b / 2.0f, std::max(width - b, 0.0f), std::max(height - b, 0.0f),
                                   style.cornerRadius, b);
        }
    }
    else
    {
        g.fillAll();
    }

    if (currentText.isEmpty())
        return;

    g.setColour(style.textColour);
    g.setFont(style.font);
    const auto available = availableWidth();
    const auto padding = style.horizontalPadding;
    const auto textWidth = getTextWidth();

    if (textWidth <= available)
    {
        g.drawText(currentText, juce::Rectangle<float>(static_cast<float>(padding), 0.0f, available, height),
                   juce::Justification::centredTop, false);
        return;
    }

    // Drawn whole at a baseline: a text box exactly as wide as the text could lose its last glyph.
    const juce::Graphics::ScopedSaveState clipped(g);
    g.reduceClipRegion(padding, 0, static_cast<int>(available), getHeight());
    const auto baseline = (height - style.font.getHeight()) / 2.0f + style.font.getAscent();
    g.drawSingleLineText(currentText, juce::roundToInt(static_cast<float>(padding) - offset),
                         juce::roundToInt(baseline));
}

std::unique_ptr<juce::AccessibilityHandler> TooltipDisplayPanel::createAccessibilityHandler()
{
    return std::make_unique<WidgetAccessibilityHandler>(*this, juce::AccessibilityRole::staticText,
                                                        juce::AccessibilityActions(),
                                                        [this] { return currentText; });
}
} // namespace ui_core
