// The logo menu, the plot's context menu and the theme card, in the real window on the Xvfb desktop:
// the pointer goes through the window's peer, settings files live in a temporary folder.
#include "EditorTestSupport.h"

#include "controls/ThemeSettings.h"

#include <gtest/gtest.h>

using editortest::find;
using testsupport::DesktopWindow;
using testsupport::runMessageLoopUntil;

namespace
{
using namespace std::chrono_literals;

void restoreDefaultTheme()
{
    const ui_core::ThemeSettings defaults;
    ui_core::setTheme(defaults.primaryHue, defaults.secondaryHue, defaults.primarySaturationScale,
                      defaults.secondarySaturationScale, defaults.glowEnabled, defaults.glowIntensity);
}

// Every shown menu window, the submenus included.
juce::Component* shownMenuItem(const juce::String& text)
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* window = desktop.getComponent(i); window != nullptr && window->isShowing())
            if (auto* handler = window->getAccessibilityHandler();
                handler != nullptr && handler->getRole() == juce::AccessibilityRole::popupMenu)
                for (auto* child : window->getChildren())
                    if (auto* item = child->getAccessibilityHandler();
                        item != nullptr && item->getRole() == juce::AccessibilityRole::menuItem &&
                        item->getTitle() == text)
                        return child;
    return nullptr;
}

bool isTicked(const juce::String& text)
{
    auto* item = shownMenuItem(text);
    return item != nullptr && item->getAccessibilityHandler()->getCurrentState().isChecked();
}

// The pointer rests on an entry of a shown menu (which opens its submenu), and clicks it when asked.
bool pointAtMenuItem(const juce::String& text, bool click)
{
    if (!runMessageLoopUntil([&text] { return shownMenuItem(text) != nullptr; }, 3s))
        return false;
    // The menu ignores releases in its first 250 ms, as it does for a user.
    DesktopWindow::pump(300ms);
    auto* item = shownMenuItem(text);
    if (item == nullptr)
        return false;
    auto* menu = item->getTopLevelComponent();
    const auto local = menu->getLocalPoint(item, item->getLocalBounds().getCentre().toFloat());
    juce::Desktop::setMousePosition(menu->localPointToGlobal(local).roundToInt());
    auto time = juce::Time::currentTimeMillis();
    std::vector<juce::ModifierKeys> steps{{}};
    if (click)
        steps.insert(steps.end(), {juce::ModifierKeys::leftButtonModifier, {}});
    for (const auto& modifiers : steps)
    {
        juce::ModifierKeys::currentModifiers = modifiers;
        menu->getPeer()->handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, local, modifiers,
                                          juce::MouseInputSource::defaultPressure,
                                          juce::MouseInputSource::defaultOrientation, time += 50);
    }
    return true;
}

// The most colourful pixel of a component's picture: a stroke of the curve, the mark of an icon (the
// shades around them are nearly grey).
struct Probe
{
    juce::Point<int> position;
    juce::Colour colour;
};

juce::Image pictureOf(juce::Component& component)
{
    return component.createComponentSnapshot(component.getLocalBounds(), false, 1.0f);
}

int chroma(juce::Colour c)
{
    return std::max({c.getRed(), c.getGreen(), c.getBlue()}) -
           std::min({c.getRed(), c.getGreen(), c.getBlue()});
}

Probe mostColourfulPixel(juce::Component& component)
{
    const auto image = pictureOf(component);
    Probe best{{}, image.getPixelAt(0, 0)};
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (const auto c = image.getPixelAt(x, y); chroma(c) > chroma(best.colour))
                best = {{x, y}, c};
    return best;
}

juce::Component* titled(juce::Component& parent, const juce::String& title)
{
    for (auto* c : parent.getChildren())
        if (c->getTitle() == title)
            return c;
    return nullptr;
}

int colourDistance(juce::Colour a, juce::Colour b)
{
    return std::abs(a.getRed() - b.getRed()) + std::abs(a.getGreen() - b.getGreen()) +
           std::abs(a.getBlue() - b.getBlue());
}

class MenusOnDesktop : public ::testing::Test
{
protected:
    MenusOnDesktop() { restoreDefaultTheme(); }

    ~MenusOnDesktop() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        editor.reset();
        DesktopWindow::pump();
        restoreDefaultTheme();
    }

    void openEditor()
    {
        editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
        window.add(*editor, {0, 0, 700, 550});
        DesktopWindow::pump();
    }

    void closeEditor()
    {
        juce::PopupMenu::dismissAllActiveMenus();
        window.root().removeChildComponent(editor.get());
        editor.reset();
        DesktopWindow::pump();
    }

    juce::Component& child(const char* name)
    {
        auto* found = find(*editor, name);
        EXPECT_NE(found, nullptr) << name;
        return found != nullptr ? *found : *editor;
    }

    void hoverLogo()
    {
        window.move(window.centreOf(*editor) + juce::Point<float>(0, -100)); // start outside the logo
        window.move(window.centreOf(child("logo")));
    }

    // Through the hover menu, as a user does.
    void chooseFromLogoMenu(const char* componentId)
    {
        hoverLogo();
        auto* menu = editor->getLogoMenu();
        ASSERT_NE(menu, nullptr) << "hovering the logo opens the menu";
        auto* button = menu->findChildWithID(componentId);
        ASSERT_NE(button, nullptr) << componentId;
        window.move(window.centreOf(*button));
        window.click(window.centreOf(*button));
    }

    void rightClickPlot()
    {
        const auto at = window.centreOf(editor->getVisualizer());
        window.move(at);
        window.press(at, juce::ModifierKeys::rightButtonModifier);
        window.release();
    }

    ui_panels::ThemeOverlayPanel& openThemeCard()
    {
        chooseFromLogoMenu("logoMenuTheme");
        EXPECT_NE(editor->getThemeOverlay(), nullptr);
        return *editor->getThemeOverlay();
    }

    void clickCardButton(const char* componentId)
    {
        auto* card = editor->getThemeOverlay();
        ASSERT_NE(card, nullptr);
        auto* button = card->findChildWithID(componentId);
        ASSERT_NE(button, nullptr) << componentId;
        window.click(window.centreOf(*button));
        DesktopWindow::pump();
    }

    // A press at a fraction of the primary hue slider's track sets the hue there.
    void setPrimaryHueOnCard(float fraction)
    {
        auto& card = *editor->getThemeOverlay();
        const auto slider = card.getLayout().primaryHue.slider.toFloat();
        const auto inset = static_cast<float>(ui_panels::themeOverlayTrackInset);
        const auto x = slider.getX() + inset + fraction * (slider.getWidth() - 2.0f * inset);
        const auto at = window.pointIn(card, {x, slider.getCentreY()});
        window.press(at);
        window.release();
        DesktopWindow::pump();
    }

    UserSettings settings() const { return probe.processor->getUserSettings(); }

    editortest::ProbeUnderTest probe;
    DesktopWindow window{700, 550};
    std::unique_ptr<PluginProcessorEditor> editor;
};
} // namespace

TEST_F(MenusOnDesktop, LogoMenuOpensAboveTheLogoStaysWhileThePointerIsInItAndClosesWhenItLeavesBoth)
{
    openEditor();
    hoverLogo();
    auto* menu = editor->getLogoMenu();
    ASSERT_NE(menu, nullptr);
    const auto& logo = child("logo");
    EXPECT_EQ(menu->getBounds(), juce::Rectangle<int>(logo.getX(), logo.getY() - 84, 170, 84));
    EXPECT_TRUE(menu->isShowing());
    int y = 0;
    for (const auto& [id, text] : {std::pair{"logoMenuArtist", "Set Artist Name..."},
                                   {"logoMenuTheme", "Customize Colors..."},
                                   {"logoMenuUpdate", "Check for Updates..."}})
    {
        auto* button = dynamic_cast<ui_core::TextButton*>(menu->findChildWithID(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->getText(), text);
        EXPECT_EQ(button->getBounds(), juce::Rectangle<int>(0, y, 170, 28));
        y += 28;
    }

    // Up from the logo into the panel: several ticks of the timer pass and it stays.
    window.move(window.centreOf(logo).withY(static_cast<float>(logo.getY()) + 2.0f));
    window.move(window.centreOf(*menu->findChildWithID("logoMenuUpdate")));
    DesktopWindow::pump(160ms);
    ASSERT_EQ(editor->getLogoMenu(), menu);

    // Out of both: gone at the next tick.
    const juce::Component::SafePointer<juce::Component> watched(editor->getLogoMenu());
    window.move(window.centreOf(editor->getVisualizer()));
    EXPECT_TRUE(runMessageLoopUntil([this] { return editor->getLogoMenu() == nullptr; }, 120ms));
    EXPECT_TRUE(runMessageLoopUntil([&watched] { return watched == nullptr; }, 200ms)) << "and deleted";

    hoverLogo();
    EXPECT_NE(editor->getLogoMenu(), nullptr) << "hovering again opens it again";
}

TEST_F(MenusOnDesktop, MenuEntriesCloseTheMenuAfterTheirClickAndOpenWhatTheySay)
{
    openEditor();
    chooseFromLogoMenu("logoMenuArtist");
    EXPECT_EQ(editor->getLogoMenu(), nullptr);
    ASSERT_NE(editor->getArtistDialogOverlay(), nullptr);
    EXPECT_FALSE(editor->getArtistDialogOverlay()->getDialog().findChildWithID("skipBtn")->isVisible())
        << "opened to edit the name, not to save";
    editor->dismissArtistNameDialog();
    DesktopWindow::pump();

    openThemeCard();
    EXPECT_EQ(editor->getLogoMenu(), nullptr);
    // The card covers the window; however the pointer comes back to the logo, no menu opens.
    window.move(window.centreOf(editor->getVisualizer()));
    window.move(window.centreOf(child("logo")));
    DesktopWindow::pump(120ms);
    EXPECT_EQ(editor->getLogoMenu(), nullptr);
}

TEST_F(MenusOnDesktop, PlotContextMenuSetsGridStrengthWhichPersistsAndDisplayModeWhichDoesNot)
{
    settings().saveGridStrength(1);
    const auto preferences = settings().settingsFile(UserSettings::pluginPreferencesName);
    const auto longAgo = juce::Time(2001, 0, 1, 0, 0);
    ASSERT_TRUE(preferences.setLastModificationTime(longAgo));
    openEditor();
    ASSERT_EQ(editor->getGridStrength(), 1);

    rightClickPlot();
    ASSERT_TRUE(pointAtMenuItem("Grid Strength", false)) << "right-click opens the menu";
    EXPECT_NE(shownMenuItem("Display Mode"), nullptr);
    ASSERT_TRUE(runMessageLoopUntil([] { return shownMenuItem("Medium") != nullptr; }, 3s));
    EXPECT_TRUE(isTicked("Medium"));
    EXPECT_FALSE(isTicked("Faint"));
    ASSERT_TRUE(pointAtMenuItem("Medium", true));
    DesktopWindow::pump(100ms);
    EXPECT_EQ(preferences.getLastModificationTime(), longAgo) << "the value already set writes nothing";

    rightClickPlot();
    ASSERT_TRUE(pointAtMenuItem("Grid Strength", false));
    ASSERT_TRUE(pointAtMenuItem("Strong", true));
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->getGridStrength() == 2; }, 2s));
    EXPECT_EQ(settings().loadGridStrength(), 2);

    rightClickPlot();
    ASSERT_TRUE(pointAtMenuItem("Display Mode", false));
    ASSERT_TRUE(runMessageLoopUntil([] { return shownMenuItem("Segments") != nullptr; }, 3s));
    EXPECT_TRUE(isTicked("Segments"));
    ASSERT_TRUE(pointAtMenuItem("Scatter", true));
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->getDisplayMode() == 1; }, 2s));
    EXPECT_TRUE(editor->getVisualizer().isScatter());

    closeEditor();
    openEditor();
    EXPECT_EQ(editor->getGridStrength(), 2) << "grid strength survives the window";
    EXPECT_EQ(editor->getDisplayMode(), 0) << "the display mode does not";
    EXPECT_FALSE(editor->getVisualizer().isScatter());
}

TEST_F(MenusOnDesktop, ThemeCardPreviewsOnTheWholeWindowAndCancelRestoresTheThemeOfItsOpening)
{
    settings().saveThemeSettings({0.55, 0.3, 1.2, 1.0, true, 0.5});
    openEditor();
    ASSERT_FLOAT_EQ(ui_core::themeSettings().primaryHue, 0.55f) << "the window opens with the stored theme";

    // Frozen (the live view stops) with a curve on the plot; then a pixel of the curve and one of the
    // play button's icon.
    editor->freeze();
    std::vector<juce::Point<double>> curve;
    for (int i = 0; i <= 400; ++i)
    {
        const auto x = -1.0 + i / 200.0;
        curve.emplace_back(x, std::tanh(2.0 * x));
    }
    editor->getVisualizer().setPoints(curve);
    DesktopWindow::pump(100ms);
    auto& visualizer = editor->getVisualizer();
    auto& playButton = child("play");
    ASSERT_EQ(visualizer.getPoints().size(), curve.size());
    const auto curvePixel = mostColourfulPixel(visualizer);
    ASSERT_GT(chroma(curvePixel.colour), 60);
    const auto buttonPixel = mostColourfulPixel(playButton);

    auto& card = openThemeCard();
    EXPECT_EQ(card.getBounds(), editor->getLocalBounds());
    EXPECT_EQ(card.getCardBounds(), juce::Rectangle<int>((700 - 320) / 2, (550 - 390) / 2, 320, 390));
    EXPECT_FLOAT_EQ(card.getValues().primaryHue, 0.55f) << "the card shows the theme of the moment";

    setPrimaryHueOnCard(0.1f);
    EXPECT_NEAR(ui_core::themeSettings().primaryHue, 0.1f, 0.01f) << "the preview follows the slider";
    const auto curveAfter = pictureOf(visualizer).getPixelAt(curvePixel.position.x, curvePixel.position.y);
    const auto buttonAfter = pictureOf(playButton).getPixelAt(buttonPixel.position.x, buttonPixel.position.y);
    EXPECT_GT(colourDistance(curveAfter, curvePixel.colour), 60) << "the curve follows the hue";
    EXPECT_GT(colourDistance(buttonAfter, buttonPixel.colour), 60) << "so do the buttons";

    clickCardButton("cancelBtn");
    EXPECT_EQ(editor->getThemeOverlay(), nullptr);
    EXPECT_FLOAT_EQ(ui_core::themeSettings().primaryHue, 0.55f) << "the hue of the moment of opening";
    EXPECT_EQ(pictureOf(visualizer).getPixelAt(curvePixel.position.x, curvePixel.position.y),
              curvePixel.colour);
    EXPECT_EQ(settings().loadThemeSettings().primaryHue, 0.55) << "Cancel writes nothing";

    // Reset, then Cancel: again the theme of the moment of opening, not the defaults.
    openThemeCard();
    clickCardButton("resetBtn");
    EXPECT_FLOAT_EQ(ui_core::themeSettings().primaryHue, 0.011f) << "Reset previews the defaults";
    clickCardButton("cancelBtn");
    EXPECT_FLOAT_EQ(ui_core::themeSettings().primaryHue, 0.55f);
    EXPECT_FLOAT_EQ(ui_core::themeSettings().primarySaturationScale, 1.2f);

    // A press beside the card cancels as well.
    openThemeCard();
    setPrimaryHueOnCard(0.8f);
    window.click({5.0f, 5.0f});
    DesktopWindow::pump();
    EXPECT_EQ(editor->getThemeOverlay(), nullptr);
    EXPECT_FLOAT_EQ(ui_core::themeSettings().primaryHue, 0.55f);
}

TEST_F(MenusOnDesktop, ThemeCardOkStoresTheValuesAndAReopenedWindowShowsThem)
{
    settings().saveThemeSettings({0.55, 0.3, 1.2, 1.0, true, 0.5});
    openEditor();

    // Glow off disables the amount slider and keeps its value, which OK stores with the rest.
    auto& card = openThemeCard();
    auto* glowSwitch = dynamic_cast<juce::ToggleButton*>(titled(card, "Glow"));
    ASSERT_NE(glowSwitch, nullptr);
    window.click(window.centreOf(*glowSwitch));
    EXPECT_FALSE(ui_core::themeSettings().glowEnabled);
    EXPECT_FLOAT_EQ(ui_core::themeSettings().glowIntensity, 0.5f);
    auto* glowAmount = dynamic_cast<juce::Slider*>(titled(card, "Glow Amount"));
    ASSERT_NE(glowAmount, nullptr);
    EXPECT_FALSE(glowAmount->isEnabled());
    EXPECT_DOUBLE_EQ(glowAmount->getValue(), 0.5);

    setPrimaryHueOnCard(0.25f);
    const auto hue = ui_core::themeSettings().primaryHue;
    clickCardButton("okBtn");
    EXPECT_EQ(editor->getThemeOverlay(), nullptr);
    const auto stored = settings().loadThemeSettings();
    EXPECT_NEAR(stored.primaryHue, hue, 1e-6);
    EXPECT_FALSE(stored.glowEnabled);
    EXPECT_NEAR(stored.glowIntensity, 0.5, 1e-6);
    EXPECT_NEAR(stored.primarySaturationScale, 1.2, 1e-6);

    // Another window, in a process whose theme has moved on: it opens with the stored theme.
    closeEditor();
    restoreDefaultTheme();
    openEditor();
    EXPECT_FLOAT_EQ(ui_core::themeSettings().primaryHue, static_cast<float>(stored.primaryHue));
    EXPECT_FALSE(ui_core::themeSettings().glowEnabled);

    // Reset, then OK: the defaults are stored.
    openThemeCard();
    clickCardButton("resetBtn");
    clickCardButton("okBtn");
    const auto defaults = settings().loadThemeSettings();
    const ThemeValues expected;
    EXPECT_NEAR(defaults.primaryHue, expected.primaryHue, 1e-6);
    EXPECT_NEAR(defaults.secondaryHue, expected.secondaryHue, 1e-6);
    EXPECT_NEAR(defaults.primarySaturationScale, expected.primarySaturationScale, 1e-6);
    EXPECT_NEAR(defaults.secondarySaturationScale, expected.secondarySaturationScale, 1e-6);
    EXPECT_EQ(defaults.glowEnabled, expected.glowEnabled);
    EXPECT_NEAR(defaults.glowIntensity, expected.glowIntensity, 1e-6);
}
