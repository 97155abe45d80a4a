#include "controls/ThemeFonts.h"

#include <gtest/gtest.h>

using ui_core::FontFamily;
using ui_core::FontWeight;

namespace
{
struct EmbeddedFontCase
{
    const char* fullName; // family and weight, as the font file names them
    juce::Typeface::Ptr (*load)();
};

void PrintTo(const EmbeddedFontCase& c, std::ostream* out)
{
    *out << c.fullName;
}

// Glyph advance of a string, which tells two weights of one family apart.
float widthOf(const juce::Typeface::Ptr& typeface, const char* text)
{
    return typeface->getStringWidth(text);
}

// Width of the ink of one glyph, in units of the font height: the stem of an "l" thickens with the
// weight. It measures the face the platform actually renders with, whatever it was asked for.
float stemWidth(const juce::Typeface::Ptr& typeface)
{
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    typeface->getGlyphPositions("l", glyphs, offsets);
    juce::Path outline;
    if (glyphs.isEmpty() || !typeface->getOutlineForGlyph(glyphs[0], outline))
        return 0.0f;
    return outline.getBounds().getWidth();
}

// What a typeface says about its family and weight. JUCE 7 on Windows names a font loaded from
// memory by its full name and leaves the style empty (GDI then selects the face by that name).
juce::String familyAndWeightOf(const juce::Typeface::Ptr& typeface)
{
    if (typeface->getStyle().isEmpty())
        return typeface->getName();
    return typeface->getName() + " " + typeface->getStyle();
}

bool isInterRegular(const juce::Typeface::Ptr& typeface)
{
    return typeface == ui_core::interfaceFont(0, 10.0f).getTypefacePtr();
}

juce::Typeface::Ptr inter(int weightIndex)
{
    return ui_core::interfaceFont(weightIndex, 10.0f).getTypefacePtr();
}

const EmbeddedFontCase embeddedFonts[] = {
    {"Inter Regular", [] { return inter(0); }},
    {"Inter Medium", [] { return inter(1); }},
    {"Inter SemiBold", [] { return inter(2); }},
    {"Inter Bold", [] { return inter(3); }},
    {"Nunito Regular", [] { return ui_core::getTypeface(FontFamily::Nunito, FontWeight::Regular); }},
    {"Nunito Medium", [] { return ui_core::getTypeface(FontFamily::Nunito, FontWeight::Medium); }},
    {"Nunito SemiBold", [] { return ui_core::getTypeface(FontFamily::Nunito, FontWeight::SemiBold); }},
    {"Nunito Bold", [] { return ui_core::getTypeface(FontFamily::Nunito, FontWeight::Bold); }},
    {"Space Mono Regular", [] { return ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Regular); }},
    {"Space Mono Bold", [] { return ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Bold); }},
};
} // namespace

class EmbeddedFontTest : public ::testing::TestWithParam<EmbeddedFontCase>
{
};

TEST_P(EmbeddedFontTest, LoadsAsTypefaceOfItsFamilyAndWeight)
{
    const auto typeface = GetParam().load();

    ASSERT_NE(typeface, nullptr);
    EXPECT_EQ(familyAndWeightOf(typeface), GetParam().fullName);
    EXPECT_GT(widthOf(typeface, "Transfer"), 0.0f) << "the face has glyphs";
}

INSTANTIATE_TEST_SUITE_P(Files, EmbeddedFontTest, ::testing::ValuesIn(embeddedFonts),
                         [](const auto& info)
                         { return juce::String(info.param.fullName).removeCharacters(" ").toStdString(); });

TEST(ThemeFonts, StemsThickenFromRegularToBoldWithinEachFamily)
{
    // Regular, Medium, SemiBold and Bold of Inter, then of Nunito; Regular and Bold of Space Mono.
    for (const auto& [first, count] : {std::pair{0, 4}, std::pair{4, 4}, std::pair{8, 2}})
        for (int i = first + 1; i < first + count; ++i)
        {
            const auto lighter = stemWidth(embeddedFonts[i - 1].load());
            const auto heavier = stemWidth(embeddedFonts[i].load());
            EXPECT_GT(heavier, lighter * 1.02f) << embeddedFonts[i].fullName;
        }
}

TEST(ThemeFonts, EveryInterWeightIsEmbedded)
{
    for (int index = 0; index < 4; ++index)
    {
        const auto font = ui_core::interfaceFont(index, 13.0f);
        ASSERT_NE(font.getTypefacePtr(), nullptr);
        EXPECT_TRUE(font.getTypefacePtr()->getName().startsWith("Inter")) << index;
        EXPECT_FLOAT_EQ(font.getHeight(), 13.0f);
    }
}

TEST(ThemeFonts, EachWeightIsItsOwnFile)
{
    juce::Array<juce::Typeface*> seen;
    for (auto weight : {FontWeight::Regular, FontWeight::Medium, FontWeight::SemiBold, FontWeight::Bold})
        seen.addIfNotAlreadyThere(ui_core::getTypeface(FontFamily::Nunito, weight).get());
    for (int index = 0; index < 4; ++index)
        seen.addIfNotAlreadyThere(ui_core::interfaceFont(index, 10.0f).getTypefacePtr().get());
    seen.addIfNotAlreadyThere(ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Regular).get());
    seen.addIfNotAlreadyThere(ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Bold).get());

    EXPECT_EQ(seen.size(), 10);

    // Heavier weights set wider text in these families.
    const auto regular = widthOf(ui_core::getTypeface(FontFamily::Nunito, FontWeight::Regular), "Wave");
    const auto bold = widthOf(ui_core::getTypeface(FontFamily::Nunito, FontWeight::Bold), "Wave");
    EXPECT_GT(bold, regular);
}

TEST(ThemeFonts, TypefaceIsCreatedOnceAndShared)
{
    EXPECT_EQ(ui_core::getTypeface(FontFamily::Nunito, FontWeight::Bold),
              ui_core::getTypeface(FontFamily::Nunito, FontWeight::Bold));
}

TEST(ThemeFonts, SpaceMonoHasNoMiddleWeightsAndFallsBackToRegular)
{
    const auto regular = ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Regular);
    EXPECT_EQ(ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Medium), regular);
    EXPECT_EQ(ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::SemiBold), regular);
    EXPECT_NE(ui_core::getTypeface(FontFamily::SpaceMono, FontWeight::Bold), regular);
}

TEST(ThemeFonts, UnknownFamilyOrWeightGivesInterRegular)
{
    EXPECT_TRUE(isInterRegular(ui_core::getTypeface(FontFamily::Nunito, static_cast<FontWeight>(7))));
    EXPECT_TRUE(isInterRegular(ui_core::getTypeface(FontFamily::SpaceMono, static_cast<FontWeight>(4))));
    for (auto weight : {FontWeight::Bold, FontWeight::Medium, FontWeight::Regular, FontWeight::SemiBold})
        EXPECT_TRUE(isInterRegular(ui_core::getTypeface(static_cast<FontFamily>(2), weight)));
    EXPECT_TRUE(isInterRegular(ui_core::interfaceFont(9, 12.0f).getTypefacePtr()));
}

TEST(ThemeFonts, NunitoSpecsAreScaledAndOthersAreNot)
{
    const auto body = ui_core::makeFont(ui_core::bodyFontSpec);
    EXPECT_NEAR(body.font.getHeight(), 16.05f, 1e-4f);
    EXPECT_NEAR(body.lineHeight, 23.54f, 1e-4f);
    EXPECT_FLOAT_EQ(body.tracking, 0.0f);
    EXPECT_EQ(body.font.getTypefacePtr(), ui_core::getTypeface(FontFamily::Nunito, FontWeight::Regular));

    const auto title = ui_core::makeFont(ui_core::titleFontSpec);
    EXPECT_NEAR(title.font.getHeight(), 17.12f, 1e-4f);
    EXPECT_EQ(title.font.getTypefacePtr(), ui_core::getTypeface(FontFamily::Nunito, FontWeight::SemiBold));

    const auto mono = ui_core::makeFont(ui_core::monoFontSpec);
    EXPECT_FLOAT_EQ(mono.font.getHeight(), 13.0f);
    EXPECT_FLOAT_EQ(mono.lineHeight, 18.0f);
    EXPECT_EQ(mono.font.getTypefacePtr(), ui_core::monoFont(13.0f).getTypefacePtr());
}
