#include "controls/Rotary3DKnob.h"
#include "controls/ScaleDisplay.h"
#include "controls/SmoothingDisplay.h"

#include "ManualPollClock.h"
#include "ParameterHost.h"
#include "Rendering.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

#include <thread>

using testsupport::DesktopWindow;

TEST(ValueDisplay, ShowsTheParametersInTheirUnits)
{
    testsupport::ParameterHost host;
    host.state.getParameter("scaleX")->setValueNotifyingHost(
        host.state.getParameterRange("scaleX").convertTo0to1(6.0f));
    ui_core::ScaleDisplay scale(host.state, "scaleX", "scaleY");
    ui_core::SmoothingDisplay smoothing(host.state, "smoothing");
    EXPECT_EQ(scale.getWidth(), 120);
    EXPECT_EQ(smoothing.getWidth(), 72);

    EXPECT_EQ(ui_core::ScaleDisplay::formatDecibels(scale.getXValue()), "6.0 dB") << "read at construction";
    EXPECT_EQ(ui_core::ScaleDisplay::formatDecibels(-12.5f), "-12.5 dB");
    EXPECT_EQ(ui_core::ScaleDisplay::formatDecibels(-0.04f), "0.0 dB");
    EXPECT_EQ(smoothing.getValue(), 16);

    smoothing.parameterChanged("smoothing", 50.9f);
    EXPECT_EQ(smoothing.getValue(), 50) << "truncated toward zero";
    smoothing.parameterChanged("scaleX", 3.0f);
    EXPECT_EQ(smoothing.getValue(), 50) << "another parameter's change is not its own";

    // Host automation arrives on the audio thread.
    std::thread audio([&] { host.state.getParameter("scaleY")->setValueNotifyingHost(0.0f); });
    audio.join();
    EXPECT_FLOAT_EQ(scale.getYValue(), -36.0f);
    const auto accessibility = scale.createAccessibilityHandler();
    EXPECT_EQ(accessibility->getTitle(), "Scale");
    EXPECT_EQ(accessibility->getValueInterface()->getCurrentValueAsString(), "X 6.0 dB, Y -36.0 dB");
}

TEST(ValueDisplay, RowsSplitTheContentBetweenLabelAndValue)
{
    const auto rows = ui_core::ValueDisplay::rowsFor(122, 50, ui_core::scaleDisplayPreset());
    EXPECT_EQ(rows.label, juce::Rectangle<int>(2, 2, 118, 23));
    EXPECT_EQ(rows.value, juce::Rectangle<int>(2, 27, 118, 21));

    const auto cramped = ui_core::ValueDisplay::rowsFor(10, 3, {});
    EXPECT_TRUE(cramped.label.isEmpty() && cramped.value.isEmpty()) << "paddings larger than the display";
}

// The scale read-out under the editor's popup wiring: the popup sits above the read-out and holds
// a knob.
class DisplayOnDesktop : public ::testing::Test
{
protected:
    DisplayOnDesktop()
    {
        popup.addAndMakeVisible(knob);
        knob.setBounds(31, 20, 60, 60);
        window.add(display, {20, 120, 122, 50});
        window.add(popup, {20, 20, 122, 100});
        popup.setVisible(false);

        display.onPopupShow = [this] { popup.setVisible(true), ++shows; };
        display.onPopupHide = [this] { popup.setVisible(false), ++hides; };
        display.isPointerOverPopup = [this]
        { return popup.isVisible() && popup.getLocalBounds().contains(popup.getMouseXYRelative()); };
        display.isPopupDragging = [this] { return popup.isVisible() && knob.isMouseButtonDown(); };
    }

    juce::Point<float> outside() const { return {300.0f, 150.0f}; }

    testsupport::ParameterHost host;
    DesktopWindow window;
    testsupport::ManualPollClock* clock = new testsupport::ManualPollClock();
    ui_core::ScaleDisplay display{host.state, "scaleX", "scaleY", std::unique_ptr<ui_core::PollClock>(clock)};
    juce::Component popup;
    ui_core::Rotary3DKnob knob;
    int shows = 0, hides = 0;
};

TEST_F(DisplayOnDesktop, PopupShowsOnHoverStaysWhileOverItAndHidesWithin100msOfLeavingBoth)
{
    EXPECT_EQ(clock->getIntervalMilliseconds(), 0) << "no polling before the mouse comes";
    window.move(window.centreOf(display));
    EXPECT_TRUE(display.isPopupShown()) << "the first poll runs on entry";
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(clock->getIntervalMilliseconds(), 100);

    window.move(window.centreOf(popup));
    clock->advance(300);
    EXPECT_TRUE(popup.isVisible()) << "the pointer moved on into the popup";

    window.move(outside());
    clock->advance(99);
    EXPECT_TRUE(popup.isVisible());
    clock->advance(1);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(display.isPopupShown());
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(hides, 1);
}

TEST_F(DisplayOnDesktop, PopupStaysOpenWhileItsKnobIsHeldOutsideBoth)
{
    window.move(window.centreOf(display));
    window.press(window.centreOf(knob));
    window.drag(outside());
    clock->advance(500);
    EXPECT_TRUE(popup.isVisible()) << "the knob is still being dragged";

    window.release();
    EXPECT_TRUE(popup.isVisible()) << "until the next poll";
    clock->advance(100);
    EXPECT_FALSE(popup.isVisible());
}

TEST_F(DisplayOnDesktop, DisabledDisplayStartsNoPollButARunningPollGoesOn)
{
    display.setEnabled(false);
    window.move(window.centreOf(display));
    clock->advance(500);
    EXPECT_EQ(clock->getIntervalMilliseconds(), 0);
    EXPECT_FALSE(popup.isVisible());

    window.move(outside());
    display.setEnabled(true);
    window.move(window.centreOf(display));
    ASSERT_TRUE(popup.isVisible());
    display.setEnabled(false);
    window.move(outside());
    clock->advance(100);
    EXPECT_FALSE(popup.isVisible()) << "the poll that was running closes the popup";
}

TEST_F(DisplayOnDesktop, ChangeFromTheAudioThreadRepaintsOnTheMessageThread)
{
    testsupport::PaintCounter counter;
    display.setComponentEffect(&counter);
    DesktopWindow::pump(std::chrono::milliseconds(100));
    counter.paints = 0;

    std::thread audio([this] { host.state.getParameter("scaleX")->setValueNotifyingHost(1.0f); });
    audio.join();
    EXPECT_TRUE(
        testsupport::runMessageLoopUntil([&] { return counter.paints > 0; }, std::chrono::seconds(2)));
    EXPECT_FLOAT_EQ(display.getXValue(), 36.0f);
    display.setComponentEffect(nullptr);
}

// The same read-out reached with the keyboard: the popup holds two knobs and, as in the window, is
// kept on top, so that Tab past its last knob leaves it for the button above the read-out.
class DisplayKeysOnDesktop : public DisplayOnDesktop
{
protected:
    DisplayKeysOnDesktop()
    {
        knob.setBounds(4, 20, 56, 56);
        popup.addAndMakeVisible(secondKnob);
        secondKnob.setBounds(62, 20, 56, 56);
        popup.setAlwaysOnTop(true);
        window.add(elsewhere, {200, 0, 80, 30});
        display.getPopupComponent = [this] { return &popup; };
        window.move(outside());
    }

    bool key(int code, juce::ModifierKeys modifiers = {})
    {
        return window.key(juce::KeyPress(code, modifiers, 0));
    }

    ui_core::Rotary3DKnob secondKnob;
    juce::TextButton elsewhere{"elsewhere"};
};

TEST_F(DisplayKeysOnDesktop, ReturnOpensThePopupWhichKeepsItWhileItHoldsTheFocusAndEscapeGivesItBack)
{
    display.grabKeyboardFocus();
    EXPECT_TRUE(key(juce::KeyPress::returnKey));
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(knob.hasKeyboardFocus(false)) << "the focus goes to the popup's first knob";
    clock->advance(500);
    EXPECT_TRUE(popup.isVisible()) << "the pointer is elsewhere, the focus is inside";

    key(juce::KeyPress::tabKey);
    EXPECT_TRUE(secondKnob.hasKeyboardFocus(false));
    key(juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier);
    EXPECT_TRUE(knob.hasKeyboardFocus(false));
    clock->advance(200);
    EXPECT_TRUE(popup.isVisible());

    EXPECT_TRUE(key(juce::KeyPress::escapeKey));
    EXPECT_FALSE(popup.isVisible()) << "at once, not on the next poll";
    EXPECT_FALSE(display.isPopupShown());
    EXPECT_TRUE(display.hasKeyboardFocus(false));
    clock->advance(200);
    EXPECT_FALSE(popup.isVisible()) << "a read-out holding the focus does not reopen it";
    EXPECT_FALSE(key(juce::KeyPress::escapeKey)) << "nothing open: Escape is left to the host";
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(hides, 1);

    // Space opens it too; Tab past the last knob leaves it, and the next poll closes it.
    EXPECT_TRUE(key(juce::KeyPress::spaceKey));
    ASSERT_TRUE(knob.hasKeyboardFocus(false));
    key(juce::KeyPress::tabKey);
    key(juce::KeyPress::tabKey);
    EXPECT_TRUE(elsewhere.hasKeyboardFocus(false));
    EXPECT_TRUE(popup.isVisible());
    clock->advance(100);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_TRUE(elsewhere.hasKeyboardFocus(false)) << "the focus stays where the user took it";
    EXPECT_EQ(hides, 2);
}

TEST_F(DisplayKeysOnDesktop, ScreenReaderPressOpensItAClickElsewhereClosesItAndTheMouseIsNotHeldByFocus)
{
    auto* accessibility = display.getAccessibilityHandler();
    ASSERT_NE(accessibility, nullptr);
    EXPECT_TRUE(accessibility->getActions().invoke(juce::AccessibilityActionType::press));
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(knob.hasKeyboardFocus(false));
    window.click(window.centreOf(elsewhere));
    clock->advance(100);
    EXPECT_FALSE(popup.isVisible());

    // Opened by hovering, a knob clicked (and so focused) does not hold the popup once the pointer
    // has left.
    window.move(window.centreOf(display));
    ASSERT_TRUE(popup.isVisible());
    window.click(window.centreOf(secondKnob));
    ASSERT_TRUE(secondKnob.hasKeyboardFocus(false));
    window.move(outside());
    clock->advance(100);
    EXPECT_FALSE(popup.isVisible());

    display.setEnabled(false);
    accessibility->getActions().invoke(juce::AccessibilityActionType::showMenu);
    EXPECT_FALSE(popup.isVisible()) << "a disabled read-out opens nothing";
}

TEST(ValueDisplay, DisabledDisplayDrawsItsTextsAt40PercentOverTheIdleBackground)
{
    testsupport::ParameterHost host;
    ui_core::SmoothingDisplay display(host.state, "smoothing");
    auto style = ui_core::smoothingDisplayPreset();
    style.labelColour = style.valueColour = juce::Colours::white;
    style.backgroundColour = juce::Colours::transparentBlack;
    display.setStyle(style);
    display.setSize(72, 50);

    auto brightest = [&display]
    {
        const auto image = testsupport::snapshot(display);
        auto alpha = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                alpha = std::max(alpha, static_cast<int>(image.getPixelAt(x, y).getAlpha()));
        return alpha;
    };
    EXPECT_EQ(brightest(), 255);
    display.setEnabled(false);
    EXPECT_NEAR(brightest(), 102, 1);
}
