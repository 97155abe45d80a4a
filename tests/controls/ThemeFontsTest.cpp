#include "controls/ThemeFonts.h"

#include <gtest/gtest.h>

using ui_core::FontFamily;
using ui_core::FontWeight;

namespace
{
struct EmbeddedFontCase
{
    FontFamily family;
    FontWeight weight;
    const char* familyName;
};

void PrintTo(const EmbeddedFontCase& c, std::ostream* out)
{
    *out << c.familyName << " family " << int(c.family) << " weight " << int(c.weight);
}

// Glyph advance of a string, which tells two weights of one family apart.
float widthOf(const juce::Typeface::Ptr& typeface, const char* text)
{
    return typeface->getStringWidth(text);
}

bool isInterRegular(const juce::Typeface::Ptr& typeface)
{
    return typeface == ui_core::interfaceFont(0, 10.0f).getTypefacePtr();
}
} // namespace

class EmbeddedFontTest : public ::testing::TestWithParam<EmbeddedFontCase>
{
};

TEST_P(EmbeddedFontTest, LoadsAsTypefaceOfItsFamily)
{
    const auto typeface = ui_core::getTypeface(GetParam().family, GetParam().weight);

    ASSERT_NE(typeface, nullptr);
    EXPECT_EQ(typeface->getName(), GetParam().familyName);
    EXPECT_GT(widthOf(typeface, "Transfer"), 0.0f) << "the face has glyphs";
}

INSTANTIATE_TEST_SUITE_P(
    Files, EmbeddedFontTest,
    ::testing::Values(EmbeddedFontCase{FontFamily::Nunito, FontWeight::Regular, "Nunito"},
                      EmbeddedFontCase{FontFamily::Nunito, FontWeight::Medium, "Nunito"},
                      EmbeddedFontCase{FontFamily::Nunito, FontWeight::SemiBold, "Nunito"},
                      EmbeddedFontCase{FontFamily::Nunito, FontWeight::Bold, "Nunito"},
                      EmbeddedFontCase{FontFamily::SpaceMono, FontWeight::Regular, "Space Mono"},
                      EmbeddedFontCase{FontFamily::SpaceMono, FontWeight::Bold, "Space Mono"}));

TEST(ThemeFonts, EveryInterWeightIsEmbedded)
{
    for (int index = 0; index < 4; ++index)
    {
        const auto font = ui_core::interfaceFont(index, 13.0f);
        ASSERT_NE(font.getTypefacePtr(), nullptr);
        EXPECT_EQ(font.getTypefacePtr()->getName(), "Inter") << index;
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
