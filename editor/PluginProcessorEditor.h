#pragma once

#include "controls/TooltipDisplayPanel.h"
#include "core/PluginAudioProcessor.h"
#include "editor/ArtistNamePrompt.h"
#include "editor/EditorLayout.h"
#include "editor/FitReportReadout.h"
#include "editor/InlineComboBoxAttachment.h"
#include "editor/LiveViewFeed.h"
#include "editor/LogoMenu.h"
#include "editor/MeasurementSession.h"
#include "editor/NoticeBoard.h"
#include "editor/PlotContextMenu.h"
#include "editor/SaveFlow.h"
#include "editor/StripControls.h"
#include "editor/ThemeCustomisation.h"
#include "editor/UpdateCheckFlow.h"
#include "editor/WarningOverlayPanel.h"
#include "visualizer/GlowSpillOverlay.h"
#include "visualizer/WaveformVisualizer.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

// The plug-in window: the plot above, the control strip along the bottom (logo, play, freeze and
// save, the read-outs and selectors with their popup knobs, the tooltip line), and the overlays. It
// wires, lays out and forwards: the measurement's rules live in its MeasurementSession, which its 50 ms
// timer drives beside the live view and the sidechain warning; the fitted curve arrives through the
// processor's onTableChanged, the fit's report and failures through onFitFinished.
class PluginProcessorEditor final : public juce::AudioProcessorEditor,
                                    public juce::KeyListener,
                                    public juce::ChangeListener,
                                    public juce::Timer,
                                    public juce::AudioProcessorValueTreeState::Listener
{
public:
    static constexpr int initialWidth = 700, initialHeight = 550;
    static constexpr int timerIntervalMilliseconds = 50;

    explicit PluginProcessorEditor(PluginAudioProcessor& processor);
    ~PluginProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseEnter(const juce::MouseEvent& event) override;
    bool keyPressed(const juce::KeyPress& key, juce::Component* origin) override;
    using juce::Component::keyPressed;
    void changeListenerCallback(juce::ChangeBroadcaster*) override {}

    // May be called on any thread, the audio thread included: off the message thread it only sets
    // flags that the timer reads.
    void parameterChanged(const juce::String& parameterID, float newValue) override;

    // What the play and freeze buttons do.
    void play();
    void freeze();

    void updateControlStates();
    void updateWindowSizeEnablement();
    void setGridStrength(std::uint8_t strength);
    void setDisplayMode(std::uint8_t mode);
    void applyThemeToControls();

    // The fitted curve from the processor's table (called through onTableChanged).
    void refreshCurveFromTable();
    // Save button and Ctrl+S: asks for the artist name first when none is stored.
    void requestSave() { saveFlow.request(); }
    void saveTransferFunction() { saveFlow.chooseLocation(); }
    void showArtistNameDialog(bool forSaving);
    void dismissArtistNameDialog() { artistPrompt.dismiss(); }

    // The hover menu above the logo.
    void showLogoMenu();
    void closeLogoMenu() { logoMenu.close(); }
    // The plot's right-click menu (grid strength, display mode), shown without blocking.
    void showVisualizerContextMenu(const juce::MouseEvent& click);

    // "Customize Colors": previews every change on the whole window; OK stores the theme, Cancel
    // returns to the theme of the moment it opened.
    void showThemeOverlay() { themeCustomisation.show(); }

    // The manual update check: the dialog in its checking state, then the server's answer.
    void checkForUpdates() { updateCheck.check(); }
    void showUpdateOverlay() { updateCheck.showOverlay(); }
    void dismissUpdateOverlay() { updateCheck.dismiss(); }
    void handleUpdateCheckResult(const juce::String& response, const juce::String& currentVersion)
    {
        updateCheck.handleUpdateCheckResult(response, currentVersion);
    }
    // The window asks the configured update server; tests point it at a server of their own.
    void setUpdateServerBaseUrl(const juce::String& baseUrl) { updateCheck.setServerBaseUrl(baseUrl); }

    // The save dialog; the window uses the platform's, tests answer in its place.
    void setSaveLocationChooser(std::unique_ptr<ui_panels::SaveLocationChooser> chooser)
    {
        saveFlow.setChooser(std::move(chooser));
    }

    // For the window's tests and the command-line screenshot.
    const ui_panels::MeasurementSession& getSession() const noexcept { return session; }
    bool isFrozen() const noexcept { return session.isFrozen(); }
    bool isSnapshotPending() const noexcept { return session.isSnapshotPending(); }
    bool hasCurveOfThisFreeze() const noexcept { return session.hasCurveOfThisFreeze(); }
    int getCurveRefreshCount() const noexcept { return curveRefreshes; }
    ui_core::WaveformVisualizer& getVisualizer() noexcept { return visualizer; }
    const ui_panels::WarningOverlayPanel& getWarningOverlay() const noexcept { return warningOverlay; }
    const ui_panels::FitReportReadout& getReportReadout() const noexcept { return reportReadout; }
    ui_panels::ArtistNameDialogOverlay* getArtistDialogOverlay() const noexcept { return artistPrompt.get(); }
    ui_panels::NoticePanel* getNotice() const noexcept { return notices.get(); }
    ui_panels::MenuPanel* getLogoMenu() const noexcept { return logoMenu.get(); }
    ui_panels::ThemeOverlayPanel* getThemeOverlay() const noexcept { return themeCustomisation.get(); }
    update_check::UpdateCheckOverlay* getUpdateOverlay() const noexcept { return updateCheck.get(); }
    std::uint8_t getGridStrength() const noexcept { return gridStrength; }
    std::uint8_t getDisplayMode() const noexcept { return displayMode; }
    EditorLayout currentLayout() const;

    // One tick of the 50 ms timer.
    void timerCallback() override;

private:
    void createOverlays();
    void wireCallbacks();

    void updateWarningVisibility();
    void feedLiveView();
    // Shows what the measurement session tells: control states, the notice, the report.
    void showMeasurementState();
    void placeReportReadout();
    // The values under the pointer, for the tooltip line.
    void showPlotReadout(juce::Point<float> pointer);

    PluginAudioProcessor& processor;
    juce::LookAndFeel_V4 windowLook;

    std::uint8_t gridStrength = 0;
    std::uint8_t displayMode = 0;
    // Set by a display-mode change on the audio thread; read by the timer.
    std::atomic<bool> windowSizeEnablementDue{false};
    const std::thread::id messageThread = std::this_thread::get_id();
    int curveRefreshes = 0;

    ui_panels::MeasurementSession session;

    ui_core::WaveformVisualizer visualizer;
    ui_panels::StripControls strip;
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    std::unique_ptr<SliderAttachment> scaleXAttachment, scaleYAttachment, latencyXAttachment,
        latencyYAttachment, smoothingAttachment;
    std::unique_ptr<ui_panels::InlineComboBoxAttachment> algorithmAttachment, captureSizeAttachment,
        modeAttachment, windowSizeAttachment;
    ui_core::GlowSpillOverlay glowSpill;
    ui_core::TooltipDisplayPanel tooltipPanel;
    ui_panels::WarningOverlayPanel warningOverlay;
    ui_panels::FitReportReadout reportReadout;

    // Overlays that come and go, each shown and dismissed through a slot of its own.
    ui_panels::NoticeBoard notices{*this};
    ui_panels::ArtistNamePrompt artistPrompt{*this, processor};
    ui_panels::SaveFlow saveFlow;
    ui_panels::ThemeCustomisation themeCustomisation;
    ui_panels::LogoMenu logoMenu{*this, strip.logoButton};
    ui_panels::UpdateCheckFlow updateCheck{*this};
    ui_panels::PlotContextMenu contextMenu;

    ui_panels::LiveViewFeed liveFeed;
    std::vector<juce::Point<double>> curvePoints;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PluginProcessorEditor)
};
