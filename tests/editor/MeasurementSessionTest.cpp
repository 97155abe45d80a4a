#include "editor/MeasurementSession.h"
#include "EditorTestSupport.h"
#include "core/ParameterValues.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;
using testsupport::runMessageLoopUntil;
using ui_panels::MeasurementNotice;

namespace
{
constexpr double pi = juce::MathConstants<double>::pi;

// Two unrelated tones (73 Hz and 11 Hz at 48 kHz): a signal whose delay the latency search can tell.
double tonesAt(double n)
{
    return 0.55 * std::sin(2.0 * pi * 73.0 * n / 48000.0) + 0.4 * std::sin(2.0 * pi * 11.0 * n / 48000.0);
}

// A session on a processor whose estimates the test can hold, with a clock the test steps.
struct SessionUnderTest
{
    SessionUnderTest()
    {
        session.onChange = [this] { ++changes; };
        processor().onTableChanged = [this]
        {
            ++tableChanges;
            if (session.tableChanged())
                ++curvesShown;
        };
        processor().onFitFinished = [this] { session.fitFinished(); };
    }

    ~SessionUnderTest()
    {
        processor().onTableChanged = nullptr;
        processor().onFitFinished = nullptr;
    }

    PluginAudioProcessor& processor() { return *probe.processor; }

    // 16384 pairs of y = device(x) for the tones, Y lagging X by lag samples (negative: leading).
    template <typename Device>
    void capture(double lag, Device device, double xGain = 1.0)
    {
        std::vector<double> x(16384), y(16384);
        for (std::size_t k = 0; k < x.size(); ++k)
        {
            x[k] = xGain * tonesAt(static_cast<double>(k));
            y[k] = device(tonesAt(static_cast<double>(k) - lag), k);
        }
        processor().getCaptureBuffer().push(x.data(), y.data(), static_cast<int>(x.size()));
    }

    void captureTanh(double lag = 0.0)
    {
        capture(lag, [](double x, std::size_t) { return std::tanh(2.0 * x); });
    }

    // Until the processor is idle and everything it posted has been delivered.
    void waitForTheAnswer()
    {
        ASSERT_TRUE(runMessageLoopUntil([this] { return !processor().isRefitInProgress(); }, 60s));
        auto delivered = std::make_shared<bool>(false);
        juce::MessageManager::callAsync([delivered] { *delivered = true; });
        ASSERT_TRUE(runMessageLoopUntil([&] { return *delivered; }));
    }

    void setLatency(const char* id, float value)
    {
        auto* parameter = processor().getParameterState().getParameter(id);
        parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
    }

    editortest::ProbeUnderTest probe;
    juce::uint32 now = 5000;
    ui_panels::MeasurementSession session{probe.processor.operator*(), [this] { return now; }};
    int changes = 0, tableChanges = 0, curvesShown = 0;
};

// Counts what a host sees of one parameter: gestures and value changes.
struct GestureRecorder final : juce::AudioProcessorParameter::Listener
{
    explicit GestureRecorder(juce::AudioProcessorParameter& p)
        : parameter(p)
    {
        parameter.addListener(this);
    }
    ~GestureRecorder() override { parameter.removeListener(this); }

    void parameterValueChanged(int, float) override { ++values; }
    void parameterGestureChanged(int, bool starting) override { ++(starting ? begins : ends); }

    juce::AudioProcessorParameter& parameter;
    int begins = 0, ends = 0, values = 0;
};
} // namespace

TEST(MeasurementSession, AFreezeWaitsForAFullCaptureThenFitsOnceWithTheSettingsMadeMeanwhile)
{
    SessionUnderTest t;
    t.session.freeze();
    EXPECT_TRUE(t.session.isFrozen());
    EXPECT_TRUE(t.session.isSnapshotPending());
    t.session.settingChanged();
    t.session.tick();
    t.waitForTheAnswer();
    EXPECT_EQ(t.probe.estimator.calls(), 0);
    EXPECT_FALSE(t.session.canSave());

    t.captureTanh();
    t.session.tick();
    EXPECT_FALSE(t.session.isSnapshotPending());
    t.waitForTheAnswer();
    t.session.tick();
    t.waitForTheAnswer();
    EXPECT_EQ(t.probe.estimator.calls(), 1);
    EXPECT_TRUE(t.session.hasCurveOfThisFreeze());
    EXPECT_TRUE(t.session.canSave());
    EXPECT_EQ(t.curvesShown, 1);
}

TEST(MeasurementSession, TheCurveOfAnEarlierFreezeIsNotTakenForThisOnes)
{
    SessionUnderTest t;
    t.captureTanh();
    t.session.freeze();
    t.waitForTheAnswer();
    ASSERT_TRUE(t.session.canSave());
    t.session.play();
    EXPECT_FALSE(t.session.canSave());

    t.probe.estimator.closeGate();
    t.session.freeze();
    ASSERT_TRUE(t.processor().isRefitInProgress());
    EXPECT_FALSE(t.session.canSave()) << "the first freeze's curve counts for the second";
    t.session.play();
    t.session.freeze(); // its snapshot waits behind the second fit
    t.probe.estimator.openGate();
    ASSERT_TRUE(runMessageLoopUntil([&] { return t.probe.estimator.calls() == 3; }, 60s));
    t.waitForTheAnswer();

    EXPECT_EQ(t.tableChanges, 3);
    EXPECT_EQ(t.curvesShown, 2) << "the second fit's table was shown as the third freeze's curve";
    EXPECT_TRUE(t.session.canSave());
}

TEST(MeasurementSession, SettingChangesRefitOnlyWhileFrozenAndASmoothingChangeWaitsForTheKnobToRest)
{
    SessionUnderTest t;
    t.captureTanh();
    t.session.settingChanged(); // live: nothing to refit
    t.session.tick();
    EXPECT_EQ(t.probe.estimator.calls(), 0);

    t.session.freeze();
    t.waitForTheAnswer();
    const auto generation = t.session.getCurveGeneration();
    ASSERT_NE(t.session.getReport(), nullptr);
    const auto residual = t.session.getReport()->residual;

    for (int i = 0; i < 3; ++i)
        t.session.settingChanged();
    t.session.tick();
    t.waitForTheAnswer();
    t.session.tick();
    EXPECT_EQ(t.probe.estimator.calls(), 2) << "three changes make one refit";

    // The knob moves at 5000 and again at 5060; the table is re-smoothed 100 ms after the last move.
    const auto shown = t.curvesShown;
    t.session.smoothingMoved();
    t.now = 5060;
    t.session.smoothingMoved();
    for (const juce::uint32 at : {5100u, 5159u})
    {
        t.now = at;
        t.session.tick();
        t.waitForTheAnswer();
        EXPECT_EQ(t.curvesShown, shown) << at;
    }
    t.now = 5160;
    t.session.tick();
    t.waitForTheAnswer();
    EXPECT_EQ(t.curvesShown, shown + 1);
    EXPECT_GT(t.session.getCurveGeneration(), generation);
    EXPECT_EQ(t.probe.estimator.calls(), 2) << "a smoothing change does not refit";
    ASSERT_NE(t.session.getReport(), nullptr) << "a re-smoothing keeps the report of its fit";
    EXPECT_EQ(t.session.getReport()->residual, residual);
}

TEST(MeasurementSession, AFitWithoutACurveSaysWhyUntilPlayAndARefitAsksAgain)
{
    struct Case
    {
        double xGain;
        double yGain;
        const char* says;
    };
    for (const auto& c : {Case{0.0, 1.0,
                               "The sidechain (X) was silent for the whole capture. Is the device's "
                               "input routed to the sidechain?"},
                          Case{1.0, 0.0, "The main input (Y) was silent"}})
    {
        SessionUnderTest t;
        t.capture(
            0.0, [&](double x, std::size_t) { return c.yGain * std::tanh(2.0 * x); }, c.xGain);
        t.session.freeze();
        t.waitForTheAnswer();
        const auto& notice = t.session.getNotice();
        EXPECT_EQ(notice.kind, MeasurementNotice::Kind::noCurve);
        EXPECT_EQ(notice.title, "No curve");
        EXPECT_TRUE(notice.message.startsWith(c.says)) << notice.message;
        EXPECT_FALSE(t.session.canSave());
        EXPECT_EQ(t.session.getReport(), nullptr);

        // A refit clears the notice while it runs and brings back the one answer it gives.
        t.session.settingChanged();
        t.session.tick();
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);
        t.waitForTheAnswer();
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::noCurve);

        // Dismissed, the capture still has no curve to save; Play clears the rest.
        t.session.answerNotice(0);
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);
        EXPECT_FALSE(t.session.canSave());
        t.session.play();
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);
        EXPECT_FALSE(t.session.isFrozen());
    }
}

TEST(MeasurementSession, OffersAnUncompensatedDelayAndAppliesItAsOneGestureThatTheNextFitUses)
{
    struct Case
    {
        double lag;
        const char* parameter;
        const char* title;
    };
    for (const auto& c : {Case{37.25, ParameterIDs::latencyX, "Y lags X by 37.25 samples"},
                          Case{-5.0, ParameterIDs::latencyY, "Y leads X by 5.00 samples"}})
    {
        SessionUnderTest t;
        t.captureTanh(c.lag);
        t.session.freeze();
        t.waitForTheAnswer();

        const auto& offer = t.session.getLatencyOffer();
        ASSERT_TRUE(offer.has_value()) << c.lag;
        EXPECT_NEAR(offer->delay, c.lag, 0.05);
        ASSERT_EQ(offer->changes.size(), 1u);
        EXPECT_STREQ(offer->changes[0].parameterID, c.parameter);
        EXPECT_FLOAT_EQ(offer->changes[0].value, static_cast<float>(std::abs(c.lag)));
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::latencyOffer);
        EXPECT_EQ(t.session.getNotice().title, c.title);
        EXPECT_EQ(t.session.getNotice().buttons, (juce::StringArray{"Not now", "Apply"}));
        EXPECT_EQ(ParameterValues::raw(t.processor().getParameterState(), c.parameter), 0.0f)
            << "nothing is applied without the user's click";

        GestureRecorder host(*t.processor().getParameterState().getParameter(c.parameter));
        t.session.answerNotice(1);
        EXPECT_EQ(host.begins, 1);
        EXPECT_EQ(host.ends, 1);
        EXPECT_FLOAT_EQ(ParameterValues::raw(t.processor().getParameterState(), c.parameter),
                        static_cast<float>(std::abs(c.lag)));
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);

        t.session.tick();
        t.waitForTheAnswer();
        EXPECT_EQ(t.probe.estimator.calls(), 2);
        EXPECT_FALSE(t.session.getLatencyOffer().has_value()) << "the delay set is offered again";
        EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);
        EXPECT_TRUE(t.session.canSave());
    }
}

TEST(MeasurementSession, ADelayAlreadySetIsNotOfferedAndNoneFoundIsNoOffer)
{
    SessionUnderTest t;
    t.captureTanh(12.0);
    t.setLatency(ParameterIDs::latencyX, 12.0f);
    t.session.freeze();
    t.waitForTheAnswer();
    ASSERT_NE(t.session.getReport(), nullptr);
    EXPECT_FALSE(t.session.getLatencyOffer().has_value());
    EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);

    // A steady sine repeats within the search range: no delay, so nothing to offer.
    SessionUnderTest sine;
    sine.probe.play(20000);
    sine.session.freeze();
    sine.waitForTheAnswer();
    ASSERT_NE(sine.session.getReport(), nullptr);
    EXPECT_FALSE(sine.session.getReport()->latency.samples.has_value());
    EXPECT_FALSE(sine.session.getLatencyOffer().has_value());
}

TEST(MeasurementSession, AMemoryWarningIsShownWhenEarnedAndStaysDismissedForTheFreeze)
{
    // A device whose output depends on the direction X moves in: hysteresis.
    SessionUnderTest t;
    double previous = 0.0;
    t.capture(0.0,
              [&](double x, std::size_t)
              {
                  const auto rising = x >= previous;
                  previous = x;
                  return std::tanh(2.0 * x + (rising ? 0.08 : -0.08));
              });
    t.session.freeze();
    t.waitForTheAnswer();
    ASSERT_NE(t.session.getReport(), nullptr);
    ASSERT_TRUE(t.session.getReport()->memoryWarning);
    if (t.session.getNotice().kind == MeasurementNotice::Kind::latencyOffer)
        t.session.answerNotice(0); // the offer goes first; the warning follows once it is answered
    EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::memoryWarning);
    EXPECT_EQ(t.session.getNotice().title, "Not a static curve");

    t.session.answerNotice(0);
    t.session.settingChanged();
    t.session.tick();
    t.waitForTheAnswer();
    EXPECT_EQ(t.probe.estimator.calls(), 2);
    EXPECT_EQ(t.session.getNotice().kind, MeasurementNotice::Kind::none);
    EXPECT_TRUE(t.session.getReport()->memoryWarning) << "the report still says so";
}
