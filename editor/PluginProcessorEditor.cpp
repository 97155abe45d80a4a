#include "editor/PluginProcessorEditor.h"

#include "controls/DeferredDeletion.h"
#include "controls/IconArtwork.h"
#include "controls/LogoLayerStyle.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeSettings.h"
#include "core/ParameterLayout.h"
#include "core/ParameterValues.h"
#include "editor/LogoArtwork.h"
#include "editor/NativeSaveLocationChooser.h"
#include "editor/PresetSaveTarget.h"
#include "editor/StripControlWidths.h"
#include "editor/ThemeOverlayStyle.h"
#include "estimation/BinSmoothing.h"
#include "update/UpdateServer.h"
#include "visualizer/ThemedVisualizerStyle.h"

#include <exception>

namespace
{
const juce::String saveDialogTitle = "Save Transfer Function";

// The plot's context menu entries.
enum ContextMenuItem
{
    gridFaint = 101,
    gridMedium = 102,
    gridStrong = 103,
    displaySegments = 201,
    displayScatter = 202
};

// Whether the pointer is over the component now; asked by timers, between mouse events.
bool isPointerOver(const juce::Component& component)
{
    return component.getLocalBounds().contains(component.getMouseXYRelative());
}
} // namespace

PluginProcessorEditor::PluginProcessorEditor(PluginAudioProcessor& processorToUse)
    : juce::AudioProcessorEditor(processorToUse)
    , processor(processorToUse)
    , scaleDisplay(processorToUse.getParameterState(), ParameterIDs::scaleX, ParameterIDs::scaleY)
    , smoothingDisplay(processorToUse.getParameterState(), ParameterIDs::smoothing)
    , updateServerBaseUrl(update_check::configuredUpdateServerBaseUrl())
    , saveChooser(std::make_unique<ui_panels::NativeSaveLocationChooser>())
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
    // First of all: a table change already on its way must find no callback into this window.
    processor.onTableChanged = nullptr;
    stopTimer();

    // A request still waiting for the server is asked to stop, given up to 500 ms, and otherwise left
    // to end by its own time limits; its answer no longer finds this window.
    update_check::UpdateCheckThread::stopAndRelease(std::move(updateThread));
    logoMenu.reset();
    themeOverlay.reset();
    updateOverlay.reset();

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

    // An open save dialog closes without an answer; overlays already dismissed are deleted by the
    // calls that hold them.
    saveChooser.reset();
    if (artistDialogOverlay != nullptr)
        removeChildComponent(artistDialogOverlay.get());
    if (notice != nullptr)
        removeChildComponent(notice.get());
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
}

void PluginProcessorEditor::wireCallbacks()
{
    playButton.onClick = [this] { play(); };
    freezeButton.onClick = [this] { freeze(); };
    saveButton.onClick = [this] { requestSave(); };
    logoButton.addMouseListener(this, false);
    processor.onTableChanged = [this] { refreshCurveFromTable(); };

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

    smoothingPanel.getKnob().onValueChange = [this]
    {
        if (!frozen.load())
            return;
        smoothingDirty = true;
        smoothingChangedAt = juce::Time::getMillisecondCounter();
    };
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
    in.frozen = frozen.load();
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
    if (frozen.load())
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

    if (logoMenu != nullptr)
        logoMenu->setTopLeftPosition(logoButton.getX(), logoButton.getY() - logoMenu->getHeight());
    if (themeOverlay != nullptr)
        themeOverlay->setBounds(getLocalBounds());
    if (updateOverlay != nullptr)
        updateOverlay->setBounds(getLocalBounds());
    if (artistDialogOverlay != nullptr)
        artistDialogOverlay->setBounds(getLocalBounds());
    if (notice != nullptr)
    {
        const auto width = std::min(ui_panels::NoticePanel::maximumWidth, std::max(getWidth() - 16, 0));
        notice->setBounds((getWidth() - width) / 2, 16, width, notice->getPreferredHeight(width));
    }
}

void PluginProcessorEditor::mouseEnter(const juce::MouseEvent& event)
{
    // While a dialog or the theme card is open, the logo leads nowhere else.
    if (event.eventComponent == &logoButton && logoMenu == nullptr && themeOverlay == nullptr &&
        updateOverlay == nullptr && artistDialogOverlay == nullptr)
        showLogoMenu();
}

bool PluginProcessorEditor::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    // By key code and modifier: on Windows a Ctrl combination carries no text character.
    if (key != juce::KeyPress('s', juce::ModifierKeys::commandModifier, 0))
        return false;
    if (frozen.load() && freezeCurveArrived)
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
    else if (frozen.load())
    {
        refitRequested.store(true);
    }
}

void PluginProcessorEditor::play()
{
    frozen.store(false);
    snapshotPending = false;
    freezeRefitStarted = false;
    freezeCurveArrived = false;
    ++curveGeneration;
    // The plot shows the frozen curve: the next tick feeds the live view again even without new audio.
    liveFeed.invalidate();
    if (noticeAwaitsAnswer)
        dismissNotice();
    updateControlStates();
}

void PluginProcessorEditor::freeze()
{
    frozen.store(true);
    freezeRefitStarted = false;
    freezeCurveArrived = false;
    ++curveGeneration;
    if (noticeAwaitsAnswer)
        dismissNotice();

    if (processor.isCaptureFull())
        takeSnapshot();
    else
        snapshotPending = true;
    updateControlStates();
}

void PluginProcessorEditor::takeSnapshot()
{
    // The fit starts with the current settings: earlier refit and smoothing requests are met by it.
    snapshotPending = false;
    refitRequested.store(false);
    smoothingDirty = false;
    try
    {
        processor.snapshotCaptureAndRefit();
    }
    catch (const std::exception&)
    {
        reportRefitFailure();
    }
    refitStarted();
}

void PluginProcessorEditor::refitStarted()
{
    // A refit of this freeze's snapshot runs (or waits behind a running one); a table change that
    // arrives after it has finished carries this freeze's curve.
    if (processor.isRefitInProgress())
        freezeRefitStarted = true;
}

void PluginProcessorEditor::reportRefitFailure()
{
    showNotice("Fit not started",
               "The system refused to start the fit. Press Play, then Freeze, to try again.", {"OK"},
               [this](int) { dismissNotice(); });
}

void PluginProcessorEditor::updateControlStates()
{
    const auto isFrozenNow = frozen.load();
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
    saveButton.setEnabled(frozen.load() && freezeCurveArrived);
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
    if (themeOverlay != nullptr)
        themeOverlay->setStyle(ui_panels::themeOverlayPreset());
    if (updateOverlay != nullptr)
        updateOverlay->getDialog().applyTheme();
    repaint();
}

void PluginProcessorEditor::timerCallback()
{
    closeLogoMenuIfPointerLeft();
    if (windowSizeEnablementDue.exchange(false))
        updateWindowSizeEnablement();
    updateWarningVisibility();
    takePendingSnapshot();
    runRequestedRefit();
    resmoothIfSettled();
    feedLiveView();
}

void PluginProcessorEditor::updateWarningVisibility()
{
    const auto timeView =
        ParameterValues::choiceIndex(processor.getParameterState(), ParameterIDs::visualizationMode, 1) == 1;
    const auto show = !processor.isSidechainConnected() && !frozen.load() && !timeView;
    if (warningOverlay.isVisible() == show)
        return;
    warningOverlay.setVisible(show);
    if (show)
        resized();
}

void PluginProcessorEditor::takePendingSnapshot()
{
    if (snapshotPending && frozen.load() && processor.isCaptureFull())
        takeSnapshot();
}

void PluginProcessorEditor::runRequestedRefit()
{
    // While the snapshot is pending there is nothing to refit: its fit will use the new settings.
    if (!frozen.load() || snapshotPending || !refitRequested.exchange(false))
        return;
    try
    {
        processor.refitTransferFunction();
    }
    catch (const std::exception&)
    {
        reportRefitFailure();
    }
    refitStarted();
}

void PluginProcessorEditor::resmoothIfSettled()
{
    // Until this freeze's fit has arrived, the kept bins are those of an earlier fit: re-smoothing them
    // would show (and let the user save) a stale curve. The request waits for the fit.
    if (!smoothingDirty || !frozen.load() || !freezeCurveArrived)
        return;
    if (juce::Time::getMillisecondCounter() - smoothingChangedAt < resmoothingDelayMilliseconds)
        return;

    smoothingDirty = false;
    const auto& bins = processor.getRawBins();
    if (!processor.hasFit() || bins.empty())
        return;
    processor.writeSmoothedBinsToTransferFunction(
        estimation::smoothBins(bins, ParameterValues::smoothing(processor.getParameterState())));
}

void PluginProcessorEditor::feedLiveView()
{
    if (frozen.load())
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
    if (!frozen.load())
    {
        // The live view shows live data; the table is shown when the next freeze's fit arrives.
        liveFeed.invalidate();
        return;
    }

    if (!freezeCurveArrived)
    {
        // Until this freeze's fit has come back, a table change is an earlier fit's: the plot keeps the
        // frozen cloud rather than show a curve of another capture.
        if (!freezeRefitStarted || snapshotPending || processor.isRefitInProgress())
            return;
        freezeCurveArrived = true;
        updateSaveEnablement();
    }
    ++curveGeneration;

    const auto& table = processor.getTransferFunction();
    curvePoints.resize(static_cast<std::size_t>(TransferFunctionTable::size));
    for (int i = 0; i < TransferFunctionTable::size; ++i)
        curvePoints[static_cast<std::size_t>(i)] = {TransferFunctionTable::xAt(i), table.get(i)};
    visualizer.setPoints(curvePoints);
}

void PluginProcessorEditor::setSaveLocationChooser(std::unique_ptr<ui_panels::SaveLocationChooser> chooser)
{
    saveChooser = std::move(chooser);
}

bool PluginProcessorEditor::isSaveUnderWay() const
{
    return (artistDialogOverlay != nullptr && artistDialogForSaving) ||
           (saveChooser != nullptr && saveChooser->isOpen()) || noticeAwaitsAnswer;
}

void PluginProcessorEditor::requestSave()
{
    if (isSaveUnderWay())
        return;

    const auto settings = processor.getUserSettings();
    if (settings.getArtistName().isNotEmpty() || settings.getDoNotAskAgain())
        saveTransferFunction();
    else
        showArtistNameDialog(true);
}

void PluginProcessorEditor::saveTransferFunction()
{
    if (saveChooser == nullptr || saveChooser->isOpen())
        return;

    const auto& library = processor.getPresetLibrary();
    const auto generation = curveGeneration;
    saveChooser->open({saveDialogTitle, library.getUserFolder(), "*." + library.getExtension()},
                      [safeThis = juce::Component::SafePointer<PluginProcessorEditor>(this),
                       generation](const juce::File& chosen)
                      {
                          if (safeThis != nullptr)
                              safeThis->saveChosenFile(chosen, generation);
                      });
}

void PluginProcessorEditor::saveChosenFile(const juce::File& chosen, int generation)
{
    if (chosen == juce::File())
        return; // cancelled

    const auto& library = processor.getPresetLibrary();
    const auto target = PresetSaveTarget::withPresetExtension(chosen, library.getExtension());
    if (!PresetSaveTarget::replacesUnwarnedFile(library, chosen))
    {
        writePreset(target, generation);
        return;
    }

    // The dialog warned about the name typed, not about the file that will be replaced: ask now.
    const auto written = PresetSaveTarget::writtenFile(library, target);
    showNotice("Replace existing preset?",
               "\"" + written.getFileName() + "\" already exists in " +
                   written.getParentDirectory().getFullPathName() + ". Saving replaces it.",
               {"Cancel", "Replace"},
               [this, target, generation](int button)
               {
                   dismissNotice();
                   if (button == 1)
                       writePreset(target, generation);
               });
    noticeAwaitsAnswer = true;
}

void PluginProcessorEditor::writePreset(const juce::File& target, int generation)
{
    // The curve shown when the user asked to save is the one to store; a new freeze, a refit or a
    // re-smoothing while the dialog was open would otherwise write a curve they did not choose.
    if (generation != curveGeneration || !frozen.load() || !freezeCurveArrived)
    {
        showNotice("Preset not saved",
                   "The curve changed while the save dialog was open, so \"" + target.getFileName() +
                       "\" was not written. Save again to store the curve now shown.",
                   {"OK"}, [this](int) { dismissNotice(); });
        return;
    }

    auto& library = processor.getPresetLibrary();
    if (library.save(target))
        return;

    showNotice("Preset not saved",
               "Could not save \"" + target.getFileName() +
                   "\": " + PresetSaveTarget::failureReason(library, target) + ".",
               {"OK"}, [this](int) { dismissNotice(); });
}

void PluginProcessorEditor::showNotice(const juce::String& title, const juce::String& message,
                                       const juce::StringArray& buttons, std::function<void(int)> onButton)
{
    dismissNotice();
    notice = std::make_unique<ui_panels::NoticePanel>(title, message, buttons);
    notice->setName("notice");
    notice->onButton = std::move(onButton);
    notice->setAlwaysOnTop(true);
    addAndMakeVisible(*notice);
    resized();
}

void PluginProcessorEditor::dismissNotice()
{
    noticeAwaitsAnswer = false;
    if (notice == nullptr)
        return;
    // Its button's callback may still be on the stack.
    ui_core::deleteOnNextMessageLoopTurn(std::move(notice));
}

void PluginProcessorEditor::showArtistNameDialog(bool forSaving)
{
    dismissArtistNameDialog();

    artistDialogOverlay = std::make_unique<ui_panels::ArtistNameDialogOverlay>();
    artistDialogOverlay->setName("artistDialogOverlay");
    artistDialogForSaving = forSaving;
    auto& dialog = artistDialogOverlay->getDialog();
    dialog.setSavingButtonsVisible(forSaving);

    const auto settings = processor.getUserSettings();
    if (const auto stored = settings.getArtistName(); stored.isNotEmpty())
        dialog.setName(stored);

    // Every way out continues with the save when the dialog was opened for one. The callbacks reach
    // the window only while it exists.
    const juce::Component::SafePointer<PluginProcessorEditor> safeThis(this);
    const auto finish = [safeThis, forSaving]
    {
        if (safeThis == nullptr)
            return;
        safeThis->dismissArtistNameDialog();
        if (forSaving)
            safeThis->saveTransferFunction();
    };
    dialog.onSave = [safeThis, finish](const juce::String& name)
    {
        if (safeThis != nullptr && name.isNotEmpty())
            safeThis->processor.getUserSettings().setArtistName(name);
        finish();
    };
    dialog.onCancel = finish;
    dialog.onDontAskAgain = [safeThis, finish]
    {
        if (safeThis != nullptr)
            safeThis->processor.getUserSettings().setDoNotAskAgain();
        finish();
    };

    // Over this window, not the host's window around it.
    artistDialogOverlay->setAlwaysOnTop(true);
    artistDialogOverlay->setBounds(getLocalBounds());
    addAndMakeVisible(*artistDialogOverlay);
    dialog.grabKeyboardFocus();
}

void PluginProcessorEditor::dismissArtistNameDialog()
{
    if (artistDialogOverlay == nullptr)
        return;

    // The button callback that dismissed it is still on the stack.
    artistDialogForSaving = false;
    ui_core::deleteOnNextMessageLoopTurn(std::move(artistDialogOverlay));
}

void PluginProcessorEditor::showLogoMenu()
{
    closeLogoMenu();

    const juce::Component::SafePointer<PluginProcessorEditor> safeThis(this);
    // Each entry closes the menu first; the menu goes on a later turn, after the click has returned.
    const auto entry = [safeThis](void (PluginProcessorEditor::*action)())
    {
        return [safeThis, action]
        {
            if (safeThis == nullptr)
                return;
            safeThis->closeLogoMenu();
            (safeThis.getComponent()->*action)();
        };
    };
    std::vector<ui_panels::MenuPanel::Item> items{
        {"logoMenuArtist", "Set Artist Name...", entry(&PluginProcessorEditor::showArtistNameDialogToEdit)},
        {"logoMenuTheme", "Customize Colors...", entry(&PluginProcessorEditor::showThemeOverlay)},
        {"logoMenuUpdate", "Check for Updates...", entry(&PluginProcessorEditor::checkForUpdates)},
    };
    logoMenu = std::make_unique<ui_panels::MenuPanel>(ui_core::contextMenuPopupStyle(), std::move(items));
    logoMenu->setName("logoMenu");
    logoMenu->setAlwaysOnTop(true);
    addAndMakeVisible(*logoMenu);
    resized();
}

void PluginProcessorEditor::showArtistNameDialogToEdit()
{
    showArtistNameDialog(false);
}

void PluginProcessorEditor::closeLogoMenu()
{
    if (logoMenu == nullptr)
        return;
    ui_core::deleteOnNextMessageLoopTurn(std::move(logoMenu));
}

void PluginProcessorEditor::closeLogoMenuIfPointerLeft()
{
    if (logoMenu == nullptr)
        return;
    if (!isPointerOver(logoButton) && !isPointerOver(*logoMenu))
        closeLogoMenu();
}

void PluginProcessorEditor::showVisualizerContextMenu(const juce::MouseEvent& click)
{
    juce::PopupMenu grid;
    grid.addItem(gridFaint, "Faint", true, gridStrength == 0);
    grid.addItem(gridMedium, "Medium", true, gridStrength == 1);
    grid.addItem(gridStrong, "Strong", true, gridStrength >= 2);
    juce::PopupMenu mode;
    mode.addItem(displaySegments, "Segments", true, displayMode == 0);
    mode.addItem(displayScatter, "Scatter", true, displayMode == 1);

    juce::PopupMenu menu;
    menu.addSubMenu("Grid Strength", grid);
    menu.addSubMenu("Display Mode", mode);

    contextMenuLook->setStyle(ui_core::contextMenuPopupStyle());
    menu.setLookAndFeel(contextMenuLook.get());

    const auto options = juce::PopupMenu::Options()
                             .withTargetComponent(&visualizer)
                             .withTargetScreenArea({click.getScreenX(), click.getScreenY(), 1, 1})
                             .withDeletionCheck(*this);
    // The look-and-feel travels with the callback, which outlives the menu window.
    menu.showMenuAsync(options,
                       [safeThis = juce::Component::SafePointer<PluginProcessorEditor>(this),
                        look = contextMenuLook](int chosenId)
                       {
                           if (safeThis != nullptr)
                               safeThis->contextMenuChosen(chosenId);
                       });
}

void PluginProcessorEditor::contextMenuChosen(int itemId)
{
    switch (itemId)
    {
        case gridFaint:
            setGridStrength(0);
            break;
        case gridMedium:
            setGridStrength(1);
            break;
        case gridStrong:
            setGridStrength(2);
            break;
        case displaySegments:
            setDisplayMode(0);
            break;
        case displayScatter:
            setDisplayMode(1);
            break;
        default:
            break; // dismissed
    }
}

void PluginProcessorEditor::showThemeOverlay()
{
    dismissThemeOverlay();

    const auto& theme = ui_core::themeSettings();
    themeBeforeOverlay = {
        theme.primaryHue,  theme.secondaryHue, theme.primarySaturationScale, theme.secondarySaturationScale,
        theme.glowEnabled, theme.glowIntensity};

    themeOverlay = std::make_unique<ui_panels::ThemeOverlayPanel>();
    themeOverlay->setName("themeOverlay");
    themeOverlay->setStyle(ui_panels::themeOverlayPreset());
    const auto& v = themeBeforeOverlay;
    themeOverlay->setValues(v.primaryHue, v.secondaryHue, v.primarySaturationScale,
                            v.secondarySaturationScale, v.glowEnabled, v.glowIntensity);

    // The card lives inside this window and is detached before it goes: its callbacks never outlive it.
    themeOverlay->onChange = [this](float primaryHue, float secondaryHue, float primarySaturation,
                                    float secondarySaturation, bool glowEnabled, float glowIntensity)
    {
        applyThemeValues(
            {primaryHue, secondaryHue, primarySaturation, secondarySaturation, glowEnabled, glowIntensity});
    };
    themeOverlay->onOk = [this](float primaryHue, float secondaryHue, float primarySaturation,
                                float secondarySaturation, bool glowEnabled, float glowIntensity)
    {
        applyThemeValues(
            {primaryHue, secondaryHue, primarySaturation, secondarySaturation, glowEnabled, glowIntensity});
        const auto& t = ui_core::themeSettings(); // as the theme took them, within its ranges
        processor.getUserSettings().saveThemeSettings({t.primaryHue, t.secondaryHue, t.primarySaturationScale,
                                                       t.secondarySaturationScale, t.glowEnabled,
                                                       t.glowIntensity});
        dismissThemeOverlay();
    };
    themeOverlay->onCancel = [this]
    {
        applyThemeValues(themeBeforeOverlay);
        dismissThemeOverlay();
    };

    themeOverlay->setAlwaysOnTop(true);
    themeOverlay->setBounds(getLocalBounds());
    addAndMakeVisible(*themeOverlay);
}

void PluginProcessorEditor::applyThemeValues(const ui_panels::ThemeOverlayValues& v)
{
    ui_core::setTheme(v.primaryHue, v.secondaryHue, v.primarySaturationScale, v.secondarySaturationScale,
                      v.glowEnabled, v.glowIntensity);
    applyThemeToControls();
}

void PluginProcessorEditor::dismissThemeOverlay()
{
    if (themeOverlay == nullptr)
        return;
    ui_core::deleteOnNextMessageLoopTurn(std::move(themeOverlay));
}

void PluginProcessorEditor::checkForUpdates()
{
    showUpdateOverlay();
    // One request at a time: one still waiting for the server fills the dialog just shown.
    if (updateThread != nullptr && updateThread->isThreadRunning() && updateAnswerPending)
        return;

    // A finished thread is deleted here; one that has answered but not quite ended ends on its own.
    update_check::UpdateCheckThread::stopAndRelease(std::move(updateThread), 0);
    updateAnswerPending = true;
    updateThread = std::make_unique<update_check::UpdateCheckThread>(
        updateServerBaseUrl, update_check::currentProductVersion(), *this);
    updateThread->startThread(juce::Thread::Priority::low);
}

void PluginProcessorEditor::showUpdateOverlay()
{
    dismissUpdateOverlay();

    updateOverlay = std::make_unique<update_check::UpdateCheckOverlay>();
    updateOverlay->setName("updateOverlay");
    updateOverlay->getDialog().onClose =
        [safeThis = juce::Component::SafePointer<PluginProcessorEditor>(this)]
    {
        if (safeThis != nullptr)
            safeThis->dismissUpdateOverlay();
    };
    updateOverlay->setAlwaysOnTop(true);
    updateOverlay->setBounds(getLocalBounds());
    addAndMakeVisible(*updateOverlay);
}

void PluginProcessorEditor::dismissUpdateOverlay()
{
    if (updateOverlay == nullptr)
        return;
    ui_core::deleteOnNextMessageLoopTurn(std::move(updateOverlay));
}

void PluginProcessorEditor::handleUpdateCheckResult(const juce::String& response,
                                                    const juce::String& currentVersion)
{
    updateAnswerPending = false;
    // A dismissed dialog ignores the late answer.
    if (updateOverlay != nullptr)
        updateOverlay->getDialog().showContent(
            update_check::interpretUpdateResponse(response, currentVersion));
}
