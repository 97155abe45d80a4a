#include "update/VersionComparison.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace
{
struct Comparison
{
    const char* latest;
    const char* current;
    bool newer;
};

void PrintTo(const Comparison& c, std::ostream* out)
{
    *out << c.latest << " against " << c.current;
}

// "3_1_2_vs_1_1_4": test names take letters, digits and underscores only.
std::string comparisonName(const ::testing::TestParamInfo<Comparison>& info)
{
    auto name = std::to_string(info.index) + "_" + info.param.latest + "_vs_" + info.param.current;
    for (auto& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

class VersionComparison : public ::testing::TestWithParam<Comparison>
{
};

TEST_P(VersionComparison, LatestIsNewerOnlyWhenTheFirstUnequalPieceIsLarger)
{
    const auto& c = GetParam();
    EXPECT_EQ(update_check::isNewerVersion(c.latest, c.current), c.newer) << c.latest << " vs " << c.current;
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, VersionComparison,
    ::testing::Values(Comparison{"1.1.4", "1.1.4", false}, Comparison{"1.1.10", "1.1.4", true}, // 10 > 4
                      Comparison{"1.2", "1.1.4", true}, Comparison{"1.1", "1.1.4", false}, // missing is 0
                      Comparison{"1.0.0", "1.1.4", false}, Comparison{"2", "1.9.9", true},
                      Comparison{"1.1.4.0", "1.1.4", false}, Comparison{"", "", false},
                      // Empty pieces keep their place: 1.0.1 against 1.0.2.
                      Comparison{"1..1", "1.0.2", false}, Comparison{"1.0.2", "1..1", true},
                      // Leading digits only; none counts 0.
                      Comparison{"1.2rc1", "1.1.9", true}, Comparison{"1.1.5-beta", "1.1.4", true},
                      Comparison{"v2.0", "1.0", false}, Comparison{"1.x", "1.0", false},
                      Comparison{"007.1", "7.0", true}, Comparison{"7.1", "007.1", false}),
    comparisonName);

// Pieces beyond any integer type: a conversion would wrap (2^64 to 0) or saturate (two values equal).
INSTANTIATE_TEST_SUITE_P(
    LongDigitRuns, VersionComparison,
    ::testing::Values(Comparison{"1.18446744073709551616", "1.1", true},
                      Comparison{"1.99999999999999999999999999999", "1.99999999999999999999999999998", true},
                      Comparison{"1.99999999999999999999999999998", "1.99999999999999999999999999999", false},
                      Comparison{"1.00000000000000000000000000000000000004", "1.3", true},
                      Comparison{"1.99999999999999999999999999999", "1.99999999999999999999999999999",
                                 false}));

TEST(VersionComparisonOfThousandsOfDigits, ComparesByLengthThenDigits)
{
    const auto huge = juce::String::repeatedString("9", 5000);
    EXPECT_TRUE(update_check::isNewerVersion("1." + huge + "1", "1." + huge));
    EXPECT_FALSE(update_check::isNewerVersion("1." + huge, "1." + huge + "0"));
    EXPECT_TRUE(update_check::isNewerVersion(huge + ".0", "1." + huge));
}
} // namespace
