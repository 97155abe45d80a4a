#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// Thins a line whose x never decreases (a trace, a curve sorted along x) to what the display's pixel
// columns can show, without losing what lies between the points kept: every column keeps its first
// and last points and those where the line is lowest and highest there, in the order they come, so
// it still spans the line's whole range and joins its neighbours as the line does. A tone far above
// the display's resolution then fills its envelope instead of aliasing into a slow wave, and a
// feature one point wide stays visible. A column where the line only rises or falls keeps two
// points.
class ColumnEnvelope
{
public:
    // Starts a new subpath of `path`; `pixelsPerUnit` is the display's scale, so that columns are its
    // physical pixels.
    void begin(juce::Path& path, float pixelsPerUnit) noexcept;

    // The next point of the line, in the path's units.
    void add(juce::Point<float> point);

    // Writes out the last column.
    void end();

private:
    void flushColumn();
    void emit(juce::Point<float> point);

    juce::Path* target = nullptr;
    float scale = 1.0f;
    long long column = 0;
    int count = 0; // points in the current column
    juce::Point<float> first, last, lowest, highest;
    bool lowestFirst = true; // the lowest point came before the highest
    bool started = false;    // the subpath has its first vertex
    juce::Point<float> previous;
};
} // namespace ui_core
