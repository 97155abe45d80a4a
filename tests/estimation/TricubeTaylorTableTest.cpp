#include "estimation/TricubeTaylorTable.h"

#include <gtest/gtest.h>

#include <cmath>

using estimation::TricubeTaylorTable;

namespace
{

double tricube(double tau)
{
    const double a = std::abs(tau);
    const double r = 1.0 - a * a * a;
    return r * r * r;
}

} // namespace

TEST(TricubeTaylorTable, CoefficientsReproduceTheWeightOnTheirSide)
{
    const double stepOverBandwidth = 2.0 / 16383.0 / 0.05;
    const TricubeTaylorTable table(stepOverBandwidth, 430);
    for (int o : {-430, -409, -200, -8, -1, 1, 8, 77, 409, 430})
    {
        const double e = o * stepOverBandwidth;
        const int side = o < 0 ? 0 : 1; // the cell centre lies left (o < 0) or right of the grid point
        for (double t : {-0.0195, -0.003, 0.0, 0.0071, 0.0195})
        {
            const double tau = e + t;
            if ((side == 0 && tau > 0.0) || (side == 1 && tau < 0.0) || std::abs(tau) >= 1.0)
                continue;
            double sum = 0.0, power = 1.0;
            for (int j = 0; j < TricubeTaylorTable::Terms; ++j)
            {
                sum += table.row(side, j)[-o] * power;
                power *= t;
            }
            EXPECT_NEAR(sum, tricube(tau), 1e-14) << "o " << o << " t " << t;
        }
    }
}

TEST(TricubeTaylorTable, FourNeighbouringGridPointsReadConsecutiveEntries)
{
    const double stepOverBandwidth = 0.01;
    const TricubeTaylorTable table(stepOverBandwidth, 50);
    // Grid points i..i+3 see one cell at offsets o, o-1, o-2, o-3.
    for (int lane = 0; lane < 4; ++lane)
        EXPECT_DOUBLE_EQ(table.row(1, 0)[-10 + lane], tricube((10 - lane) * stepOverBandwidth));
}
