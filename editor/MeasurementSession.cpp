#include "editor/MeasurementSession.h"

#include "core/FitOutcomeText.h"
#include "core/ParameterLayout.h"
#include "core/ParameterValues.h"
#include "estimation/BinSmoothing.h"

#include <cmath>
#include <exception>

namespace ui_panels
{
namespace
{
// The window's names of the two latencies.
juce::String captionOf(const char* parameterID)
{
    return juce::String(parameterID) == ParameterIDs::latencyX ? "X Lag" : "Y Lag";
}

juce::String sentence(const std::string& text)
{
    auto s = juce::String(text);
    return s.substring(0, 1).toUpperCase() + s.substring(1) + (s.endsWithChar('.') ? "" : ".");
}
} // namespace

MeasurementSession::MeasurementSession(PluginAudioProcessor& processorToUse, Clock clockToUse)
    : processor(processorToUse)
    , clock(std::move(clockToUse))
{
}

void MeasurementSession::beginFreezeOrPlay()
{
    snapshotPending = false;
    fitAwaited = false;
    curveArrived = false;
    ++curveGeneration;
    failure.reset();
    report.reset();
    offer.reset();
    failureDismissed = offerDismissed = warningDismissed = warningWaitsForFit = false;
}

void MeasurementSession::play()
{
    frozen.store(false);
    beginFreezeOrPlay();
    updateNotice();
}

void MeasurementSession::freeze()
{
    frozen.store(true);
    beginFreezeOrPlay();
    if (processor.isCaptureFull())
        startFit(true);
    else
        snapshotPending = true;
    updateNotice();
}

void MeasurementSession::startFit(bool snapshot)
{
    if (snapshot)
    {
        // The fit starts with the current settings: earlier refit and smoothing requests are met by it.
        snapshotPending = false;
        refitRequested.store(false);
        smoothingDirty = false;
    }
    failure.reset();
    failureDismissed = false;
    try
    {
        if (snapshot)
            processor.snapshotCaptureAndRefit();
        else
            processor.refitTransferFunction();
        fitNotStarted = false;
        // Every request ends with one notification, or joins a running fit that ends with one.
        fitAwaited = true;
    }
    catch (const std::exception&)
    {
        fitNotStarted = true;
    }
}

void MeasurementSession::smoothingMoved()
{
    if (!frozen.load())
        return;
    smoothingDirty = true;
    smoothingChangedAt = clock();
}

void MeasurementSession::settingChanged()
{
    if (frozen.load())
        refitRequested.store(true);
}

void MeasurementSession::tick()
{
    if (snapshotPending && frozen.load() && processor.isCaptureFull())
    {
        startFit(true);
        updateNotice();
    }

    // While the snapshot is pending there is nothing to refit: its fit will use the new settings.
    if (frozen.load() && !snapshotPending && refitRequested.exchange(false))
    {
        startFit(false);
        updateNotice();
    }

    resmoothIfSettled();
}

void MeasurementSession::resmoothIfSettled()
{
    // Until this freeze's fit has arrived, the kept bins are those of an earlier fit: re-smoothing them
    // would show (and let the user save) a stale curve. The request waits for the fit.
    if (!smoothingDirty || !frozen.load() || !curveArrived)
        return;
    if (clock() - smoothingChangedAt < resmoothingDelayMilliseconds)
        return;

    smoothingDirty = false;
    const auto& bins = processor.getRawBins();
    if (!processor.hasFit() || bins.empty())
        return;
    processor.writeSmoothedBinsToTransferFunction(
        estimation::smoothBins(bins, ParameterValues::smoothing(processor.getParameterState())));
}

bool MeasurementSession::tableChanged()
{
    if (!frozen.load())
        return false;

    if (!curveArrived)
    {
        // Until this freeze's fit has come back, a table change is an earlier fit's: the plot keeps the
        // frozen cloud rather than show a curve of another capture.
        if (!fitAwaited || snapshotPending || processor.isRefitInProgress())
            return false;
        curveArrived = true;
        updateNotice();
    }
    ++curveGeneration;
    return true;
}

void MeasurementSession::fitFinished()
{
    // An answer that a running refit with newer settings will replace says nothing yet.
    if (!frozen.load() || !fitAwaited || snapshotPending || processor.isRefitInProgress())
        return;
    fitAwaited = false;
    warningWaitsForFit = false;

    const auto& outcome = processor.getLastFitOutcome();
    if (outcome.valid)
    {
        report = outcome.report;
        reportLatencyInUse = outcome.latencyX - outcome.latencyY;
        offer = offerFor(outcome);
    }
    else
    {
        // The table still holds an earlier curve, which is not this capture's with these settings.
        failure = outcome.failure;
        failureDismissed = false;
        curveArrived = false;
        report.reset();
        offer.reset();
    }
    updateNotice();
}

const estimation::FitReport* MeasurementSession::getReport() const noexcept
{
    return frozen.load() && curveArrived && report ? &*report : nullptr;
}

std::optional<LatencyOffer> MeasurementSession::offerFor(const FitOutcome& outcome) const
{
    const auto& measured = outcome.report.latency.samples;
    if (!measured || std::abs(*measured - (outcome.latencyX - outcome.latencyY)) <= latencyTolerance)
        return std::nullopt;

    auto& state = processor.getParameterState();
    const auto* parameterX = state.getParameter(ParameterIDs::latencyX);
    const auto* parameterY = state.getParameter(ParameterIDs::latencyY);
    if (parameterX == nullptr || parameterY == nullptr)
        return std::nullopt;

    // To the parameters' step, so that the value applied is the value shown.
    const auto toStep = [](double v) { return static_cast<float>(std::round(v * 100.0) / 100.0); };
    const auto within = [&state](const char* id, float v)
    {
        const auto& range = state.getParameterRange(id);
        return v >= range.start && v <= range.end;
    };

    const auto d = *measured;
    const auto x = (double) ParameterValues::raw(state, ParameterIDs::latencyX);
    const auto y = (double) ParameterValues::raw(state, ParameterIDs::latencyY);
    // One latency is one host gesture: X for a Y that lags, Y for one that leads, as long as it reaches.
    const auto newX = toStep(y + d), newY = toStep(x - d);
    LatencyOffer o;
    o.delay = d;
    if (within(ParameterIDs::latencyX, newX) && (d >= 0.0 || !within(ParameterIDs::latencyY, newY)))
        o.changes = {{ParameterIDs::latencyX, newX}};
    else if (within(ParameterIDs::latencyY, newY))
        o.changes = {{ParameterIDs::latencyY, newY}};
    else
        o.changes = {{ParameterIDs::latencyX, toStep(std::max(d, 0.0))},
                     {ParameterIDs::latencyY, toStep(std::max(-d, 0.0))}};
    return o;
}

void MeasurementSession::applyLatencyOffer()
{
    if (!offer)
        return;
    auto& state = processor.getParameterState();
    for (const auto& change : offer->changes)
        if (auto* parameter = state.getParameter(change.parameterID))
        {
            // One gesture each, so that a host recording automation sees one deliberate change.
            parameter->beginChangeGesture();
            parameter->setValueNotifyingHost(parameter->convertTo0to1(change.value));
            parameter->endChangeGesture();
        }
    offer.reset();
    // The memory warning may have come from the wrong latency: it waits for the fit that uses the new one.
    warningWaitsForFit = true;
    refitRequested.store(true);
}

void MeasurementSession::answerNotice(int button)
{
    switch (notice.kind)
    {
        case MeasurementNotice::Kind::fitNotStarted:
            fitNotStarted = false;
            break;
        case MeasurementNotice::Kind::noCurve:
            failureDismissed = true;
            break;
        case MeasurementNotice::Kind::latencyOffer:
            if (button == 1)
                applyLatencyOffer();
            else
                offerDismissed = true;
            break;
        case MeasurementNotice::Kind::memoryWarning:
            warningDismissed = true;
            break;
        case MeasurementNotice::Kind::none:
            return;
    }
    updateNotice();
}

void MeasurementSession::updateNotice()
{
    using Kind = MeasurementNotice::Kind;
    MeasurementNotice next;
    if (fitNotStarted)
    {
        next = {Kind::fitNotStarted,
                "Fit not started",
                "The system refused to start the fit. Press Play, then Freeze, to try again.",
                {"OK"}};
    }
    else if (frozen.load() && failure && !failureDismissed)
    {
        next = {Kind::noCurve, "No curve", FitOutcomeText::failureMessage(*failure), {"OK"}};
    }
    else if (getReport() != nullptr && offer && !offerDismissed)
    {
        const auto& change = offer->changes.front();
        auto action = "Apply sets " + captionOf(change.parameterID) + " to " + juce::String(change.value, 2);
        if (offer->changes.size() > 1)
            action << " and " << captionOf(offer->changes[1].parameterID) << " to "
                   << juce::String(offer->changes[1].value, 2);
        auto& state = processor.getParameterState();
        next = {Kind::latencyOffer,
                FitOutcomeText::delay(offer->delay),
                "X Lag is " + juce::String(ParameterValues::raw(state, ParameterIDs::latencyX), 2) +
                    " and Y Lag " + juce::String(ParameterValues::raw(state, ParameterIDs::latencyY), 2) +
                    ". " + action + " and fits the capture again.",
                {"Not now", "Apply"}};
    }
    else if (const auto* shown = getReport();
             shown != nullptr && shown->memoryWarning && !warningDismissed && !warningWaitsForFit)
    {
        next = {Kind::memoryWarning, "Not a static curve", sentence(shown->warning), {"OK"}};
    }

    notice = std::move(next);
    if (onChange)
        onChange();
}
} // namespace ui_panels
