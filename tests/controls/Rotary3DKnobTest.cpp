#include "controls/Rotary3DKnob.h"

#include "ParameterHost.h"
#include "Rendering.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::closeTo;
using testsupport::DesktopWindow;
using testsupport::snapshotOver;
using Strings = std::vector<std::string>;

namespace
{
// A point on a circle around the knob's centre at a style angle (from three o'clock, clockwise).
juce::Point<int> pointAt(const ui_core::KnobGeometry& geometry, float angle, float radius)
{
    return {juce::roundToInt(geometry.centre.x + radius * std::cos(angle) - 0.5f),
            juce::roundToInt(geometry.centre.y + radius * std::sin(angle) - 0.5f)};
}

const auto pi = juce::MathConstants<float>::pi;
} // namespace

TEST(Rotary3DKnob, GeometryFollowsTheSmallerSide)
{
    const auto small = ui_core::KnobGeometry::of(50, 80, {});
    EXPECT_FLOAT_EQ(2.0f * small.bodyRadius, 36.0f);
    EXPECT_FLOAT_EQ(small.trackRadius, 23.5f);
    EXPECT_TRUE(small.small);
    EXPECT_FLOAT_EQ(small.pointerWidth, 3.0f);
    EXPECT_FLOAT_EQ(small.rimThickness, 0.8f);
    EXPECT_EQ(small.centre, juce::Point<float>(25.0f, 40.0f));

    const auto large = ui_core::KnobGeometry::of(100, 100, {});
    EXPECT_FALSE(large.small);
    EXPECT_FLOAT_EQ(large.pointerWidth, 4.0f);
    EXPECT_FLOAT_EQ(large.rimThickness, 1.0f);
}

TEST(Rotary3DKnob, TransparentStyleStillShowsTheGreyTrackAndNoArc)
{
    ui_core::Rotary3DKnob knob;
    knob.setSize(60, 60);
    knob.setRange(0.0, 1.0);
    knob.setValue(1.0);
    const auto geometry = knob.getGeometry();
    const auto image = snapshotOver(knob, juce::Colours::black);

    // Nine o'clock lies on the value arc's path at this value; the arc's colours are unset.
    const auto onTrack = pointAt(geometry, pi, geometry.trackRadius);
    EXPECT_TRUE(closeTo(image.getPixelAt(onTrack.x, onTrack.y), juce::Colour(0xff626262)))
        << image.getPixelAt(onTrack.x, onTrack.y).toDisplayString(true);
    const auto inTheGap = pointAt(geometry, pi / 2.0f, geometry.trackRadius);
    EXPECT_TRUE(closeTo(image.getPixelAt(inTheGap.x, inTheGap.y), juce::Colours::black))
        << "open at the bottom";
}

TEST(Rotary3DKnob, ValueArcSweepsFromNothingToTheWholeTrackAndThePointerNeedsAnEnabledKnob)
{
    ui_core::KnobStyle style;
    style.trackColour = juce::Colour(0xff404040);
    style.valueArcColour = juce::Colour(0xffff0000);
    style.bodyColour = juce::Colour(0xff303030);
    style.accentColour = juce::Colour(0xff00ff00);

    ui_core::Rotary3DKnob knob;
    knob.setStyle(style);
    knob.setSize(100, 100);
    knob.setRange(0.0, 1.0);
    const auto geometry = knob.getGeometry();
    const auto nearStart = pointAt(geometry, style.startAngle + 0.1f, geometry.trackRadius);
    const auto nearEnd = pointAt(geometry, style.endAngle - 0.1f, geometry.trackRadius);
    const auto onPointer = [&](double value)
    {
        const auto angle = style.startAngle + static_cast<float>(value) * (style.endAngle - style.startAngle);
        return pointAt(geometry, angle, 0.6f * geometry.bodyRadius);
    };

    knob.setValue(0.0);
    auto image = snapshotOver(knob, juce::Colours::black);
    EXPECT_TRUE(closeTo(image.getPixelAt(nearStart.x, nearStart.y), style.trackColour))
        << "zero sweep at the minimum";
    EXPECT_TRUE(closeTo(image.getPixelAt(onPointer(0.0).x, onPointer(0.0).y), style.accentColour, 40));

    knob.setValue(1.0);
    image = snapshotOver(knob, juce::Colours::black);
    EXPECT_TRUE(closeTo(image.getPixelAt(nearStart.x, nearStart.y), style.valueArcColour));
    EXPECT_TRUE(closeTo(image.getPixelAt(nearEnd.x, nearEnd.y), style.valueArcColour))
        << "the whole 270 degrees";

    knob.setEnabled(false);
    image = snapshotOver(knob, juce::Colours::black);
    const auto pointerPixel = image.getPixelAt(onPointer(1.0).x, onPointer(1.0).y);
    EXPECT_FALSE(closeTo(pointerPixel, style.accentColour, 60)) << "a disabled knob draws no pointer";
    EXPECT_TRUE(closeTo(pointerPixel, style.bodyColour, 12)) << pointerPixel.toDisplayString(true);
}

TEST(Rotary3DKnob, BodyImagesFollowTheDisplayScaleAndAreOtherwiseReused)
{
    ui_core::Rotary3DKnob knob;
    knob.setSize(60, 60);
    testsupport::snapshot(knob);
    EXPECT_EQ(knob.getBodyRenderCount(), 1);
    testsupport::snapshot(knob);
    EXPECT_EQ(knob.getBodyRenderCount(), 1) << "a second frame blits the cached body";

    testsupport::snapshot(knob, 2.0f);
    EXPECT_EQ(knob.getBodyRenderCount(), 2);
    EXPECT_FLOAT_EQ(knob.getBodyImageScale(), 2.0f);
    testsupport::snapshot(knob, 2.005f);
    EXPECT_EQ(knob.getBodyRenderCount(), 2) << "a scale change below 0.01 reuses the images";

    knob.setSize(70, 60);
    testsupport::snapshot(knob, 2.0f);
    EXPECT_EQ(knob.getBodyRenderCount(), 3) << "a resize renders afresh";

    // A display scale of 2.02 gives the same 40 x 40 pixels for a 20 x 20 knob, but another picture.
    knob.setSize(20, 20);
    for (const auto scale : {2.0f, 2.02f})
    {
        juce::Image frame(juce::Image::ARGB, 41, 41, true);
        juce::Graphics g(frame);
        g.addTransform(juce::AffineTransform::scale(scale));
        knob.paintEntireComponent(g, true);
    }
    EXPECT_EQ(knob.getBodyRenderCount(), 5);
}

// The smoothing knob as the popup panel builds it: 1..1024 in whole steps, bound to its parameter.
class KnobOnDesktop : public ::testing::Test
{
protected:
    KnobOnDesktop()
    {
        knob->setTooltip(
            "Smoothing - Transfer function smoothing window size.\nHigher values produce smoother curves.");
        window.add(*knob, {20, 20, 60, 60});
        window.add(neighbour, {200, 20, 60, 60});
        host.events.clear();
    }

    juce::TextEditor* entryEditor() const
    {
        auto* editor = dynamic_cast<juce::TextEditor*>(juce::Component::getCurrentlyFocusedComponent());
        return editor != nullptr && knob->isParentOf(editor) ? editor : nullptr;
    }

    testsupport::ParameterHost host;
    DesktopWindow window;
    std::unique_ptr<ui_core::Rotary3DKnob> knob = std::make_unique<ui_core::Rotary3DKnob>();
    ui_core::Rotary3DKnob neighbour;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> attachment =
        std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment>(host.state, "smoothing",
                                                                               *knob);
};

TEST_F(KnobOnDesktop, DoubleClickOpensAWholeNumberEntryThatCommitsClampedAsOneGesture)
{
    window.doubleClick(window.centreOf(*knob));
    ASSERT_TRUE(knob->getTextEntry().isActive());
    auto* editor = entryEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->getText(), "16");
    EXPECT_DOUBLE_EQ(knob->getValue(), 16.0) << "the framework's double-click reset is not used";

    window.type("1234567");
    EXPECT_EQ(editor->getText(), "123456") << "at most 6 characters for whole-number steps";
    editor->selectAll();
    window.type("2000");
    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    window.pump();
    EXPECT_FALSE(knob->getTextEntry().isActive());
    EXPECT_EQ(knob->getNumChildComponents(), 0);
    EXPECT_DOUBLE_EQ(knob->getValue(), 1024.0);
    EXPECT_FLOAT_EQ(host.value("smoothing"), 1024.0f);
    // The double-click's own presses are a gesture without a change; the typed value is one more.
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "end", "begin", "end", "begin", "change", "end"}));
}

TEST_F(KnobOnDesktop, EscapeKeepsTheValueAndASecondDoubleClickIsIgnored)
{
    window.doubleClick(window.centreOf(*knob));
    ASSERT_TRUE(knob->getTextEntry().isActive());
    EXPECT_FALSE(knob->getTextEntry().tryStart());

    window.advance(std::chrono::milliseconds(600));
    window.doubleClick(window.pointIn(*knob, {2.0f, 2.0f}));
    EXPECT_EQ(knob->getNumChildComponents(), 1) << "still the one entry";

    window.type("99");
    window.key(juce::KeyPress(juce::KeyPress::escapeKey));
    window.pump();
    EXPECT_FALSE(knob->getTextEntry().isActive());
    EXPECT_DOUBLE_EQ(knob->getValue(), 16.0);
}

TEST_F(KnobOnDesktop, FocusLossCommitsAndDestroyingTheKnobWithAnOpenEntryCommitsNothing)
{
    window.doubleClick(window.centreOf(*knob));
    window.type("300");
    window.click(window.centreOf(neighbour));
    window.pump();
    EXPECT_DOUBLE_EQ(knob->getValue(), 300.0) << "committed when the focus moved on";

    window.advance(std::chrono::milliseconds(600));
    window.doubleClick(window.centreOf(*knob));
    ASSERT_TRUE(knob->getTextEntry().isActive());
    window.type("500");
    attachment.reset();
    auto changes = 0;
    knob->onValueChange = [&changes] { ++changes; };
    knob.reset();
    window.pump();
    EXPECT_EQ(changes, 0);
    EXPECT_FLOAT_EQ(host.value("smoothing"), 300.0f);
}

TEST_F(KnobOnDesktop, DragsAndArrowKeysAreGesturesAndScreenReadersHearTheTooltip)
{
    window.press(window.centreOf(*knob));
    window.drag(window.centreOf(*knob).translated(0.0f, -40.0f));
    window.release();
    EXPECT_GT(knob->getValue(), 16.0);
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end"}));

    host.events.clear();
    const auto before = knob->getValue();
    knob->grabKeyboardFocus();
    window.key(juce::KeyPress(juce::KeyPress::upKey));
    EXPECT_DOUBLE_EQ(knob->getValue(), before + 10.0) << "1 % of 1..1024, in whole steps";
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end"}));

    window.key(juce::KeyPress(juce::KeyPress::tabKey));
    EXPECT_TRUE(neighbour.hasKeyboardFocus(false)) << "Tab moves on to the next knob";

    auto* accessibility = knob->getAccessibilityHandler();
    ASSERT_NE(accessibility, nullptr);
    EXPECT_EQ(accessibility->getRole(), juce::AccessibilityRole::slider);
    EXPECT_EQ(accessibility->getTitle(), "Smoothing - Transfer function smoothing window size.");
}

// The plug-in's Smoothing parameter, 1..100 in whole steps: 0.1 % of its range is less than one
// step, and Shift+arrow must still move it by one.
TEST(SmoothingKnobOnDesktop, FineKeyboardStepOfAnIntegerParameterMovesByOneInterval)
{
    testsupport::ParameterHost host(100, 50);
    DesktopWindow window;
    ui_core::Rotary3DKnob knob;
    window.add(knob, {20, 20, 60, 60});
    const juce::AudioProcessorValueTreeState::SliderAttachment attachment(host.state, "smoothing", knob);
    host.events.clear();
    knob.grabKeyboardFocus();

    const auto shift = juce::ModifierKeys(juce::ModifierKeys::shiftModifier);
    window.key(juce::KeyPress(juce::KeyPress::upKey, shift, 0));
    EXPECT_FLOAT_EQ(host.value("smoothing"), 51.0f);
    window.key(juce::KeyPress(juce::KeyPress::leftKey, shift, 0));
    window.key(juce::KeyPress(juce::KeyPress::downKey, shift, 0));
    EXPECT_FLOAT_EQ(host.value("smoothing"), 49.0f);
    EXPECT_EQ(host.gestureOutline(),
              (Strings{"begin", "change", "end", "begin", "change", "end", "begin", "change", "end"}));
}
