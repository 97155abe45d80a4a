#pragma once

#include "controls/ComboBoxPopupLookAndFeel.h"
#include "controls/IconButton.h"
#include "controls/InlineComboBox.h"
#include "controls/MultiLayerLogoButton.h"
#include "controls/NumberBox.h"
#include "controls/ScaleDisplay.h"
#include "controls/SmoothingDisplay.h"
#include "controls/TooltipDisplayPanel.h"
#include "core/PluginAudioProcessor.h"
#include "editor/ArtistNameDialogOverlay.h"
#include "editor/EditorLayout.h"
#include "editor/HorizontalStrip.h"
#include "editor/InlineComboBoxAttachment.h"
#include "editor/LiveViewFeed.h"
#include "editor/MenuPanel.h"
#include "editor/NoticePanel.h"
#include "editor/SaveLocationChooser.h"
#include "editor/ScaleControlsPanel.h"
#include "editor/SmoothingControlsPanel.h"
#include "editor/ThemeOverlayPanel.h"
#include "editor/ThemeOverlayValues.h"
#include "editor/WarningOverlayPanel.h"
#include "update/UpdateCheckOverlay.h"
#include "update/UpdateCheckReceiver.h"
#include "update/UpdateCheckThread.h"
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
// save, the read-outs and selectors with their popup knobs, the tooltip line), and the overlays. A
// 50 ms timer feeds the live view, shows or hides the sidechain warning and carries out the snapshot,
// refit and re-smoothing requests; the fitted curve arrives through the processor's onTableChanged.
class PluginProcessorEditor final : public juce::AudioProcessorEditor,
                                    public juce::KeyListener,
                                    public juce::ChangeListener,
                                    public juce::Timer,
                                    public juce::AudioProcessorValueTreeState::Listener,
                                    public update_check::UpdateCheckReceiver
{
public:
    static constexpr int initialWidth = 700, initialHeight = 550;
    static constexpr int timerIntervalMilliseconds = 50;
    static constexpr juce::uint32 resmoothingDelayMilliseconds = 100;

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
    void requestSave();
    void saveTransferFunction();
    void showArtistNameDialog(bool forSaving);
    void dismissArtistNameDialog();

    // The hover menu above the logo.
    void showLogoMenu();
    void closeLogoMenu();
    // The plot's right-click menu (grid strength, display mode), shown without blocking.
    void showVisualizerContextMenu(const juce::MouseEvent& click);

    // "Customize Colors": previews every change on the whole window; OK stores the theme, Cancel
    // returns to the theme of the moment it opened.
    void showThemeOverlay();

    // The manual update check: the dialog in its checking state, then the server's answer.
    void checkForUpdates();
    void showUpdateOverlay();
    void dismissUpdateOverlay();
    void handleUpdateCheckResult(const juce::String& response, const juce::String& currentVersion) override;
    // The window asks the configured update server; tests point it at a server of their own.
    void setUpdateServerBaseUrl(const juce::String& baseUrl) { updateServerBaseUrl = baseUrl; }

    // The save dialog; the window uses the platform's, tests answer in its place.
    void setSaveLocationChooser(std::unique_ptr<ui_panels::SaveLocationChooser> chooser);

    // For the window's tests and the command-line screenshot.
    bool isFrozen() const noexcept { return frozen.load(); }
    bool isSnapshotPending() const noexcept { return snapshotPending; }
    bool hasCurveOfThisFreeze() const noexcept { return freezeCurveArrived; }
    int getCurveRefreshCount() const noexcept { return curveRefreshes; }
    ui_core::WaveformVisualizer& getVisualizer() noexcept { return visualizer; }
    const ui_panels::WarningOverlayPanel& getWarningOverlay() const noexcept { return warningOverlay; }
    ui_panels::ArtistNameDialogOverlay* getArtistDialogOverlay() const noexcept
    {
        return artistDialogOverlay.get();
    }
    ui_panels::NoticePanel* getNotice() const noexcept { return notice.get(); }
    ui_panels::MenuPanel* getLogoMenu() const noexcept { return logoMenu.get(); }
    ui_panels::ThemeOverlayPanel* getThemeOverlay() const noexcept { return themeOverlay.get(); }
    update_check::UpdateCheckOverlay* getUpdateOverlay() const noexcept { return updateOverlay.get(); }
    std::uint8_t getGridStrength() const noexcept { return gridStrength; }
    std::uint8_t getDisplayMode() const noexcept { return displayMode; }
    EditorLayout currentLayout() const;

    // One tick of the 50 ms timer.
    void timerCallback() override;

private:
    void createTopPanel();
    void createOverlays();
    void wireCallbacks();
    void wirePopup(ui_core::ValueDisplay& display, juce::Component& panel,
                   std::vector<juce::Component*> knobs);
    void measureControls();

    // Timer steps.
    void updateWarningVisibility();
    void takePendingSnapshot();
    void runRequestedRefit();
    void resmoothIfSettled();
    void feedLiveView();

    void takeSnapshot();
    void refitStarted();
    void reportRefitFailure();
    void updateSaveEnablement();

    // Save flow after the dialog answered.
    bool isSaveUnderWay() const;
    void saveChosenFile(const juce::File& chosen, int generation);
    void writePreset(const juce::File& target, int generation);
    void showNotice(const juce::String& title, const juce::String& message, const juce::StringArray& buttons,
                    std::function<void(int)> onButton);
    void dismissNotice();

    void showArtistNameDialogToEdit();
    void closeLogoMenuIfPointerLeft();
    void contextMenuChosen(int itemId);
    void applyThemeValues(const ui_panels::ThemeOverlayValues& values);
    void dismissThemeOverlay();

    PluginAudioProcessor& processor;
    juce::LookAndFeel_V4 windowLook;
    // Travels with the context menu's callback, which may outlive the window.
    std::shared_ptr<ui_core::ComboBoxPopupLookAndFeel> contextMenuLook =
        std::make_shared<ui_core::ComboBoxPopupLookAndFeel>();

    std::atomic<bool> frozen{false};
    bool snapshotPending = false;
    std::uint8_t gridStrength = 0;
    std::uint8_t displayMode = 0;
    bool smoothingDirty = false;
    juce::uint32 smoothingChangedAt = 0;
    // Set by parameter changes, possibly on the audio thread; read by the timer.
    std::atomic<bool> refitRequested{false};
    std::atomic<bool> windowSizeEnablementDue{false};
    const std::thread::id messageThread = std::this_thread::get_id();

    // The curve of the current freeze: a refit of its snapshot was started, and its table arrived.
    // Only then is there something to save.
    bool freezeRefitStarted = false;
    bool freezeCurveArrived = false;
    // Counts the curves shown; a save writes only the curve that was shown when it was asked for.
    int curveGeneration = 0;
    int curveRefreshes = 0;

    ui_core::WaveformVisualizer visualizer;
    ui_panels::HorizontalStrip controlStrip;
    ui_core::MultiLayerLogoButton logoButton{"logo"};
    ui_core::IconButton playButton{"play"};
    ui_core::IconButton freezeButton{"freeze"};
    ui_core::IconButton saveButton{"saveTransferFunction"};
    ui_core::ScaleDisplay scaleDisplay;
    ui_panels::ScaleControlsPanel scalePanel;
    ui_core::NumberBox xLagBox{"X Lag"};
    ui_core::NumberBox yLagBox{"Y Lag"};
    ui_core::SmoothingDisplay smoothingDisplay;
    ui_panels::SmoothingControlsPanel smoothingPanel;
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    std::unique_ptr<SliderAttachment> scaleXAttachment, scaleYAttachment, latencyXAttachment,
        latencyYAttachment, smoothingAttachment;
    ui_core::InlineComboBox algorithmCombo{"Algo"};
    ui_core::InlineComboBox captureSizeCombo{"Size"};
    ui_core::InlineComboBox modeCombo{"Mode"};
    ui_core::InlineComboBox windowSizeCombo{"Size"};
    std::unique_ptr<ui_panels::InlineComboBoxAttachment> algorithmAttachment, captureSizeAttachment,
        modeAttachment, windowSizeAttachment;
    ui_core::GlowSpillOverlay glowSpill;
    ui_core::TooltipDisplayPanel tooltipPanel;
    ui_panels::WarningOverlayPanel warningOverlay;
    // Taken out at once when dismissed and deleted on a later turn, after the button callback returned.
    std::unique_ptr<ui_panels::ArtistNameDialogOverlay> artistDialogOverlay;
    bool artistDialogForSaving = false;
    std::unique_ptr<ui_panels::NoticePanel> notice;
    bool noticeAwaitsAnswer = false; // a save waits for the user's word

    // Come and go; each is taken out of the window at once and deleted on a later turn of the message
    // loop, as the click that closes it may still be on the stack.
    std::unique_ptr<ui_panels::ThemeOverlayPanel> themeOverlay;
    ui_panels::ThemeOverlayValues themeBeforeOverlay = ui_panels::ThemeOverlayValues::themeDefaults();
    std::unique_ptr<ui_panels::MenuPanel> logoMenu;
    std::unique_ptr<update_check::UpdateCheckOverlay> updateOverlay;
    std::unique_ptr<update_check::UpdateCheckThread> updateThread;
    bool updateAnswerPending = false; // the running request has not answered yet
    juce::String updateServerBaseUrl;

    // Widths of the measured controls.
    int lagWidth = 0, algorithmWidth = 0, captureSizeWidth = 0, modeWidth = 0, windowSizeWidth = 0;

    ui_panels::LiveViewFeed liveFeed;
    std::vector<juce::Point<double>> curvePoints;
    std::unique_ptr<ui_panels::SaveLocationChooser> saveChooser;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PluginProcessorEditor)
};
