#include "core/TransferFunctionTable.h"

#include <algorithm>

TransferFunctionTable::TransferFunctionTable() noexcept
{
    for (int i = 0; i < size; ++i)
        values[(std::size_t) i].store(xAt(i));
}

void TransferFunctionTable::store(const std::vector<double>& newValues) noexcept
{
    const auto count = std::min(newValues.size(), (std::size_t) size);
    for (std::size_t i = 0; i < count; ++i)
        values[i].store(newValues[i]);
}

std::vector<double> TransferFunctionTable::copyValues() const
{
    std::vector<double> copy((std::size_t) size);
    for (std::size_t i = 0; i < copy.size(); ++i)
        copy[i] = values[i].load();
    return copy;
}
