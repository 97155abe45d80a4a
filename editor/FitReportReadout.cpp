#include "editor/FitReportReadout.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"
#include "controls/WidgetAccessibilityHandler.h"
#include "core/FitOutcomeText.h"

#include <algorithm>
#include <cmath>

namespace ui_panels
{
namespace
{
constexpr int padding = 8;
constexpr int rowHeight = 15;
constexpr int columnGap = 10;
constexpr float fontHeight = 11.5f;

juce::Font labelFont()
{
    return ui_core::interfaceFont(1, fontHeight);
}

juce::Font valueFont()
{
    return ui_core::monoFont(fontHeight);
}

bool sameRows(const std::vector<FitReportReadout::Row>& a, const std::vector<FitReportReadout::Row>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& r, const auto& s)
                      { return r.label == s.label && r.value == s.value && r.warning == s.warning; });
}
} // namespace

std::vector<FitReportReadout::Row> FitReportReadout::rowsFor(const estimation::FitReport& report,
                                                             double latencyInUse)
{
    using namespace FitOutcomeText;
    std::vector<Row> out;
    if (report.valid)
    {
        out.push_back({"Residual", residualDecibels(report.residual)});
        out.push_back({"Coverage", coveragePercent(report.coverage)});
        out.push_back({"X range", signedValue(report.xMin, 2) + " to " + signedValue(report.xMax, 2)});
        out.push_back({"Direction gap", gapPercent(report.directionGap)});
        out.push_back({"Memory", report.memoryWarning ? "likely" : "none found", report.memoryWarning});
    }
    const auto& measured = report.latency.samples;
    if (measured)
    {
        const auto compensated = std::abs(*measured - latencyInUse) <= 0.05;
        out.push_back({"Latency", delay(*measured) + (compensated ? ", set" : ", not set"), !compensated});
    }
    else
    {
        out.push_back({"Latency", "none: " + shortReason(report.latency)});
    }
    return out;
}

juce::Rectangle<int> FitReportReadout::placeBeside(const std::vector<juce::Point<double>>& curve,
                                                   juce::Rectangle<float> dataArea, juce::Rectangle<int> size)
{
    const auto box = size.toFloat();
    const auto inset = dataArea.reduced(8.0f);
    const juce::Rectangle<float> corners[] = {
        box.withPosition(inset.getRight() - box.getWidth(), inset.getBottom() - box.getHeight()),
        box.withPosition(inset.getX(), inset.getBottom() - box.getHeight()),
        box.withPosition(inset.getX(), inset.getY()),
        box.withPosition(inset.getRight() - box.getWidth(), inset.getY()),
    };
    const auto crosses = [&](juce::Rectangle<float> area)
    {
        // Every 32nd point of a 16384-point curve lies well within a pixel of the line drawn.
        const auto margin = area.expanded(4.0f);
        for (std::size_t i = 0; i < curve.size(); i += 32)
        {
            const auto& p = curve[i];
            const juce::Point<float> at(
                dataArea.getX() + static_cast<float>((p.x + 1.0) / 2.0) * dataArea.getWidth(),
                dataArea.getBottom() - static_cast<float>((p.y + 1.0) / 2.0) * dataArea.getHeight());
            if (margin.contains(at))
                return true;
        }
        return false;
    };
    for (const auto& corner : corners)
        if (!crosses(corner))
            return corner.getSmallestIntegerContainer();
    return corners[0].getSmallestIntegerContainer();
}

FitReportReadout::FitReportReadout()
{
    setInterceptsMouseClicks(false, false);
    setTitle("Fit report");
}

void FitReportReadout::setReport(const estimation::FitReport* report, double latencyInUse)
{
    auto next = report != nullptr ? rowsFor(*report, latencyInUse) : std::vector<Row>{};
    setVisible(!next.empty());
    if (sameRows(next, rows))
        return;
    rows = std::move(next);
    setSize(getPreferredSize().getWidth(), getPreferredSize().getHeight());
    repaint();
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

juce::String FitReportReadout::getText() const
{
    juce::StringArray lines;
    for (const auto& row : rows)
        lines.add(row.label + ": " + row.value);
    return lines.joinIntoString("\n");
}

juce::Rectangle<int> FitReportReadout::getPreferredSize() const
{
    float labels = 0.0f, values = 0.0f;
    for (const auto& row : rows)
    {
        labels = std::max(labels, labelFont().getStringWidthFloat(row.label));
        values = std::max(values, valueFont().getStringWidthFloat(row.value));
    }
    const auto width = static_cast<int>(std::ceil(labels + values)) + columnGap + 2 * padding;
    return {0, 0, width, static_cast<int>(rows.size()) * rowHeight + 2 * padding};
}

void FitReportReadout::paint(juce::Graphics& g)
{
    const auto& p = ui_core::palette();
    const auto bounds = getLocalBounds().toFloat();
    const auto radius = ui_core::radiusScale()[5];
    g.setColour(p.neutral1.withAlpha(0.82f));
    g.fillRoundedRectangle(bounds, radius);
    g.setColour(p.neutral4.withAlpha(0.6f));
    g.drawRoundedRectangle(bounds.reduced(0.5f), radius, 1.0f);

    float labels = 0.0f;
    for (const auto& row : rows)
        labels = std::max(labels, labelFont().getStringWidthFloat(row.label));
    const auto valueX = static_cast<float>(padding) + std::ceil(labels) + static_cast<float>(columnGap);

    auto y = static_cast<float>(padding);
    for (const auto& row : rows)
    {
        g.setFont(labelFont());
        g.setColour(p.neutral6);
        g.drawText(row.label, juce::Rectangle<float>(static_cast<float>(padding), y, labels, rowHeight),
                   juce::Justification::centredLeft, false);
        g.setFont(valueFont());
        g.setColour(row.warning ? p.secondary6 : p.neutral8);
        g.drawText(row.value,
                   juce::Rectangle<float>(valueX, y, bounds.getWidth() - valueX - padding, rowHeight),
                   juce::Justification::centredLeft, false);
        y += rowHeight;
    }
}

std::unique_ptr<juce::AccessibilityHandler> FitReportReadout::createAccessibilityHandler()
{
    return std::make_unique<ui_core::WidgetAccessibilityHandler>(
        *this, juce::AccessibilityRole::staticText, juce::AccessibilityActions(), [] { return "Fit report"; },
        [this] { return getText(); });
}
} // namespace ui_panels
