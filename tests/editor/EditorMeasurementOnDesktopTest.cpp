// What the window says about a measurement, on the Xvfb desktop with the real processor, its timer
// and a host-like audio thread: failed fits, the latency it offers, the fit report.
#include "EditorTestSupport.h"

#include "core/FitOutcomeText.h"
#include "core/ParameterValues.h"
#include "estimation/TransferFunctionEstimator.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

using editortest::find;
using testsupport::DesktopWindow;
using testsupport::runMessageLoopFor;
using testsupport::runMessageLoopUntil;

namespace
{
using namespace std::chrono_literals;
constexpr double pi = juce::MathConstants<double>::pi;

// Two unrelated tones: a signal whose delay can be told.
double tones(double n)
{
    return 0.55 * std::sin(2.0 * pi * 73.0 * n / editortest::sampleRate) +
           0.4 * std::sin(2.0 * pi * 11.0 * n / editortest::sampleRate);
}

class EditorMeasurementOnDesktop : public ::testing::Test
{
protected:
    ~EditorMeasurementOnDesktop() override
    {
        editor.reset();
        audio.reset();
        DesktopWindow::pump();
    }

    void openEditorWithAudio()
    {
        editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
        window.add(*editor, {0, 0, 700, 550});
        audio = std::make_unique<editortest::AudioThread>(probe);
        ASSERT_TRUE(runMessageLoopUntil([this] { return probe.processor->isCaptureFull(); }));
        DesktopWindow::pump();
    }

    juce::Component& child(const char* name)
    {
        auto* found = find(*editor, name);
        EXPECT_NE(found, nullptr) << name;
        return found != nullptr ? *found : *editor;
    }

    void click(const char* name) { window.click(window.centreOf(child(name))); }

    // The fit has answered and everything it posted has arrived.
    void waitForTheAnswer(int fits)
    {
        ASSERT_TRUE(runMessageLoopUntil(
            [&] { return probe.estimator.calls() == fits && !probe.processor->isRefitInProgress(); }, 60s));
        runMessageLoopFor(50ms);
    }

    int noticesShown() const
    {
        int shown = 0;
        for (auto* c : editor->getChildren())
            shown += c->getName() == "notice" && c->isVisible();
        return shown;
    }

    editortest::ProbeUnderTest probe;
    DesktopWindow window{700, 550};
    std::unique_ptr<editortest::AudioThread> audio;
    std::unique_ptr<PluginProcessorEditor> editor;
};

struct GestureRecorder final : juce::AudioProcessorParameter::Listener
{
    explicit GestureRecorder(juce::AudioProcessorParameter& p)
        : parameter(p)
    {
        parameter.addListener(this);
    }
    ~GestureRecorder() override { parameter.removeListener(this); }
    void parameterValueChanged(int, float) override {}
    void parameterGestureChanged(int, bool starting) override { ++(starting ? begins : ends); }

    juce::AudioProcessorParameter& parameter;
    std::atomic<int> begins{0}, ends{0};
};
} // namespace

struct SilentChannel
{
    const char* name;
    bool xSilent;
    const char* says;
};

class EditorFailedFitOnDesktop : public EditorMeasurementOnDesktop,
                                 public ::testing::WithParamInterface<SilentChannel>
{
};

TEST_P(EditorFailedFitOnDesktop, SaysWhyKeepsSaveOffAndShowsOneNoticeOnly)
{
    const auto& c = GetParam();
    probe.setChoice(ParameterIDs::visualizationMode, 1); // time view: no sidechain warning
    probe.source = [&c](long long n)
    {
        const auto x = editortest::inputAt(n);
        return std::pair{c.xSilent ? 0.0 : x, c.xSilent ? editortest::device(x) : 0.0};
    };
    openEditorWithAudio();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(editor->getWarningOverlay().isVisible());

    click("freeze");
    waitForTheAnswer(1);
    ASSERT_NE(editor->getNotice(), nullptr);
    EXPECT_EQ(editor->getNotice()->getTitleText(), "No curve");
    EXPECT_TRUE(editor->getNotice()->getMessage().startsWith(c.says)) << editor->getNotice()->getMessage();
    EXPECT_FALSE(child("saveTransferFunction").isEnabled());
    EXPECT_FALSE(editor->getReportReadout().isVisible());

    // A change of algorithm refits and fails the same way: one notice, not two.
    probe.setChoice(ParameterIDs::captureAlgorithm, 0);
    waitForTheAnswer(2);
    ASSERT_NE(editor->getNotice(), nullptr);
    EXPECT_EQ(editor->getNotice()->getTitleText(), "No curve");
    EXPECT_EQ(noticesShown(), 1);
    EXPECT_FALSE(child("saveTransferFunction").isEnabled());

    click("play");
    EXPECT_FALSE(editor->isFrozen());
    EXPECT_EQ(editor->getNotice(), nullptr);
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->getVisualizer().isTimeMode(); }, 3s))
        << "Play shows the live traces again";
}

INSTANTIATE_TEST_SUITE_P(
    Channels, EditorFailedFitOnDesktop,
    ::testing::Values(SilentChannel{"sidechain", true, "The sidechain (X) was silent for the whole capture."},
                      SilentChannel{"mainInput", false,
                                    "The main input (Y) was silent for the whole capture."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorMeasurementOnDesktop, OffersTheMeasuredDelayAndTheCurveAfterApplyIsTheUndelayedOnes)
{
    constexpr double lag = 37.25;
    probe.source = [](long long n) {
        return std::pair{tones((double) n), editortest::device(tones((double) n - lag))};
    };
    openEditorWithAudio();
    ASSERT_FALSE(HasFatalFailure());

    click("freeze");
    waitForTheAnswer(1);
    ASSERT_NE(editor->getNotice(), nullptr);
    EXPECT_EQ(editor->getNotice()->getTitleText(), "Y lags X by 37.25 samples");
    ASSERT_TRUE(editor->getSession().getLatencyOffer().has_value());
    EXPECT_NEAR(editor->getSession().getLatencyOffer()->delay, lag, 0.05);
    EXPECT_TRUE(child("saveTransferFunction").isEnabled()) << "the curve can be saved as it is";

    auto& latencyX = *probe.processor->getParameterState().getParameter(ParameterIDs::latencyX);
    GestureRecorder host(latencyX);
    auto* apply = editor->getNotice()->getButton(1);
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(apply->getText(), "Apply");
    window.click(window.centreOf(*apply));
    EXPECT_EQ(host.begins.load(), 1);
    EXPECT_EQ(host.ends.load(), 1);
    EXPECT_FLOAT_EQ(ParameterValues::raw(probe.processor->getParameterState(), ParameterIDs::latencyX),
                    static_cast<float>(lag));

    // The refit that follows uses it: the curve is the fit of the capture without the delay.
    waitForTheAnswer(2);
    EXPECT_EQ(editor->getNotice(), nullptr);
    std::vector<double> x(65536), y(65536);
    for (std::size_t k = 0; k < x.size(); ++k)
    {
        x[k] = tones((double) k);
        y[k] = editortest::device(x[k]);
    }
    const auto undelayed =
        estimation::estimateTransferFunction(x, y, 16384, 50, estimation::EstimationMethod::SweepMean);
    const auto& table = probe.processor->getTransferFunction();
    double worst = 0.0;
    for (int i = 0; i < TransferFunctionTable::size; ++i)
        worst = std::max(worst, std::abs(table.get(i) - undelayed.smoothedBins[(std::size_t) i]));
    EXPECT_LT(worst, 1.2e-4);
    const auto rows = editor->getReportReadout().getRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().value, "Y lags X by 37.25 samples, set");

    // A new freeze with the delay set offers nothing.
    click("play");
    click("freeze");
    waitForTheAnswer(3);
    EXPECT_EQ(editor->getNotice(), nullptr);
    EXPECT_FALSE(editor->getSession().getLatencyOffer().has_value());
}

TEST_F(EditorMeasurementOnDesktop, TheReportShownIsTheOneTheCommandLineProbePrints)
{
    // One recording, played once into the window's processor and handed to the probe as a file.
    constexpr int length = 40 * editortest::blockSize;
    std::vector<float> x(length), y(length);
    for (int n = 0; n < length; ++n)
    {
        x[(std::size_t) n] = (float) tones(n);
        y[(std::size_t) n] = (float) editortest::device(tones(n - 20.5));
    }
    const auto wav = probe.folder.get().getChildFile("capture.wav");
    {
        juce::WavAudioFormat format;
        auto stream = wav.createOutputStream();
        ASSERT_NE(stream, nullptr);
        std::unique_ptr<juce::AudioFormatWriter> writer(
            format.createWriterFor(stream.get(), editortest::sampleRate, 2, 32, {}, 0));
        ASSERT_NE(writer, nullptr);
        stream.release();
        const float* channels[] = {x.data(), y.data()};
        ASSERT_TRUE(writer->writeFromFloatArrays(channels, 2, length));
    }
    const auto json = probe.folder.get().getChildFile("report.json");
    juce::ChildProcess cli;
    ASSERT_TRUE(cli.start(juce::StringArray{VELTRANE_PROBE_PATH, "fit", "--x", wav.getFullPathName() + ":1",
                                            "--y", wav.getFullPathName() + ":2", "--length", "16k",
                                            "--latency-x", "3", "--report", json.getFullPathName()}));
    const auto printed = cli.readAllProcessOutput();
    ASSERT_EQ(cli.getExitCode(), 0u) << printed;
    const auto cliReport = juce::JSON::parse(json);
    ASSERT_TRUE(cliReport.isObject()) << printed;

    probe.source = [&](long long n) {
        return std::pair{(double) x[(std::size_t) n], (double) y[(std::size_t) n]};
    };
    auto& latencyX = *probe.processor->getParameterState().getParameter(ParameterIDs::latencyX);
    latencyX.setValueNotifyingHost(latencyX.convertTo0to1(3.0f));
    editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
    window.add(*editor, {0, 0, 700, 550});
    probe.play(length);
    click("freeze");
    waitForTheAnswer(1);

    const auto* report = editor->getSession().getReport();
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(report->latency.samples.has_value());
    EXPECT_DOUBLE_EQ(*report->latency.samples, (double) cliReport["latencySamples"]);
    EXPECT_DOUBLE_EQ(report->coverage, (double) cliReport["coverage"]);
    EXPECT_DOUBLE_EQ(report->xMin, (double) cliReport["xRange"][0]);
    EXPECT_DOUBLE_EQ(report->xMax, (double) cliReport["xRange"][1]);
    EXPECT_DOUBLE_EQ(report->residual, (double) cliReport["residual"]);
    EXPECT_DOUBLE_EQ(report->directionGap, (double) cliReport["directionGap"]);
    EXPECT_EQ(report->memoryWarning, (bool) cliReport["memoryWarning"]);

    // The read-out shows those numbers with the probe's digits, and a screen reader reads the same.
    const auto& readout = editor->getReportReadout();
    ASSERT_TRUE(readout.isShowing());
    const auto rows = readout.getRows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].value, FitOutcomeText::residualDecibels(cliReport["residual"]));
    EXPECT_EQ(rows[1].value, FitOutcomeText::coveragePercent(cliReport["coverage"]));
    EXPECT_EQ(rows[3].value, FitOutcomeText::gapPercent(cliReport["directionGap"]));
    EXPECT_TRUE(rows[5].value.startsWith(FitOutcomeText::delay(cliReport["latencySamples"])));
    EXPECT_TRUE(printed.contains(FitOutcomeText::delay(cliReport["latencySamples"]))) << printed;
    auto* handler = const_cast<ui_panels::FitReportReadout&>(readout).getAccessibilityHandler();
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->getTitle(), "Fit report");
    ASSERT_NE(handler->getValueInterface(), nullptr);
    EXPECT_EQ(handler->getValueInterface()->getCurrentValueAsString(), readout.getText());

    // It stays clear of the curve, which it must not cover.
    const auto bounds = readout.getBounds().toFloat();
    const auto data = editor->getVisualizer().getDataBounds().translated(
        (float) editor->getVisualizer().getX(), (float) editor->getVisualizer().getY());
    int covered = 0;
    for (const auto& p : editor->getVisualizer().getPoints())
        covered += bounds.contains(data.getX() + (float) (p.x + 1.0) / 2.0f * data.getWidth(),
                                   data.getBottom() - (float) (p.y + 1.0) / 2.0f * data.getHeight());
    EXPECT_EQ(covered, 0);
}
