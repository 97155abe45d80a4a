#include "editor/PluginProcessorEditor.h"

#include "controls/IconArtwork.h"
#include "controls/LogoLayerStyle.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeSettings.h"
#include "core/ParameterLayout.h"
#include "core/ParameterValues.h"
#include "editor/LogoArtwork.h"
#include "editor/NativeSaveLocationChooser.h"
#include "editor/StripControlWidths.h"
#include "visualizer/ThemedVisualizerStyle.h"

PluginProcessorEditor::PluginProcessorEditor(PluginAudioProcessor& processorToUse)
    : juce::AudioProcessorEditor(processorToUse)
    , processor(processorToUse)
    , session(processorToUse, [] { return juce::Time::getMillisecondCounter(); })
    , scaleDisplay(processorToUse.getParameterState(), ParameterIDs::scaleX, ParameterIDs::scaleY)
    , smoothingDisplay(processorToUse.getParameterState(), ParameterIDs::smoothing)
    , saveFlow(processorToUse, session, artistPrompt, notices,
               std::make_unique<ui_panels::NativeSaveLocationChooser>())
    , themeCustomisation(*this, processorToUse, [this] { applyThemeToControls(); })
{
    // The theme the user chose, before any style is built from it.
    const auto theme = processor.getUserSettings().loadThemeSettings();
    ui_core::setTheme(static_cast<float>(theme.primaryHue), static_cast<float>(theme.secondaryHue),
                      static_cast<float>(theme.primarySaturationScale),
                      static_cast<float>(theme.secondarySaturationScale), theme.glowEnabled,
                      static_cast<float>(theme.glowIntensity));
    windowLook.setColour(juce::ResizableWindow::backgroundColourId, ui_core::palette().neutral1);
    setLookAndFeel(&windowLook);
    setOpaque(true);

    createTopPanel();

    visualizer.setName("visualizer");
    visualizer.setStyle(ui_core::themedVisualizerStyle());
    addAndMakeVisible(visualizer);

    createOverlays();
    wireCallbacks();

    setGridStrength(static_cast<std::uint8_t>(processor.getUserSettings().loadGridStrength()));

    setResizable(true, false);
    setResizeLimits(600, 400, 1600, 2000);
    setSize(initialWidth, initialHeight);

    addKeyListener(this);
    setWantsKeyboardFocus(true);
    startTimer(timerIntervalMilliseconds);
}

PluginProcessorEditor::~PluginProcessorEditor()
{
    // First of all: a notification already on its way must find no callback into this window.
    processor.onTableChanged = nullptr;
    processor.onFitFinished = nullptr;
    session.onChange = nullptr;
    stopTimer();

    updateCheck.stop();
    auto& state = processor.getParameterState();
    for (const auto* id :
         {ParameterIDs::captureAlgorithm, ParameterIDs::captureLength, ParameterIDs::visualizationMode})
        state.removeParameterListener(id, this);

    glowSpill.setVisualizer(nullptr);
    for (auto* display : {static_cast<ui_core::ValueDisplay*>(&scaleDisplay),
                          static_cast<ui_core::ValueDisplay*>(&smoothingDisplay)})
    {
        display->onPopupShow = nullptr;
        display->onPopupHide = nullptr;
        display->isPointerOverPopup = nullptr;
        display->isPopupDragging = nullptr;
        display->getPopupComponent = nullptr;
    }

    // An open save dialog closes without an answer; the overlays go with their slots.
    saveFlow.closeChooser();
    removeKeyListener(this);
    logoButton.removeMouseListener(this);
    setLookAndFeel(nullptr);
}

void PluginProcessorEditor::createTopPanel()
{
    controlStrip.setName("controlStrip");
    controlStrip.setStyle(ui_panels::stripPreset());
    controlStrip.setSize(600, 40);
    addAndMakeVisible(controlStrip);

    logoButton.setStyle(ui_core::logoPreset());
    logoButton.setLayers(ui_panels::logoLayers());
    logoButton.setSize(EditorLayout::logoSize, EditorLayout::logoSize);
    logoButton.setTooltip(juce::String("Corvane Veltrane Probe v") + VELTRANE_PRODUCT_VERSION);
    addAndMakeVisible(logoButton);

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
        addAndMakeVisible(b.button);
    }

    scaleDisplay.setName("scaleDisplay");
    scaleDisplay.setStyle(ui_core::scaleDisplayPreset());
    scaleDisplay.setTooltip("Scale controls.");
    scaleDisplay.setSize(122, EditorLayout::rowHeight);
    addAndMakeVisible(scaleDisplay);

    scalePanel.setName("scalePanel");
    scalePanel.setStyle(ui_panels::scalePanelPreset());
    scalePanel.setAlwaysOnTop(true);
    addChildComponent(scalePanel);

    auto lagStyle = ui_core::numberBoxPreset();
    lagStyle.suffix = {};
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
        l.box.setStyle(lagStyle);
        l.box.setRange(0.0, 512.0, 0.01);
        l.box.setTooltip(l.tooltip);
        addAndMakeVisible(l.box);
    }

    smoothingDisplay.setName("smoothingDisplay");
    smoothingDisplay.setStyle(ui_core::smoothingDisplayPreset());
    smoothingDisplay.setTooltip("Apply a smoothing window to tame noisy captures.");
    smoothingDisplay.setSize(72, EditorLayout::rowHeight);
    addAndMakeVisible(smoothingDisplay);

    smoothingPanel.setName("smoothingPanel");
    smoothingPanel.setStyle(ui_panels::smoothingPanelPreset());
    smoothingPanel.setAlwaysOnTop(true);
    addChildComponent(smoothingPanel);

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
        addAndMakeVisible(c.combo);
    }

    measureControls();

    wirePopup(scaleDisplay, scalePanel, {&scalePanel.getXKnob(), &scalePanel.getYKnob()});
    wirePopup(smoothingDisplay, smoothingPanel, {&smoothingPanel.getKnob()});
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

    updateControlStates();
}

void PluginProcessorEditor::measureControls()
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

void PluginProcessorEditor::wirePopup(ui_core::ValueDisplay& display, juce::Component& panel,
                                      std::vector<juce::Component*> knobs)
{
    display.onPopupShow = [this, &display, &panel]
    {
        if (!display.isEnabled())
            return;
        panel.setVisible(true);
        resized();
    };
    display.onPopupHide = [this, &panel]
    {
        panel.setVisible(false);
        resized();
    };
    display.isPointerOverPopup = [&panel] { return panel.isVisible() && ui_panels::isPointerOver(panel); };
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

void PluginProcessorEditor::createOverlays()
{
    glowSpill.setName("glowSpill");
    glowSpill.setInterceptsMouseClicks(false, false);
    addAndMakeVisible(glowSpill);
    glowSpill.setVisualizer(&visualizer);

    tooltipPanel.setName("tooltipPanel");
    tooltipPanel.setStyle(ui_core::tooltipStripPreset());
    tooltipPanel.setWatchedRoot(this);
    addAndMakeVisible(tooltipPanel);

    warningOverlay.setName("warningOverlay");
    warningOverlay.setStyle(ui_panels::warningOverlayPreset());
    warningOverlay.setTitle(ui_panels::WarningTexts::title);
    warningOverlay.setDescription(ui_panels::WarningTexts::description);
    warningOverlay.setInstructions(ui_panels::WarningTexts::instructions);
    warningOverlay.setVisible(false);
    warningOverlay.setAlwaysOnTop(true);
    addChildComponent(warningOverlay);

    reportReadout.setName("fitReport");
    addChildComponent(reportReadout);
}

void PluginProcessorEditor::wireCallbacks()
{
    playButton.onClick = [this] { play(); };
    freezeButton.onClick = [this] { freeze(); };
    saveButton.onClick = [this] { requestSave(); };
    logoButton.addMouseListener(this, false);
    processor.onTableChanged = [this] { refreshCurveFromTable(); };
    processor.onFitFinished = [this] { session.fitFinished(); };
    session.onChange = [this] { showMeasurementState(); };
    notices.onMeasurementButton = [this](int button) { session.answerNotice(button); };
    contextMenu.onGridStrength = [this](std::uint8_t strength) { setGridStrength(strength); };
    contextMenu.onDisplayMode = [this](std::uint8_t mode) { setDisplayMode(mode); };

    auto& state = processor.getParameterState();
    const auto bind =
        [&state](std::unique_ptr<SliderAttachment>& attachment, const char* id, juce::Slider& slider)
    {
        // A missing parameter leaves the control working unbound.
        if (state.getParameter(id) != nullptr)
            attachment = std::make_unique<SliderAttachment>(state, id, slider);
    };
    bind(scaleXAttachment, ParameterIDs::scaleX, scalePanel.getXKnob());
    bind(scaleYAttachment, ParameterIDs::scaleY, scalePanel.getYKnob());
    bind(latencyXAttachment, ParameterIDs::latencyX, xLagBox);
    bind(latencyYAttachment, ParameterIDs::latencyY, yLagBox);
    bind(smoothingAttachment, ParameterIDs::smoothing, smoothingPanel.getKnob());

    using ui_panels::InlineComboBoxAttachment;
    algorithmAttachment =
        std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::captureAlgorithm, algorithmCombo);
    captureSizeAttachment =
        std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::captureLength, captureSizeCombo);
    modeAttachment =
        std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::visualizationMode, modeCombo);
    windowSizeAttachment =
        std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::timeWindow, windowSizeCombo);

    for (const auto* id :
         {ParameterIDs::captureAlgorithm, ParameterIDs::captureLength, ParameterIDs::visualizationMode})
        state.addParameterListener(id, this);

    visualizer.onMouseEvent = [this](const juce::MouseEvent& event, const juce::String& name)
    {
        if (name == "mouseDown" && event.mods.isRightButtonDown())
            showVisualizerContextMenu(event);
    };

    smoothingPanel.getKnob().onValueChange = [this] { session.smoothingMoved(); };
}

void PluginProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(findColour(juce::ResizableWindow::backgroundColourId));
}

EditorLayout PluginProcessorEditor::currentLayout() const
{
    EditorLayout::Input in;
    in.width = getWidth();
    in.height = getHeight();
    in.scaleWidth = scaleDisplay.getWidth();
    in.smoothingWidth = smoothingDisplay.getWidth();
    in.lagWidth = lagWidth;
    in.algorithmWidth = algorithmWidth;
    in.captureSizeWidth = captureSizeWidth;
    in.modeWidth = modeWidth;
    in.windowSizeWidth = windowSizeWidth;
    in.frozen = session.isFrozen();
    if (warningOverlay.isVisible())
        in.warningHeight = warningOverlay.getPreferredHeight();
    in.scalePanelShown = scalePanel.isVisible();
    in.smoothingPanelShown = smoothingPanel.isVisible();
    return EditorLayout::compute(in);
}

void PluginProcessorEditor::resized()
{
    const auto l = currentLayout();
    controlStrip.setBounds(l.strip);
    logoButton.setBounds(l.logo);
    tooltipPanel.setBounds(l.tooltip);
    playButton.setBounds(l.play);
    freezeButton.setBounds(l.freeze);
    saveButton.setBounds(l.save);

    smoothingDisplay.setBounds(l.smoothingDisplay);
    if (session.isFrozen())
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

    // The glow spill follows the visualizer by itself.
    visualizer.setBounds(l.visualizer);

    if (warningOverlay.isVisible())
        warningOverlay.setBounds(l.warning);
    if (scalePanel.isVisible())
        scalePanel.setBounds(l.scalePanel);
    if (smoothingPanel.isVisible())
        smoothingPanel.setBounds(l.smoothingPanel);

    logoMenu.layout();
    themeCustomisation.layout();
    updateCheck.layout();
    artistPrompt.layout();
    notices.layout();
    placeReportReadout();
}

void PluginProcessorEditor::mouseEnter(const juce::MouseEvent& event)
{
    // While a dialog or the theme card is open, the logo leads nowhere else.
    if (event.eventComponent == &logoButton && logoMenu.get() == nullptr &&
        themeCustomisation.get() == nullptr && updateCheck.get() == nullptr && artistPrompt.get() == nullptr)
        showLogoMenu();
}

bool PluginProcessorEditor::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    // By key code and modifier: on Windows a Ctrl combination carries no text character.
    if (key != juce::KeyPress('s', juce::ModifierKeys::commandModifier, 0))
        return false;
    if (session.canSave())
        requestSave();
    return true;
}

void PluginProcessorEditor::parameterChanged(const juce::String& parameterID, float)
{
    // The host may call this on its audio thread: flags only, no lock, no allocation, no component.
    if (parameterID == ParameterIDs::visualizationMode)
    {
        if (std::this_thread::get_id() == messageThread)
            updateWindowSizeEnablement();
        else
            windowSizeEnablementDue.store(true);
    }
    else
    {
        session.settingChanged();
    }
}

void PluginProcessorEditor::play()
{
    saveFlow.dropQuestion();
    // The plot shows the frozen curve: the next tick feeds the live view again even without new audio.
    liveFeed.invalidate();
    session.play();
}

void PluginProcessorEditor::freeze()
{
    saveFlow.dropQuestion();
    session.freeze();
}

void PluginProcessorEditor::showMeasurementState()
{
    updateControlStates();
    notices.setMeasurementNotice(session.getNotice());
    reportReadout.setReport(session.getReport(), session.getReportLatencyInUse());
    placeReportReadout();
}

void PluginProcessorEditor::updateControlStates()
{
    const auto isFrozenNow = session.isFrozen();
    playButton.setEnabled(isFrozenNow);
    freezeButton.setEnabled(!isFrozenNow);
    updateSaveEnablement();

    smoothingDisplay.setEnabled(isFrozenNow);
    if (!isFrozenNow)
    {
        smoothingPanel.setVisible(false);
        smoothingDisplay.clearPopupShown();
    }
    scaleDisplay.setEnabled(!isFrozenNow);
    if (isFrozenNow)
    {
        scalePanel.setVisible(false);
        scaleDisplay.clearPopupShown();
    }
    xLagBox.setEnabled(!isFrozenNow);
    yLagBox.setEnabled(!isFrozenNow);

    algorithmCombo.setVisible(isFrozenNow);
    captureSizeCombo.setVisible(isFrozenNow);
    modeCombo.setVisible(!isFrozenNow);
    windowSizeCombo.setVisible(!isFrozenNow);

    updateWindowSizeEnablement();
    resized();
}

void PluginProcessorEditor::updateSaveEnablement()
{
    saveButton.setEnabled(session.canSave());
}

void PluginProcessorEditor::updateWindowSizeEnablement()
{
    windowSizeCombo.setEnabled(
        ParameterValues::choiceIndex(processor.getParameterState(), ParameterIDs::visualizationMode, 1) == 1);
}

void PluginProcessorEditor::setGridStrength(std::uint8_t strength)
{
    const auto previous = gridStrength;
    gridStrength = strength;
    visualizer.setGridStrength(strength == 0   ? ui_core::WaveformVisualizer::GridStrength::faint
                               : strength == 1 ? ui_core::WaveformVisualizer::GridStrength::medium
                                               : ui_core::WaveformVisualizer::GridStrength::strong);
    if (strength != previous)
        processor.getUserSettings().saveGridStrength(std::min<int>(strength, 2));
}

void PluginProcessorEditor::setDisplayMode(std::uint8_t mode)
{
    displayMode = mode;
    visualizer.setDisplayMode(mode == 1 ? ui_core::WaveformVisualizer::DisplayMode::scatter
                                        : ui_core::WaveformVisualizer::DisplayMode::segments);
}

void PluginProcessorEditor::applyThemeToControls()
{
    windowLook.setColour(juce::ResizableWindow::backgroundColourId, ui_core::palette().neutral1);
    controlStrip.setStyle(ui_panels::stripPreset());
    logoButton.setStyle(ui_core::logoPreset());
    playButton.setStyle(ui_core::playFreezeButtonPreset());
    freezeButton.setStyle(ui_core::playFreezeButtonPreset());
    saveButton.setStyle(ui_core::saveButtonPreset());
    scaleDisplay.setStyle(ui_core::scaleDisplayPreset());
    scalePanel.setStyle(ui_panels::scalePanelPreset());
    auto lagStyle = ui_core::numberBoxPreset();
    lagStyle.suffix = {};
    xLagBox.setStyle(lagStyle);
    yLagBox.setStyle(lagStyle);
    smoothingDisplay.setStyle(ui_core::smoothingDisplayPreset());
    smoothingPanel.setStyle(ui_panels::smoothingPanelPreset());
    visualizer.setStyle(ui_core::themedVisualizerStyle());
    tooltipPanel.setStyle(ui_core::tooltipStripPreset());
    themeCustomisation.restyle();
    updateCheck.restyle();
    repaint();
}

void PluginProcessorEditor::timerCallback()
{
    logoMenu.closeIfPointerLeft();
    if (windowSizeEnablementDue.exchange(false))
        updateWindowSizeEnablement();
    updateWarningVisibility();
    session.tick();
    feedLiveView();
}

void PluginProcessorEditor::updateWarningVisibility()
{
    const auto timeView =
        ParameterValues::choiceIndex(processor.getParameterState(), ParameterIDs::visualizationMode, 1) == 1;
    const auto show = !processor.isSidechainConnected() && !session.isFrozen() && !timeView;
    if (warningOverlay.isVisible() == show)
        return;
    warningOverlay.setVisible(show);
    if (show)
        resized();
}

void PluginProcessorEditor::feedLiveView()
{
    if (session.isFrozen())
        return;

    // Nothing new captured and no setting changed: the view already shows what a new copy would.
    if (!liveFeed.update(processor.getCaptureBuffer(),
                         ui_panels::LiveViewSettings::from(processor.getParameterState())))
        return;

    if (liveFeed.showsTraces())
    {
        visualizer.setTraces(liveFeed.getTraceX(), liveFeed.getTraceY());
    }
    else
    {
        visualizer.setPoints(liveFeed.getPoints());
        visualizer.clearTraces();
    }
}

void PluginProcessorEditor::refreshCurveFromTable()
{
    ++curveRefreshes;
    if (!session.isFrozen())
    {
        // The live view shows live data; the table is shown when the next freeze's fit arrives.
        liveFeed.invalidate();
        return;
    }
    if (!session.tableChanged())
        return;

    const auto& table = processor.getTransferFunction();
    curvePoints.resize(static_cast<std::size_t>(TransferFunctionTable::size));
    for (int i = 0; i < TransferFunctionTable::size; ++i)
        curvePoints[static_cast<std::size_t>(i)] = {TransferFunctionTable::xAt(i), table.get(i)};
    visualizer.setPoints(curvePoints);
    placeReportReadout();
}

void PluginProcessorEditor::placeReportReadout()
{
    if (!reportReadout.isVisible())
        return;

    // In the first corner of the plot that the curve keeps clear of.
    const auto data = visualizer.getDataBounds().translated(static_cast<float>(visualizer.getX()),
                                                            static_cast<float>(visualizer.getY()));
    const auto size = reportReadout.getPreferredSize().toFloat();
    const auto inset = data.reduced(8.0f);
    const juce::Rectangle<float> corners[] = {
        size.withPosition(inset.getRight() - size.getWidth(), inset.getBottom() - size.getHeight()),
        size.withPosition(inset.getX(), inset.getBottom() - size.getHeight()),
        size.withPosition(inset.getX(), inset.getY()),
        size.withPosition(inset.getRight() - size.getWidth(), inset.getY()),
    };
    const auto crosses = [this, &data](juce::Rectangle<float> area)
    {
        for (std::size_t i = 0; i < curvePoints.size(); i += 32)
        {
            const auto& p = curvePoints[i];
            const auto at = juce::Point<float>(
                data.getX() + static_cast<float>((p.x + 1.0) / 2.0) * data.getWidth(),
                data.getBottom() - static_cast<float>((p.y + 1.0) / 2.0) * data.getHeight());
            if (area.expanded(4.0f).contains(at))
                return true;
        }
        return false;
    };
    auto chosen = corners[0];
    for (const auto& corner : corners)
        if (!crosses(corner))
        {
            chosen = corner;
            break;
        }
    reportReadout.setBounds(chosen.getSmallestIntegerContainer());
}

void PluginProcessorEditor::showArtistNameDialog(bool forSaving)
{
    if (forSaving)
        artistPrompt.show(true, [this] { saveTransferFunction(); });
    else
        artistPrompt.show(false);
}

void PluginProcessorEditor::showLogoMenu()
{
    logoMenu.show({
        {"logoMenuArtist", "Set Artist Name...", [this] { showArtistNameDialog(false); }},
        {"logoMenuTheme", "Customize Colors...", [this] { showThemeOverlay(); }},
        {"logoMenuUpdate", "Check for Updates...", [this] { checkForUpdates(); }},
    });
}

void PluginProcessorEditor::showVisualizerContextMenu(const juce::MouseEvent& click)
{
    contextMenu.show(visualizer, click, gridStrength, displayMode);
}
