#include "visualizer/ScanlineFiller.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ui_core
{
namespace
{
constexpr int subPixels = 256;
} // namespace

void ScanlineFiller::fill(juce::Image& image, const juce::Path& path, const juce::AffineTransform& transform,
                          juce::Colour colour)
{
    if (!image.isValid() || path.isEmpty())
        return;
    const auto bounds = path.getBoundsTransformed(transform).getSmallestIntegerContainer();
    if (!bounds.intersects(image.getBounds()))
        return;
    collect(path, transform, image.getWidth(), image.getHeight());
    juce::Image::BitmapData data(image, juce::Image::BitmapData::readWrite);
    render(data, colour.getPixelARGB());
}

// The crossings of every edge with every scanline, as the framework's edge table records them:
// y in 1/256 pixel, steep enough steps that each crossing stays within about a pixel.
void ScanlineFiller::collect(const juce::Path& path, const juce::AffineTransform& transform, int width,
                             int height)
{
    crossingLines.clear();
    found.clear();
    const auto rightLimit = subPixels * width;
    const auto heightLimit = subPixels * height;

    for (juce::PathFlatteningIterator it(path, transform); it.next();)
    {
        auto y1 = juce::roundToInt(it.y1 * 256.0f);
        auto y2 = juce::roundToInt(it.y2 * 256.0f);
        if (y1 == y2)
            continue;

        const auto startY = y1;
        int direction = -1;
        if (y1 > y2)
        {
            std::swap(y1, y2);
            direction = 1;
        }
        y1 = std::max(y1, 0);
        y2 = std::min(y2, heightLimit);
        if (y1 >= y2)
            continue;

        const double startX = 256.0f * it.x1;
        const double multiplier = (it.x2 - it.x1) / (it.y2 - it.y1);
        const auto stepSize = juce::jlimit(1, 256, 256 / (1 + static_cast<int>(std::abs(multiplier))));
        do
        {
            const auto step = std::min({stepSize, y2 - y1, 256 - (y1 & 255)});
            auto x = juce::roundToInt(startX + multiplier * ((y1 + (step >> 1)) - startY));
            x = std::clamp(x, 0, rightLimit - 1);
            crossingLines.push_back(y1 / subPixels);
            found.push_back({x, direction * step});
            y1 += step;
        } while (y1 < y2);
    }

    // Grouped by scanline (a counting sort), then ordered along each.
    lineStart.assign(static_cast<std::size_t>(height) + 1, 0);
    for (const auto line : crossingLines)
        ++lineStart[static_cast<std::size_t>(line) + 1];
    for (std::size_t i = 1; i < lineStart.size(); ++i)
        lineStart[i] += lineStart[i - 1];
    sorted.resize(found.size());
    {
        auto next = lineStart;
        for (std::size_t i = 0; i < found.size(); ++i)
            sorted[static_cast<std::size_t>(next[static_cast<std::size_t>(crossingLines[i])]++)] = found[i];
    }
}

void ScanlineFiller::render(juce::Image::BitmapData& data, juce::PixelARGB colour)
{
    for (int y = 0; y < data.height; ++y)
    {
        auto* first = sorted.data() + lineStart[static_cast<std::size_t>(y)];
        auto* end = sorted.data() + lineStart[static_cast<std::size_t>(y) + 1];
        if (end - first < 2)
            continue;
        std::sort(first, end, [](const Crossing& a, const Crossing& b) { return a.x < b.x; });

        // Windings summed along the line, merged where crossings share a position, and turned into
        // levels of coverage (non-zero rule: any winding is full coverage).
        auto* out = first;
        int winding = 0;
        for (auto* in = first; in < end;)
        {
            const auto x = in->x;
            while (in < end && in->x == x)
                winding += (in++)->level;
            const auto level = std::abs(winding);
            *out++ = {x, level >= subPixels ? 255 : level};
        }
        (out - 1)->level = 0;

        // Runs between crossings, the partial pixels at their ends gathered as the framework does.
        auto* pixels = reinterpret_cast<juce::PixelARGB*>(data.getLinePointer(y));
        auto plot = [&](int px, int level)
        {
            if (level >= 255)
                pixels[px].blend(colour);
            else
                pixels[px].blend(colour, static_cast<juce::uint32>(level));
        };
        auto x = first->x;
        int accumulated = 0;
        for (auto* item = first; item + 1 < out; ++item)
        {
            const auto level = item->level;
            const auto endX = (item + 1)->x;
            const auto endPixel = endX / subPixels;
            if (endPixel == x / subPixels)
            {
                accumulated += (endX - x) * level;
            }
            else
            {
                accumulated += (subPixels - (x & 255)) * level;
                accumulated /= subPixels;
                auto px = x / subPixels;
                if (accumulated > 0)
                    plot(px, accumulated);
                if (level > 0)
                {
                    ++px;
                    if (endPixel > px)
                    {
                        auto run = colour;
                        run.multiplyAlpha(level);
                        for (int i = px; i < endPixel; ++i)
                        {
                            if (run.getAlpha() >= 0xff)
                                pixels[i] = run;
                            else
                                pixels[i].blend(run);
                        }
                    }
                }
                accumulated = (endX & 255) * level;
            }
            x = endX;
        }
        accumulated /= subPixels;
        if (accumulated > 0)
            plot(x / subPixels, accumulated);
    }
}
} // namespace ui_core
