#pragma once

#include "core/FitOutcome.h"
#include "core/PluginAudioProcessor.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace ui_panels
{
// What the measurement has to tell the user; the window shows it in its notice.
struct MeasurementNotice
{
    enum class Kind
    {
        none,
        fitNotStarted,
        noCurve,
        latencyOffer,
        memoryWarning
    };

    Kind kind = Kind::none;
    juce::String title, message;
    juce::StringArray buttons; // from left to right; the last one is the action
};

// A delay of Y against X that the latencies of the fit left uncompensated, and the change that
// compensates it: usually one latency, both only when one alone cannot reach it.
struct LatencyOffer
{
    struct Change
    {
        const char* parameterID;
        float value;
    };

    double delay = 0.0; // samples; negative when Y leads X
    std::vector<Change> changes;
};

// The measurement's states and rules, without a component: live or frozen, the snapshot that waits
// for a full capture, refit requests, the re-smoothing delay, whether the curve of this freeze has
// arrived, why a fit gave no curve, its report and the latency it offers. The window forwards the
// user's actions and the processor's notifications to it, calls tick() from its timer, and shows
// what it tells.
class MeasurementSession
{
public:
    using Clock = std::function<juce::uint32()>; // milliseconds, wrapping
    static constexpr juce::uint32 resmoothingDelayMilliseconds = 100;
    // A measured delay this close to the latencies in use is compensated (they move in 0.01 steps).
    static constexpr double latencyTolerance = 0.05;

    MeasurementSession(PluginAudioProcessor& processor, Clock clock);

    void play();
    void freeze();
    // The smoothing knob moved; re-smooths once it has rested for the delay.
    void smoothingMoved();
    // A change of algorithm or capture length, which refits while frozen. May be called on any
    // thread, the audio thread included: it only sets a flag.
    void settingChanged();
    // A button of the notice this session gave (by index, as in MeasurementNotice::buttons).
    void answerNotice(int button);

    // The timer's steps: the snapshot that waited for a full capture, a requested refit, and a
    // re-smoothing that is due.
    void tick();

    // The processor's notifications. tableChanged tells whether the plot should show the table now.
    bool tableChanged();
    void fitFinished();

    bool isFrozen() const noexcept { return frozen.load(); }
    bool isSnapshotPending() const noexcept { return snapshotPending; }
    bool hasCurveOfThisFreeze() const noexcept { return curveArrived; }
    bool canSave() const noexcept { return frozen.load() && curveArrived; }
    // Counts the curves shown: a save writes only the curve that was shown when it was asked for.
    int getCurveGeneration() const noexcept { return curveGeneration; }
    const MeasurementNotice& getNotice() const noexcept { return notice; }
    // The report of the fit whose curve is shown while frozen; null otherwise.
    const estimation::FitReport* getReport() const noexcept;
    // Latency X minus Latency Y of that fit.
    double getReportLatencyInUse() const noexcept { return reportLatencyInUse; }
    const std::optional<LatencyOffer>& getLatencyOffer() const noexcept { return offer; }

    // Called on the message thread after anything the window shows has changed.
    std::function<void()> onChange;

private:
    void startFit(bool snapshot);
    void resmoothIfSettled();
    void beginFreezeOrPlay();
    std::optional<LatencyOffer> offerFor(const FitOutcome& outcome) const;
    void applyLatencyOffer();
    void updateNotice();

    PluginAudioProcessor& processor;
    Clock clock;

    std::atomic<bool> frozen{false};
    std::atomic<bool> refitRequested{false};
    bool snapshotPending = false;
    bool smoothingDirty = false;
    juce::uint32 smoothingChangedAt = 0;

    // This freeze asked for a fit whose answer has not come yet.
    bool fitAwaited = false;
    bool curveArrived = false;
    int curveGeneration = 0;

    bool fitNotStarted = false;
    std::optional<estimation::EstimateFailure> failure;
    std::optional<estimation::FitReport> report;
    double reportLatencyInUse = 0.0;
    std::optional<LatencyOffer> offer;
    // What the user has dismissed stays dismissed until the next freeze; a latency just applied
    // keeps the memory warning back until the fit that uses it has answered.
    bool failureDismissed = false, offerDismissed = false, warningDismissed = false,
         warningWaitsForFit = false;
    MeasurementNotice notice;
};
} // namespace ui_panels
