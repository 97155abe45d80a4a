#include "core/ParameterLayout.h"
#include "core/PluginAudioProcessor.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace
{
using estimation::EstimationMethod;
using estimation::TransferFunctionEstimate;

constexpr int tableSize = TransferFunctionTable::size;

// Stands in for the estimator: records every call and, while held, keeps the worker inside the
// estimate so that a test can act during an estimation.
class ControlledEstimator
{
public:
    struct Call
    {
        std::vector<double> x, y;
        int tableSize;
        int smoothing;
        EstimationMethod method;
    };

    PluginEnvironment environment()
    {
        PluginEnvironment e;
        e.estimate = [this](const std::vector<double>& x, const std::vector<double>& y, int size,
                            int smoothing, EstimationMethod method)
        { return run(x, y, size, smoothing, method); };
        return e;
    }

    void hold()
    {
        std::lock_guard<std::mutex> lock(mutex);
        held = true;
    }

    void release()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            held = false;
        }
        changed.notify_all();
    }

    void waitUntilStarted(int count)
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return started >= count; });
    }

    int startedCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return started;
    }

    int finishedCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return finished;
    }

    std::vector<Call> calls()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return recorded;
    }

    void setResult(TransferFunctionEstimate r)
    {
        std::lock_guard<std::mutex> lock(mutex);
        result = std::move(r);
    }

private:
    TransferFunctionEstimate run(const std::vector<double>& x, const std::vector<double>& y, int size,
                                 int smoothing, EstimationMethod method)
    {
        std::unique_lock<std::mutex> lock(mutex);
        recorded.push_back({x, y, size, smoothing, method});
        ++started;
        changed.notify_all();
        changed.wait(lock, [&] { return !held; });
        ++finished;
        return result;
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    int started = 0, finished = 0;
    std::vector<Call> recorded;
    TransferFunctionEstimate result;
};

TransferFunctionEstimate validEstimate(double smoothedValue, double rawValue)
{
    TransferFunctionEstimate e;
    e.rawBins.assign((std::size_t) tableSize, rawValue);
    e.smoothedBins.assign((std::size_t) tableSize, smoothedValue);
    e.valid = true;
    return e;
}

void setParameter(PluginAudioProcessor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.getParameterState().getParameter(id);
    parameter->setValueNotifyingHost(parameter->convertTo0to1(plainValue));
}

// Fills the capture with X = position and Y = 1e6 + position.
void fillCapture(PluginAudioProcessor& processor)
{
    const auto n = processor.getCaptureBuffer().getCapacity();
    std::vector<double> x((std::size_t) n), y((std::size_t) n);
    for (int i = 0; i < n; ++i)
    {
        x[(std::size_t) i] = i;
        y[(std::size_t) i] = 1.0e6 + i;
    }
    processor.getCaptureBuffer().push(x.data(), y.data(), n);
}

// Runs the message loop until everything posted so far, and whatever that posts in turn while
// idle, has been delivered.
void drainMessages()
{
    for (int round = 0; round < 3; ++round)
    {
        auto delivered = std::make_shared<bool>(false);
        juce::MessageManager::callAsync([delivered] { *delivered = true; });
        ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return *delivered; }));
    }
}

bool waitUntilIdle(PluginAudioProcessor& processor)
{
    return testsupport::runMessageLoopUntil([&] { return !processor.isRefitInProgress(); });
}
} // namespace

TEST(PluginAudioProcessorRefit, HandsTheAlignedNewestPairsAndTheParametersToTheEstimator)
{
    ControlledEstimator estimator;
    PluginAudioProcessor processor(estimator.environment());
    fillCapture(processor);
    setParameter(processor, ParameterIDs::captureLength, 0.0f); // 16k
    setParameter(processor, ParameterIDs::latencyX, 3.0f);
    setParameter(processor, ParameterIDs::smoothing, 7.0f);
    setParameter(processor, ParameterIDs::captureAlgorithm, 0.0f); // ODR

    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(waitUntilIdle(processor));

    const auto calls = estimator.calls();
    ASSERT_EQ(calls.size(), 1u);
    const auto& call = calls[0];
    EXPECT_EQ(call.tableSize, 16384);
    EXPECT_EQ(call.smoothing, 7);
    EXPECT_EQ(call.method, EstimationMethod::OrthogonalFit);
    ASSERT_EQ(call.x.size(), 16381u);
    ASSERT_EQ(call.y.size(), 16381u);
    const double start = 131072 - 16384;
    EXPECT_EQ(call.x.front(), start);
    EXPECT_EQ(call.y.front(), 1.0e6 + start + 3);
    EXPECT_EQ(call.x.back(), 131072 - 4);
    EXPECT_EQ(call.y.back(), 1.0e6 + 131071);
}

TEST(PluginAudioProcessorRefit, RefitsTheSameSnapshotWithTheParametersCurrentAtTheTime)
{
    ControlledEstimator estimator;
    PluginAudioProcessor processor(estimator.environment());
    fillCapture(processor);
    processor.snapshotCaptureAndRefit(); // defaults: 64k, Mean
    ASSERT_TRUE(waitUntilIdle(processor));

    // New pairs after the freeze are not part of the snapshot.
    const std::vector<double> later(1000, -5.0);
    processor.getCaptureBuffer().push(later.data(), later.data(), 1000);
    setParameter(processor, ParameterIDs::captureLength, 3.0f); // 128k
    setParameter(processor, ParameterIDs::captureAlgorithm, 0.0f);
    processor.refitTransferFunction();
    ASSERT_TRUE(waitUntilIdle(processor));

    const auto calls = estimator.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].method, EstimationMethod::SweepMean);
    EXPECT_EQ(calls[0].x.size(), 65536u);
    EXPECT_EQ(calls[1].method, EstimationMethod::OrthogonalFit);
    ASSERT_EQ(calls[1].x.size(), 131072u);
    EXPECT_EQ(calls[1].x.front(), 0.0);
    EXPECT_EQ(calls[1].x.back(), 131071.0);
}

TEST(PluginAudioProcessorRefit, DoesNothingWithoutASnapshot)
{
    ControlledEstimator estimator;
    PluginAudioProcessor processor(estimator.environment());
    fillCapture(processor);
    processor.refitTransferFunction();
    EXPECT_FALSE(processor.isRefitInProgress());
    drainMessages();
    EXPECT_TRUE(estimator.calls().empty());
}

TEST(PluginAudioProcessorRefit, ReportsTheCaptureFullOnceTheSelectedLengthHasArrived)
{
    PluginAudioProcessor processor;
    setParameter(processor, ParameterIDs::captureLength, 0.0f); // 16384
    const std::vector<double> block(16383, 0.1);
    processor.getCaptureBuffer().push(block.data(), block.data(), 16383);
    EXPECT_FALSE(processor.isCaptureFull());
    processor.getCaptureBuffer().push(block.data(), block.data(), 1);
    EXPECT_TRUE(processor.isCaptureFull());

    setParameter(processor, ParameterIDs::captureLength, 1.0f); // 32768
    EXPECT_FALSE(processor.isCaptureFull());
    processor.prepareToPlay(48000.0, 512);
    setParameter(processor, ParameterIDs::captureLength, 0.0f);
    EXPECT_FALSE(processor.isCaptureFull());
}

TEST(PluginAudioProcessorRefit, ValidEstimateFillsTableAndRawBinsAndTellsTheListener)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.75, 0.5));
    PluginAudioProcessor processor(estimator.environment());
    int notifications = 0;
    processor.onTableChanged = [&] { ++notifications; };
    fillCapture(processor);

    EXPECT_FALSE(processor.hasFit());
    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return notifications == 1; }));

    EXPECT_TRUE(processor.hasFit());
    EXPECT_EQ(processor.getTransferFunction().get(0), 0.75);
    EXPECT_EQ(processor.getTransferFunction().get(16383), 0.75);
    EXPECT_EQ(processor.getRawBins(), std::vector<double>((std::size_t) tableSize, 0.5));
}

TEST(PluginAudioProcessorRefit, InvalidEstimateLeavesTableAndRawBinsAsTheyWere)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.75, 0.5));
    PluginAudioProcessor processor(estimator.environment());
    int notifications = 0;
    processor.onTableChanged = [&] { ++notifications; };
    fillCapture(processor);
    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(waitUntilIdle(processor));
    drainMessages();
    ASSERT_EQ(notifications, 1);

    estimator.setResult(TransferFunctionEstimate{});
    processor.refitTransferFunction();
    ASSERT_TRUE(processor.isRefitInProgress());
    ASSERT_TRUE(waitUntilIdle(processor));
    drainMessages();

    EXPECT_EQ(estimator.calls().size(), 2u);
    EXPECT_EQ(notifications, 1);
    EXPECT_TRUE(processor.hasFit());
    EXPECT_EQ(processor.getTransferFunction().get(100), 0.75);
    EXPECT_EQ(processor.getRawBins(), std::vector<double>((std::size_t) tableSize, 0.5));
}

TEST(PluginAudioProcessorRefit, WrittenBinsReachTheTableAndAreAnnouncedOnTheMessageThread)
{
    PluginAudioProcessor processor;
    int notifications = 0;
    processor.onTableChanged = [&]
    {
        EXPECT_TRUE(juce::MessageManager::getInstance()->isThisTheMessageThread());
        ++notifications;
    };

    std::vector<double> values((std::size_t) tableSize);
    for (int i = 0; i < tableSize; ++i)
        values[(std::size_t) i] = std::sin(i * 0.001);
    processor.writeSmoothedBinsToTransferFunction(values);

    EXPECT_EQ(notifications, 0); // posted, not called in place
    EXPECT_EQ(processor.getTransferFunction().copyValues(), values);
    drainMessages();
    EXPECT_EQ(notifications, 1);
}

TEST(PluginAudioProcessorRefit, ListenerRemovedBeforeTheNotificationArrivesIsNeverCalled)
{
    PluginAudioProcessor processor;
    int oldListenerCalls = 0, newListenerCalls = 0;
    processor.onTableChanged = [&] { ++oldListenerCalls; };
    processor.writeSmoothedBinsToTransferFunction(std::vector<double>((std::size_t) tableSize, 0.1));

    processor.onTableChanged = nullptr;
    drainMessages();
    EXPECT_EQ(oldListenerCalls, 0);

    // A replacement installed in between receives the notification instead of the old one.
    processor.onTableChanged = [&] { ++oldListenerCalls; };
    processor.writeSmoothedBinsToTransferFunction(std::vector<double>((std::size_t) tableSize, 0.2));
    processor.onTableChanged = [&] { ++newListenerCalls; };
    drainMessages();
    EXPECT_EQ(oldListenerCalls, 0);
    EXPECT_EQ(newListenerCalls, 1);
}

TEST(PluginAudioProcessorRefit, NotificationPostedBeforeDestructionDoesNothingAfterwards)
{
    int calls = 0;
    {
        auto processor = std::make_unique<PluginAudioProcessor>();
        processor->onTableChanged = [&] { ++calls; };
        processor->writeSmoothedBinsToTransferFunction(std::vector<double>((std::size_t) tableSize, 0.1));
    }
    drainMessages();
    EXPECT_EQ(calls, 0);
}

TEST(PluginAudioProcessorRefit, ThreadStartFailureIsReportedAndLeavesTheWorkerIdle)
{
    ControlledEstimator estimator;
    auto environment = estimator.environment();
    int attempts = 0;
    environment.startThread = [&](std::function<void()> job)
    {
        if (++attempts == 1)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(job));
    };
    PluginAudioProcessor processor(environment);
    fillCapture(processor);

    EXPECT_THROW(processor.snapshotCaptureAndRefit(), std::system_error);
    EXPECT_FALSE(processor.isRefitInProgress());

    // A later request starts normally and does not turn into a pending one.
    processor.refitTransferFunction();
    EXPECT_TRUE(processor.isRefitInProgress());
    ASSERT_TRUE(waitUntilIdle(processor));
    drainMessages();
    EXPECT_EQ(estimator.calls().size(), 1u);
}

TEST(PluginAudioProcessorRefit, InvalidEstimateOnAProcessorThatNeverFittedLeavesItWithoutAFit)
{
    ControlledEstimator estimator; // answers with an invalid estimate
    PluginAudioProcessor processor(estimator.environment());
    int notifications = 0;
    processor.onTableChanged = [&] { ++notifications; };
    fillCapture(processor);

    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(waitUntilIdle(processor));
    drainMessages();

    EXPECT_EQ(estimator.calls().size(), 1u);
    EXPECT_FALSE(processor.hasFit());
    EXPECT_TRUE(processor.getRawBins().empty());
    EXPECT_EQ(processor.getTransferFunction().get(100), TransferFunctionTable::xAt(100));
    EXPECT_EQ(notifications, 0);
}

TEST(PluginAudioProcessorRefit, FollowUpThatCannotStartStaysPendingForTheNextRequest)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.5, 0.5));
    auto environment = estimator.environment();
    int starts = 0;
    environment.startThread = [&](std::function<void()> job)
    {
        if (++starts == 2)
            throw std::bad_alloc(); // not a std::system_error: nothing may escape the completion
        return std::thread(std::move(job));
    };
    PluginAudioProcessor processor(environment);
    fillCapture(processor);

    estimator.hold();
    processor.snapshotCaptureAndRefit();
    estimator.waitUntilStarted(1);
    setParameter(processor, ParameterIDs::smoothing, 21.0f);
    processor.refitTransferFunction();
    estimator.release();

    // The completion runs in the message loop; the follow-up fails to start there.
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return starts == 2; }));
    drainMessages();
    EXPECT_FALSE(processor.isRefitInProgress());
    EXPECT_TRUE(processor.isRefitPending());
    EXPECT_TRUE(processor.hasFit());

    setParameter(processor, ParameterIDs::smoothing, 22.0f);
    processor.refitTransferFunction();
    ASSERT_TRUE(waitUntilIdle(processor));
    drainMessages();

    const auto calls = estimator.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].smoothing, 22);
    EXPECT_FALSE(processor.isRefitPending());
}

TEST(PluginAudioProcessorRefit, ResultThatCannotBePostedLeavesTheProcessorReady)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.75, 0.5));
    auto environment = estimator.environment();
    std::atomic<int> refusedPosts{0};
    std::atomic<bool> refuse{true};
    // As while the message manager shuts down: the call is dropped, never run.
    environment.postToMessageThread = [&](std::function<void()> call)
    {
        if (refuse.load())
        {
            ++refusedPosts;
            return false;
        }
        return juce::MessageManager::callAsync(std::move(call));
    };
    PluginAudioProcessor processor(environment);
    fillCapture(processor);

    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(waitUntilIdle(processor));
    EXPECT_EQ(refusedPosts.load(), 1);
    EXPECT_FALSE(processor.hasFit());
    EXPECT_EQ(processor.getTransferFunction().get(100), TransferFunctionTable::xAt(100));

    // A later request is not swallowed as pending: it runs and delivers.
    refuse = false;
    processor.refitTransferFunction();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return processor.hasFit(); }));
    EXPECT_EQ(estimator.calls().size(), 2u);
    EXPECT_EQ(processor.getTransferFunction().get(100), 0.75);
}

// The same with the framework's own refusal: once the message loop has been told to quit, posts fail.
// That cannot be undone in a process, so it runs in a child process of its own.
TEST(PluginAudioProcessorRefitDeathTest, ResultRefusedByAMessageLoopThatQuitsLeavesTheProcessorReady)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ControlledEstimator estimator;
            PluginAudioProcessor processor(estimator.environment());
            fillCapture(processor);
            juce::MessageManager::getInstance()->stopDispatchLoop();
            processor.snapshotCaptureAndRefit();
            for (int i = 0; i < 1000 && processor.isRefitInProgress(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            // Leaves at once: the processor and the framework are not torn down in this child.
            std::_Exit(estimator.calls().size() == 1 && !processor.isRefitInProgress() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Threaded lifecycle of the worker; also runs under ThreadSanitizer.
TEST(RefitConcurrency, RequestsDuringAnEstimationCollapseIntoOneFurtherEstimation)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.5, 0.5));
    PluginAudioProcessor processor(estimator.environment());
    fillCapture(processor);

    estimator.hold();
    processor.snapshotCaptureAndRefit();
    estimator.waitUntilStarted(1);

    setParameter(processor, ParameterIDs::smoothing, 11.0f);
    processor.refitTransferFunction();
    processor.refitTransferFunction();
    setParameter(processor, ParameterIDs::smoothing, 12.0f);
    processor.refitTransferFunction();
    setParameter(processor, ParameterIDs::smoothing, 13.0f); // after the last request
    EXPECT_EQ(estimator.startedCount(), 1);

    estimator.release();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return estimator.finishedCount() == 2; }));
    ASSERT_TRUE(waitUntilIdle(processor));
    drainMessages();

    const auto calls = estimator.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].smoothing, 50);
    EXPECT_EQ(calls[1].smoothing, 13); // the follow-up uses the parameters current when it starts
}

TEST(RefitConcurrency, DestructionWaitsForTheEstimateAndNothingRunsAfterwards)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.5, 0.5));
    int notifications = 0;
    std::thread releaser;
    {
        auto processor = std::make_unique<PluginAudioProcessor>(estimator.environment());
        processor->onTableChanged = [&] { ++notifications; };
        fillCapture(*processor);

        estimator.hold();
        processor->snapshotCaptureAndRefit();
        estimator.waitUntilStarted(1);

        // Let the estimate go only once destruction is (very likely) under way.
        releaser = std::thread(
            [&]
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                estimator.release();
            });
        processor.reset();
        EXPECT_EQ(estimator.finishedCount(), 1);
    }
    releaser.join();

    // The completion was posted before the worker ended; it must find the processor gone.
    drainMessages();
    EXPECT_EQ(notifications, 0);
}

TEST(RefitConcurrency, TableReadsDuringAWriteSeeOnlyOldOrNewValues)
{
    PluginAudioProcessor processor;
    const std::vector<double> ones((std::size_t) tableSize, 1.0), twos((std::size_t) tableSize, 2.0);
    processor.writeSmoothedBinsToTransferFunction(ones);

    std::atomic<bool> stop{false}, sawOther{false};
    std::thread reader(
        [&]
        {
            while (!stop.load())
                for (int i = 0; i < tableSize; i += 61)
                {
                    const auto v = processor.getTransferFunction().get(i);
                    if (v != 1.0 && v != 2.0)
                        sawOther = true;
                }
        });

    for (int round = 0; round < 50; ++round)
        processor.writeSmoothedBinsToTransferFunction(round % 2 == 0 ? twos : ones);
    stop = true;
    reader.join();
    EXPECT_FALSE(sawOther.load());
}

TEST(PluginAudioProcessorRefit, FitsATanhDeviceFedThroughTheSidechainWithTheRealEstimator)
{
    PluginAudioProcessor processor;
    processor.setRateAndBufferSizeDetails(48000.0, 512);
    processor.prepareToPlay(48000.0, 512);
    setParameter(processor, ParameterIDs::captureLength, 0.0f); // 16k keeps the test quick

    // Main input = device output (channels 0-1), sidechain = device input (channels 2-3).
    juce::AudioBuffer<double> block(4, 512);
    juce::MidiBuffer midi;
    int n = 0;
    while (!processor.isCaptureFull())
    {
        for (int i = 0; i < 512; ++i, ++n)
        {
            const auto x = 0.8 * std::sin(2.0 * juce::MathConstants<double>::pi * 100.0 * n / 48000.0);
            block.setSample(2, i, x);
            block.setSample(0, i, std::tanh(2.0 * x));
        }
        processor.processBlock(block, midi);
    }
    ASSERT_TRUE(processor.isSidechainConnected());

    int notifications = 0;
    processor.onTableChanged = [&] { ++notifications; };
    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(
        testsupport::runMessageLoopUntil([&] { return notifications == 1; }, std::chrono::minutes(2)));

    // Both axes normalised to their peaks: the curve is tanh(1.6 u) / tanh(1.6).
    double worst = 0.0;
    for (int i = 0; i < tableSize; i += 7)
    {
        const auto u = TransferFunctionTable::xAt(i);
        worst = std::max(
            worst, std::abs(processor.getTransferFunction().get(i) - std::tanh(1.6 * u) / std::tanh(1.6)));
    }
    EXPECT_LT(worst, 0.01);
    EXPECT_EQ(processor.getRawBins().size(), (std::size_t) tableSize);
}

TEST(PluginAudioProcessorRefit, CaptureWithoutAWholePairKeepsTheTableAndTheRawBinsWithEitherMethod)
{
    PluginAudioProcessor processor;                             // the real estimator
    setParameter(processor, ParameterIDs::captureLength, 0.0f); // 16k
    std::vector<double> x(16384), y(16384);
    for (std::size_t k = 0; k < x.size(); ++k)
    {
        x[k] = 0.8 * std::sin(0.01 * (double) k);
        y[k] = std::tanh(2.0 * x[k]);
    }
    processor.getCaptureBuffer().push(x.data(), y.data(), (int) x.size());
    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return processor.hasFit(); }));
    ASSERT_TRUE(waitUntilIdle(processor));
    const auto table = processor.getTransferFunction().copyValues();
    const auto rawBins = processor.getRawBins();

    // Each channel still holds finite, non-zero samples, but every pair has a NaN on one side.
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t k = 0; k < x.size(); ++k)
        (k % 2 == 0 ? x : y)[k] = nan;
    processor.getCaptureBuffer().push(x.data(), y.data(), (int) x.size());

    int answers = 0;
    processor.onFitFinished = [&] { ++answers; };
    for (const auto algorithm : {0.0f, 1.0f})
    {
        setParameter(processor, ParameterIDs::captureAlgorithm, algorithm);
        processor.snapshotCaptureAndRefit();
        ASSERT_TRUE(waitUntilIdle(processor));
        drainMessages();
        EXPECT_EQ(processor.getTransferFunction().copyValues(), table) << algorithm;
        EXPECT_EQ(processor.getRawBins(), rawBins) << algorithm;
        EXPECT_TRUE(processor.hasFit());
        // The listener hears why, although nothing changed.
        EXPECT_EQ(answers, algorithm == 0.0f ? 1 : 2);
        EXPECT_FALSE(processor.getLastFitOutcome().valid);
        EXPECT_EQ(processor.getLastFitOutcome().failure, estimation::EstimateFailure::noFinitePair);
    }
}

TEST(PluginAudioProcessorRefit, TheOutcomeCarriesTheReportAndTheDelayMeasuredBeforeAlignment)
{
    PluginAudioProcessor processor;
    setParameter(processor, ParameterIDs::captureLength, 0.0f); // 16k
    setParameter(processor, ParameterIDs::latencyX, 3.0f);
    // Two unrelated tones, so that the delay is unambiguous; Y lags X by 12 samples.
    const int n = 20000, lag = 12;
    std::vector<double> x((std::size_t) n), y((std::size_t) n);
    for (int k = 0; k < n; ++k)
        x[(std::size_t) k] = 0.5 * std::sin(0.0123 * k) + 0.4 * std::sin(0.00731 * k);
    for (int k = 0; k < n; ++k)
        y[(std::size_t) k] = std::tanh(2.0 * x[(std::size_t) std::max(k - lag, 0)]);
    processor.getCaptureBuffer().push(x.data(), y.data(), n);

    int answers = 0;
    processor.onFitFinished = [&] { ++answers; };
    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return answers == 1; }));

    const auto& outcome = processor.getLastFitOutcome();
    EXPECT_TRUE(outcome.valid);
    EXPECT_EQ(outcome.failure, estimation::EstimateFailure::none);
    EXPECT_EQ(outcome.latencyX, 3.0);
    EXPECT_EQ(outcome.latencyY, 0.0);
    ASSERT_TRUE(outcome.report.latency.samples.has_value()) << outcome.report.latency.message;
    EXPECT_NEAR(*outcome.report.latency.samples, (double) lag, 0.05);
    EXPECT_TRUE(outcome.report.valid);
    EXPECT_TRUE(outcome.report.residualAboutFit);
    EXPECT_GT(outcome.report.coverage, 0.9);
}

TEST(PluginAudioProcessorRefit, AnAnswerThatAFollowUpReplacesArrivesWhileTheFollowUpRuns)
{
    ControlledEstimator estimator;
    estimator.setResult(validEstimate(0.5, 0.5));
    PluginAudioProcessor processor(estimator.environment());
    fillCapture(processor);
    std::vector<bool> inProgressAtAnswer;
    processor.onFitFinished = [&] { inProgressAtAnswer.push_back(processor.isRefitInProgress()); };

    estimator.hold();
    processor.snapshotCaptureAndRefit();
    estimator.waitUntilStarted(1);
    processor.refitTransferFunction();
    estimator.release();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return inProgressAtAnswer.size() == 2; }));
    drainMessages();

    // A listener can tell the first answer, whose settings are already out of date, from the last.
    EXPECT_EQ(inProgressAtAnswer, (std::vector<bool>{true, false}));
}
