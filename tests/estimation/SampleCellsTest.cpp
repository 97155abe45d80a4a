#include "estimation/SampleCells.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using estimation::SampleCells;

TEST(SampleCells, PlacesSamplesByCellInCaptureOrderAndDropsUnusableOnes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> x = {0.5, -1.0, 0.5 + 1e-9, 1.0, nan, 0.2, 3.0, -0.99999};
    const std::vector<double> y = {1.0, 2.0, 3.0, 4.0, 5.0, nan, 7.0, 8.0};
    const SampleCells cells(x, y, 0.05);
    ASSERT_EQ(cells.sampleCount(), 5); // NaN in x or y and x far beyond +1 are dropped
    const std::vector<double> xs(cells.sampleX(), cells.sampleX() + 5);
    EXPECT_EQ(xs, (std::vector<double>{-1.0, -0.99999, 0.5, 0.5 + 1e-9, 1.0}));
    EXPECT_EQ(cells.sampleY()[2], 1.0);
    EXPECT_EQ(cells.sampleY()[3], 3.0);
    // Cell starts never decrease and end at the sample count.
    for (int f = 0; f < cells.fineCount(); ++f)
        ASSERT_LE(cells.cellStart(f), cells.cellStart(f + 1));
    EXPECT_EQ(cells.cellStart(cells.fineCount()), 5);
}

TEST(SampleCells, CoarseMomentsGiveTheWeightedPowerSumsOfTheirSamples)
{
    std::mt19937 rng(2);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> x(5000), y(5000);
    for (size_t k = 0; k < x.size(); ++k)
    {
        x[k] = unit(rng);
        y[k] = unit(rng);
    }
    SampleCells cells(x, y, 0.05);
    for (size_t s = 0; s < cells.weightFactors().size(); ++s)
        cells.weightFactors()[s] = 0.5 + 0.25 * std::sin(static_cast<double>(s));
    const double bandwidth = 0.05;
    cells.computeMoments(bandwidth);

    const int span = SampleCells::CoarseSpan;
    for (int coarse : {cells.coarseCount() / 3, cells.coarseCount() / 2})
    {
        const double centre = cells.coarseCentre(coarse);
        double expected[5][10] = {};
        for (std::int64_t s = cells.cellStart(coarse * span); s < cells.cellStart((coarse + 1) * span); ++s)
        {
            const double xv = cells.sampleX()[s], yv = cells.sampleY()[s], q = cells.weightFactors()[s];
            const double t = (xv - centre) / bandwidth;
            for (int j = 0; j < 10; ++j)
            {
                const double w = q * std::pow(t, j);
                expected[0][j] += w;
                expected[1][j] += w * xv;
                expected[2][j] += w * xv * xv;
                expected[3][j] += w * yv;
                expected[4][j] += w * xv * yv;
            }
        }
        ASSERT_GT(expected[0][0], 0.0);
        const double* got = cells.coarseXForm(coarse);
        for (int family = 0; family < 5; ++family)
            for (int j = 0; j < 10; ++j)
                EXPECT_NEAR(got[family * 10 + j], expected[family][j],
                            1e-13 * (1.0 + std::abs(expected[family][0])))
                    << "family " << family << " j " << j;
    }
}
