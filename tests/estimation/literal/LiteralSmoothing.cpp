#include "LiteralEstimator.h"

#include <cmath>

namespace estimation_literal
{

std::vector<double> savitzkyGolaySmooth(const std::vector<double>& v, int w)
{
    const int n = (int) v.size();
    if (w < 3)
        w = 3;
    if (w % 2 == 0)
        w += 1;
    if (n < w)
        w = (n % 2 == 1) ? n : n - 1;
    if (w < 3 || n < 3)
        return v;
    const int p = (w > 3) ? 3 : 2;
    const int H = (w - 1) / 2;

    std::vector<std::vector<double>> A(w, std::vector<double>(p + 1));
    for (int r = 0; r < w; ++r)
        for (int k = 0; k <= p; ++k)
            A[r][k] = std::pow((double) (r - H), k);

    const int m = p + 1;
    std::vector<std::vector<double>> aug(m, std::vector<double>(2 * m, 0.0));
    for (int i = 0; i < m; ++i)
    {
        for (int j = 0; j < m; ++j)
            for (int r = 0; r < w; ++r)
                aug[i][j] += A[r][i] * A[r][j];
        aug[i][m + i] = 1.0;
    }
    for (int col = 0; col < m; ++col)
    {
        int best = col;
        for (int row = col + 1; row < m; ++row)
            if (std::fabs(aug[row][col]) > std::fabs(aug[best][col]))
                best = row;
        if (std::fabs(aug[best][col]) < 1e-12)
            return v;
        std::swap(aug[best], aug[col]);
        double pivot = aug[col][col];
        for (int j = 0; j < 2 * m; ++j)
            aug[col][j] /= pivot;
        for (int row = 0; row < m; ++row)
        {
            if (row == col)
                continue;
            double f = aug[row][col];
            for (int j = 0; j < 2 * m; ++j)
                aug[row][j] -= f * aug[col][j];
        }
    }
    std::vector<double> c(w, 0.0);
    for (int r = 0; r < w; ++r)
        for (int k = 0; k < m; ++k)
            c[r] += aug[0][m + k] * A[r][k];

    auto mirror = [n](int k)
    {
        if (k < 0)
            return -k;
        if (k > n - 1)
            return 2 * (n - 1) - k;
        return k;
    };
    std::vector<double> out(n);
    for (int j = 0; j < n; ++j)
    {
        double sum = 0.0;
        for (int r = 0; r < w; ++r)
            sum += c[r] * v[mirror(j - H + r)];
        out[j] = sum;
    }
    return out;
}

std::vector<double> shiftHalfBin(const std::vector<double>& t)
{
    const int n = (int) t.size();
    std::vector<double> out(n);
    for (int i = 0; i < n; ++i)
    {
        if (i < 2 || i > n - 3)
        {
            out[i] = t[i];
            continue;
        }
        double a = t[i - 2], b = t[i - 1], e = t[i], d = t[i + 1];
        out[i] = 0.5 * (2 * b + 0.5 * (e - a) + 0.25 * (2 * a - 5 * b + 4 * e - d) +
                        0.125 * (3 * b - a - 3 * e + d));
    }
    return out;
}

std::vector<double> smoothBins(const std::vector<double>& raw, int s)
{
    if (raw.empty())
        return {};
    std::vector<double> t;
    if (s > 1)
    {
        int w = s;
        if (w < 3)
            w = 3;
        if (w > 99)
            w = 99;
        if (w % 2 == 0)
            w += 1;
        t = savitzkyGolaySmooth(raw, w);
    }
    else
    {
        t = raw;
    }
    t = shiftHalfBin(t);
    double peak = 0.0;
    for (double v : t)
        if (std::fabs(v) > peak)
            peak = std::fabs(v);
    if (peak > 0.0)
        for (double& v : t)
            v /= peak;
    return t;
}

} // namespace estimation_literal
