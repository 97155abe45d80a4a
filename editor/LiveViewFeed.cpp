#include "editor/LiveViewFeed.h"

#include "core/ParameterLayout.h"
#include "core/ParameterValues.h"

#include <algorithm>
#include <cmath>

namespace ui_panels
{
namespace
{
double rawOr(const juce::AudioProcessorValueTreeState& state, const char* id, double fallback)
{
    const auto* value = state.getRawParameterValue(id);
    return value != nullptr ? static_cast<double>(value->load(std::memory_order_relaxed)) : fallback;
}

double gainFromDecibels(double decibels)
{
    return decibels > -100.0 ? std::pow(10.0, decibels / 20.0) : 0.0;
}

double clampUnit(double value)
{
    return juce::jlimit(-1.0, 1.0, value);
}
} // namespace

LiveViewSettings LiveViewSettings::from(const juce::AudioProcessorValueTreeState& state)
{
    LiveViewSettings s;
    s.latencyX = rawOr(state, ParameterIDs::latencyX, 0.0);
    s.latencyY = rawOr(state, ParameterIDs::latencyY, 0.0);
    s.gainX = state.getRawParameterValue(ParameterIDs::scaleX) != nullptr
                  ? gainFromDecibels(rawOr(state, ParameterIDs::scaleX, 0.0))
                  : 1.0;
    s.gainY = state.getRawParameterValue(ParameterIDs::scaleY) != nullptr
                  ? gainFromDecibels(rawOr(state, ParameterIDs::scaleY, 0.0))
                  : 1.0;
    s.timeView = std::lround(rawOr(state, ParameterIDs::visualizationMode, 0.0)) == 1;
    s.windowLength = ParameterValues::timeWindowSamples(state);
    return s;
}

bool LiveViewSettings::operator==(const LiveViewSettings& other) const
{
    return latencyX == other.latencyX && latencyY == other.latencyY && gainX == other.gainX &&
           gainY == other.gainY && timeView == other.timeView && windowLength == other.windowLength;
}

LiveViewFeed::LiveViewFeed()
    : x(static_cast<std::size_t>(CaptureBuffer::defaultCapacity))
    , y(static_cast<std::size_t>(CaptureBuffer::defaultCapacity))
    , points(static_cast<std::size_t>(cloudPointCount))
{
    traceX.reserve(static_cast<std::size_t>(maximumWindowLength));
    traceY.reserve(static_cast<std::size_t>(maximumWindowLength));
}

bool LiveViewFeed::update(CaptureBuffer& capture, const LiveViewSettings& settings)
{
    // Taken before the copy: a push during the copy changes it, so the next update reads again.
    const auto change = capture.getChangeCount();
    if (upToDate && change == lastChange && settings == lastSettings)
        return false;

    const auto n = static_cast<int>(x.size());
    capture.read(x.data(), y.data(), n);

    // Latencies outside the buffer (or not numbers) read as none.
    const auto valid = [n](double latency)
    { return std::isfinite(latency) && latency >= 0.0 && latency < n / 2; };
    const auto lx = valid(settings.latencyX) ? settings.latencyX : 0.0;
    const auto ly = valid(settings.latencyY) ? settings.latencyY : 0.0;

    // D whole samples keep every read inside the buffer; each channel starts D - L samples in.
    const auto whole = static_cast<int>(std::ceil(std::max(lx, ly)));
    const auto delayOf = [whole](double latency)
    {
        const auto shift = static_cast<double>(whole) - latency;
        const auto offset = static_cast<int>(std::floor(shift));
        return Delay{offset, shift - offset};
    };

    if (settings.timeView)
        feedTimeView(settings, whole, delayOf(lx), delayOf(ly));
    else
        feedTransferView(settings, whole, delayOf(lx), delayOf(ly));

    upToDate = true;
    lastChange = change;
    lastSettings = settings;
    return true;
}

double LiveViewFeed::delayedSample(const std::vector<double>& channel, Delay delay,
                                   int position) const noexcept
{
    const auto last = static_cast<int>(channel.size()) - 1;
    const auto index = std::min(delay.offset + position, last);
    if (delay.fraction <= 0.0)
        return channel[static_cast<std::size_t>(index)];
    const auto next = std::min(index + 1, last);
    return delay.fraction * channel[static_cast<std::size_t>(next)] +
           (1.0 - delay.fraction) * channel[static_cast<std::size_t>(index)];
}

void LiveViewFeed::feedTransferView(const LiveViewSettings& settings, int whole, Delay dx, Delay dy)
{
    const auto n = static_cast<int>(x.size());
    const auto base = n - whole - cloudPointCount;
    dx.offset += base;
    dy.offset += base;
    for (int k = 0; k < cloudPointCount; ++k)
        points[static_cast<std::size_t>(k)] = {clampUnit(settings.gainX * delayedSample(x, dx, k)),
                                               clampUnit(settings.gainY * delayedSample(y, dy, k))};
    traces = false;
    traceX.clear();
    traceY.clear();
}

void LiveViewFeed::feedTimeView(const LiveViewSettings& settings, int whole, Delay dx, Delay dy)
{
    const auto m = static_cast<int>(x.size()) - whole; // aligned samples
    const auto w = settings.windowLength;
    const auto length = w < 2 ? 2 : std::min(std::max(m - 1, 2), std::min(w, maximumWindowLength));

    // The window begins at the latest rising zero crossing of X that leaves room for a whole window,
    // so that a periodic signal stands still; without one it ends at the newest sample.
    auto start = std::max(m - length, 0);
    if (m >= length)
        for (int k = m - length; k >= 1; --k)
            if (delayedSample(x, dx, k - 1) <= 0.0 && delayedSample(x, dx, k) > 0.0)
            {
                start = k;
                break;
            }

    traceX.resize(static_cast<std::size_t>(length));
    traceY.resize(static_cast<std::size_t>(length));
    for (int k = 0; k < length; ++k)
    {
        traceX[static_cast<std::size_t>(k)] =
            static_cast<float>(clampUnit(settings.gainX * delayedSample(x, dx, start + k)));
        traceY[static_cast<std::size_t>(k)] =
            static_cast<float>(clampUnit(settings.gainY * delayedSample(y, dy, start + k)));
    }
    traces = true;
}
} // namespace ui_panels
