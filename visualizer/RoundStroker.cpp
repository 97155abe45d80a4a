#include "visualizer/RoundStroker.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
namespace
{
// Where the lines a1-a2 and b1-b2 cross, when they cross within both segments.
bool crossWithin(juce::Point<float> a1, juce::Point<float> a2, juce::Point<float> b1, juce::Point<float> b2,
                 juce::Point<float>& crossing)
{
    const auto da = a2 - a1, db = b2 - b1;
    const auto divisor = da.x * db.y - db.x * da.y;
    if (divisor == 0.0f)
        return false;
    const auto alongA = ((a1.y - b1.y) * db.x - (a1.x - b1.x) * db.y) / divisor;
    const auto alongB = ((a1.y - b1.y) * da.x - (a1.x - b1.x) * da.y) / divisor;
    if (alongA < 0.0f || alongA > 1.0f || alongB < 0.0f || alongB > 1.0f)
        return false;
    crossing = a1 + da * alongA;
    return true;
}
} // namespace

void RoundStroker::createOutline(juce::Path& outline, const juce::Path& path, float thickness,
                                 float pixelsPerUnit, float straightnessInPixels)
{
    outline.clear();
    outline.setUsingNonZeroWinding(true);
    if (!(thickness > 0.0f))
        return;

    pixelsPerUnit = std::max(pixelsPerUnit, 0.01f);
    halfWidth = 0.5f * thickness;
    // Arcs are polygons whose sides stray at most this far inside the true circle; never finer than
    // the framework's 0.1 radian.
    constexpr float tolerance = 0.02f; // pixels
    const auto radiusInPixels = halfWidth * pixelsPerUnit;
    angleStep = radiusInPixels <= tolerance
                    ? juce::MathConstants<float>::pi
                    : std::max(0.1f, 2.0f * std::acos(1.0f - tolerance / radiusInPixels));
    straightness = std::max(0.0f, straightnessInPixels) / pixelsPerUnit;

    points.clear();
    for (juce::PathFlatteningIterator it(path, {},
                                         juce::Path::defaultToleranceForMeasurement / pixelsPerUnit);
         it.next();)
    {
        if (it.subPathIndex == 0)
        {
            addSubPath(outline);
            points.push_back({it.x1, it.y1});
        }
        points.push_back({it.x2, it.y2});
    }
    addSubPath(outline);
}

// Drops the vertices that lie within `straightness` of the line that skips them, looking at most
// a few vertices ahead: a smooth trace at four points a pixel keeps only what its curvature needs.
void RoundStroker::simplify()
{
    constexpr std::size_t lookAhead = 8;
    const auto limitSquared = straightness * straightness;
    std::size_t kept = 1, anchor = 0;
    for (std::size_t i = 2; i < points.size(); ++i)
    {
        const auto a = points[anchor], b = points[i];
        const auto d = b - a;
        const auto lengthSquared = d.x * d.x + d.y * d.y;
        bool straight = i - anchor <= lookAhead && lengthSquared > 0.0f;
        for (std::size_t j = anchor + 1; straight && j < i; ++j)
        {
            const auto p = points[j] - a;
            const auto t = std::clamp((p.x * d.x + p.y * d.y) / lengthSquared, 0.0f, 1.0f);
            const auto e = p - d * t;
            straight = e.x * e.x + e.y * e.y <= limitSquared;
        }
        if (!straight)
        {
            points[kept++] = points[i - 1];
            anchor = i - 1;
        }
    }
    points[kept++] = points.back();
    points.resize(kept);
}

// Along the left edges, round the far end, back along the right edges, round the near end.
void RoundStroker::addSubPath(juce::Path& outline)
{
    if (points.size() < 2)
    {
        points.clear();
        return;
    }
    if (straightness > 0.0f)
        simplify();

    sections.clear();
    constexpr float minimumLengthSquared = 0.0001f;
    Section section{};
    section.start = points.front();
    for (std::size_t i = 1; i < points.size(); ++i)
    {
        section.end = points[i];
        const auto d = section.end - section.start;
        const auto lengthSquared = d.x * d.x + d.y * d.y;
        if (lengthSquared <= minimumLengthSquared && i + 1 < points.size())
            continue; // merged into the next segment

        if (lengthSquared == 0.0f)
        {
            section.leftStart = section.leftEnd = section.rightStart = section.rightEnd = section.start;
        }
        else
        {
            const auto offset = d * (halfWidth / std::sqrt(lengthSquared));
            const juce::Point<float> normal(offset.y, -offset.x);
            section.leftStart = section.start + normal;
            section.leftEnd = section.end + normal;
            section.rightStart = section.end - normal;
            section.rightEnd = section.start - normal;
        }
        sections.push_back(section);
        section.start = section.end;
    }
    points.clear();

    const auto& first = sections.front();
    const auto& last = sections.back();

    outline.startNewSubPath(first.rightEnd);
    addRoundEnd(outline, first.rightEnd, first.leftStart);
    for (std::size_t i = 1; i < sections.size(); ++i)
        addJoint(outline, sections[i - 1].leftStart, sections[i - 1].leftEnd, sections[i].leftStart,
                 sections[i].leftEnd, sections[i].start);
    outline.lineTo(last.leftEnd);
    addRoundEnd(outline, last.leftEnd, last.rightStart);
    for (std::size_t i = sections.size() - 1; i > 0; --i)
        addJoint(outline, sections[i].rightStart, sections[i].rightEnd, sections[i - 1].rightStart,
                 sections[i - 1].rightEnd, sections[i].start);
    outline.lineTo(first.rightEnd);
    outline.closeSubPath();
}

// The edge a1-a2 meets the next edge b1-b2 around `centre`: where the edges cross (the inside of
// the turn) they meet there; elsewhere an arc of the half width joins them.
void RoundStroker::addJoint(juce::Path& outline, juce::Point<float> a1, juce::Point<float> a2,
                            juce::Point<float> b1, juce::Point<float> b2, juce::Point<float> centre) const
{
    if (b1 == b2 || a1 == a2)
    {
        outline.lineTo(a2);
        outline.lineTo(b1);
        return;
    }
    juce::Point<float> crossing;
    if (crossWithin(a1, a2, b1, b2, crossing))
    {
        outline.lineTo(crossing);
        return;
    }

    outline.lineTo(a2);
    // The shorter way round, in equal steps: each point the last one turned about the centre.
    const auto from = a2 - centre, to = b1 - centre;
    const auto sweep = std::atan2(from.x * to.y - from.y * to.x, from.x * to.x + from.y * to.y);
    const auto steps = static_cast<int>(std::abs(sweep) / angleStep);
    if (steps > 0)
    {
        const auto turn = sweep / static_cast<float>(steps + 1);
        const auto c = std::cos(turn), s = std::sin(turn);
        auto offset = from * (halfWidth / std::max(from.getDistanceFromOrigin(), 1.0e-20f));
        for (int k = 0; k < steps; ++k)
        {
            offset = {offset.x * c - offset.y * s, offset.x * s + offset.y * c};
            outline.lineTo(centre + offset);
        }
    }
    outline.lineTo(b1);
}

// Half a circle from one side of an end to the other, as two cubic curves like the framework's, so
// that lone points (Scatter's dots) keep their exact size.
void RoundStroker::addRoundEnd(juce::Path& outline, juce::Point<float> from, juce::Point<float> to) const
{
    const auto d = to - from;
    const auto length = std::sqrt(d.x * d.x + d.y * d.y);
    if (length == 0.0f)
    {
        outline.lineTo(to);
        return;
    }
    // The end's outward direction, a half width long.
    const auto outward = juce::Point<float>(d.y, -d.x) * (halfWidth / length);
    const auto fromOut = from + outward, toOut = to + outward;
    const auto tip = (fromOut + toOut) * 0.5f;
    outline.cubicTo(from + (fromOut - from) * 0.55f, fromOut + (tip - fromOut) * 0.45f, tip);
    outline.cubicTo(tip + (toOut - tip) * 0.55f, toOut + (to - toOut) * 0.45f, to);
}
} // namespace ui_core
