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
