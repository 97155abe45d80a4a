#pragma once

#include <cstddef>
#include <vector>

namespace estimation
{

// Taylor coefficients of the tricube weight about a cell centre. The weight of a sample at x for a grid
// point g is W(τ) = (1 - |τ|³)³ with τ = (x - g) / b; on one side of g it is a polynomial of degree 9,
// so with t = (x - c) / b and e = (c - g) / b it equals Σ a_j(e) t^j exactly (j = 0..9). Offsets e are
// whole grid steps: e = o · step / b. Side 0 is the left side (x < g), side 1 the right side (x >= g).
class TricubeTaylorTable
{
public:
    static constexpr int Terms = 10;

    TricubeTaylorTable(double stepOverBandwidth, int maxOffset);

    // Row j of one side, indexed by n = -o for n in [-maxOffset, maxOffset + 3], so that four
    // consecutive grid points (offsets o, o-1, o-2, o-3) read four consecutive entries.
    const double* row(int side, int j) const
    {
        return data.data() + (static_cast<size_t>(side * Terms + j) * static_cast<size_t>(width)) +
               static_cast<size_t>(maxOffset);
    }

    int maxOffsetSteps() const { return maxOffset; }

private:
    int maxOffset;
    int width;
    std::vector<double> data;
};

} // namespace estimation
