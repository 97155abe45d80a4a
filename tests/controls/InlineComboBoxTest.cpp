#include "controls/InlineComboBox.h"

#include "Rendering.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

using testsupport::DesktopWindow;

namespace
{
juce::Component* menuItem(juce::Component& menu, const juce::String& text)
{
    for (auto* child : menu.getChildren())
        if (auto* handler = child->getAccessibilityHandler())
            if (handler->getRole() == juce::AccessibilityRole::menuItem && handler->getTitle() == text)
                return child;
    return nullptr;
}

// Picks an entry of the open menu the way a user does: the pointer goes onto it, presses and
// releases there.
void pick(const juce::String& text)
{
    // The menu ignores releases in its first 250 ms, as it does for a user.
    DesktopWindow::pump(std::chrono::milliseconds(300));
    auto* shown = testsupport::shownPopupMenu();
    ASSERT_NE(shown, nullptr) << "the menu closed by itself";
    auto& menu = *shown;
    auto* item = menuItem(menu, text);
    ASSERT_NE(item, nullptr) << "no entry " << text;
    const auto local = menu.getLocalPoint(item, item->getLocalBounds().getCentre().toFloat());
    auto* peer = menu.getPeer();

    ASSERT_NE(peer, nullptr);
    juce::Desktop::setMousePosition(menu.localPointToGlobal(local).roundToInt());
    const auto now = juce::Time::currentTimeMillis();
    const auto send = [&](juce::ModifierKeys modifiers, juce::int64 time)
    {
        juce::ModifierKeys::currentModifiers = modifiers;
        peer->handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, local, modifiers,
                               juce::MouseInputSource::defaultPressure,
                               juce::MouseInputSource::defaultOrientation, time);
    };
    send({}, now);
    send(juce::ModifierKeys::leftButtonModifier, now + 50);
    send({}, now + 100);
}
} // namespace

class ComboBoxOnDesktop : public ::testing::Test
{
protected:
    ComboBoxOnDesktop()
    {
        combo->addItem("ODR", 1);
        combo->addItem("Mean", 2);
        combo->setSelectedId(1);
        combo->onChange = [this](int id) { chosen.push_back(id); };
        window.add(*combo, {20, 20, 100, 40});
    }

    ~ComboBoxOnDesktop() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        DesktopWindow::pump();
    }

    juce::Component* openMenu()
    {
        window.click(window.centreOf(*combo));
        DesktopWindow::pump();
        return testsupport::shownPopupMenu();
    }

    DesktopWindow window;
    std::unique_ptr<ui_core::InlineComboBox> combo = std::make_unique<ui_core::InlineComboBox>("Algo");
    std::vector<int> chosen;
};

TEST_F(ComboBoxOnDesktop, ClickOpensTheMenuAndPickingAnEntrySelectsItAndReportsIt)
{
    auto* menu = openMenu();
    ASSERT_NE(menu, nullptr) << "the click opens the menu";
    EXPECT_TRUE(menuItem(*menu, "ODR")->getAccessibilityHandler()->getCurrentState().isChecked())
        << "the selected entry is ticked";

    pick("Mean");
    ASSERT_TRUE(testsupport::runMessageLoopUntil([this] { return !chosen.empty(); }));
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(combo->getSelectedId(), 2);
    EXPECT_EQ(combo->getShownText(), "Mean");
    EXPECT_EQ(combo->getAccessibilityHandler()->getValueInterface()->getCurrentValueAsString(), "Mean");
}

TEST_F(ComboBoxOnDesktop, ChoosingTheSelectedEntryReportsItWithoutRepainting)
{
    testsupport::PaintCounter counter;
    combo->setComponentEffect(&counter);
    ASSERT_NE(openMenu(), nullptr);

    // Paints caused by the menu closing (hover, exposure) may arrive at any time, so the count
    // covers only what the choice itself leaves pending: everything queued before it is painted
    // first, and whatever the choice queued is painted inside its own callback.
    int paintsFromTheChoice = -1;
    combo->onChange = [&](int id)
    {
        chosen.push_back(id);
        counter.paints = 0;
        combo->getPeer()->performAnyPendingRepaintsNow();
        paintsFromTheChoice = counter.paints;
    };
    pick("ODR");
    ASSERT_TRUE(chosen.empty()) << "the choice arrives on a later turn of the message loop";
    combo->getPeer()->performAnyPendingRepaintsNow();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([this] { return !chosen.empty(); }));
    EXPECT_EQ(chosen, std::vector<int>{1});
    EXPECT_EQ(paintsFromTheChoice, 0);
    combo->setComponentEffect(nullptr);
}

TEST_F(ComboBoxOnDesktop, DisabledBoxOpensNothing)
{
    combo->setEnabled(false);
    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(ComboBoxOnDesktop, MenuClosesWithItsBoxAndAChoiceArrivingAfterwardsReachesNothing)
{
    ASSERT_NE(openMenu(), nullptr);
    combo.reset();
    DesktopWindow::pump(std::chrono::milliseconds(100));
    EXPECT_EQ(testsupport::shownPopupMenu(), nullptr);

    combo = std::make_unique<ui_core::InlineComboBox>("Algo");
    combo->addItem("ODR", 1);
    combo->addItem("Mean", 2);
    combo->onChange = [this](int id) { chosen.push_back(id); };
    window.add(*combo, {20, 20, 100, 40});
    ASSERT_NE(openMenu(), nullptr);
    pick("Mean");
    // the choice is delivered on a later turn of the message loop...
    combo.reset(); // ...by which time the box is gone
    DesktopWindow::pump(std::chrono::milliseconds(100));
    EXPECT_TRUE(chosen.empty());
}

TEST_F(ComboBoxOnDesktop, KeyboardReachesTheBoxAndStepsThroughTheEntries)
{
    ui_core::InlineComboBox other("Size");
    window.add(other, {150, 20, 100, 40});
    other.grabKeyboardFocus();
    window.key(juce::KeyPress(juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0));
    ASSERT_TRUE(combo->hasKeyboardFocus(false));

    window.key(juce::KeyPress(juce::KeyPress::downKey));
    EXPECT_EQ(combo->getSelectedId(), 2);
    window.key(juce::KeyPress(juce::KeyPress::downKey));
    EXPECT_EQ(combo->getSelectedId(), 2) << "no wrap-around past the last entry";
    EXPECT_EQ(chosen, std::vector<int>{2});

    auto* accessibility = combo->getAccessibilityHandler();
    EXPECT_EQ(accessibility->getRole(), juce::AccessibilityRole::comboBox);
    EXPECT_EQ(accessibility->getTitle(), "Algo");

    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    DesktopWindow::pump();
    EXPECT_NE(testsupport::shownPopupMenu(), nullptr) << "Return opens the menu";
}

TEST_F(ComboBoxOnDesktop, BoxTooLowForTextDrawsOnlyItsHoverHighlight)
{
    ui_core::InlineComboBoxStyle style;
    style.hoverFillColour = juce::Colour(0xff0000ff);
    style.hoverFillAlpha = 1.0f;
    style.captionColour = style.valueColour = juce::Colour(0xffff0000);
    combo->setStyle(style);
    window.move(window.centreOf(*combo));

    const auto red = juce::Colour(0xffff0000);
    auto image = testsupport::snapshot(*combo);
    EXPECT_GT(testsupport::countPixels(image, image.getBounds(), red, 60), 0) << "40 px high: texts drawn";

    combo->setSize(100, 10);
    window.move(window.centreOf(*combo));
    image = testsupport::snapshot(*combo);
    EXPECT_EQ(testsupport::countPixels(image, image.getBounds(), red, 200), 0);
    EXPECT_GT(testsupport::countPixels(image, image.getBounds(), juce::Colour(0xff0000ff)), 500);
}

TEST(InlineComboBox, SelectionMatchingNoEntryShowsOnlyTheCaption)
{
    ui_core::InlineComboBox combo("Mode");
    combo.addItem("tfunc", 1);
    combo.addItem("Grid", 2, [] { return true; });
    auto style = ui_core::comboBoxPreset();
    style.valueColour = juce::Colour(0xff00ff00);
    combo.setStyle(style);

    combo.setSelectedId(2);
    EXPECT_TRUE(combo.getShownText().isEmpty()) << "an option with a tick provider is never the selection";
    combo.setSelectedId(7);
    EXPECT_TRUE(combo.getShownText().isEmpty());
    const auto image = testsupport::snapshot(combo);
    EXPECT_EQ(testsupport::countPixels(image, image.getBounds(), style.valueColour, 80), 0);
    EXPECT_GT(testsupport::countPixels(image, image.getBounds(), style.captionColour, 10), 0);
}
