#pragma once

#include "visualizer/PhosphorBlur.h"

#include <vector>

namespace ui_core
{
// Stack blur: every pixel becomes the triangle-weighted mean (weights 1, 2, .., r + 1, .., 2, 1) of
// the 2r + 1 pixels around it, rows first, then columns, the edges replicated. The cost per pixel
// does not depend on r. On processors with SSE4.1 four rows (and four columns) run side by side
// and the division becomes an exact multiplication; both paths give identical bytes.
class StackBlurStrategy final : public PhosphorBlur
{
public:
    enum class Path
    {
        automatic, // the vector path when the processor has it
        scalar,
        vector // falls back to scalar where the processor lacks SSE4.1
    };

    // The radius is limited to 1..31; a new instance replaces this one when it must change.
    explicit StackBlurStrategy(int radius, Path path = Path::automatic) noexcept;

    void apply(juce::Image& image) override;

    // The same, for an image whose non-transparent pixels all lie in `written` (one pixel high
    // runs): the rows and columns, and the parts of them, that stay clear are left alone.
    void applyWithin(juce::Image& image, const std::vector<juce::Rectangle<int>>& written);

    int getRadius() const noexcept { return radius; }

    static bool vectorPathAvailable() noexcept;

    // The blur key K for a stroke measure (a trace thickness, scaled by the caller): 2..31.
    static int keyForMeasure(float measure) noexcept;

    // The radius whose triangle kernel has the variance K(K + 2) / 6 of the key's kernel, that is K
    // itself; computed through the variance so that callers can reason in terms of a Gaussian.
    static int radiusForKey(int key) noexcept;

private:
    struct Range
    {
        int begin, end; // empty when end <= begin
    };

    void blur(juce::Image& image);

    int radius;
    bool useVector;
    std::vector<Range> rowRanges, columnRanges; // what each row and column pass covers
};
} // namespace ui_core
