// Every widget in every state, with the themed presets, rendered into one picture that is compared
// with a committed reference at scale 1 and 2. The states come from real mouse and keyboard events.
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
#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/TooltipDisplayPanel.h"

#include "ManualPollClock.h"
#include "ParameterHost.h"
#include "ReferenceImage.h"
#include "ThemeTestSupport.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

using testsupport::DesktopWindow;

namespace
{
enum class Look
{
    normal,
    hovered,
    pressed,
    dragged,
    disabled,
    toggled,
    focused,
    selected,
    editing,
    menuOpen
};

// A stand-in logo of six layers in a 64 x 64 view box (the product's artwork is the editor's).
juce::StringArray standInLogoLayers()
{
    const juce::String open = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 64 64\">";
    const juce::String close = "</svg>";
    // Light ring, light disc, dark curve cut into the disc, light ticks, dark dot, accent dot.
    return {open +
                "<circle cx=\"32\" cy=\"32\" r=\"21\" fill=\"none\" stroke=\"#000000\" stroke-width=\"2\"/>" +
                close,
            open + "<circle cx=\"32\" cy=\"32\" r=\"16\" fill=\"#000000\"/>" + close,
            open +
                "<path d=\"M20 39 C26 39 27 25 32 25 S38 39 44 39\" fill=\"none\" stroke=\"#000000\" "
                "stroke-width=\"3\" stroke-linecap=\"round\"/>" +
                close,
            open +
                "<path d=\"M32 8v3M32 53v3M8 32h3M53 32h3\" stroke=\"#000000\" stroke-width=\"2\" "
                "stroke-linecap=\"round\"/>" +
                close,
            open + "<circle cx=\"32\" cy=\"25\" r=\"1.6\" fill=\"#000000\"/>" + close,
            open + "<circle cx=\"47\" cy=\"17\" r=\"3\" fill=\"#000000\"/>" + close};
}

// The picture: titled rows of widgets on bands in the control strip's colours, each cell captioned
// with its state.
class Gallery final : public juce::Component
{
public:
    struct Cell
    {
        juce::String caption;
        juce::Component* widget;
        Look look;
    };

    static constexpr int margin = 24, titleWidth = 150, gap = 22, captionHeight = 16;

    void startRow(const juce::String& title, int height)
    {
        if (!rows.empty())
            y += rowHeight + captionHeight + 2 * gap;
        rowHeight = height;
        x = margin + titleWidth;
        rows.push_back({title, y, height});
    }

    template <typename Widget>
    Widget& add(std::unique_ptr<Widget> widget, int width, int height, Look look, juce::String caption = {})
    {
        auto& added = *widget;
        widget->setBounds(x, y + (rowHeight - height) / 2, width, height);
        addAndMakeVisible(*widget);
        if (caption.isEmpty())
            caption = captionOf(look);
        cells.push_back({caption, widget.get(), look});
        owned.push_back(std::move(widget));
        x += width + gap;
        right = std::max(right, x);
        return added;
    }

    // Room in the current row for something that is not a child (the open menu's picture).
    juce::Rectangle<int> reserve(int width, int height, const juce::String& caption)
    {
        const juce::Rectangle<int> area(x, y, width, height);
        reserved.push_back({caption, area});
        x += width + gap;
        right = std::max(right, x);
        return area;
    }

    juce::Rectangle<int> getTotalBounds() const
    {
        return {0, 0, right + margin, y + rowHeight + captionHeight + gap + margin};
    }

    const std::vector<Cell>& getCells() const { return cells; }

    void paint(juce::Graphics& g) override
    {
        const auto& p = ui_core::palette();
        g.fillAll(p.neutral1);
        for (const auto& row : rows)
        {
            const auto band = juce::Rectangle<int>(margin + titleWidth - gap, row.y - gap / 2,
                                                   getWidth() - 2 * margin - titleWidth + gap,
                                                   row.height + captionHeight + gap)
                                  .toFloat();
            g.setColour(p.neutral2);
            g.fillRoundedRectangle(band, 6.0f);
            g.setColour(p.neutral4.withAlpha(0.3f));
            g.drawRoundedRectangle(band.reduced(0.5f), 6.0f, 1.0f);
            g.setColour(p.neutral8);
            g.setFont(ui_core::interfaceFont(2, 13.0f));
            g.drawText(row.title, margin, row.y, titleWidth - gap - 4, 20, juce::Justification::centredLeft);
        }

        g.setFont(ui_core::interfaceFont(1, 11.0f).withExtraKerningFactor(0.05f));
        g.setColour(p.neutral5);
        const auto caption = [&g](const juce::String& text, juce::Rectangle<int> above)
        {
            g.drawText(text, above.getX() - gap / 2, above.getBottom() + 6, above.getWidth() + gap,
                       captionHeight, juce::Justification::centredTop, false);
        };
        for (const auto& cell : cells)
            caption(cell.caption, cell.widget->getBounds());
        for (const auto& area : reserved)
            caption(area.caption, area.bounds);
    }

private:
    static juce::String captionOf(Look look)
    {
        switch (look)
        {
            case Look::normal:
                return "normal";
            case Look::hovered:
                return "hovered";
            case Look::pressed:
                return "pressed";
            case Look::dragged:
                return "dragging";
            case Look::disabled:
                return "disabled";
            case Look::toggled:
                return "toggled";
            case Look::focused:
                return "focused";
            case Look::selected:
                return "selected";
            case Look::editing:
                return "editing";
            case Look::menuOpen:
                return "menu open";
        }
        return {};
    }

    struct Row
    {
        juce::String title;
        int y, height;
    };
    struct Reserved
    {
        juce::String caption;
        juce::Rectangle<int> bounds;
    };

    std::vector<std::unique_ptr<juce::Component>> owned;
    std::vector<Cell> cells;
    std::vector<Row> rows;
    std::vector<Reserved> reserved;
    int x = 0, y = margin + gap / 2, rowHeight = 0, right = 0;
};

} // namespace

class WidgetGallery : public ThemeTest, public ::testing::WithParamInterface<float>
{
protected:
    void SetUp() override
    {
        ThemeTest::SetUp();
        build();
        const auto bounds = gallery.getTotalBounds();
        window = std::make_unique<DesktopWindow>(bounds.getWidth(), bounds.getHeight());
        window->add(gallery, bounds);
        juce::Component::unfocusAllComponents();
        park();
    }

    void TearDown() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        DesktopWindow::pump();
        window.reset();
        ThemeTest::TearDown();
    }

    void build()
    {
        const std::array<Look, 5> buttonLooks{Look::normal, Look::hovered, Look::pressed, Look::disabled,
                                              Look::toggled};

        gallery.startRow("IconButton", 43);
        const auto icon = [](const juce::String& name, const juce::String& svg,
                             const ui_core::IconButtonStyle& style, const juce::String& tooltip)
        {
            auto button = std::make_unique<ui_core::IconButton>(name);
            button->setIcon(svg);
            button->setStyle(style);
            button->setTooltip(tooltip);
            return button;
        };
        for (const auto look : buttonLooks)
            gallery.add(icon("play", ui_core::playIconSvg(), ui_core::playFreezeButtonPreset(), playTip), 43,
                        43, look);
        gallery.add(icon("freeze", ui_core::freezeIconSvg(), ui_core::playFreezeButtonPreset(), {}), 43, 43,
                    Look::normal, "freeze");
        gallery.add(icon("freeze", ui_core::freezeIconSvg(), ui_core::playFreezeButtonPreset(), {}), 43, 43,
                    Look::disabled);
        for (const auto look : {Look::normal, Look::hovered, Look::disabled})
            gallery.add(
                icon("saveTransferFunction", ui_core::saveIconSvg(), ui_core::saveButtonPreset(), saveTip),
                43, 43, look, look == Look::normal ? "save" : "");

        gallery.startRow("MultiLayerLogoButton", 68);
        for (const auto look : {Look::normal, Look::hovered})
        {
            auto logo = std::make_unique<ui_core::MultiLayerLogoButton>("logo");
            logo->setLayers(standInLogoLayers());
            logo->setStyle(ui_core::logoPreset());
            gallery.add(std::move(logo), 68, 68, look);
        }

        gallery.startRow("TextButton", 32);
        const auto& buttonStyle = ui_core::textButtonPreset();
        for (const auto look : buttonLooks)
        {
            auto button = std::make_unique<ui_core::TextButton>();
            button->setText(look == Look::toggled ? "Skip" : "Save");
            button->setStyle(buttonStyle);
            gallery.add(std::move(button), buttonStyle.preferredWidth, buttonStyle.preferredHeight, look);
        }
        auto wide = std::make_unique<ui_core::TextButton>();
        wide->setText("Don't Ask Again");
        wide->setStyle(buttonStyle);
        gallery.add(std::move(wide), 140, buttonStyle.preferredHeight, Look::normal, "long text");

        gallery.startRow("TextEditor", 28);
        for (const auto look : {Look::normal, Look::focused, Look::selected, Look::disabled})
        {
            auto editor = std::make_unique<ui_core::TextEditor>("artistNameEditor");
            editor->setStyle(ui_core::textEditorPreset());
            editor->setText(look == Look::normal ? "" : "Corvane Audio");
            editor->setTextToShowWhenEmpty("Your artist name", ui_core::palette().neutral5);
            gallery.add(std::move(editor), 180, ui_core::textEditorPreset().preferredHeight, look);
        }

        gallery.startRow("TextLabel", 14);
        for (const auto look : {Look::normal, Look::disabled})
        {
            auto label = std::make_unique<ui_core::TextLabel>();
            label->setText("Scale X");
            label->setStyle(ui_core::panelLabelPreset());
            const auto height = label->getPreferredHeight();
            gallery.add(std::move(label), 60, height, look);
        }

        gallery.startRow("InlineComboBox", 50);
        for (const auto look : {Look::normal, Look::hovered, Look::disabled, Look::menuOpen})
        {
            auto combo = std::make_unique<ui_core::InlineComboBox>("Algo");
            combo->addItem("ODR", 1);
            combo->addItem("Mean", 2);
            combo->setSelectedId(2);
            combo->setStyle(ui_core::comboBoxPreset());
            gallery.add(std::move(combo), 56, 50, look);
        }
        menuArea = gallery.reserve(110, 50, "its menu");

        gallery.startRow("Rotary3DKnob", 60);
        for (const auto& [look, value, caption] :
             std::vector<std::tuple<Look, double, juce::String>>{{Look::normal, 1.0, "minimum"},
                                                                 {Look::normal, 256.0, "normal"},
                                                                 {Look::normal, 1024.0, "maximum"},
                                                                 {Look::hovered, 256.0, "hovered"},
                                                                 {Look::pressed, 256.0, "pressed"},
                                                                 {Look::disabled, 256.0, "disabled"},
                                                                 {Look::editing, 256.0, "typing a value"}})
        {
            auto knob = std::make_unique<ui_core::Rotary3DKnob>();
            knob->setRange(1.0, 1024.0, 1.0);
            knob->setValue(value, juce::dontSendNotification);
            knob->setStyle(ui_core::controlPanelKnobPreset());
            knob->getTextEntry().setStyle(ui_core::textEntryPreset());
            gallery.add(std::move(knob), 60, 60, look, caption);
        }

        gallery.startRow("NumberBox", 50);
        for (const auto look : {Look::normal, Look::hovered, Look::dragged, Look::editing, Look::disabled})
        {
            auto box = std::make_unique<ui_core::NumberBox>("X Lag");
            box->setRange(0.0, 512.0, 0.01);
            box->setValue(look == Look::normal ? 0.05 : 12.34, juce::dontSendNotification);
            box->setStyle(ui_core::numberBoxPreset());
            gallery.add(std::move(box), 64, 50, look, look == Look::normal ? "0.05" : juce::String());
        }

        // Gains as a user might have set them.
        for (const auto& [id, gain] : {std::pair{"scaleX", -12.5f}, std::pair{"scaleY", 6.0f}})
            host.state.getParameter(id)->setValueNotifyingHost(
                host.state.getParameterRange(id).convertTo0to1(gain));

        gallery.startRow("ScaleDisplay", 50);

        for (const auto look : {Look::normal, Look::hovered, Look::pressed, Look::disabled})
        {
            auto display = std::make_unique<ui_core::ScaleDisplay>(host.state, "scaleX", "scaleY");
            display->setStyle(ui_core::scaleDisplayPreset());
            gallery.add(std::move(display), 122, 50, look);
        }

        gallery.startRow("SmoothingDisplay", 50);
        for (const auto look : {Look::normal, Look::hovered, Look::pressed, Look::disabled})
        {
            auto display = std::make_unique<ui_core::SmoothingDisplay>(host.state, "smoothing");
            display->setStyle(ui_core::smoothingDisplayPreset());
            gallery.add(std::move(display), 72, 50, look);
        }

        gallery.startRow("TooltipDisplayPanel", 24);
        for (auto* clock : {fittingClock, scrollingClock})
        {
            auto strip =
                std::make_unique<ui_core::TooltipDisplayPanel>(std::unique_ptr<ui_core::PollClock>(clock));
            strip->setStyle(ui_core::tooltipStripPreset());
            strip->setWatchedRoot(&gallery);
            gallery.add(std::move(strip), 320, 24, Look::normal,
                        clock == fittingClock ? "fitting text, centred" : "long text, scrolled 40 px");
        }
    }

    void park() { window->move({4.0f, 4.0f}); }

    void enter(const Gallery::Cell& cell)
    {
        auto& widget = *cell.widget;
        const auto centre = window->centreOf(widget);
        switch (cell.look)
        {
            case Look::hovered:
                window->move(centre);
                break;
            case Look::pressed:
                window->press(centre);
                break;
            case Look::dragged:
                window->press(centre);
                window->drag(centre.translated(0.0f, -12.0f));
                break;
            case Look::focused:
                widget.grabKeyboardFocus();
                break;
            case Look::selected:
                widget.grabKeyboardFocus();
                dynamic_cast<juce::TextEditor&>(widget).selectAll();
                break;
            case Look::editing:
                if (dynamic_cast<ui_core::Rotary3DKnob*>(&widget) != nullptr)
                    window->doubleClick(centre);
                else
                    window->click(centre);
                break;
            case Look::normal:
            case Look::disabled:
            case Look::toggled:
            case Look::menuOpen:
                break;
        }
    }

    void leave(const Gallery::Cell& cell)
    {
        if (cell.look == Look::pressed || cell.look == Look::dragged)
            window->release();
        if (cell.look == Look::editing)
            window->key(juce::KeyPress(juce::KeyPress::escapeKey));
        juce::Component::unfocusAllComponents();
        park();
        DesktopWindow::pump();
        window->advance(std::chrono::milliseconds(1000)); // no double-click across cells
    }

    juce::Image render(float scale)
    {
        // The states that need no mouse are set before the first picture.
        for (const auto& cell : gallery.getCells())
        {
            if (cell.look == Look::disabled)
                cell.widget->setEnabled(false);
            if (cell.look == Look::toggled)
                dynamic_cast<juce::Button&>(*cell.widget).setToggleState(true, juce::dontSendNotification);
        }

        // The tooltip strips show the tooltips of the play and save buttons.
        const auto& cells = gallery.getCells();
        const auto named = [&cells](const juce::String& name)
        {
            return std::find_if(cells.begin(), cells.end(),
                                [&](const auto& c) { return c.widget->getName() == name; })
                ->widget;
        };
        window->move(window->centreOf(*named("play")));
        fittingClock->tick();
        window->move(window->centreOf(*named("saveTransferFunction")));
        scrollingClock->tick();

        for (int i = 0; i < 60 + 40; ++i)
            scrollingClock->tick();
        park();
        DesktopWindow::pump();

        auto picture = gallery.createComponentSnapshot(gallery.getLocalBounds(), true, scale);
        juce::Graphics g(picture);
        const auto paste = [&](const juce::Image& image, juce::Point<int> at)
        { g.drawImageAt(image, juce::roundToInt(at.x * scale), juce::roundToInt(at.y * scale)); };

        for (const auto& cell : cells)
        {
            if (cell.look == Look::menuOpen)
            {
                window->click(window->centreOf(*cell.widget));
                auto* menu = testsupport::shownPopupMenu();
                EXPECT_NE(menu, nullptr);
                if (menu != nullptr)
                    paste(menu->createComponentSnapshot(menu->getLocalBounds(), true, scale),
                          menuArea.getPosition());
                juce::PopupMenu::dismissAllActiveMenus();
                leave(cell);
                continue;
            }
            if (cell.look == Look::normal || cell.look == Look::disabled || cell.look == Look::toggled)
                continue;

            enter(cell);
            const auto area = cell.widget->getBounds().expanded(4);
            paste(gallery.createComponentSnapshot(area, true, scale), area.getPosition());
            leave(cell);
        }
        return picture;
    }

    const juce::String playTip{"Continuously plot the distortion visualization."};
    const juce::String saveTip{"Save the snapshot and reuse the cloned distortion in other effects."};

    testsupport::ParameterHost host;
    testsupport::ManualPollClock* fittingClock = new testsupport::ManualPollClock();
    testsupport::ManualPollClock* scrollingClock = new testsupport::ManualPollClock();
    Gallery gallery;
    std::unique_ptr<DesktopWindow> window;
    juce::Rectangle<int> menuArea;
};

TEST_P(WidgetGallery, OnDesktopMatchesItsReference)
{
    const auto scale = GetParam();
    const auto picture = render(scale);
    EXPECT_TRUE(testsupport::matchesReference(picture, "widget-gallery@" +
                                                           juce::String(juce::roundToInt(scale)) + "x"));
}

INSTANTIATE_TEST_SUITE_P(AtScale, WidgetGallery, ::testing::Values(1.0f, 2.0f),
                         [](const auto& info) { return "x" + std::to_string(juce::roundToInt(info.param)); });
