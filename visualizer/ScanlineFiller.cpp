#include "visualizer/ScanlineFiller.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace ui_core
{
namespace
{
constexpr int subPixels = 256;
constexpr int lineBits = 12, xBits = 20, levelBits = 16;
constexpr std::uint64_t levelOffset = 1u << 15;

std::uint64_t crossing(int line, int x, int level) noexcept
{
    return (((static_cast<std::uint64_t>(line) << xBits) | static_cast<std::uint64_t>(x)) << levelBits) |
           (static_cast<std::uint64_t>(level) + levelOffset);
}

int lineOf(std::uint64_t c) noexcept
{
    return static_cast<int>(c >> (xBits + levelBits));
}

int xOf(std::uint64_t c) noexcept
{
    return static_cast<int>((c >> levelBits) & ((1u << xBits) - 1));
}

int levelOf(std::uint64_t c) noexcept
{
    return static_cast<int>(c & 0xffff) - static_cast<int>(levelOffset);
}
} // namespace

bool ScanlineFiller::canFill(int width, int height) noexcept
{
    return width >= 0 && height >= 0 && height < (1 << lineBits) && width < (1 << xBits) / subPixels;
}

void ScanlineFiller::fill(juce::Image& image, const juce::Path& path, const juce::AffineTransform& transform,
                          juce::Colour colour)
{
    filled = {};
    spans.clear();
    if (!image.isValid() || path.isEmpty())
        return;
    // Positions must fit the sort key; larger images are for the caller to fill otherwise.
    jassert(canFill(image.getWidth(), image.getHeight()));
    if (!canFill(image.getWidth(), image.getHeight()))
        return;
    const auto bounds = path.getBoundsTransformed(transform).getSmallestIntegerContainer();
    if (!bounds.expanded(1).intersects(image.getBounds()))
        return;
    collect(path, transform, image.getWidth(), image.getHeight());
    sortCrossings();
    juce::Image::BitmapData data(image, juce::Image::BitmapData::readWrite);
    render(data, colour.getPixelARGB());
}

// The crossings of every edge with every scanline, as the framework's edge table records them:
// y in 1/256 pixel, steps short enough that each crossing stays within about a pixel.
void ScanlineFiller::collect(const juce::Path& path, const juce::AffineTransform& transform, int width,
                             int height)
{
    crossings.clear();
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
            const auto x = juce::roundToInt(startX + multiplier * ((y1 + (step >> 1)) - startY));
            crossings.push_back(crossing(y1 / subPixels, std::clamp(x, 0, rightLimit - 1), direction * step));
            y1 += step;
        } while (y1 < y2);
    }
}

// By scanline, then position: an LSD radix sort on the 32-bit key, 8 bits a pass.
void ScanlineFiller::sortCrossings()
{
    scratch.resize(crossings.size());
    for (int shift = levelBits; shift < levelBits + lineBits + xBits; shift += 8)
    {
        std::array<std::size_t, 257> offsets{};
        for (const auto c : crossings)
            ++offsets[((c >> shift) & 0xff) + 1];
        for (std::size_t i = 1; i < offsets.size(); ++i)
            offsets[i] += offsets[i - 1];
        for (const auto c : crossings)
            scratch[offsets[(c >> shift) & 0xff]++] = c;
        crossings.swap(scratch);
    }
}

void ScanlineFiller::render(juce::Image::BitmapData& data, juce::PixelARGB colour)
{
    int top = data.height, bottom = -1, left = data.width, right = -1;
    for (std::size_t begin = 0; begin < crossings.size();)
    {
        const auto y = lineOf(crossings[begin]);
        auto end = begin;
        while (end < crossings.size() && lineOf(crossings[end]) == y)
            ++end;

        // Windings summed along the line, merged where crossings share a position, and turned into
        // levels of coverage (non-zero rule: any winding is full coverage). Written back in place
        // as (x, level) pairs.
        std::size_t count = 0;
        int winding = 0;
        for (auto i = begin; i < end;)
        {
            const auto x = xOf(crossings[i]);
            while (i < end && xOf(crossings[i]) == x)
                winding += levelOf(crossings[i++]);
            const auto level = std::abs(winding);
            crossings[begin + count++] = crossing(0, x, level >= subPixels ? 255 : level);
        }
        const auto last = begin + count - 1;
        crossings[last] = crossing(0, xOf(crossings[last]), 0);
        const auto lineEnd = end;
        end = begin + count;

        if (count >= 2)
        {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, xOf(crossings[begin]) / subPixels);
            right = std::max(right, xOf(crossings[last]) / subPixels);

            // Runs between crossings, the partial pixels at their ends gathered as the framework
            // gathers them.
            auto* pixels = reinterpret_cast<juce::PixelARGB*>(data.getLinePointer(y));
            int spanStart = -1, spanEnd = -1;
            auto written = [&](int from, int to)
            {
                if (from == spanEnd)
                {
                    spanEnd = to;
                    return;
                }
                if (spanEnd > spanStart)
                    spans.emplace_back(spanStart, y, spanEnd - spanStart, 1);
                spanStart = from;
                spanEnd = to;
            };
            auto plot = [&](int px, int level)
            {
                written(px, px + 1);
                if (level >= 255)
                    pixels[px].blend(colour);
                else
                    pixels[px].blend(colour, static_cast<juce::uint32>(level));
            };
            auto x = xOf(crossings[begin]);
            int accumulated = 0;
            for (auto i = begin; i + 1 < end; ++i)
            {
                const auto level = levelOf(crossings[i]);
                const auto endX = xOf(crossings[i + 1]);
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
                    if (level > 0 && endPixel > ++px)
                    {
                        written(px, endPixel);
                        auto run = colour;
                        run.multiplyAlpha(level);
                        for (int p = px; p < endPixel; ++p)
                        {
                            if (run.getAlpha() >= 0xff)
                                pixels[p] = run;
                            else
                                pixels[p].blend(run);
                        }
                    }
                    accumulated = (endX & 255) * level;
                }
                x = endX;
            }
            accumulated /= subPixels;
            if (accumulated > 0)
                plot(x / subPixels, accumulated);
            if (spanEnd > spanStart)
                spans.emplace_back(spanStart, y, spanEnd - spanStart, 1);
        }
        begin = lineEnd;
    }
    if (bottom >= top)
        filled = juce::Rectangle<int>(left, top, right - left + 1, bottom - top + 1);
}
} // namespace ui_core
