#include "visualizer/PlotReadout.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
namespace
{
constexpr int decimals = 4;

double fraction(float position, float start, float length) noexcept
{
    if (!(length > 0.0f))
        return 0.5;
    return std::clamp(static_cast<double>(position - start) / static_cast<double>(length), 0.0, 1.0);
}
} // namespace

double PlotReadout::across(juce::Point<float> pointer) const noexcept
{
    return fraction(pointer.x, area.getX(), area.getWidth());
}

double PlotReadout::upwards(juce::Point<float> pointer) const noexcept
{
    return 1.0 - fraction(pointer.y, area.getY(), area.getHeight());
}

juce::String PlotReadout::value(double v)
{
    // Rounded first, so that the level belongs to the number shown and no "-0.0000" appears.
    const auto shown = std::round(v * 1.0e4) / 1.0e4;
    if (shown == 0.0)
        return juce::String(0.0, decimals) + " (-inf dBFS)";
    auto level = std::round(200.0 * std::log10(std::abs(shown))) / 10.0;
    if (level == 0.0)
        level = 0.0; // not "-0.0"
    return juce::String(shown, decimals) + " (" + juce::String(level, 1) + " dBFS)";
}

juce::String PlotReadout::pairs(juce::Point<float> pointer) const
{
    if (area.isEmpty())
        return {};
    return "x " + value(2.0 * across(pointer) - 1.0) + "   y " + value(2.0 * upwards(pointer) - 1.0);
}

juce::String PlotReadout::curve(juce::Point<float> pointer,
                                const std::vector<juce::Point<double>>& points) const
{
    if (area.isEmpty() || points.empty())
        return {};
    const auto x = 2.0 * across(pointer) - 1.0;
    auto next = std::lower_bound(points.begin(), points.end(), x,
                                 [](const juce::Point<double>& p, double wanted) { return p.x < wanted; });
    if (next == points.end() || (next != points.begin() && x - std::prev(next)->x < next->x - x))
        next = std::prev(next);
    return "x " + value(next->x) + "   f(x) " + value(next->y);
}

juce::String PlotReadout::traces(juce::Point<float> pointer, const std::vector<float>& traceX,
                                 const std::vector<float>& traceY, double sampleRate) const
{
    const auto n = traceX.size();
    if (area.isEmpty() || n < 2 || traceY.size() != n)
        return {};
    // Sample i of n lies at i / (n - 1) of the width.
    const auto i = static_cast<std::size_t>(std::lround(across(pointer) * static_cast<double>(n - 1)));
    const auto time = sampleRate > 0.0 ? juce::String(1000.0 * static_cast<double>(i) / sampleRate, 3) + " ms"
                                       : juce::String(static_cast<juce::int64>(i)) + " samples";
    return "t " + time + "   X " + value(traceX[i]) + "   Y " + value(traceY[i]);
}
} // namespace ui_core
