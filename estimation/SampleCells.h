#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace estimation
{

// The samples of a capture grouped by grid cell (cell k holds x in [x_k, x_k+1) of the estimation
// grid), with power-sum moments per cell. A window sum over many whole cells then costs a few
// multiply-adds per cell instead of one weight per sample. Cells reach `extension` cells beyond
// each end of the grid so that samples slightly outside -1..+1 are still placed; samples farther out
// can never fall into a window and are dropped, as are samples with a NaN coordinate.
//
// Fine cell moments are taken about the centre of their coarse cell (16 fine cells), so that the
// moments of any run of fine cells inside one coarse cell are plain sums:
//   T_j = Σ q t^j (j = 0..11), U_j = Σ q y t^j (j = 0..11), t = (x - centre) / bandwidth,
// where q is the per-sample weight factor set by the caller (1 for plain tricube weights).
class SampleCells
{
public:
    static constexpr int CoarseSpan = 16;
    static constexpr int MomentCount = 24; // T_0..T_11, U_0..U_11
    static constexpr int XFormCount = 50;  // five families of ten, see toXForm

    SampleCells(const std::vector<double>& x, const std::vector<double>& y, double maxBandwidth);

    int extension() const { return ext; }
    int fineCount() const { return fineCells; }
    int coarseCount() const { return fineCells / CoarseSpan; }
    double gridStep() const { return step; }

    std::int64_t sampleCount() const { return static_cast<std::int64_t>(xs.size()); }
    // First sample of fine cell f (f = 0..fineCount()); samples of a cell are contiguous.
    std::int64_t cellStart(int f) const { return starts[static_cast<size_t>(f)]; }
    const double* sampleX() const { return xs.data(); }
    const double* sampleY() const { return ys.data(); }
    const double* weightFactors() const { return qs.data(); }
    std::vector<double>& weightFactors() { return qs; }

    // Centre of coarse cell K in x.
    double coarseCentre(int coarse) const;

    // Recomputes every cell's moments for the current weight factors and this bandwidth.
    void computeMoments(double bandwidth);

    const double* fineMoments(int f) const { return fine.data() + static_cast<size_t>(f) * MomentCount; }
    // Moments of a whole coarse cell in x-form (see toXForm).
    const double* coarseXForm(int coarse) const
    {
        return coarse_.data() + static_cast<size_t>(coarse) * XFormCount;
    }
    double momentBandwidth() const { return bandwidth; }

    // Turns T/U moments about centre c into the five sums a window needs, each as ten t-power terms:
    // [Σq t^j, Σq x t^j, Σq x² t^j, Σq y t^j, Σq x y t^j] for j = 0..9.
    static void toXForm(const double* moments, double centre, double bandwidth, double* out);

private:
    int ext = 0;
    int fineCells = 0;
    double step = 0.0;
    double bandwidth = 0.0;
    std::vector<std::int64_t> starts;
    std::vector<double> xs, ys, qs;
    std::vector<double> fine, coarse_;
};

} // namespace estimation
