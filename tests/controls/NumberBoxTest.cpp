#include "controls/NumberBox.h"

#include "ParameterHost.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

using testsupport::DesktopWindow;
using Strings = std::vector<std::string>;

TEST(NumberBox, ValueTextKeepsTwoSignificantDigitsBelowOne)
{
    EXPECT_EQ(ui_core::NumberBox::formatValue(0.05, 0.01), "0.050");
    EXPECT_EQ(ui_core::NumberBox::formatValue(0.25, 0.01), "0.25");
    EXPECT_EQ(ui_core::NumberBox::formatValue(12.34, 0.01), "12.3");
    EXPECT_EQ(ui_core::NumberBox::formatValue(0.0, 0.01), "0.0");
    EXPECT_EQ(ui_core::NumberBox::formatValue(-0.004, 0.001), "-0.0040");
    EXPECT_EQ(ui_core::NumberBox::formatValue(3.6, 1.0), "4");

    ui_core::NumberBox box("X Lag");
    EXPECT_EQ(box.getTextFromValue(7.0), "7 samples") << "default range 0..1024, step 1, suffix";
}

// The latency box as the editor builds it: range 0..512 in steps of 0.01, bound to its parameter.
class NumberBoxOnDesktop : public ::testing::Test
{
protected:
    NumberBoxOnDesktop()
    {
        window.add(box, {20, 20, 80, 40});
        window.add(other, {200, 20, 80, 40});
        EXPECT_EQ(box.getMaximum(), 512.0);
        EXPECT_FLOAT_EQ(static_cast<float>(box.getInterval()), 0.01f) << "the parameter's own step";
    }

    // The parameter's step is the float 0.01, so values land on multiples of that float.
    static constexpr double tolerance = 1e-4;

    juce::Point<float> centre() const { return window.centreOf(box); }

    void dragUp(float pixels, juce::ModifierKeys keys = {})
    {
        window.press(centre(), keys);
        window.drag(centre().translated(0.0f, -pixels), keys);
        window.release(keys);
    }

    juce::TextEditor* focusedEditor() const
    {
        auto* editor = dynamic_cast<juce::TextEditor*>(juce::Component::getCurrentlyFocusedComponent());
        return editor != nullptr && box.isParentOf(editor) ? editor : nullptr;
    }

    testsupport::ParameterHost host;
    DesktopWindow window;
    ui_core::NumberBox box{"X Lag"};
    ui_core::NumberBox other{"Y Lag"};
    juce::AudioProcessorValueTreeState::SliderAttachment attachment{host.state, "latencyX", box};
};

TEST_F(NumberBoxOnDesktop, DragOf100PixelsSweepsAQuarterOrATenthOfThatWithShift)
{
    dragUp(100.0f);
    EXPECT_NEAR(box.getValue(), 128.0, tolerance);
    EXPECT_FLOAT_EQ(host.value("latencyX"), 128.0f);
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end"})) << "the whole drag is one gesture";
    EXPECT_FALSE(box.isEditing()) << "a drag opens no editor";

    box.setValue(0.0);
    dragUp(100.0f, juce::ModifierKeys::shiftModifier);
    EXPECT_NEAR(box.getValue(), 12.8, tolerance);
}

TEST_F(NumberBoxOnDesktop, MovesBelowThreePixelsChangeNothing)
{
    window.press(centre());
    window.drag(centre().translated(0.0f, -2.0f));
    EXPECT_FALSE(box.isDragging());
    window.release();
    EXPECT_EQ(box.getValue(), 0.0);
    EXPECT_TRUE(host.events.empty()) << "no gesture without a drag";
    EXPECT_FALSE(box.isEditing()) << "the mouse moved, so this was no click";
}

TEST_F(NumberBoxOnDesktop, ShiftPressedMidDragContinuesFromTheCurrentValueAndPosition)
{
    const auto shift = juce::ModifierKeys(juce::ModifierKeys::shiftModifier);
    window.press(centre());
    window.drag(centre().translated(0.0f, -100.0f));
    EXPECT_NEAR(box.getValue(), 128.0, tolerance);

    window.changeModifiers(shift);
    EXPECT_NEAR(box.getValue(), 128.0, tolerance) << "pressing Shift alone moves nothing";
    window.drag(centre().translated(0.0f, -140.0f), shift);
    EXPECT_NEAR(box.getValue(), 128.0 + 5.12, tolerance) << "40 px of fine drag from the new anchor";

    window.changeModifiers({});
    window.drag(centre().translated(0.0f, -150.0f));
    EXPECT_NEAR(box.getValue(), 133.12 + 12.8, tolerance) << "released Shift: coarse again from here";
    window.release();
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end"}));
}

TEST_F(NumberBoxOnDesktop, DisabledBoxIgnoresTheDrag)
{
    box.setEnabled(false);
    dragUp(100.0f);
    EXPECT_EQ(box.getValue(), 0.0);
    EXPECT_FALSE(box.isEditing());
    EXPECT_TRUE(host.events.empty());
}

TEST_F(NumberBoxOnDesktop, ClickOpensAFilteredEditorThatCommitsOnReturnAsOneGesture)
{
    box.setValue(3.0, juce::sendNotificationSync);
    host.events.clear();
    window.click(centre());
    ASSERT_TRUE(box.isEditing());
    auto* editor = focusedEditor();
    ASSERT_NE(editor, nullptr) << "the editor has keyboard focus";
    EXPECT_EQ(editor->getText(), "3.00");

    window.type("ab-12.5x");
    EXPECT_EQ(editor->getText(), "12.5")
        << "letters and the minus sign of a range without negatives are refused";
    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    window.pump();
    EXPECT_FALSE(box.isEditing());
    EXPECT_NEAR(box.getValue(), 12.5, tolerance);
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end"}));
    EXPECT_EQ(box.getNumChildComponents(), 0) << "the editor is gone after the commit";
}

TEST_F(NumberBoxOnDesktop, EscapeCancelsAndFocusLossCommitsClamped)
{
    window.click(centre());
    window.type("300");
    window.key(juce::KeyPress(juce::KeyPress::escapeKey));
    window.pump();
    EXPECT_FALSE(box.isEditing());
    EXPECT_EQ(box.getValue(), 0.0);
    EXPECT_TRUE(host.events.empty());

    window.click(centre());
    window.type("600");
    window.click(window.centreOf(other)); // focus moves to the other box
    window.pump();
    EXPECT_FALSE(box.isEditing());
    EXPECT_NEAR(box.getValue(), 512.0, tolerance);
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end"}));
}

TEST_F(NumberBoxOnDesktop, EmptyTextCommitsZero)
{
    box.setValue(42.0);
    window.click(centre());
    window.key(juce::KeyPress(juce::KeyPress::backspaceKey));
    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    window.pump();
    EXPECT_EQ(box.getValue(), 0.0);
}

TEST_F(NumberBoxOnDesktop, TabReachesTheBoxAndArrowKeysStepTheValueAsGestures)
{
    other.grabKeyboardFocus();
    window.key(juce::KeyPress(juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0));
    ASSERT_TRUE(box.hasKeyboardFocus(false)) << "Shift+Tab from the Y box reaches the X box";

    window.key(juce::KeyPress(juce::KeyPress::upKey));
    EXPECT_NEAR(box.getValue(), 5.12, tolerance) << "1 % of the range";
    window.key(juce::KeyPress(juce::KeyPress::downKey, juce::ModifierKeys::shiftModifier, 0));
    EXPECT_NEAR(box.getValue(), 5.12 - 0.51, tolerance) << "0.1 % with Shift, in whole steps of 0.01";
    EXPECT_EQ(host.gestureOutline(), (Strings{"begin", "change", "end", "begin", "change", "end"}));

    auto* accessibility = box.getAccessibilityHandler();
    ASSERT_NE(accessibility, nullptr);
    EXPECT_EQ(accessibility->getRole(), juce::AccessibilityRole::slider);
    EXPECT_EQ(accessibility->getTitle(), "X Lag");
    EXPECT_EQ(accessibility->getValueInterface()->getCurrentValueAsString(), "4.6 samples");
}
