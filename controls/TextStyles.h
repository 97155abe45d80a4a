#pragma once

#include <cstdint>

namespace ui_core
{
enum class FontFamily : std::uint8_t
{
    SpaceMono = 0,
    Nunito = 1
};

enum class FontWeight : std::uint8_t
{
    Bold = 0,
    Medium = 1,
    Regular = 2,
    SemiBold = 3
};

// A text style: sizes in pixels, before the per-family scale that makeFont applies.
struct FontSpec
{
    FontFamily family;
    FontWeight weight;
    float size;
    float lineHeight;
    float tracking;
};

inline constexpr FontSpec titleFontSpec{FontFamily::Nunito, FontWeight::SemiBold, 16.0f, 24.0f, 0.0f};
inline constexpr FontSpec bodyFontSpec{FontFamily::Nunito, FontWeight::Regular, 15.0f, 22.0f, 0.0f};
inline constexpr FontSpec captionFontSpec{FontFamily::Nunito, FontWeight::Regular, 12.0f, 18.0f, 0.0f};
inline constexpr FontSpec monoFontSpec{FontFamily::SpaceMono, FontWeight::Regular, 13.0f, 18.0f, 0.0f};
} // namespace ui_core
