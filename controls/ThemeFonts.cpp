#include "controls/ThemeFonts.h"

#include "VeltraneFonts.h"

#include <array>
#include <mutex>

namespace ui_core
{
namespace
{
enum class EmbeddedFont
{
    InterRegular,
    InterMedium,
    InterSemiBold,
    InterBold,
    SpaceMonoRegular,
    SpaceMonoBold,
    NunitoRegular,
    NunitoMedium,
    NunitoSemiBold,
    NunitoBold
};

constexpr std::size_t embeddedFontCount = 10;

struct EmbeddedFile
{
    const char* data;
    int size;
};

EmbeddedFile embeddedFile(EmbeddedFont font)
{
    switch (font)
    {
        case EmbeddedFont::InterRegular:
            return {VeltraneFonts::InterRegular_ttf, VeltraneFonts::InterRegular_ttfSize};
        case EmbeddedFont::InterMedium:
            return {VeltraneFonts::InterMedium_ttf, VeltraneFonts::InterMedium_ttfSize};
        case EmbeddedFont::InterSemiBold:
            return {VeltraneFonts::InterSemiBold_ttf, VeltraneFonts::InterSemiBold_ttfSize};
        case EmbeddedFont::InterBold:
            return {VeltraneFonts::InterBold_ttf, VeltraneFonts::InterBold_ttfSize};
        case EmbeddedFont::SpaceMonoRegular:
            return {VeltraneFonts::SpaceMonoRegular_ttf, VeltraneFonts::SpaceMonoRegular_ttfSize};
        case EmbeddedFont::SpaceMonoBold:
            return {VeltraneFonts::SpaceMonoBold_ttf, VeltraneFonts::SpaceMonoBold_ttfSize};
        case EmbeddedFont::NunitoRegular:
            return {VeltraneFonts::NunitoRegular_ttf, VeltraneFonts::NunitoRegular_ttfSize};
        case EmbeddedFont::NunitoMedium:
            return {VeltraneFonts::NunitoMedium_ttf, VeltraneFonts::NunitoMedium_ttfSize};
        case EmbeddedFont::NunitoSemiBold:
            return {VeltraneFonts::NunitoSemiBold_ttf, VeltraneFonts::NunitoSemiBold_ttfSize};
        case EmbeddedFont::NunitoBold:
            return {VeltraneFonts::NunitoBold_ttf, VeltraneFonts::NunitoBold_ttfSize};
    }
    return {VeltraneFonts::InterRegular_ttf, VeltraneFonts::InterRegular_ttfSize};
}

// The typefaces of the embedded files, each created on first use and shared by every font built
// from it. They live until the framework shuts down (when the last plug-in instance goes) rather
// than until static destruction: a typeface fills its glyph cache lazily, and glyphs released
// after the framework's leak counters have been checked would be reported as leaks.
class EmbeddedTypefaces final : private juce::DeletedAtShutdown
{
public:
    ~EmbeddedTypefaces() override { clearSingletonInstance(); }

    juce::Typeface::Ptr get(EmbeddedFont font)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        auto& typeface = typefaces[static_cast<std::size_t>(font)];
        if (typeface == nullptr)
        {
            const auto file = embeddedFile(font);
            typeface = juce::Typeface::createSystemTypefaceFor(file.data, static_cast<size_t>(file.size));
        }
        return typeface;
    }

    JUCE_DECLARE_SINGLETON(EmbeddedTypefaces, false)

private:
    std::mutex mutex;
    std::array<juce::Typeface::Ptr, embeddedFontCount> typefaces;
};

JUCE_IMPLEMENT_SINGLETON(EmbeddedTypefaces)

juce::Typeface::Ptr embeddedTypeface(EmbeddedFont font)
{
    return EmbeddedTypefaces::getInstance()->get(font);
}

juce::Font fontOfHeight(const juce::Typeface::Ptr& typeface, float height)
{
    juce::Font font(typeface);
    font.setHeight(height);
    return font;
}
} // namespace

juce::Typeface::Ptr getTypeface(FontFamily family, FontWeight weight)
{
    switch (family)
    {
        case FontFamily::SpaceMono:
            switch (weight)
            {
                case FontWeight::Bold:
                    return embeddedTypeface(EmbeddedFont::SpaceMonoBold);
                case FontWeight::Medium:
                case FontWeight::Regular:
                case FontWeight::SemiBold:
                    return embeddedTypeface(EmbeddedFont::SpaceMonoRegular);
            }
            break;

        case FontFamily::Nunito:
            switch (weight)
            {
                case FontWeight::Bold:
                    return embeddedTypeface(EmbeddedFont::NunitoBold);
                case FontWeight::Medium:
                    return embeddedTypeface(EmbeddedFont::NunitoMedium);
                case FontWeight::Regular:
                    return embeddedTypeface(EmbeddedFont::NunitoRegular);
                case FontWeight::SemiBold:
                    return embeddedTypeface(EmbeddedFont::NunitoSemiBold);
            }
            break;
    }

    // A family or weight value outside the named ones.
    return embeddedTypeface(EmbeddedFont::InterRegular);
}

ThemedFont makeFont(const FontSpec& spec)
{
    const auto scale = spec.family == FontFamily::Nunito ? 1.07f : 1.0f;
    return {fontOfHeight(getTypeface(spec.family, spec.weight), spec.size * scale), spec.lineHeight * scale,
            spec.tracking};
}

juce::Font interfaceFont(int weightIndex, float height)
{
    switch (weightIndex)
    {
        case 1:
            return fontOfHeight(embeddedTypeface(EmbeddedFont::InterMedium), height);
        case 2:
            return fontOfHeight(embeddedTypeface(EmbeddedFont::InterSemiBold), height);
        case 3:
            return fontOfHeight(embeddedTypeface(EmbeddedFont::InterBold), height);
        default:
            return fontOfHeight(embeddedTypeface(EmbeddedFont::InterRegular), height);
    }
}

juce::Font monoFont(float height)
{
    return fontOfHeight(embeddedTypeface(EmbeddedFont::SpaceMonoRegular), height);
}
} // namespace ui_core
