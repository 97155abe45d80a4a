#include "controls/IconArtwork.h"
#include "controls/IconButton.h"
#include "controls/InlineComboBox.h"
#include "controls/MultiLayerLogoButton.h"
#include "controls/NumberBox.h"
#include "controls/Rotary3DKnob.h"
#include "controls/ScaleDisplay.h"
#include "controls/SmoothingDisplay.h"
#include "controls/TextButton.h"
#include "controls/TextEditor.h"
#include "controls/TextLabel.h"
#include "controls/TooltipDisplayPanel.h"

#include "ParameterHost.h"
#include "Rendering.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

namespace
{
// One widget on the desktop: how to give it the same style again, a style that differs in one float
// by the smallest step, and how often it rebuilt its caches (where it has any).
struct StyledWidget
{
    std::string name;
    std::unique_ptr<juce::Component> component;
    std::function<void()> applySameStyle, applyNearlySameStyle;
    std::function<int()> cacheBuilds = [] { return 0; };
};

template <typename Widget, typename Style>
StyledWidget styled(std::string name, std::unique_ptr<Widget> widget, Style style, float Style::*field)
{
    auto* raw = widget.get();
    raw->setStyle(style);
    auto nearly = style;
    nearly.*field = std::nextafter(style.*field, 1000.0f);
    return {std::move(name), std::move(widget), [raw, style] { raw->setStyle(style); },
            [raw, nearly] { raw->setStyle(nearly); }};
}
} // namespace

TEST(StyleEqualityOnDesktop, IdenticalStyleNeitherRepaintsNorRebuildsAndTheSmallestChangeDoes)
{
    testsupport::ParameterHost host;
    testsupport::DesktopWindow window(700, 120);
    std::vector<StyledWidget> widgets;

    auto icon = std::make_unique<ui_core::IconButton>("play");
    icon->setIcon(ui_core::playIconSvg());
    auto* iconButton = icon.get();
    widgets.push_back(styled("IconButton", std::move(icon), ui_core::playFreezeButtonPreset(),
                             &ui_core::IconButtonStyle::cornerRadius));
    widgets.back().cacheBuilds = [iconButton] { return iconButton->getStateDrawableBuildCount(); };

    auto logo = std::make_unique<ui_core::MultiLayerLogoButton>("logo");
    logo->setLayers({ui_core::playIconSvg(), ui_core::saveIconSvg()});
    auto* logoButton = logo.get();
    widgets.push_back(styled("MultiLayerLogoButton", std::move(logo), ui_core::logoPreset(),
                             &ui_core::LogoLayerStyle::cornerRadius));
    widgets.back().cacheBuilds = [logoButton] { return logoButton->getLayerBuildCount(); };

    auto label = std::make_unique<ui_core::TextLabel>();
    label->setText("Scale X");
    widgets.push_back(styled("TextLabel", std::move(label), ui_core::panelLabelPreset(),
                             &ui_core::TextLabelStyle::focusOutlineWidth));

    auto button = std::make_unique<ui_core::TextButton>();
    button->setText("OK");
    widgets.push_back(styled("TextButton", std::move(button), ui_core::textButtonPreset(),
                             &ui_core::TextButtonStyle::backgroundHoveredAlpha));

    widgets.push_back(styled("TextEditor", std::make_unique<ui_core::TextEditor>(),
                             ui_core::textEditorPreset(), &ui_core::TextEditorStyle::shadowAlpha));

    auto combo = std::make_unique<ui_core::InlineComboBox>("Algo");
    combo->addItem("ODR", 1);
    combo->setSelectedId(1);
    widgets.push_back(styled("InlineComboBox", std::move(combo), ui_core::comboBoxPreset(),
                             &ui_core::InlineComboBoxStyle::hoverFillAlpha));

    auto knob = std::make_unique<ui_core::Rotary3DKnob>();
    auto* rotary = knob.get();
    widgets.push_back(styled("Rotary3DKnob", std::move(knob), ui_core::controlPanelKnobPreset(),
                             &ui_core::KnobStyle::pointerWidth));
    widgets.back().cacheBuilds = [rotary] { return rotary->getBodyRenderCount(); };

    widgets.push_back(styled("NumberBox", std::make_unique<ui_core::NumberBox>("X Lag"),
                             ui_core::numberBoxPreset(), &ui_core::NumberBoxStyle::dragSensitivity));
    widgets.push_back(styled("ScaleDisplay",
                             std::make_unique<ui_core::ScaleDisplay>(host.state, "scaleX", "scaleY"),
                             ui_core::scaleDisplayPreset(), &ui_core::ValueDisplayStyle::borderThickness));
    widgets.push_back(styled("SmoothingDisplay",
                             std::make_unique<ui_core::SmoothingDisplay>(host.state, "smoothing"),
                             ui_core::smoothingDisplayPreset(), &ui_core::ValueDisplayStyle::cornerRadius));
    widgets.push_back(styled("TooltipDisplayPanel", std::make_unique<ui_core::TooltipDisplayPanel>(),
                             ui_core::tooltipStripPreset(), &ui_core::TooltipStripStyle::backgroundOpacity));

    std::vector<std::unique_ptr<testsupport::PaintCounter>> counters;
    for (std::size_t i = 0; i < widgets.size(); ++i)
    {
        window.add(*widgets[i].component,
                   {static_cast<int>(i % 6) * 110 + 5, static_cast<int>(i / 6) * 60 + 5, 100, 50});
        counters.push_back(std::make_unique<testsupport::PaintCounter>());
        widgets[i].component->setComponentEffect(counters.back().get());
    }
    window.root().grabKeyboardFocus(); // no caret blinking in the text editor
    testsupport::DesktopWindow::pump(std::chrono::milliseconds(200));

    for (std::size_t i = 0; i < widgets.size(); ++i)
    {
        auto& widget = widgets[i];
        SCOPED_TRACE(widget.name);
        const auto builds = widget.cacheBuilds();
        testsupport::runMessageLoopUntilQuiet([&] { return counters[i]->paints; });
        counters[i]->paints = 0;

        widget.applySameStyle();
        testsupport::DesktopWindow::pump(std::chrono::milliseconds(60));
        EXPECT_EQ(counters[i]->paints, 0);
        EXPECT_EQ(widget.cacheBuilds(), builds);

        widget.applyNearlySameStyle();
        testsupport::DesktopWindow::pump(std::chrono::milliseconds(60));
        EXPECT_GT(counters[i]->paints, 0) << "floats are compared exactly";
        if (builds > 0)
        {
            EXPECT_GT(widget.cacheBuilds(), builds);
        }
    }

    for (auto& widget : widgets)
        widget.component->setComponentEffect(nullptr);
}
