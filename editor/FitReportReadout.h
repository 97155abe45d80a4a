#pragma once

#include "estimation/FitReport.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace ui_panels
{
// The fit's report in a corner of the plot while frozen: residual, coverage, driven x range, direction
// gap, memory and the measured latency, with the same digits as the command-line probe. Lets every
// click through to the plot; a screen reader reads it as one text.
class FitReportReadout final : public juce::Component
{
public:
    struct Row
    {
        juce::String label, value;
        bool warning = false; // drawn in the warning colour
    };

    // latencyInUse: Latency X minus Latency Y of the fit, to tell a compensated delay from one that is not.
    static std::vector<Row> rowsFor(const estimation::FitReport& report, double latencyInUse);

    // Where in the plot the read-out goes: the first corner (bottom right, bottom left, top left, top
    // right) that the curve, on the plot's data area, keeps clear of; bottom right when none is.
    static juce::Rectangle<int> placeBeside(const std::vector<juce::Point<double>>& curve,
                                            juce::Rectangle<float> dataArea, juce::Rectangle<int> size);

    FitReportReadout();

    // Null hides the read-out. Repaints only when what it shows changed.
    void setReport(const estimation::FitReport* report, double latencyInUse);

    const std::vector<Row>& getRows() const noexcept { return rows; }
    // One line per row, "label: value".
    juce::String getText() const;
    juce::Rectangle<int> getPreferredSize() const;

    void paint(juce::Graphics& g) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    std::vector<Row> rows;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FitReportReadout)
};
} // namespace ui_panels
