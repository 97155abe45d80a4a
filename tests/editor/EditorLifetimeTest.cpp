// What must hold while the host plays, automates, opens and closes the window: nothing of the window
// runs on the audio thread but a flag, a tick allocates nothing, and a closed window is never called.
#include "EditorTestSupport.h"

#include "controls/ThemeSettings.h"
#include "core/AllocationCounter.h"

#include <gtest/gtest.h>

#include <new>

using testsupport::DesktopWindow;
using testsupport::runMessageLoopFor;
using testsupport::runMessageLoopUntil;
using namespace std::chrono_literals;

TEST(EditorLifetime, ParameterChangesOnTheAudioThreadOnlySetFlagsThatTheTimerCarriesOut)
{
    editortest::ProbeUnderTest probe;
    PluginProcessorEditor editor(*probe.processor);
    probe.play(20000);
    editor.freeze();
    ASSERT_TRUE(runMessageLoopUntil([&] { return editor.hasCurveOfThisFreeze(); }, 60s));
    ASSERT_EQ(probe.estimator.calls(), 1);

    // The host automates the algorithm and the view from its audio thread.
    std::size_t allocations = 1;
    const juce::String algorithm(ParameterIDs::captureAlgorithm), mode(ParameterIDs::visualizationMode);
    std::thread audioThread(
        [&]
        {
            ScopedAllocationCounter counter;
            editor.parameterChanged(algorithm, 0.0f);
            editor.parameterChanged(mode, 1.0f);
            allocations = counter.getCount();
        });
    audioThread.join();
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(probe.estimator.calls(), 1) << "nothing ran on the calling thread";

    ASSERT_TRUE(runMessageLoopUntil([&] { return probe.estimator.calls() == 2; }, 3s)) << "the timer refits";
    runMessageLoopFor(200ms);
    EXPECT_EQ(probe.estimator.calls(), 2);

    // The host switches to the time view from its audio thread: the size box is enabled by the
    // timer, not by the listener on the host's thread.
    auto* sizeBox = editortest::find(editor, "windowSizeCombo");
    ASSERT_NE(sizeBox, nullptr);
    ASSERT_FALSE(sizeBox->isEnabled());
    std::thread([&] { probe.setChoice(ParameterIDs::visualizationMode, 1); }).join();
    EXPECT_FALSE(sizeBox->isEnabled()) << "a component was touched on the audio thread";
    editor.timerCallback();
    EXPECT_TRUE(sizeBox->isEnabled());
}

TEST(EditorLifetime, ATickOfTheLiveViewAllocatesNothing)
{
    editortest::ProbeUnderTest probe;
    PluginProcessorEditor editor(*probe.processor);
    probe.play(140000);

    for (const auto mode : {0, 1})
    {
        probe.setChoice(ParameterIDs::visualizationMode, mode);
        probe.setChoice(ParameterIDs::timeWindow, 4); // 8k, the longest traces
        editor.timerCallback();                       // sizes what grows once
        for (int round = 0; round < 3; ++round)
        {
            probe.play(editortest::blockSize);
            ScopedAllocationCounter counter;
            editor.timerCallback();
            EXPECT_EQ(counter.getCount(), 0u) << (mode == 0 ? "cloud" : "traces") << ", tick " << round;
        }
        EXPECT_EQ(editor.getVisualizer().isTimeMode(), mode == 1);
    }
}

TEST(EditorLifetimeOnDesktop, ClosingWithAudioRunningAndAFitInFlightReachesNothing)
{
    editortest::ProbeUnderTest probe;
    DesktopWindow window(700, 550);
    {
        auto editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
        window.add(*editor, {0, 0, 700, 550});
        editortest::AudioThread audio(probe);
        ASSERT_TRUE(runMessageLoopUntil([&] { return probe.processor->isCaptureFull(); }));

        probe.estimator.closeGate();
        window.click(window.centreOf(*editortest::find(*editor, "freeze")));
        ASSERT_TRUE(probe.processor->isRefitInProgress());
        // A table change posted just before the window closes.
        probe.processor->writeSmoothedBinsToTransferFunction(
            probe.processor->getTransferFunction().copyValues());

        editor.reset();
        EXPECT_FALSE(probe.processor->onTableChanged) << "the closed window left its callback behind";

        probe.estimator.openGate();
        ASSERT_TRUE(runMessageLoopUntil([&] { return !probe.processor->isRefitInProgress(); }, 60s));
        runMessageLoopFor(100ms); // the fit's table change arrives, and reaches nothing
    }
    EXPECT_TRUE(probe.processor->hasFit());
}

TEST(EditorLifetimeOnDesktop, AFitThatCannotStartIsReportedInTheWindow)
{
    editortest::ProbeUnderTest probe(
        // Out of memory while the fit starts: any exception, not only a refused thread, stays inside.
        [](std::function<void()>) -> std::thread { throw std::bad_alloc(); });
    DesktopWindow window(700, 550);
    PluginProcessorEditor editor(*probe.processor);
    window.add(editor, {0, 0, 700, 550});
    probe.play(20000);

    window.click(window.centreOf(*editortest::find(editor, "freeze")));
    EXPECT_TRUE(editor.isFrozen());
    ASSERT_NE(editor.getNotice(), nullptr);
    EXPECT_EQ(editor.getNotice()->getTitleText(), "Fit not started");
    EXPECT_FALSE(editortest::find(editor, "saveTransferFunction")->isEnabled());
    EXPECT_FALSE(probe.processor->isRefitInProgress());
    window.root().removeChildComponent(&editor);
}

TEST(EditorLifetime, OpensWithTheUsersThemeAndGridStrength)
{
    editortest::ProbeUnderTest probe;
    const auto settings = probe.processor->getUserSettings();
    ThemeValues theme;
    theme.primaryHue = 0.5;
    theme.glowEnabled = false;
    settings.saveThemeSettings(theme);
    {
        // A value the window never writes: it opens as the strongest grid.
        const auto file = settings.settingsFile(UserSettings::pluginPreferencesName);
        file.getParentDirectory().createDirectory();
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsXML;
        juce::PropertiesFile preferences(file, options);
        preferences.setValue(UserSettings::gridStrengthKey, 7);
        ASSERT_TRUE(preferences.saveIfNeeded());
    }

    {
        PluginProcessorEditor editor(*probe.processor);
        EXPECT_FLOAT_EQ(ui_core::themeSettings().primaryHue, 0.5f);
        EXPECT_FALSE(editor.getVisualizer().getStyle().glowEnabled);
        EXPECT_EQ(editor.getVisualizer().getGridStrength(), 6.0f);
    }
    EXPECT_EQ(settings.loadGridStrength(), 2);
    ui_core::setTheme(0.011f, 0.086f, 1.0f, 1.0f, true, 0.716f); // the other tests' theme
}

TEST(EditorLifetime, NothingIsRefittedWhileTheSnapshotWaitsForTheCaptureAndPlayShowsTheLiveViewAgain)
{
    editortest::ProbeUnderTest probe;
    PluginProcessorEditor editor(*probe.processor);
    probe.play(20000);
    editor.timerCallback();
    ASSERT_EQ(editor.getVisualizer().getPoints().size(), 2048u);
    editor.freeze();
    ASSERT_TRUE(runMessageLoopUntil([&] { return editor.hasCurveOfThisFreeze(); }, 60s));
    ASSERT_EQ(editor.getVisualizer().getPoints().size(), 16384u);

    // Back to live with the host stopped: the plot shows the live view again, not the frozen curve.
    editor.play();
    editor.timerCallback();
    EXPECT_EQ(editor.getVisualizer().getPoints().size(), 2048u);

    // The host restarts: the capture is empty, so the next freeze waits for it. Setting changes meanwhile
    // must not refit the previous snapshot.
    probe.processor->prepareToPlay(editortest::sampleRate, editortest::blockSize);
    editor.freeze();
    ASSERT_TRUE(editor.isSnapshotPending());
    probe.setChoice(ParameterIDs::captureAlgorithm, 0);
    auto& smoothing = *probe.processor->getParameterState().getParameter(ParameterIDs::smoothing);
    smoothing.setValueNotifyingHost(smoothing.convertTo0to1(20.0f));
    runMessageLoopFor(300ms);
    EXPECT_EQ(probe.estimator.calls(), 1);
    EXPECT_FALSE(editor.hasCurveOfThisFreeze());

    probe.play(20000);
    ASSERT_TRUE(runMessageLoopUntil([&] { return editor.hasCurveOfThisFreeze(); }, 60s));
    runMessageLoopFor(300ms);
    EXPECT_EQ(probe.estimator.calls(), 2) << "one fit, with the settings made while waiting";
}
