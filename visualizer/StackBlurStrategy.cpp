#include "visualizer/StackBlurStrategy.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#define VELTRANE_STACK_BLUR_SSE41 1
#include <immintrin.h>
#else
#define VELTRANE_STACK_BLUR_SSE41 0
#endif

namespace ui_core
{
namespace
{
constexpr int maxRadius = 31;
constexpr int maxStack = 2 * maxRadius + 1;

int limitedRadius(int r) noexcept
{
    return std::clamp(r, 1, maxRadius);
}

// One line of `count` pixels, `step` bytes apart, blurred in place. The stack holds the original
// values of the pixels that the window still needs, so writing behind the read position is safe.
void blurLineScalar(std::uint8_t* line, int count, int step, int r) noexcept
{
    const int stackSize = 2 * r + 1;
    const auto weightSum = static_cast<std::uint32_t>((r + 1) * (r + 1));
    const int last = count - 1;

    std::uint32_t stack[maxStack][4];
    std::uint32_t sum[4] = {}, inSum[4] = {}, outSum[4] = {};

    for (int i = 0; i <= r; ++i)
        for (int c = 0; c < 4; ++c)
        {
            stack[i][c] = line[c];
            sum[c] += line[c] * static_cast<std::uint32_t>(i + 1);
            outSum[c] += line[c];
        }
    for (int i = 1; i <= r; ++i)
    {
        const auto* src = line + std::min(i, last) * step;
        for (int c = 0; c < 4; ++c)
        {
            stack[i + r][c] = src[c];
            sum[c] += src[c] * static_cast<std::uint32_t>(r + 1 - i);
            inSum[c] += src[c];
        }
    }

    int stackPointer = r;
    int readIndex = std::min(r, last);
    auto* dst = line;
    for (int x = 0; x < count; ++x, dst += step)
    {
        for (int c = 0; c < 4; ++c)
            dst[c] = static_cast<std::uint8_t>(sum[c] / weightSum);

        int oldest = stackPointer + stackSize - r;
        if (oldest >= stackSize)
            oldest -= stackSize;
        if (readIndex < last)
            ++readIndex;
        const auto* src = line + readIndex * step;
        for (int c = 0; c < 4; ++c)
        {
            sum[c] -= outSum[c];
            outSum[c] -= stack[oldest][c];
            stack[oldest][c] = src[c];
            inSum[c] += src[c];
            sum[c] += inSum[c];
        }

        if (++stackPointer >= stackSize)
            stackPointer = 0;
        for (int c = 0; c < 4; ++c)
        {
            outSum[c] += stack[stackPointer][c];
            inSum[c] -= stack[stackPointer][c];
        }
    }
}

#if VELTRANE_STACK_BLUR_SSE41
// Compiled for SSE4.1 by attribute, not by a global flag, so the rest of the program runs on any
// x86-64; called only after the processor was found to have it. 128-bit registers only: MinGW
// cannot align the stack for 256-bit spills.
#define VELTRANE_SSE41 __attribute__((target("sse4.1")))

VELTRANE_SSE41 inline __m128i loadPixel(const std::uint8_t* p) noexcept
{
    std::int32_t bytes;
    std::memcpy(&bytes, p, 4);
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(bytes));
}

// floor(sum / d) as (sum * ceil(2^32 / d)) >> 32, exact for every sum up to 255 d with d <= 1024.
VELTRANE_SSE41 inline __m128i divide(__m128i sum, __m128i multiplier) noexcept
{
    const auto even = _mm_srli_epi64(_mm_mul_epu32(sum, multiplier), 32);
    const auto odd = _mm_mul_epu32(_mm_srli_epi64(sum, 32), multiplier);
    return _mm_blend_epi16(even, odd, 0xcc);
}

// Pixel i of four lines side by side, widened to 32 bits a channel.
VELTRANE_SSE41 inline void loadFour(const std::uint8_t* p, int lineOffset, bool adjacent,
                                    __m128i* out) noexcept
{
    if (adjacent)
    {
        const auto block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        out[0] = _mm_cvtepu8_epi32(block);
        out[1] = _mm_cvtepu8_epi32(_mm_srli_si128(block, 4));
        out[2] = _mm_cvtepu8_epi32(_mm_srli_si128(block, 8));
        out[3] = _mm_cvtepu8_epi32(_mm_srli_si128(block, 12));
    }
    else
    {
        for (int k = 0; k < 4; ++k)
            out[k] = loadPixel(p + k * lineOffset);
    }
}

// Four lines side by side: lines[k] + i * step is pixel i of line k. `adjacent` says that the four
// lines' pixels i lie next to each other in memory (four columns), so that they load and store as
// one 16-byte block.
VELTRANE_SSE41 void blurFourLinesVector(std::uint8_t* first, int lineOffset, int count, int step, int r,
                                        bool adjacent) noexcept
{
    const int stackSize = 2 * r + 1;
    const auto d = static_cast<std::uint64_t>((r + 1) * (r + 1));
    const auto multiplier = _mm_set1_epi32(static_cast<int>(((std::uint64_t{1} << 32) + d - 1) / d));
    const int last = count - 1;

    alignas(16) __m128i stack[maxStack][4];
    __m128i sum[4], inSum[4], outSum[4];

    __m128i pixels[4];
    loadFour(first, lineOffset, adjacent, pixels);
    for (int k = 0; k < 4; ++k)
    {
        sum[k] = _mm_mullo_epi32(pixels[k], _mm_set1_epi32((r + 1) * (r + 2) / 2));
        outSum[k] = _mm_mullo_epi32(pixels[k], _mm_set1_epi32(r + 1));
        inSum[k] = _mm_setzero_si128();
        for (int i = 0; i <= r; ++i)
            stack[i][k] = pixels[k];
    }
    for (int i = 1; i <= r; ++i)
    {
        loadFour(first + std::min(i, last) * step, lineOffset, adjacent, pixels);
        const auto weight = _mm_set1_epi32(r + 1 - i);
        for (int k = 0; k < 4; ++k)
        {
            stack[i + r][k] = pixels[k];
            sum[k] = _mm_add_epi32(sum[k], _mm_mullo_epi32(pixels[k], weight));
            inSum[k] = _mm_add_epi32(inSum[k], pixels[k]);
        }
    }

    int stackPointer = r;
    int readIndex = std::min(r, last);
    for (int x = 0; x < count; ++x)
    {
        const auto low = _mm_packus_epi32(divide(sum[0], multiplier), divide(sum[1], multiplier));
        const auto high = _mm_packus_epi32(divide(sum[2], multiplier), divide(sum[3], multiplier));
        const auto bytes = _mm_packus_epi16(low, high);
        auto* dst = first + x * step;
        if (adjacent)
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), bytes);
        }
        else
        {
            alignas(16) std::uint8_t out[16];
            _mm_store_si128(reinterpret_cast<__m128i*>(out), bytes);
            for (int k = 0; k < 4; ++k)
                std::memcpy(dst + k * lineOffset, out + 4 * k, 4);
        }

        int oldest = stackPointer + stackSize - r;
        if (oldest >= stackSize)
            oldest -= stackSize;
        if (readIndex < last)
            ++readIndex;
        loadFour(first + readIndex * step, lineOffset, adjacent, pixels);
        if (++stackPointer >= stackSize)
            stackPointer = 0;
        for (int k = 0; k < 4; ++k)
        {
            sum[k] = _mm_sub_epi32(sum[k], outSum[k]);
            outSum[k] = _mm_sub_epi32(outSum[k], stack[oldest][k]);
            stack[oldest][k] = pixels[k];
            inSum[k] = _mm_add_epi32(inSum[k], pixels[k]);
            sum[k] = _mm_add_epi32(sum[k], inSum[k]);
            outSum[k] = _mm_add_epi32(outSum[k], stack[stackPointer][k]);
            inSum[k] = _mm_sub_epi32(inSum[k], stack[stackPointer][k]);
        }
    }
}
#endif

bool processorHasVectorPath() noexcept
{
#if VELTRANE_STACK_BLUR_SSE41
    return juce::SystemStats::hasSSE41();
#else
    return false;
#endif
}
} // namespace

StackBlurStrategy::StackBlurStrategy(int radiusToUse, Path path) noexcept
    : radius(limitedRadius(radiusToUse))
    , useVector(path != Path::scalar && vectorPathAvailable())
{
}

bool StackBlurStrategy::vectorPathAvailable() noexcept
{
    static const bool available = processorHasVectorPath();
    return available;
}

int StackBlurStrategy::keyForMeasure(float measure) noexcept
{
    if (std::isnan(measure))
        return 2;
    return static_cast<int>(std::clamp(std::floor(static_cast<double>(measure) + 0.001), 2.0, 31.0));
}

int StackBlurStrategy::radiusForKey(int key) noexcept
{
    const auto variance = static_cast<double>(key) * (key + 2) / 6.0;
    const auto sigma = static_cast<double>(static_cast<float>(std::sqrt(variance)));
    return std::max(1, static_cast<int>(std::lround(std::sqrt(6.0 * sigma * sigma + 1.0) - 1.0)));
}

void StackBlurStrategy::apply(juce::Image& image)
{
    if (!image.isValid() || image.getFormat() != juce::Image::ARGB)
    {
        jassert(!image.isValid());
        return;
    }
    rowRanges.assign(static_cast<std::size_t>(image.getHeight()), {0, image.getWidth()});
    columnRanges.assign(static_cast<std::size_t>(image.getWidth()), {0, image.getHeight()});
    blur(image);
}

void StackBlurStrategy::applyWithin(juce::Image& image, const std::vector<juce::Rectangle<int>>& written)
{
    if (!image.isValid() || image.getFormat() != juce::Image::ARGB)
    {
        jassert(!image.isValid());
        return;
    }
    const int width = image.getWidth(), height = image.getHeight();
    rowRanges.assign(static_cast<std::size_t>(height), {0, 0});
    columnRanges.assign(static_cast<std::size_t>(width), {0, 0});
    auto widen = [](Range& range, int begin, int end, int limit)
    {
        begin = std::max(0, begin);
        end = std::min(limit, end);
        if (end <= begin)
            return;
        range = range.end <= range.begin ? Range{begin, end}
                                         : Range{std::min(range.begin, begin), std::max(range.end, end)};
    };
    // A clear pixel more than the radius away from anything stays clear; one more pixel of clear
    // margin makes the replicated edge of each part the clear pixel it replaces.
    const auto reach = radius + 1;
    for (const auto& span : written)
    {
        if (span.getY() < 0 || span.getY() >= height)
            continue;
        widen(rowRanges[static_cast<std::size_t>(span.getY())], span.getX() - reach, span.getRight() + reach,
              width);
        for (int x = std::max(0, span.getX() - radius); x < std::min(width, span.getRight() + radius); ++x)
            widen(columnRanges[static_cast<std::size_t>(x)], span.getY() - reach, span.getBottom() + reach,
                  height);
    }
    blur(image);
}

// Rows first, then columns, each only over its range; four at a time on the vector path, over the
// union of their ranges.
void StackBlurStrategy::blur(juce::Image& image)
{
    const juce::Image::BitmapData data(image, juce::Image::BitmapData::readWrite);
    const int width = data.width, height = data.height;
    const int rowStep = data.lineStride;
    auto* pixels = data.data;
    const auto vector = useVector && width >= 4 && height >= 4;

    auto pass = [&](const std::vector<Range>& ranges, int lines, int lineStep, int pixelStep, bool adjacent)
    {
        int line = 0;
#if VELTRANE_STACK_BLUR_SSE41
        if (vector)
        {
            for (; line + 4 <= lines; line += 4)
            {
                Range all{0, 0};
                for (int k = 0; k < 4; ++k)
                {
                    const auto& r = ranges[static_cast<std::size_t>(line + k)];
                    if (r.end > r.begin)
                        all = all.end <= all.begin
                                  ? r
                                  : Range{std::min(all.begin, r.begin), std::max(all.end, r.end)};
                }
                if (all.end > all.begin)
                    blurFourLinesVector(pixels + line * lineStep + all.begin * pixelStep, lineStep,
                                        all.end - all.begin, pixelStep, radius, adjacent);
            }
        }
#else
        juce::ignoreUnused(adjacent);
#endif
        for (; line < lines; ++line)
        {
            const auto& r = ranges[static_cast<std::size_t>(line)];
            if (r.end > r.begin)
                blurLineScalar(pixels + line * lineStep + r.begin * pixelStep, r.end - r.begin, pixelStep,
                               radius);
        }
    };
    pass(rowRanges, height, rowStep, 4, false);
    pass(columnRanges, width, 4, rowStep, true);
}
} // namespace ui_core
