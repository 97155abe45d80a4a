#include "visualizer/ColumnEnvelope.h"

#include <cmath>

namespace ui_core
{
void ColumnEnvelope::begin(juce::Path& path, float pixelsPerUnit) noexcept
{
    target = &path;
    scale = pixelsPerUnit > 0.0f ? pixelsPerUnit : 1.0f;
    count = 0;
    started = false;
}

void ColumnEnvelope::add(juce::Point<float> point)
{
    const auto pointColumn = static_cast<long long>(std::floor(point.x * scale));
    if (count > 0 && pointColumn != column)
        flushColumn();

    if (count == 0)
    {
        column = pointColumn;
        first = lowest = highest = point;
        lowestFirst = true;
        // The line starts where it starts, whichever points its first column keeps.
        if (!started)
            emit(point);
    }
    else
    {
        // Pixel y grows downwards: the line's highest value is the smallest y.
        if (point.y > lowest.y)
        {
            lowest = point;
            lowestFirst = false;
        }
        if (point.y < highest.y)
        {
            highest = point;
            lowestFirst = true;
        }
    }
    last = point;
    ++count;
}

void ColumnEnvelope::end()
{
    if (count > 0)
        flushColumn();
    // The line ends where it ends.
    if (started && last != previous)
        target->lineTo(last);
    count = 0;
}

void ColumnEnvelope::flushColumn()
{
    // The column's first and last points keep the joins to its neighbours true segments of the
    // line; on a stretch that only rises or falls they are its extremes, and the column costs two.
    emit(first);
    if (count > 2)
    {
        emit(lowestFirst ? lowest : highest);
        emit(lowestFirst ? highest : lowest);
    }
    emit(last);
    count = 0;
}

void ColumnEnvelope::emit(juce::Point<float> point)
{
    if (!started)
    {
        target->startNewSubPath(point);
        started = true;
    }
    else if (point != previous)
    {
        target->lineTo(point);
    }
    previous = point;
}
} // namespace ui_core
