// The window on the Xvfb desktop with the real processor, a host-like audio thread and the real 50 ms
// timer; mouse and keys go through the window's peer.
#include "EditorTestSupport.h"

#include "estimation/BinSmoothing.h"
#include "files/PresetFormat.h"
#include "files/ValueTreeStreamCheck.h"

#include <gtest/gtest.h>

using editortest::find;
using testsupport::DesktopWindow;
using testsupport::runMessageLoopFor;
using testsupport::runMessageLoopUntil;

namespace
{
using namespace std::chrono_literals;

class EditorOnDesktop : public ::testing::Test
{
protected:
    ~EditorOnDesktop() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        editor.reset();
        audio.reset();
        DesktopWindow::pump();
    }

    void openEditor()
    {
        editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
        editor->setSaveLocationChooser(std::make_unique<editortest::ScriptedSaveLocationChooser>(script));
        window.add(*editor, {0, 0, 700, 550});
        DesktopWindow::pump();
    }

    juce::Component& child(const char* name)
    {
        auto* found = find(*editor, name);
        EXPECT_NE(found, nullptr) << name;
        return found != nullptr ? *found : *editor;
    }

    void click(const char* name) { window.click(window.centreOf(child(name))); }

    bool saveCtrlS()
    {
        editor->grabKeyboardFocus();
        return window.key(juce::KeyPress('s', juce::ModifierKeys::ctrlModifier, 0));
    }

    bool liveCloudShown() const
    {
        const auto& visualizer = editor->getVisualizer();
        return !visualizer.isTimeMode() && visualizer.getPoints().size() == 2048u;
    }

    // Audio playing, freeze clicked, the fitted curve shown.
    void measure()
    {
        openEditor();
        audio = std::make_unique<editortest::AudioThread>(probe);
        ASSERT_TRUE(
            runMessageLoopUntil([this] { return liveCloudShown() && probe.processor->isCaptureFull(); }));
        click("freeze");
        ASSERT_TRUE(runMessageLoopUntil([this] { return editor->hasCurveOfThisFreeze(); }, 60s))
            << "frozen " << editor->isFrozen() << ", pending " << editor->isSnapshotPending() << ", fits "
            << probe.estimator.calls() << ", fitting " << probe.processor->isRefitInProgress() << ", curves "
            << editor->getCurveRefreshCount();
    }

    editortest::ProbeUnderTest probe;
    std::shared_ptr<editortest::ScriptedSaveLocationChooser::Script> script =
        std::make_shared<editortest::ScriptedSaveLocationChooser::Script>();
    DesktopWindow window{700, 550};
    std::unique_ptr<editortest::AudioThread> audio;
    std::unique_ptr<PluginProcessorEditor> editor;
};

double worstDeviationFromTheDevice(const TransferFunctionTable& table)
{
    // Both axes normalised to their peaks (1 and tanh 2), read half an entry back for the smoothing.
    double worst = 0.0;
    for (int i = 2; i < TransferFunctionTable::size - 2; ++i)
    {
        const auto u = TransferFunctionTable::xAt(i) - 1.0 / (TransferFunctionTable::size - 1);
        worst = std::max(worst, std::abs(table.get(i) - editortest::device(u) / editortest::device(1.0)));
    }
    return worst;
}
} // namespace

TEST_F(EditorOnDesktop, MeasuresADeviceFromTheLiveCloudToTheCurveAndBack)
{
    measure();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(editor->isFrozen());
    EXPECT_EQ(probe.estimator.calls(), 1);
    EXPECT_TRUE(child("saveTransferFunction").isEnabled());

    // The plot shows the table, and the table is the device (the estimation tests' bound for Mean).
    const auto& table = probe.processor->getTransferFunction();
    const auto& points = editor->getVisualizer().getPoints();
    ASSERT_EQ(points.size(), 16384u);
    int differing = 0;
    for (int i = 0; i < TransferFunctionTable::size; ++i)
        differing += points[(size_t) i] != juce::Point<double>(TransferFunctionTable::xAt(i), table.get(i));
    EXPECT_EQ(differing, 0);
    EXPECT_LE(worstDeviationFromTheDevice(table), 1.2e-4);

    // The smoothing knob, moved continuously, re-smooths once, 100 ms after it comes to rest.
    window.move(window.centreOf(child("smoothingDisplay")));
    ASSERT_TRUE(runMessageLoopUntil([this] { return child("smoothingPanel").isVisible(); }, 3s));
    auto* knob = dynamic_cast<juce::Slider*>(child("smoothingPanel").getChildComponent(0));
    ASSERT_NE(knob, nullptr);
    // A stall of the machine longer than the 100 ms rest would end the movement early; such an attempt
    // is let settle and the drag tried again.
    auto refreshes = editor->getCurveRefreshCount();
    double settled = 0.0;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        refreshes = editor->getCurveRefreshCount();
        const auto start = window.centreOf(*knob);
        window.move(start);
        window.press(start);
        auto lastMove = juce::Time::getMillisecondCounterHiRes();
        double longestPause = 0.0;
        for (int step = 1; step <= 12; ++step)
        {
            window.drag(start.translated(0.0f, -4.0f * (float) step));
            const auto now = juce::Time::getMillisecondCounterHiRes();
            longestPause = std::max(longestPause, now - lastMove);
            lastMove = now;
            DesktopWindow::pump(15ms);
        }
        const auto stalled = longestPause >= 100.0;
        if (!stalled)
        {
            EXPECT_EQ(editor->getCurveRefreshCount(), refreshes) << "re-smoothed while the knob moved";
        }
        window.release();
        ASSERT_TRUE(runMessageLoopUntil([&] { return editor->getCurveRefreshCount() > refreshes; }, 3s));
        settled = juce::Time::getMillisecondCounterHiRes() - lastMove;
        runMessageLoopFor(300ms);
        if (!stalled)
            break;
    }
    EXPECT_EQ(editor->getCurveRefreshCount(), refreshes + 1);
    EXPECT_GE(settled, 100.0);
    EXPECT_LT(settled, 1000.0);
    const auto smoothing =
        probe.processor->getParameterState().getRawParameterValue(ParameterIDs::smoothing)->load();
    EXPECT_GT(smoothing, 50.0f);
    const auto resmoothed = estimation::smoothBins(probe.processor->getRawBins(), (int) smoothing);
    EXPECT_EQ(table.copyValues(), resmoothed);
    EXPECT_EQ(probe.estimator.calls(), 1) << "smoothing does not refit";
    window.move({10.0f, 10.0f});

    // A change of algorithm while frozen refits the same snapshot, once.
    click("algorithmCombo");
    ASSERT_TRUE(editortest::pickFromShownMenu("ODR"));
    ASSERT_TRUE(runMessageLoopUntil([this] { return probe.estimator.calls() == 2; }, 3s));
    runMessageLoopFor(300ms);
    EXPECT_EQ(probe.estimator.calls(), 2);

    // Play returns to the live cloud; settings changed by the host (off the message thread) while
    // live refit nothing.
    click("play");
    EXPECT_FALSE(editor->isFrozen());
    ASSERT_TRUE(runMessageLoopUntil([this] { return liveCloudShown(); }));
    std::thread(
        [this]
        {
            probe.setChoice(ParameterIDs::captureAlgorithm, 1);
            probe.setChoice(ParameterIDs::captureLength, 1);
        })
        .join();
    runMessageLoopFor(300ms);
    EXPECT_EQ(probe.estimator.calls(), 2);
    EXPECT_FALSE(child("saveTransferFunction").isEnabled());
}

// The smoothing knob without a mouse: Tab reaches the read-out, Return opens its card with the focus
// on the knob, the arrow keys move it as a gesture, Escape closes the card.
TEST_F(EditorOnDesktop, KeyboardOpensTheSmoothingCardStepsItsKnobAndClosesIt)
{
    openEditor();
    click("freeze"); // frozen (no audio, so no fit): the smoothing read-out is enabled
    window.move(window.centreOf(editor->getVisualizer()));
    auto& display = child("smoothingDisplay");
    auto& panel = child("smoothingPanel");
    editor->grabKeyboardFocus();
    for (int presses = 0; presses < 40 && !display.hasKeyboardFocus(false); ++presses)
        window.key(juce::KeyPress(juce::KeyPress::tabKey));
    ASSERT_TRUE(display.hasKeyboardFocus(false));

    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    ASSERT_TRUE(panel.isVisible());
    auto* knob = panel.getChildComponent(0);
    EXPECT_TRUE(knob->hasKeyboardFocus(false));
    runMessageLoopFor(300ms);
    EXPECT_TRUE(panel.isVisible()) << "the 100 ms poll keeps a card that holds the focus";

    struct GestureRecorder final : juce::AudioProcessorParameter::Listener
    {
        std::vector<std::string> events;
        void parameterValueChanged(int, float) override { events.push_back("change"); }
        void parameterGestureChanged(int, bool starting) override
        {
            events.push_back(starting ? "begin" : "end");
        }
    } recorder;
    auto& smoothing = *probe.processor->getParameterState().getParameter(ParameterIDs::smoothing);
    const auto* value = probe.processor->getParameterState().getRawParameterValue(ParameterIDs::smoothing);
    const auto before = value->load();
    smoothing.addListener(&recorder);
    window.key(juce::KeyPress(juce::KeyPress::upKey));
    smoothing.removeListener(&recorder);
    EXPECT_FLOAT_EQ(value->load(), before + 1.0f) << "1 % of 1..100, at least one step";
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"begin", "change", "end"}));

    window.key(juce::KeyPress(juce::KeyPress::escapeKey));
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(display.hasKeyboardFocus(false));
    runMessageLoopFor(300ms);
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(EditorOnDesktop, TabWalksTheStripFromLeftToRightAndOutOfACardOnToTheNextControl)
{
    openEditor();
    window.move(window.centreOf(editor->getVisualizer()));
    const auto focused = [] { return juce::Component::getCurrentlyFocusedComponent(); };
    const auto tab = [this] { window.key(juce::KeyPress(juce::KeyPress::tabKey)); };

    child("logo").grabKeyboardFocus();
    std::vector<juce::String> visited;
    int previousX = -1;
    for (int presses = 0; presses < 20; ++presses)
    {
        tab();
        ASSERT_NE(focused(), nullptr);
        if (focused() == &child("logo"))
            break;
        if (focused() == editor.get())
            continue; // the window itself, which takes Ctrl+S, between two rounds
        visited.push_back(focused()->getName());
        EXPECT_GT(editor->getLocalArea(focused(), focused()->getLocalBounds()).getX(), previousX)
            << focused()->getName() << " comes after a control to its right";
        previousX = editor->getLocalArea(focused(), focused()->getLocalBounds()).getX();
    }
    EXPECT_EQ(focused(), &child("logo")) << "Tab comes round to the logo again";
    EXPECT_NE(std::find(visited.begin(), visited.end(), "xLagBox"), visited.end());

    // Out of the scale card the focus goes on to the lag box beside the read-out.
    child("scaleDisplay").grabKeyboardFocus();
    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    ASSERT_TRUE(child("scalePanel").isVisible());
    for (int presses = 0; presses < 4 && child("scalePanel").isParentOf(focused()); ++presses)
        tab();
    EXPECT_EQ(focused(), &child("xLagBox"));
}

TEST_F(EditorOnDesktop, SidechainWarningShowsOnlyForALiveXYViewWithoutSidechain)
{
    probe.disableSidechain();
    openEditor();
    audio = std::make_unique<editortest::AudioThread>(probe, false);
    const auto& warning = editor->getWarningOverlay();
    ASSERT_TRUE(runMessageLoopUntil([&] { return warning.isVisible(); }, 3s));
    EXPECT_EQ(warning.getBounds().getCentreX(), 350);
    EXPECT_EQ(warning.getWidth(), 400);

    // The time view needs no sidechain.
    click("modeCombo");
    ASSERT_TRUE(editortest::pickFromShownMenu("time"));
    ASSERT_TRUE(runMessageLoopUntil([&] { return !warning.isVisible(); }, 3s));
    EXPECT_TRUE(runMessageLoopUntil([this] { return editor->getVisualizer().getTraceX().size() == 2048u; }));
    EXPECT_TRUE(child("windowSizeCombo").isEnabled());

    probe.setChoice(ParameterIDs::visualizationMode, 0);
    ASSERT_TRUE(runMessageLoopUntil([&] { return warning.isVisible(); }, 3s));
    EXPECT_FALSE(child("windowSizeCombo").isEnabled());

    click("freeze");
    EXPECT_TRUE(runMessageLoopUntil([&] { return !warning.isVisible(); }, 3s));
}

namespace
{
class SaveFlowOnDesktop : public EditorOnDesktop
{
protected:
    void SetUp() override { measure(); }

    juce::File presetFile(const juce::String& name) const
    {
        return probe.userPresetFolder().getChildFile(name);
    }

    juce::String storedArtist() const { return probe.processor->getUserSettings().getArtistName(); }

    ui_panels::ArtistNameDialog* dialog() const
    {
        auto* overlay = editor->getArtistDialogOverlay();
        return overlay != nullptr ? &overlay->getDialog() : nullptr;
    }

    void pressSaveAndWaitForTheDialog()
    {
        click("saveTransferFunction");
        ASSERT_TRUE(runMessageLoopUntil([this] { return dialog() != nullptr && dialog()->isShowing(); }, 3s));
    }
};

struct ReadBack
{
    PresetReadResult preset;
    juce::String artist;
};

ReadBack readBack(const juce::File& file)
{
    juce::MemoryBlock bytes;
    if (!file.loadFileAsData(bytes))
        return {};
    const auto tree = readValueTreeSafely(bytes.getData(), bytes.getSize());
    return {readPreset(tree), tree.getChildWithName("metadata").getProperty("artist").toString()};
}
} // namespace

TEST_F(SaveFlowOnDesktop, AsksForTheArtistFirstThenSavesTheCurveWhereTheDialogAnswered)
{
    script->answers = {presetFile("warm.txt")};
    pressSaveAndWaitForTheDialog();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(dialog()->findChildWithID("skipBtn")->isVisible());
    EXPECT_TRUE(dialog()->findChildWithID("dnaBtn")->isVisible());
    EXPECT_FALSE(dialog()->findChildWithID("cancelBtn")->isVisible());
    EXPECT_EQ(editor->getArtistDialogOverlay()->getParentComponent(), editor.get())
        << "over the plug-in's own window";
    EXPECT_TRUE(script->requests.empty()) << "the name comes first";

    ASSERT_TRUE(dialog()->getTextField().hasKeyboardFocus(false));
    window.type("Ada");
    window.key(juce::KeyPress(juce::KeyPress::returnKey));
    EXPECT_EQ(storedArtist(), "Ada");
    EXPECT_TRUE(probe.processor->getUserSettings().settingsFile("artist-settings").existsAsFile());

    ASSERT_TRUE(runMessageLoopUntil([this] { return presetFile("warm.tfunc").existsAsFile(); }, 3s));
    EXPECT_EQ(editor->getArtistDialogOverlay(), nullptr);
    ASSERT_EQ(script->requests.size(), 1u);
    EXPECT_EQ(script->requests[0].title, "Save Transfer Function");
    EXPECT_EQ(script->requests[0].initialLocation, probe.userPresetFolder());
    EXPECT_EQ(script->requests[0].filePattern, "*.tfunc");
    EXPECT_FALSE(presetFile("warm.txt").exists());

    const auto saved = readBack(presetFile("warm.tfunc"));
    ASSERT_TRUE(saved.preset.ok) << saved.preset.error;
    EXPECT_EQ(saved.artist, "Ada");
    const auto table = probe.processor->getTransferFunction().copyValues();
    for (int i = 0; i < TransferFunctionTable::size; i += 511)
        EXPECT_FLOAT_EQ((float) saved.preset.values[(size_t) i], (float) table[(size_t) i]) << i;

    // With a name stored the next save goes straight to the dialog.
    script->answers = {presetFile("second")};
    ASSERT_TRUE(saveCtrlS());
    ASSERT_TRUE(runMessageLoopUntil([this] { return presetFile("second.tfunc").existsAsFile(); }, 3s));
    EXPECT_EQ(editor->getArtistDialogOverlay(), nullptr);
}

TEST_F(SaveFlowOnDesktop, EscapeSkipsTheNameAndDontAskAgainIsRemembered)
{
    script->answers = {presetFile("skipped.tfunc")};
    pressSaveAndWaitForTheDialog();
    ASSERT_FALSE(HasFatalFailure());
    window.type("Nobody");
    window.key(juce::KeyPress(juce::KeyPress::escapeKey));
    ASSERT_TRUE(runMessageLoopUntil([this] { return presetFile("skipped.tfunc").existsAsFile(); }, 3s));
    EXPECT_EQ(storedArtist(), "");
    EXPECT_EQ(readBack(presetFile("skipped.tfunc")).artist, "");

    // Don't Ask Again continues with the save and is not asked again, though no name is stored.
    script->answers = {juce::File()};
    pressSaveAndWaitForTheDialog();
    ASSERT_FALSE(HasFatalFailure());
    click("dnaBtn");
    ASSERT_TRUE(runMessageLoopUntil([this] { return script->answered == 2; }, 3s));
    EXPECT_TRUE(probe.processor->getUserSettings().getDoNotAskAgain());

    script->answers = {presetFile("direct.tfunc")};
    ASSERT_TRUE(saveCtrlS());

    ASSERT_TRUE(runMessageLoopUntil([this] { return presetFile("direct.tfunc").existsAsFile(); }, 3s));
    EXPECT_EQ(editor->getArtistDialogOverlay(), nullptr);
}

TEST_F(SaveFlowOnDesktop, CtrlSSavesOnlyTheFrozenCurveAndACancelledDialogWritesNothing)
{
    probe.processor->getUserSettings().setArtistName("Ada");

    // Cancelled: nothing written.
    script->answers = {juce::File()};
    ASSERT_TRUE(saveCtrlS());
    ASSERT_TRUE(runMessageLoopUntil([this] { return script->answered == 1; }, 3s));
    EXPECT_TRUE(probe.userPresetFolder().findChildFiles(juce::File::findFiles, true).isEmpty());

    // Live: Ctrl+S is taken but saves nothing; other keys pass.
    click("play");
    EXPECT_TRUE(saveCtrlS());
    EXPECT_FALSE(window.key(juce::KeyPress('s', juce::ModifierKeys::altModifier, 0)));
    runMessageLoopFor(100ms);
    EXPECT_EQ(script->requests.size(), 1u);
    EXPECT_EQ(editor->getArtistDialogOverlay(), nullptr);
}

TEST_F(SaveFlowOnDesktop, AFileTheDialogDidNotWarnAboutIsReplacedOnlyWhenTheUserSaysSo)
{
    probe.processor->getUserSettings().setArtistName("Ada");
    const auto existing = presetFile("take.tfunc");
    ASSERT_TRUE(existing.replaceWithText("the user's earlier take"));

    for (const auto* answer : {"Cancel", "Replace"})
    {
        script->answers = {presetFile("take.txt")};
        ASSERT_TRUE(saveCtrlS());
        ASSERT_TRUE(runMessageLoopUntil([this] { return editor->getNotice() != nullptr; }, 3s));
        auto* notice = editor->getNotice();
        EXPECT_EQ(notice->getTitleText(), "Replace existing preset?");
        EXPECT_TRUE(notice->getMessage().contains("\"take.tfunc\""));
        EXPECT_EQ(existing.loadFileAsString(), "the user's earlier take")
            << "nothing replaced before the answer";

        const auto index = juce::String(answer) == "Cancel" ? 0 : 1;
        ASSERT_EQ(notice->getButton(index)->getText(), answer);
        window.click(window.centreOf(*notice->getButton(index)));
        runMessageLoopFor(50ms);
        EXPECT_EQ(editor->getNotice(), nullptr);
    }
    EXPECT_TRUE(readBack(existing).preset.ok) << "replaced after Replace";
}

TEST_F(SaveFlowOnDesktop, AFailedSaveIsShownInTheWindow)
{
    probe.processor->getUserSettings().setArtistName("Ada");
    script->answers = {presetFile("no such folder/curve.tfunc")};
    ASSERT_TRUE(saveCtrlS());
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->getNotice() != nullptr; }, 3s));
    const auto* notice = editor->getNotice();
    EXPECT_EQ(notice->getTitleText(), "Preset not saved");
    EXPECT_EQ(notice->getMessage(), "Could not save \"curve.tfunc\": the folder does not exist.");
    EXPECT_TRUE(notice->isShowing());
    EXPECT_FALSE(notice->getBounds().intersects(child("controlStrip").getBounds()))
        << "the strip stays usable";

    // The window stays usable while it shows: Play works, OK dismisses.
    click("play");
    EXPECT_FALSE(editor->isFrozen());
    window.click(window.centreOf(*editor->getNotice()->getButton(0)));
    EXPECT_TRUE(runMessageLoopUntil([this] { return editor->getNotice() == nullptr; }, 1s));
}

// A save must store the curve of this freeze: until its fit has arrived, Save, Ctrl+S and the
// smoothing knob do nothing, and a table change left over from an earlier fit is not taken for it.
TEST_F(EditorOnDesktop, SaveWaitsForTheCurveOfThisFreeze)
{
    probe.processor->getUserSettings().setArtistName("Ada");
    openEditor();
    probe.play(20000);
    click("freeze");
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->hasCurveOfThisFreeze(); }, 60s));
    const auto firstCurve = probe.processor->getTransferFunction().copyValues();

    click("play");
    probe.estimator.closeGate();
    probe.play(20000);
    ASSERT_TRUE(runMessageLoopUntil([this] { return liveCloudShown(); }));
    click("freeze");
    ASSERT_TRUE(probe.processor->isRefitInProgress());
    probe.processor->writeSmoothedBinsToTransferFunction(firstCurve); // an earlier fit's table change
    auto& smoothing = *probe.processor->getParameterState().getParameter(ParameterIDs::smoothing);
    smoothing.setValueNotifyingHost(smoothing.convertTo0to1(80.0f));
    runMessageLoopFor(300ms);
    EXPECT_FALSE(editor->hasCurveOfThisFreeze());
    EXPECT_FALSE(child("saveTransferFunction").isEnabled());
    EXPECT_TRUE(liveCloudShown()) << "the plot keeps the frozen cloud";
    EXPECT_TRUE(saveCtrlS());
    runMessageLoopFor(100ms);
    EXPECT_TRUE(script->requests.empty());

    probe.estimator.openGate();
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->hasCurveOfThisFreeze(); }, 60s));
    EXPECT_TRUE(child("saveTransferFunction").isEnabled());
    // The knob moved while the fit ran: its value is applied once the fit is there.
    ASSERT_TRUE(runMessageLoopUntil(
        [this]
        {
            return probe.processor->getTransferFunction().copyValues() ==
                   estimation::smoothBins(probe.processor->getRawBins(), 80);
        },
        3s));
    EXPECT_EQ(probe.estimator.calls(), 2);
}
