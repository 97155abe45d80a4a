#include "estimation/BinSmoothing.h"

#include "estimation/ExecutionSettings.h"
#include "estimation/VectorTypes.h"

#include <algorithm>
#include <cmath>

namespace estimation
{
namespace
{

// out[j] = sum over r of c[r] * v[j - half + r] for begin <= j < end, where every index is inside v.
// Each output sums its terms in ascending r from 0.0, exactly as the scalar tail does.
__attribute__((always_inline)) inline void convolveInteriorBody(const double* v, const double* c, int window,
                                                                int half, double* out, int begin, int end)
{
    int j = begin;
    for (; j + 16 <= end; j += 16)
    {
        Vec4 a0 = VT_SPLAT4(0.0), a1 = VT_SPLAT4(0.0), a2 = VT_SPLAT4(0.0), a3 = VT_SPLAT4(0.0);
        const double* base = v + j - half;
        for (int r = 0; r < window; ++r)
        {
            const Vec4 cr = VT_SPLAT4(c[r]);
            Vec4 x0, x1, x2, x3;
            VT_LOAD4(x0, base + r);
            VT_LOAD4(x1, base + r + 4);
            VT_LOAD4(x2, base + r + 8);
            VT_LOAD4(x3, base + r + 12);
            a0 += cr * x0;
            a1 += cr * x1;
            a2 += cr * x2;
            a3 += cr * x3;
        }
        VT_STORE4(out + j, a0);
        VT_STORE4(out + j + 4, a1);
        VT_STORE4(out + j + 8, a2);
        VT_STORE4(out + j + 12, a3);
    }
    for (; j < end; ++j)
    {
        double acc = 0.0;
        for (int r = 0; r < window; ++r)
            acc += c[r] * v[j - half + r];
        out[j] = acc;
    }
}

__attribute__((target("avx2"))) void convolveInteriorAvx2(const double* v, const double* c, int window,
                                                          int half, double* out, int begin, int end)
{
    convolveInteriorBody(v, c, window, half, out, begin, end);
}

void convolveInteriorPortable(const double* v, const double* c, int window, int half, double* out, int begin,
                              int end)
{
    convolveInteriorBody(v, c, window, half, out, begin, end);
}

} // namespace

std::vector<double> savitzkyGolayCoefficients(int window, int order)
{
    const int half = (window - 1) / 2;
    const int cols = order + 1;

    // Design matrix A[r][k] = (r - half)^k.
    std::vector<double> a(static_cast<size_t>(window * cols));
    for (int r = 0; r < window; ++r)
    {
        double p = 1.0;
        for (int k = 0; k < cols; ++k)
        {
            a[static_cast<size_t>(r * cols + k)] = p;
            p *= static_cast<double>(r - half);
        }
    }

    // Gauss-Jordan inversion of AᵀA on [M | I] with partial pivoting.
    const int width = 2 * cols;
    std::vector<double> aug(static_cast<size_t>(cols * width), 0.0);
    for (int i = 0; i < cols; ++i)
    {
        for (int k = 0; k < cols; ++k)
        {
            double sum = 0.0;
            for (int r = 0; r < window; ++r)
                sum += a[static_cast<size_t>(r * cols + i)] * a[static_cast<size_t>(r * cols + k)];
            aug[static_cast<size_t>(i * width + k)] = sum;
        }
        aug[static_cast<size_t>(i * width + cols + i)] = 1.0;
    }
    for (int col = 0; col < cols; ++col)
    {
        int pivotRow = col;
        for (int row = col + 1; row < cols; ++row)
            if (std::abs(aug[static_cast<size_t>(row * width + col)]) >
                std::abs(aug[static_cast<size_t>(pivotRow * width + col)]))
                pivotRow = row;
        const double pivot = aug[static_cast<size_t>(pivotRow * width + col)];
        if (std::abs(pivot) < 1e-12)
            return {};
        if (pivotRow != col)
            for (int k = 0; k < width; ++k)
                std::swap(aug[static_cast<size_t>(pivotRow * width + k)],
                          aug[static_cast<size_t>(col * width + k)]);
        for (int k = 0; k < width; ++k)
            aug[static_cast<size_t>(col * width + k)] /= pivot;
        for (int row = 0; row < cols; ++row)
        {
            if (row == col)
                continue;
            const double factor = aug[static_cast<size_t>(row * width + col)];
            if (factor == 0.0)
                continue;
            for (int k = 0; k < width; ++k)
                aug[static_cast<size_t>(row * width + k)] -=
                    factor * aug[static_cast<size_t>(col * width + k)];
        }
    }

    // First row of M⁻¹Aᵀ.
    std::vector<double> coefficients(static_cast<size_t>(window));
    for (int r = 0; r < window; ++r)
    {
        double sum = 0.0;
        for (int k = 0; k < cols; ++k)
            sum += aug[static_cast<size_t>(k + cols)] * a[static_cast<size_t>(r * cols + k)];
        coefficients[static_cast<size_t>(r)] = sum;
    }
    return coefficients;
}

std::vector<double> savitzkyGolaySmooth(const std::vector<double>& v, int window)
{
    const int n = static_cast<int>(v.size());
    int w = std::max(window, 3);
    if (w % 2 == 0)
        ++w;
    if (n < w)
        w = (n % 2 == 1) ? n : n - 1;
    if (w < 3 || n < 3)
        return v;

    const int order = w > 3 ? 3 : 2;
    const std::vector<double> c = savitzkyGolayCoefficients(w, order);
    if (c.empty())
        return v;

    const int half = (w - 1) / 2;
    std::vector<double> out(static_cast<size_t>(n));

    // Ends: reflect indices about the end samples without repeating them.
    auto mirrored = [n](int k) { return k < 0 ? -k : (k > n - 1 ? 2 * (n - 1) - k : k); };
    auto edge = [&](int j)
    {
        double acc = 0.0;
        for (int r = 0; r < w; ++r)
            acc += c[static_cast<size_t>(r)] * v[static_cast<size_t>(mirrored(j - half + r))];
        out[static_cast<size_t>(j)] = acc;
    };
    const int interiorBegin = std::min(half, n);
    const int interiorEnd = std::max(interiorBegin, n - half);
    for (int j = 0; j < interiorBegin; ++j)
        edge(j);
    for (int j = interiorEnd; j < n; ++j)
        edge(j);

    if (useAvx2Path())
        convolveInteriorAvx2(v.data(), c.data(), w, half, out.data(), interiorBegin, interiorEnd);
    else
        convolveInteriorPortable(v.data(), c.data(), w, half, out.data(), interiorBegin, interiorEnd);
    return out;
}

std::vector<double> shiftHalfBin(const std::vector<double>& t)
{
    const size_t n = t.size();
    std::vector<double> out = t;
    // (-a + 9b + 9e - d) / 16, arranged so that equal neighbours give exactly their value back.
    for (size_t i = 2; i + 2 < n; ++i)
    {
        const double a = t[i - 2], b = t[i - 1], e = t[i], d = t[i + 1];
        out[i] = 0.5 * (b + e) + ((b - a) + (e - d)) * 0.0625;
    }
    return out;
}

std::vector<double> smoothBins(const std::vector<double>& rawBins, int smoothing)
{
    if (rawBins.empty())
        return {};

    std::vector<double> t;
    if (smoothing > 1)
    {
        int window = std::clamp(smoothing, 3, 99);
        if (window % 2 == 0)
            ++window;
        t = shiftHalfBin(savitzkyGolaySmooth(rawBins, window));
    }
    else
    {
        t = shiftHalfBin(rawBins);
    }

    double peak = 0.0;
    for (double value : t)
        if (std::abs(value) > peak)
            peak = std::abs(value);
    if (peak > 0.0)
        for (double& value : t)
            value /= peak;
    return t;
}

} // namespace estimation
