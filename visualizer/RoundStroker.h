#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace ui_core
{
// The outline of a stroke with curved joints and rounded ends, as PathStrokeType builds it (the same
// offset edges, joints and end caps, filled with the non-zero rule), but only as detailed as the
// stroke's size on screen needs: arcs divided to within 0.02 pixels of the circle, where the
// framework steps every arc by a fixed 0.1 radian and turned each joint of a trace's thousands of
// short, noisy segments into dozens of edges; filling that cost most of a frame. For blurred
// layers it also leaves out vertices that lie close to a straight line, as close as the blur hides.
// (The framework's edge table anti-aliases the same line a little differently when it is cut into
// other edges, so the sharp lines keep every vertex and look exactly as stroked by the framework.)
class RoundStroker
{
public:
    // Replaces `outline` with the outline of `path` (straight segments; curves are flattened first)
    // stroked `thickness` wide. `pixelsPerUnit` is the scale at which the outline will be filled.
    // Vertices within `straightnessInPixels` of a line that skips them are left out (0 keeps every
    // vertex, for the sharp lines).
    void createOutline(juce::Path& outline, const juce::Path& path, float thickness, float pixelsPerUnit,
                       float straightnessInPixels = 0.0f);

private:
    struct Section
    {
        juce::Point<float> start, end;           // the segment
        juce::Point<float> leftStart, leftEnd;   // its left-hand edge
        juce::Point<float> rightStart, rightEnd; // its right-hand edge, running backwards
    };

    void addSubPath(juce::Path& outline);
    void simplify();
    void addJoint(juce::Path& outline, juce::Point<float> a1, juce::Point<float> a2, juce::Point<float> b1,
                  juce::Point<float> b2, juce::Point<float> centre) const;
    void addRoundEnd(juce::Path& outline, juce::Point<float> from, juce::Point<float> to) const;

    std::vector<juce::Point<float>> points; // of the subpath being collected
    std::vector<Section> sections;
    float halfWidth = 0.0f;
    float angleStep = 0.1f;
    float straightness = 0.0f; // in path units; 0 keeps every vertex
};
} // namespace ui_core
