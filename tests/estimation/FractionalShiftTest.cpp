#include "estimation/FractionalShift.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using estimation::shiftByFraction;

TEST(FractionalShift, InterpolatesAQuadraticExactlyAndCopiesTheEnds)
{
    // Catmull-Rom reproduces polynomials up to second degree, so any error in its coefficients shows.
    const auto quadratic = [](double t) { return 3.0 * t * t - t; };
    std::vector<double> v(2000);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = quadratic((double) i / 1000.0);

    const auto shifted = shiftByFraction(v, 0.3);
    ASSERT_EQ(shifted.size(), v.size());
    for (std::size_t j = 2; j + 2 < v.size(); ++j)
        ASSERT_NEAR(shifted[j], quadratic(((double) j + 0.3) / 1000.0), 1e-12) << j;
    for (std::size_t j : {std::size_t{0}, std::size_t{1}, v.size() - 2, v.size() - 1})
        EXPECT_EQ(shifted[j], v[j]) << j;
}

TEST(FractionalShift, FollowsASineBetweenItsSamples)
{
    // A sine has a third difference, which lines and parabolas lack: the cubic term of the
    // interpolation counts here (without it the error at half a sample grows about fourteenfold).
    const double omega = 2.0 * 3.14159265358979323846 / 32.0;
    std::vector<double> v(4096);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = std::sin(omega * (double) i);

    const auto shifted = shiftByFraction(v, 0.5);
    double worst = 0.0;
    for (std::size_t j = 2; j + 2 < v.size(); ++j)
        worst = std::max(worst, std::abs(shifted[j] - std::sin(omega * ((double) j + 0.5))));
    EXPECT_LT(worst, 5e-5); // measured 3.5e-5
}
