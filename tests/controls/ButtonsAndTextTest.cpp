#include "controls/IconArtwork.h"
#include "controls/IconButton.h"
#include "controls/MultiLayerLogoButton.h"
#include "controls/TextButton.h"
#include "controls/TextEditor.h"
#include "controls/TextLabel.h"
#include "controls/ThemePalette.h"

#include "Rendering.h"
#include "ThemeTestSupport.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

using testsupport::closeTo;
using testsupport::countPixels;
using testsupport::DesktopWindow;

namespace
{
// The rows from the first to the last that hold a visible pixel.
int drawnHeight(const juce::Image& image)
{
    int top = image.getHeight(), bottom = -1;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt(x, y).getAlpha() > 128)
                top = std::min(top, y), bottom = std::max(bottom, y);
    return bottom - top + 1;
}

juce::Image iconOnly(const juce::String& svg)
{
    ui_core::IconButton button("icon");
    button.setStyle(ui_core::saveButtonPreset());
    button.setIcon(svg);
    button.setSize(43, 43);
    return testsupport::snapshot(button);
}

// A logo layer: a square filling one corner quarter of a 10 x 10 view box.
juce::String quarterLayer(int column, int row)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\"><rect x=\"" +
           juce::String(column * 5) + "\" y=\"" + juce::String(row * 5) +
           "\" width=\"5\" height=\"5\" fill=\"#000000\"/></svg>";
}
} // namespace

TEST(IconButton, IconsKeepTheirSizesWithinTheirViewBox)
{
    // 27 px for the 24-unit view box: the play glyph is 17.7 units high, the freeze bars 14, the save
    // outline 16 plus its stroke.
    // Fitted to their drawn content instead, each would be 27 px high.
    EXPECT_NEAR(drawnHeight(iconOnly(ui_core::playIconSvg())), 17.7 * 27.0 / 24.0, 1.5);
    EXPECT_NEAR(drawnHeight(iconOnly(ui_core::freezeIconSvg())), 14.0 * 27.0 / 24.0, 1.5);
    EXPECT_NEAR(drawnHeight(iconOnly(ui_core::saveIconSvg())), 17.0 * 27.0 / 24.0, 1.5);

    ui_core::IconButton button("icon");
    button.setIcon("not an svg");
    EXPECT_FALSE(button.hasIcon());
}

TEST(IconButton, IconAreaIsCentredInThePaddedBounds)
{
    ui_core::IconButton button("icon");
    button.setSize(43, 43);
    ui_core::IconButtonStyle style;
    style.padding = 8;
    style.iconSize = 27;
    button.setStyle(style);
    EXPECT_EQ(button.getIconArea(), juce::Rectangle<float>(8.0f, 8.0f, 27.0f, 27.0f));

    style.padding = 15;
    button.setStyle(style);
    button.setSize(20, 20);
    EXPECT_EQ(button.getIconArea().getCentre(), juce::Point<float>(15.0f, 15.0f))
        << "padding beyond half the size: centred at the padding";
}

class ButtonsOnDesktop : public ThemeTest
{
protected:
    ButtonsOnDesktop()
    {
        play.setIcon(ui_core::playIconSvg());
        play.setStyle(ui_core::playFreezeButtonPreset());
        window.add(play, {20, 20, 43, 43});
    }

    // A pixel inside the play triangle and one in the button's corner area.
    juce::Colour iconPixel() { return testsupport::snapshot(play).getPixelAt(19, 21); }
    juce::Colour backgroundPixel() { return testsupport::snapshot(play).getPixelAt(4, 21); }

    DesktopWindow window;
    ui_core::IconButton play{"play"};
};

TEST_F(ButtonsOnDesktop, IconButtonColoursFollowTheMouseAndTheButtonState)
{
    const auto& p = ui_core::palette();
    EXPECT_EQ(iconPixel(), p.primary7);
    EXPECT_EQ(backgroundPixel().getAlpha(), 0);

    window.move(window.centreOf(play));
    EXPECT_EQ(iconPixel(), p.primary6) << "hovered";
    EXPECT_TRUE(closeTo(backgroundPixel(), p.primary7.withAlpha(0.2f), 4))
        << "a translucent pixel reads back rounded";

    window.press(window.centreOf(play));
    EXPECT_EQ(iconPixel(), p.neutral1) << "pressed";
    EXPECT_TRUE(closeTo(backgroundPixel(), p.primary5.withAlpha(0.3f), 4));
    window.release();

    play.setToggleState(true, juce::dontSendNotification);
    EXPECT_EQ(iconPixel(), p.primary7) << "toggled";
    EXPECT_EQ(testsupport::snapshot(play).getPixelAt(0, 21).withAlpha(static_cast<juce::uint8>(255)),
              p.primary5)
        << "toggled outline";
    play.setToggleState(false, juce::dontSendNotification);

    play.setEnabled(false);
    EXPECT_EQ(iconPixel(), p.neutral4) << "disabled, even under the mouse";
    EXPECT_EQ(backgroundPixel().getAlpha(), 0);
}

TEST_F(ButtonsOnDesktop, ButtonsAreTitledByTheirTooltipOrTextAndReachedWithTab)
{
    ui_core::TextButton save("saveBtn");
    save.setText("Save");
    window.add(save, {100, 20, 72, 32});
    play.setTooltip("Continuously plot the distortion visualization.");

    EXPECT_EQ(play.getAccessibilityHandler()->getRole(), juce::AccessibilityRole::button);
    EXPECT_EQ(play.getAccessibilityHandler()->getTitle(), "Continuously plot the distortion visualization.");
    EXPECT_EQ(save.getAccessibilityHandler()->getTitle(), "Save");

    int clicks = 0;
    save.onClick = [&clicks] { ++clicks; };
    play.grabKeyboardFocus();
    window.key(juce::KeyPress(juce::KeyPress::tabKey));
    ASSERT_TRUE(save.hasKeyboardFocus(false));
    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&clicks] { return clicks == 1; }, std::chrono::seconds(2)));
}

TEST_F(ButtonsOnDesktop, LogoLayersTakeTheirOwnColoursAndTheHoveredOnes)
{
    ui_core::MultiLayerLogoButton logo("logo");
    juce::StringArray layers{quarterLayer(0, 0), quarterLayer(1, 0), "", quarterLayer(1, 1)};
    logo.setLayers(layers);
    ui_core::LogoLayerStyle style;
    style.layerColours = {juce::Colours::red, juce::Colours::green, juce::Colours::blue,
                          juce::Colours::yellow};
    style.hoveredLayerColours = {juce::Colours::white, juce::Colours::cyan, juce::Colours::blue,
                                 juce::Colours::magenta};
    logo.setStyle(style);
    window.add(logo, {100, 20, 40, 40});

    auto image = testsupport::snapshot(logo);
    EXPECT_EQ(image.getPixelAt(10, 10), juce::Colours::red);
    EXPECT_EQ(image.getPixelAt(30, 10), juce::Colours::green);
    EXPECT_EQ(image.getPixelAt(10, 30).getAlpha(), 0) << "an empty layer draws nothing";
    EXPECT_EQ(image.getPixelAt(30, 30), juce::Colours::yellow) << "the fourth layer, not the third colour";

    window.move(window.centreOf(logo));
    image = testsupport::snapshot(logo);
    EXPECT_EQ(image.getPixelAt(10, 10), juce::Colours::white);
    EXPECT_EQ(image.getPixelAt(30, 30), juce::Colours::magenta);
}

TEST_F(ThemeTest, DisabledTextButtonShowsTheIdleLookDimmed)
{
    const auto& p = ui_core::palette();
    ui_core::TextButton button;
    button.setText("Cancel");
    button.setStyle(ui_core::textButtonPreset());
    button.setSize(ui_core::textButtonPreset().preferredWidth, ui_core::textButtonPreset().preferredHeight);
    button.setEnabled(false);

    const auto image = testsupport::snapshot(button);
    EXPECT_TRUE(closeTo(image.getPixelAt(36, 3), p.neutral0.withAlpha(0.4f))) << "background";
    EXPECT_EQ(image.getPixelAt(0, 16), p.neutral3) << "border";
    const auto textArea = button.getTextArea();
    EXPECT_GT(countPixels(image, textArea, p.neutral4, 1), 3) << "text";
    EXPECT_EQ(countPixels(image, textArea, p.neutral8, 30), 0);

    button.setSize(31, 32);
    EXPECT_TRUE(button.getTextArea().isEmpty()) << "narrower than its paddings";
    EXPECT_EQ(countPixels(testsupport::snapshot(button), {2, 2, 27, 28}, p.neutral4, 8), 0);
}

TEST(TextLabel, PreferredHeightHoldsTheFontAndThePaddings)
{
    ui_core::TextLabel label;
    label.setStyle(ui_core::panelLabelPreset());
    EXPECT_EQ(label.getPreferredHeight(), 14) << "the minimum beats an 11 px font";

    ui_core::TextLabelStyle style;
    style.verticalPadding = 4;
    style.font = juce::Font(14.5f);
    label.setStyle(style);
    EXPECT_EQ(label.getPreferredHeight(), 23);
}

class TextEditorOnDesktop : public ::testing::Test
{
protected:
    TextEditorOnDesktop()
    {
        window.add(editor, {20, 20, 200, 28});
        editor.setText("artist");
        editor.grabKeyboardFocus();
    }

    DesktopWindow window;
    ui_core::TextEditor editor;
};

TEST_F(TextEditorOnDesktop, KeysGoToTheirCallbacksOnlyWithoutModifiers)
{
    int returns = 0, escapes = 0, ups = 0, downs = 0;
    editor.onReturnKey = [&] { ++returns; };
    editor.onEscapeKey = [&] { ++escapes; };
    editor.onUpKey = [&] { ++ups; };
    editor.onDownKey = [&] { ++downs; };

    for (const auto code : {juce::KeyPress::returnKey, juce::KeyPress::escapeKey, juce::KeyPress::upKey,
                            juce::KeyPress::downKey})
        EXPECT_TRUE(window.key(juce::KeyPress(code)));
    EXPECT_EQ(std::vector<int>({returns, escapes, ups, downs}), std::vector<int>({1, 1, 1, 1}));

    window.key(juce::KeyPress(juce::KeyPress::returnKey, juce::ModifierKeys::shiftModifier, 0));
    EXPECT_EQ(returns, 1) << "Shift+Return goes to the framework editor";

    editor.onUpKey = nullptr;
    window.type("!");
    EXPECT_EQ(editor.getText(), "artist!");
    window.key(juce::KeyPress(juce::KeyPress::upKey));
    window.type("X");
    EXPECT_EQ(editor.getText(), "Xartist!") << "without a callback the up key moves the caret";
}

TEST_F(TextEditorOnDesktop, StyleSetsTheFrameworkColours)
{
    const auto& style = ui_core::textEditorPreset();
    editor.setStyle(style);
    EXPECT_EQ(editor.findColour(juce::TextEditor::backgroundColourId),
              style.backgroundColour.withAlpha(0.4f));
    EXPECT_EQ(editor.findColour(juce::TextEditor::focusedOutlineColourId),
              style.focusedOutlineColour.withAlpha(0.9f));
    EXPECT_EQ(editor.findColour(juce::CaretComponent::caretColourId), style.caretColour);
    EXPECT_EQ(editor.getFont(), style.font);
    EXPECT_FALSE(editor.isMultiLine());
}
