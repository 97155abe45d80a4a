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
#include "visualizer/PlotReadout.h"
#include "visualizer/ThemedVisualizerStyle.h"

PluginProcessorEditor::PluginProcessorEditor(PluginAudioProcessor& processorToUse)
    : juce::AudioProcessorEditor(processorToUse)
    , processor(processorToUse)
    , session(processorToUse, [] { return juce::Time::getMillisecondCounter(); })
    , strip(processorToUse.getParameterState())
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

    strip.addTo(*this, [this] { resized(); });
    updateControlStates();

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
    strip.detachPopups();

    // An open save dialog closes without an answer; the overlays go with their slots.
    saveFlow.closeChooser();
    removeKeyListener(this);
    strip.logoButton.removeMouseListener(this);
    setLookAndFeel(nullptr);
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
    strip.playButton.onClick = [this] { play(); };
    strip.freezeButton.onClick = [this] { freeze(); };
    strip.saveButton.onClick = [this] { requestSave(); };
    strip.logoButton.addMouseListener(this, false);
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
    bind(scaleXAttachment, ParameterIDs::scaleX, strip.scalePanel.getXKnob());
    bind(scaleYAttachment, ParameterIDs::scaleY, strip.scalePanel.getYKnob());
    bind(latencyXAttachment, ParameterIDs::latencyX, strip.xLagBox);
    bind(latencyYAttachment, ParameterIDs::latencyY, strip.yLagBox);
    bind(smoothingAttachment, ParameterIDs::smoothing, strip.smoothingPanel.getKnob());

    using ui_panels::InlineComboBoxAttachment;
    algorithmAttachment = std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::captureAlgorithm,
                                                                     strip.algorithmCombo);
    captureSizeAttachment = std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::captureLength,
                                                                       strip.captureSizeCombo);
    modeAttachment =
        std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::visualizationMode, strip.modeCombo);
    windowSizeAttachment =
        std::make_unique<InlineComboBoxAttachment>(state, ParameterIDs::timeWindow, strip.windowSizeCombo);

    for (const auto* id :
         {ParameterIDs::captureAlgorithm, ParameterIDs::captureLength, ParameterIDs::visualizationMode})
        state.addParameterListener(id, this);

    visualizer.onMouseEvent = [this](const juce::MouseEvent& event, const juce::String& name)
    {
        if (name == "mouseDown" && event.mods.isRightButtonDown())
            showVisualizerContextMenu(event);
        else if (name == "mouseMove" || name == "mouseDrag")
            showPlotReadout(event.position);
        else if (name == "mouseExit")
            visualizer.setTooltip({});
    };

    strip.smoothingPanel.getKnob().onValueChange = [this] { session.smoothingMoved(); };
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
    strip.fillLayoutInput(in);
    in.frozen = session.isFrozen();
    if (warningOverlay.isVisible())
        in.warningHeight = warningOverlay.getPreferredHeight();
    return EditorLayout::compute(in);
}

void PluginProcessorEditor::resized()
{
    const auto l = currentLayout();
    strip.place(l, session.isFrozen());
    tooltipPanel.setBounds(l.tooltip);
    // The glow spill follows the visualizer by itself.
    visualizer.setBounds(l.visualizer);
    if (warningOverlay.isVisible())
        warningOverlay.setBounds(l.warning);

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
    if (event.eventComponent == &strip.logoButton && logoMenu.get() == nullptr &&
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
    strip.setFrozen(session.isFrozen(), session.canSave());
    updateWindowSizeEnablement();
    resized();
}

void PluginProcessorEditor::updateWindowSizeEnablement()
{
    strip.windowSizeCombo.setEnabled(
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
    strip.applyTheme();
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
    // The traces under a resting pointer have moved on.
    if (visualizer.isMouseOver())
        showPlotReadout(visualizer.getMouseXYRelative().toFloat());
}

void PluginProcessorEditor::showPlotReadout(juce::Point<float> pointer)
{
    // The tooltip line shows it; the plot is not repainted for it.
    const ui_core::PlotReadout readout(visualizer.getDataBounds());
    if (visualizer.isTimeMode())
        visualizer.setTooltip(readout.traces(pointer, visualizer.getTraceX(), visualizer.getTraceY(),
                                             processor.getSampleRate()));
    else if (session.isFrozen() && session.hasCurveOfThisFreeze())
        visualizer.setTooltip(readout.curve(pointer, curvePoints));
    else
        visualizer.setTooltip(readout.pairs(pointer));
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
    if (reportReadout.isVisible())
        reportReadout.setBounds(ui_panels::FitReportReadout::placeBeside(
            curvePoints,
            visualizer.getDataBounds().translated(static_cast<float>(visualizer.getX()),
                                                  static_cast<float>(visualizer.getY())),
            reportReadout.getPreferredSize()));
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
