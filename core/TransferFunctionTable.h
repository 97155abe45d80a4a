#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

// The measured curve f(x) on 16384 points over x = -1..+1. Written only on the message thread and
// read from any thread; each entry is atomic, so a reader during a write may see a mix of old and
// new entries but never a torn value.
class TransferFunctionTable
{
public:
    static constexpr std::int32_t size = 0x4000; // 16384
    static constexpr double xMinimum = -1.0;
    static constexpr double xMaximum = 1.0;

    // Starts as the identity ramp: entry i holds xAt(i).
    TransferFunctionTable() noexcept;

    static double xAt(int index) noexcept { return xMinimum + index * (xMaximum - xMinimum) / (size - 1); }

    double get(int index) const noexcept { return values[(std::size_t) index].load(); }
    void set(int index, double value) noexcept { values[(std::size_t) index].store(value); }

    // Stores the first min(size, values.size()) entries; the rest keep their contents.
    void store(const std::vector<double>& newValues) noexcept;
    std::vector<double> copyValues() const;

private:
    alignas(32) std::array<std::atomic<double>, (std::size_t) size> values;
};
