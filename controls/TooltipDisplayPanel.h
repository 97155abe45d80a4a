#pragma once

#include "controls/PollClock.h"
#include "controls/TooltipStripStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace ui_core
{
// The one-line strip that shows the tooltip of whatever control the mouse is over, instead of popup
// tooltips. It polls the mouse every 100 ms; a text too long for the strip scrolls like a marquee:
// it rests 60 ticks of 33 ms (about 2 s) at its start, moves left 1 px per tick until its end shows,
// rests again, jumps back and repeats. Clicks fall through to whatever lies below.
class TooltipDisplayPanel final : public juce::Component
{
public:
    static constexpr int idleIntervalMilliseconds = 100;
    static constexpr int marqueeIntervalMilliseconds = 33;
    static constexpr int pauseTicks = 60;

    // A null clock means the message-thread timer.
    explicit TooltipDisplayPanel(std::unique_ptr<PollClock> clock = nullptr);
    ~TooltipDisplayPanel() override;

    // The component whose tooltips are shown (the editor); without one the strip stays empty.
    void setWatchedRoot(juce::Component* root);

    void setStyle(const TooltipStripStyle& newStyle);
    const TooltipStripStyle& getStyle() const noexcept { return style; }

    const juce::String& getCurrentText() const noexcept { return currentText; }
    bool isScrolling() const noexcept { return scrolling; }
    float getScrollOffset() const noexcept { return offset; }
    float getTextWidth() const;

    void paint(juce::Graphics& g) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void tick();
    juce::String tooltipUnderMouse() const;
    float availableWidth() const;
    void setInterval(int milliseconds);

    std::unique_ptr<PollClock> clock;
    juce::Component::SafePointer<juce::Component> watchedRoot;
    TooltipStripStyle style;
    juce::String currentText;
    bool scrolling = false;
    float offset = 0.0f;
    int countdown = 0;
};
} // namespace ui_core
