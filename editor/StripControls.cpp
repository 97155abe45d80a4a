#include "editor/StripControls.h"

#include "controls/IconArtwork.h"
#include "controls/LogoLayerStyle.h"
#include "core/ParameterLayout.h"
#include "editor/LogoArtwork.h"
#include "editor/LogoMenu.h"
#include "editor/PopupPanelStyle.h"
#include "editor/StripControlWidths.h"

namespace ui_panels
{
namespace
{
ui_core::NumberBoxStyle lagBoxStyle()
{
    auto style = ui_core::numberBoxPreset();
    style.suffix = {};
    return style;
}
} // namespace

StripControls::StripControls(juce::AudioProcessorValueTreeState& state)
    : scaleDisplay(state, ParameterIDs::scaleX, ParameterIDs::scaleY)
    , smoothingDisplay(state, ParameterIDs::smoothing)
{
}

void StripControls::addTo(juce::Component& window, std::function<void()> relayout)
{
    controlStrip.setName("controlStrip");
    controlStrip.setStyle(stripPreset());
    controlStrip.setSize(600, 40);
    window.addAndMakeVisible(controlStrip);

    logoButton.setStyle(ui_core::logoPreset());
    logoButton.setLayers(ui_panels::logoLayers());
    logoButton.setSize(EditorLayout::logoSize, EditorLayout::logoSize);
    logoButton.setTooltip(juce::String("Corvane Veltrane Probe v") + VELTRANE_PRODUCT_VERSION);
    window.addAndMakeVisible(logoButton);

    const struct
    {
        ui_core::IconButton& button;
        ui_core::IconButtonStyle style;
        juce::String icon;
        const char* tooltip;
    } buttons[] = {
        {playButton, ui_core::playFreezeButtonPreset(), ui_core::playIconSvg(),
         "Continuously plot the distortion visualization."},
        {freezeButton, ui_core::playFreezeButtonPreset(), ui_core::freezeIconSvg(),
         "Capture snapshot of the distortion."},
        {saveButton, ui_core::saveButtonPreset(), ui_core::saveIconSvg(),
         "Save the snapshot and reuse the cloned distortion in other effects."},
    };
    for (const auto& b : buttons)
    {
        b.button.setStyle(b.style);
        b.button.setIcon(b.icon);
        b.button.setTooltip(b.tooltip);
        b.button.setSize(EditorLayout::buttonSize, EditorLayout::buttonSize);
        window.addAndMakeVisible(b.button);
    }

    scaleDisplay.setName("scaleDisplay");
    scaleDisplay.setStyle(ui_core::scaleDisplayPreset());
    scaleDisplay.setTooltip("Scale controls.");
    scaleDisplay.setSize(122, EditorLayout::rowHeight);
    window.addAndMakeVisible(scaleDisplay);

    scalePanel.setName("scalePanel");
    scalePanel.setStyle(scalePanelPreset());
    scalePanel.setAlwaysOnTop(true);
    window.addChildComponent(scalePanel);

    const struct
    {
        ui_core::NumberBox& box;
        const char* name;
        const char* tooltip;
    } lagBoxes[] = {
        {xLagBox, "xLagBox", "Sample delay amount - latency compensation for sidechain input."},
        {yLagBox, "yLagBox", "Sample delay amount - latency compensation for main input."},
    };
    for (const auto& l : lagBoxes)
    {
        l.box.setName(l.name);
        l.box.setStyle(lagBoxStyle());
        l.box.setRange(0.0, 512.0, 0.01);
        l.box.setTooltip(l.tooltip);
        window.addAndMakeVisible(l.box);
    }

    smoothingDisplay.setName("smoothingDisplay");
    smoothingDisplay.setStyle(ui_core::smoothingDisplayPreset());
    smoothingDisplay.setTooltip("Apply a smoothing window to tame noisy captures.");
    smoothingDisplay.setSize(72, EditorLayout::rowHeight);
    window.addAndMakeVisible(smoothingDisplay);

    smoothingPanel.setName("smoothingPanel");
    smoothingPanel.setStyle(smoothingPanelPreset());
    smoothingPanel.setAlwaysOnTop(true);
    window.addChildComponent(smoothingPanel);

    const struct
    {
        ui_core::InlineComboBox& combo;
        const char* name;
        juce::StringArray items;
        const char* tooltip;
    } combos[] = {
        {algorithmCombo,
         "algorithmCombo",
         {"ODR", "Mean"},
         "Algorithm used to estimate the transfer function from captured samples."},
        {captureSizeCombo,
         "captureSizeCombo",
         {"16k", "32k", "64k", "128k"},
         "Number of samples used to fit the curve. More samples takes longer to capture but considers more "
         "context."},
        {modeCombo,
         "modeCombo",
         {"tfunc", "time"},
         "tfunc: X vs Y transfer function plot. time: time-domain scope of both inputs."},
        {windowSizeCombo,
         "windowSizeCombo",
         {"500", "1k", "2k", "4k", "8k"},
         "Time-domain window length in samples (only used in time mode)."},
    };
    for (const auto& c : combos)
    {
        c.combo.setName(c.name);
        for (int i = 0; i < c.items.size(); ++i)
            c.combo.addItem(c.items[i], i + 1);
        c.combo.setTooltip(c.tooltip);
        c.combo.setStyle(ui_core::comboBoxPreset());
        window.addAndMakeVisible(c.combo);
    }

    measure();

    wirePopup(scaleDisplay, scalePanel, {&scalePanel.getXKnob(), &scalePanel.getYKnob()}, relayout);
    wirePopup(smoothingDisplay, smoothingPanel, {&smoothingPanel.getKnob()}, relayout);
    scalePanel.setVisible(false);
    smoothingPanel.setVisible(false);
    scaleDisplay.clearPopupShown();
    smoothingDisplay.clearPopupShown();

    // Tab walks the strip from left to right, each read-out followed by its card. Without an order
    // the framework would visit the always-on-top cards first, so Tab out of a card would jump back
    // to the start of the strip.
    int order = 1;
    for (auto* control : std::initializer_list<juce::Component*>{
             &logoButton, &playButton, &freezeButton, &saveButton, &scaleDisplay, &scalePanel, &xLagBox,
             &yLagBox, &algorithmCombo, &modeCombo, &captureSizeCombo, &windowSizeCombo, &smoothingDisplay,
             &smoothingPanel})
        control->setExplicitFocusOrder(order++);
}

void StripControls::measure()
{
    lagWidth = StripControlWidths::numberBox(xLagBox.getStyle(), "X Lag");
    xLagBox.setSize(lagWidth, EditorLayout::rowHeight);
    yLagBox.setSize(lagWidth, EditorLayout::rowHeight);

    const auto& comboStyle = algorithmCombo.getStyle();
    // Each pair shares one place, one combo in each state, so both take the wider width.
    algorithmWidth = modeWidth = std::max(StripControlWidths::comboBox(comboStyle, "Algo", "Mean"),
                                          StripControlWidths::comboBox(comboStyle, "Mode", "tfunc"));
    captureSizeWidth = windowSizeWidth = std::max(StripControlWidths::comboBox(comboStyle, "Size", "128k"),
                                                  StripControlWidths::comboBox(comboStyle, "Size", "500"));
}

void StripControls::wirePopup(ui_core::ValueDisplay& display, juce::Component& panel,
                              std::vector<juce::Component*> knobs, std::function<void()> relayout)
{
    display.onPopupShow = [relayout, &display, &panel]
    {
        if (!display.isEnabled())
            return;
        panel.setVisible(true);
        relayout();
    };
    display.onPopupHide = [relayout, &panel]
    {
        panel.setVisible(false);
        relayout();
    };
    display.isPointerOverPopup = [&panel] { return panel.isVisible() && isPointerOver(panel); };
    display.isPopupDragging = [&panel, knobs]
    {
        if (!panel.isVisible())
            return false;
        for (auto* knob : knobs)
            if (knob->isMouseButtonDown())
                return true;
        return false;
    };
    display.getPopupComponent = [&panel] { return &panel; };
}

void StripControls::detachPopups()
{
    for (auto* display : {static_cast<ui_core::ValueDisplay*>(&scaleDisplay),
                          static_cast<ui_core::ValueDisplay*>(&smoothingDisplay)})
    {
        display->onPopupShow = nullptr;
        display->onPopupHide = nullptr;
        display->isPointerOverPopup = nullptr;
        display->isPopupDragging = nullptr;
        display->getPopupComponent = nullptr;
    }
}

void StripControls::applyTheme()
{
    controlStrip.setStyle(stripPreset());
    logoButton.setStyle(ui_core::logoPreset());
    playButton.setStyle(ui_core::playFreezeButtonPreset());
    freezeButton.setStyle(ui_core::playFreezeButtonPreset());
    saveButton.setStyle(ui_core::saveButtonPreset());
    scaleDisplay.setStyle(ui_core::scaleDisplayPreset());
    scalePanel.setStyle(scalePanelPreset());
    xLagBox.setStyle(lagBoxStyle());
    yLagBox.setStyle(lagBoxStyle());
    smoothingDisplay.setStyle(ui_core::smoothingDisplayPreset());
    smoothingPanel.setStyle(smoothingPanelPreset());
}

void StripControls::setFrozen(bool frozen, bool canSave)
{
    playButton.setEnabled(frozen);
    freezeButton.setEnabled(!frozen);
    saveButton.setEnabled(canSave);

    smoothingDisplay.setEnabled(frozen);
    if (!frozen)
    {
        smoothingPanel.setVisible(false);
        smoothingDisplay.clearPopupShown();
    }
    scaleDisplay.setEnabled(!frozen);
    if (frozen)
    {
        scalePanel.setVisible(false);
        scaleDisplay.clearPopupShown();
    }
    xLagBox.setEnabled(!frozen);
    yLagBox.setEnabled(!frozen);

    algorithmCombo.setVisible(frozen);
    captureSizeCombo.setVisible(frozen);
    modeCombo.setVisible(!frozen);
    windowSizeCombo.setVisible(!frozen);
}

void StripControls::fillLayoutInput(EditorLayout::Input& in) const
{
    in.scaleWidth = scaleDisplay.getWidth();
    in.smoothingWidth = smoothingDisplay.getWidth();
    in.lagWidth = lagWidth;
    in.algorithmWidth = algorithmWidth;
    in.captureSizeWidth = captureSizeWidth;
    in.modeWidth = modeWidth;
    in.windowSizeWidth = windowSizeWidth;
    in.scalePanelShown = scalePanel.isVisible();
    in.smoothingPanelShown = smoothingPanel.isVisible();
}

void StripControls::place(const EditorLayout& l, bool frozen)
{
    controlStrip.setBounds(l.strip);
    logoButton.setBounds(l.logo);
    playButton.setBounds(l.play);
    freezeButton.setBounds(l.freeze);
    saveButton.setBounds(l.save);

    smoothingDisplay.setBounds(l.smoothingDisplay);
    if (frozen)
    {
        captureSizeCombo.setBounds(l.captureSize);
        algorithmCombo.setBounds(l.algorithm);
    }
    else
    {
        windowSizeCombo.setBounds(l.windowSize);
        modeCombo.setBounds(l.mode);
    }
    yLagBox.setBounds(l.yLag);
    xLagBox.setBounds(l.xLag);
    scaleDisplay.setBounds(l.scaleDisplay);

    if (scalePanel.isVisible())
        scalePanel.setBounds(l.scalePanel);
    if (smoothingPanel.isVisible())
        smoothingPanel.setBounds(l.smoothingPanel);
}
} // namespace ui_panels
