#include "visualizer/ImageUpscaler.h"

#include "visualizer/StackBlurStrategy.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#define VELTRANE_UPSCALER_SSE41 1
#include <immintrin.h>
#else
#define VELTRANE_UPSCALER_SSE41 0
#endif

namespace ui_core
{
namespace
{
constexpr int outputTileSize = 16; // pixels
// The alpha bytes of two neighbouring ARGB pixels read as one little-endian 64-bit word.
constexpr std::uint64_t alphaOfPair = 0xff000000ff000000ull;

// JUCE's 4-pixel average, separated: first the two rows (16 bits suffice), then the two columns,
// with the framework's rounding ((sum + 2^15) >> 16), so the result is bit for bit the same.
void blendRowsScalar(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t weight,
                     std::uint16_t* out, int pixels) noexcept
{
    const auto keep = 256u - weight;
    for (int i = 0; i < pixels * 4; ++i)
        out[i] = static_cast<std::uint16_t>(keep * upper[i] + weight * lower[i]);
}

using Tap = ImageUpscaler::Tap;

void blendColumnsScalar(const std::uint16_t* rowBlend, const Tap* taps, int count, std::uint8_t* out) noexcept
{
    for (int i = 0; i < count; ++i)
    {
        const auto& tap = taps[i];
        const auto* a = rowBlend + 4 * tap.first;
        const auto* b = rowBlend + 4 * tap.second;
        for (int c = 0; c < 4; ++c)
            out[4 * i + c] =
                static_cast<std::uint8_t>(((256u - tap.weight) * a[c] + tap.weight * b[c] + 32768u) >> 16);
    }
}

#if VELTRANE_UPSCALER_SSE41
#define VELTRANE_SSE41 __attribute__((target("sse4.1")))

VELTRANE_SSE41 void blendRowsVector(const std::uint8_t* upper, const std::uint8_t* lower,
                                    std::uint32_t weight, std::uint16_t* out, int pixels) noexcept
{
    const auto keep = _mm_set1_epi16(static_cast<short>(256u - weight));
    const auto take = _mm_set1_epi16(static_cast<short>(weight));
    int i = 0;
    for (; i + 2 <= pixels; i += 2)
    {
        const auto a = _mm_cvtepu8_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(upper + 4 * i)));
        const auto b = _mm_cvtepu8_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(lower + 4 * i)));
        const auto sum = _mm_add_epi16(_mm_mullo_epi16(a, keep), _mm_mullo_epi16(b, take));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), sum);
    }
    if (i < pixels)
        blendRowsScalar(upper + 4 * i, lower + 4 * i, weight, out + 4 * i, pixels - i);
}

VELTRANE_SSE41 void blendColumnsVector(const std::uint16_t* rowBlend, const Tap* taps, int count,
                                       std::uint8_t* out) noexcept
{
    const auto rounding = _mm_set1_epi32(32768);
    for (int i = 0; i < count; ++i)
    {
        const auto& tap = taps[i];
        const auto a =
            _mm_cvtepu16_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(rowBlend + 4 * tap.first)));
        const auto b =
            _mm_cvtepu16_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(rowBlend + 4 * tap.second)));
        auto sum = _mm_add_epi32(_mm_mullo_epi32(a, _mm_set1_epi32(static_cast<int>(256u - tap.weight))),
                                 _mm_mullo_epi32(b, _mm_set1_epi32(static_cast<int>(tap.weight))));
        sum = _mm_srli_epi32(_mm_add_epi32(sum, rounding), 16);
        const auto bytes = _mm_packus_epi16(_mm_packus_epi32(sum, sum), _mm_setzero_si128());
        const auto pixel = _mm_cvtsi128_si32(bytes);
        std::memcpy(out + 4 * i, &pixel, 4);
    }
}
#endif

bool isWhole(float value) noexcept
{
    return std::abs(value - std::round(value)) < 1.0e-3f;
}
} // namespace

ImageUpscaler::ImageUpscaler(Path path) noexcept
    : useVector(path == Path::automatic && StackBlurStrategy::vectorPathAvailable())
{
}

void ImageUpscaler::prepareTaps(std::vector<Tap>& taps, int outputStart, int outputEnd, int factor,
                                int sourceSize, double offset) const
{
    taps.resize(static_cast<std::size_t>(std::max(0, outputEnd - outputStart)));
    for (int i = outputStart; i < outputEnd; ++i)
    {
        // The framework samples output pixel i at (i + 0.5 - offset) / factor - 0.5, in 1/256 of a
        // source pixel (offset: where the image starts, within the first output pixel).
        const auto position =
            static_cast<int>(std::floor((static_cast<double>(i) + 0.5 - offset) * 256.0 / factor)) - 128;
        const auto index = position >> 8;
        auto& tap = taps[static_cast<std::size_t>(i - outputStart)];
        if (index < 0)
            tap = {0, 0, 0};
        else if (index >= sourceSize - 1)
            tap = {sourceSize - 1, sourceSize - 1, 0};
        else
            tap = {index, index + 1, static_cast<std::uint32_t>(position & 255)};
    }
}

void ImageUpscaler::draw(juce::Graphics& g, const juce::Image& source, juce::Rectangle<int> content,
                         juce::Rectangle<float> placement, const juce::RectangleList<int>* within)
{
    drawImage(g, source, content, placement, within, nullptr, 0);
}

void ImageUpscaler::draw(juce::Graphics& g, const juce::Image& source,
                         const std::vector<juce::Rectangle<int>>& written, int spread,
                         juce::Rectangle<int> content, juce::Rectangle<float> placement)
{
    drawImage(g, source, content, placement, nullptr, &written, spread);
}

ImageUpscaler::Plan ImageUpscaler::plan(const juce::Image& source, juce::Rectangle<int> content,
                                        juce::Rectangle<float> placement, float scale,
                                        juce::Rectangle<int> physicalClip,
                                        const juce::RectangleList<int>* within,
                                        const std::vector<juce::Rectangle<int>>* written, int spread)
{
    content = content.getIntersection(source.getBounds());
    if (!source.isValid() || content.isEmpty() || placement.isEmpty())
        return Plan::nothing;

    const auto factorX = placement.getWidth() / static_cast<float>(source.getWidth()) * scale;
    const auto factorY = placement.getHeight() / static_cast<float>(source.getHeight()) * scale;
    factor = juce::roundToInt(factorX);
    const auto originX = static_cast<double>(placement.getX()) * scale;
    const auto originY = static_cast<double>(placement.getY()) * scale;
    origin = {static_cast<int>(std::floor(originX)), static_cast<int>(std::floor(originY))};
    offsetX = originX - origin.x;
    offsetY = originY - origin.y;
    if (factor < 1 || factor > 16 || !isWhole(factorX) ||
        std::abs(factorY - static_cast<float>(factor)) > 1.0e-3f || source.getFormat() != juce::Image::ARGB ||
        (factor == 1 && (offsetX != 0.0 || offsetY != 0.0)))
        return Plan::framework;

    // Output pixels (relative to the placement's physical origin) that the content can reach and
    // that the clip lets through.
    const auto sourceArea = content.expanded(1).getIntersection(source.getBounds());
    region = juce::Rectangle<int>(sourceArea.getX() * factor, sourceArea.getY() * factor,
                                  sourceArea.getWidth() * factor + 1, sourceArea.getHeight() * factor + 1)
                 .getIntersection((physicalClip - origin).expanded(1));
    if (region.isEmpty())
        return Plan::nothing;

    // Source tiles that something reaches: every pixel that is not clear, and its neighbours, which
    // the filter blends it into.
    // Tiles of about 16 output pixels, whole source pixels; 8 for an image drawn as it is (a thin
    // line leaves most of a larger tile clear, and the framework blends clear pixels too).
    const auto tileSize = std::max(1, outputTileSize / factor);
    const auto tilesWide = (source.getWidth() + tileSize - 1) / tileSize;
    const auto tilesHigh = (source.getHeight() + tileSize - 1) / tileSize;
    occupied.assign(static_cast<std::size_t>(tilesWide * tilesHigh), 0);
    const juce::Image::BitmapData sourceData(source, juce::Image::BitmapData::readOnly);
    auto mark = [&](juce::Rectangle<int> area)
    {
        // The area and the neighbours the filter blends it into.
        area = area.expanded(1).getIntersection(source.getBounds());
        for (int ty = area.getY() / tileSize; ty <= (area.getBottom() - 1) / tileSize; ++ty)
            for (int tx = area.getX() / tileSize; tx <= (area.getRight() - 1) / tileSize; ++tx)
                occupied[static_cast<std::size_t>(ty * tilesWide + tx)] = 1;
    };
    if (written != nullptr)
    {
        for (const auto& span : *written)
            mark(span.expanded(spread));
    }
    else
    {
        for (int y = content.getY(); y < content.getBottom(); ++y)
        {
            const auto* row = sourceData.getLinePointer(y);
            const auto firstTileRow = std::max(0, (y - 1) / tileSize);
            const auto lastTileRow = std::min(tilesHigh - 1, (y + 1) / tileSize);
            const auto end = content.getRight();
            for (int x = content.getX(); x < end; ++x)
            {
                // Clear pixels two at a time (the alpha bytes of a pair), most of a glow being clear.
                while (x + 2 <= end)
                {
                    std::uint64_t pair;
                    std::memcpy(&pair, row + 4 * x, sizeof(pair));
                    if ((pair & alphaOfPair) != 0)
                        break;
                    x += 2;
                }
                if (x >= end || row[4 * x + juce::PixelARGB::indexA] == 0)
                    continue;
                const auto firstTile = std::max(0, (x - 1) / tileSize);
                const auto lastTile = std::min(tilesWide - 1, (x + 1) / tileSize);
                for (int ty = firstTileRow; ty <= lastTileRow; ++ty)
                    for (int tx = firstTile; tx <= lastTile; ++tx)
                        occupied[static_cast<std::size_t>(ty * tilesWide + tx)] = 1;
                // Within this tile only its last column reaches further; skip to it.
                x = std::max(x, (x / tileSize + 1) * tileSize - 2);
            }
        }
    }

    // What `within` allows, in output pixels; a list without overlaps, so that no pixel is blended
    // twice.
    juce::RectangleList<int> allowed;
    if (within != nullptr)
        for (const auto& r : *within)
            allowed.add((r.toFloat() * scale).getSmallestIntegerContainer() - origin);

    // Runs of tiles along each row, a run joined to the one above it when they line up.
    tiles.clear();
    previousRow.clear();
    const auto outputTile = tileSize * factor;
    // (The region reaches a pixel past the source's last tile, which holds nothing.)
    const auto lastTileRow = std::min(tilesHigh, (region.getBottom() + outputTile - 1) / outputTile);
    const auto lastTileColumn = std::min(tilesWide, (region.getRight() + outputTile - 1) / outputTile);
    for (int ty = region.getY() / outputTile; ty < lastTileRow; ++ty)
    {
        currentRow.clear();
        for (int tx = region.getX() / outputTile; tx < lastTileColumn;)
        {
            if (occupied[static_cast<std::size_t>(ty * tilesWide + tx)] == 0)
            {
                ++tx;
                continue;
            }
            const auto start = tx;
            while (tx < lastTileColumn && occupied[static_cast<std::size_t>(ty * tilesWide + tx)] != 0)
                ++tx;
            const auto run = juce::Rectangle<int>(start * outputTile, ty * outputTile,
                                                  (tx - start) * outputTile, outputTile)
                                 .getIntersection(region);
            if (within != nullptr)
            {
                for (const auto& r : allowed)
                    if (const auto part = run.getIntersection(r); !part.isEmpty())
                        tiles.push_back(part);
                continue;
            }
            const auto above = std::find_if(previousRow.begin(), previousRow.end(),
                                            [&](std::size_t k)
                                            {
                                                return tiles[k].getX() == run.getX() &&
                                                       tiles[k].getWidth() == run.getWidth() &&
                                                       tiles[k].getBottom() == run.getY();
                                            });
            if (above != previousRow.end())
            {
                tiles[*above].setHeight(tiles[*above].getHeight() + run.getHeight());
                currentRow.push_back(*above);
            }
            else
            {
                tiles.push_back(run);
                currentRow.push_back(tiles.size() - 1);
            }
        }
        previousRow.swap(currentRow);
    }
    return tiles.empty() ? Plan::nothing : Plan::tiles;
}

void ImageUpscaler::upscaleTiles(const juce::Image& source)
{
    if (!scratch.isValid() || scratch.getWidth() < region.getWidth() ||
        scratch.getHeight() < region.getHeight())
        scratch = juce::Image(juce::Image::ARGB,
                              std::max(region.getWidth(), scratch.isValid() ? scratch.getWidth() : 0),
                              std::max(region.getHeight(), scratch.isValid() ? scratch.getHeight() : 0),
                              false, juce::SoftwareImageType());

    prepareTaps(columnTaps, region.getX(), region.getRight(), factor, source.getWidth(), offsetX);
    prepareTaps(rowTaps, region.getY(), region.getBottom(), factor, source.getHeight(), offsetY);
    const juce::Image::BitmapData sourceData(source, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData target(scratch, juce::Image::BitmapData::writeOnly);
    for (const auto& tile : tiles)
        upscaleTile(sourceData, target, tile, region.getPosition());
}

void ImageUpscaler::drawImage(juce::Graphics& g, const juce::Image& source, juce::Rectangle<int> content,
                              juce::Rectangle<float> placement, const juce::RectangleList<int>* within,
                              const std::vector<juce::Rectangle<int>>* written, int spread)
{
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();
    const auto clip = (g.getClipBounds().toFloat() * scale).getSmallestIntegerContainer();
    const auto result = plan(source, content, placement, scale, clip, within, written, spread);
    if (result == Plan::framework)
    {
        g.setImageResamplingQuality(juce::Graphics::highResamplingQuality);
        g.drawImage(source, placement, juce::RectanglePlacement::stretchToFit);
        return;
    }
    if (result == Plan::nothing)
        return;

    juce::Graphics::ScopedSaveState saved(g);
    g.addTransform(juce::AffineTransform::scale(1.0f / scale));
    if (factor == 1)
    {
        // Nothing to stretch: blit the tiles of the source itself.
        blitTiles(g, source, origin, {});
        return;
    }
    upscaleTiles(source);
    blitTiles(g, scratch, origin, region.getPosition());
}

// In physical pixels, without a transform, one tile rectangle at a time: one blit clipped to a long
// list of rectangles costs the framework far more (it cuts the image's edge table by every gap).
void ImageUpscaler::blitTiles(juce::Graphics& g, const juce::Image& image, juce::Point<int> origin,
                              juce::Point<int> imageOrigin) const
{
    for (const auto& tile : tiles)
    {
        const auto target = tile + origin;
        if (g.clipRegionIntersects(target))
            g.drawImageAt(image.getClippedImage(tile - imageOrigin), target.getX(), target.getY());
    }
}

void ImageUpscaler::upscaleTile(const juce::Image::BitmapData& source, juce::Image::BitmapData& target,
                                juce::Rectangle<int> tile, juce::Point<int> regionOrigin)
{
    const auto firstTap = static_cast<std::size_t>(tile.getX() - regionOrigin.x);
    const auto count = tile.getWidth();
    const auto firstColumn = columnTaps[firstTap].first;
    const auto lastColumn = columnTaps[firstTap + static_cast<std::size_t>(count) - 1].second;
    const auto columns = lastColumn - firstColumn + 1;
    columnBlend.resize(static_cast<std::size_t>(columns) * 4 + 8);

    // Taps relative to the first column blended.
    tileTaps.assign(columnTaps.begin() + static_cast<std::ptrdiff_t>(firstTap),
                    columnTaps.begin() + static_cast<std::ptrdiff_t>(firstTap) + count);
    for (auto& tap : tileTaps)
    {
        tap.first -= firstColumn;
        tap.second -= firstColumn;
    }

    for (int y = tile.getY(); y < tile.getBottom(); ++y)
    {
        const auto& rowTap = rowTaps[static_cast<std::size_t>(y - regionOrigin.y)];
        const auto* upper = source.getLinePointer(rowTap.first) + 4 * firstColumn;
        const auto* lower = source.getLinePointer(rowTap.second) + 4 * firstColumn;
        auto* out = target.getLinePointer(y - regionOrigin.y) + 4 * (tile.getX() - regionOrigin.x);
#if VELTRANE_UPSCALER_SSE41
        if (useVector)
        {
            blendRowsVector(upper, lower, rowTap.weight, columnBlend.data(), columns);
            blendColumnsVector(columnBlend.data(), tileTaps.data(), count, out);
            continue;
        }
#endif
        blendRowsScalar(upper, lower, rowTap.weight, columnBlend.data(), columns);
        blendColumnsScalar(columnBlend.data(), tileTaps.data(), count, out);
    }
}
} // namespace ui_core
