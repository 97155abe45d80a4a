#include "core/TransferFunctionTable.h"
#include "estimation/EstimationTypes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

TEST(TransferFunctionTable, StartsAsTheIdentityRampOnTheEstimationGrid)
{
    auto table = std::make_unique<TransferFunctionTable>();
    EXPECT_EQ(TransferFunctionTable::size, 16384);
    EXPECT_EQ(table->get(0), -1.0);
    EXPECT_EQ(table->get(16383), 1.0);
    for (int i = 0; i < TransferFunctionTable::size; ++i)
    {
        ASSERT_EQ(table->get(i), 2.0 * i / 16383 - 1.0) << i;
        ASSERT_EQ(table->get(i), estimation::gridX(i)) << i;
    }
}

TEST(TransferFunctionTable, StoreWritesOnlyTheEntriesItIsGiven)
{
    auto table = std::make_unique<TransferFunctionTable>();
    table->store({0.5, 0.25});
    EXPECT_EQ(table->get(0), 0.5);
    EXPECT_EQ(table->get(1), 0.25);
    EXPECT_EQ(table->get(2), TransferFunctionTable::xAt(2));

    std::vector<double> tooMany((std::size_t) TransferFunctionTable::size + 10, 0.125);
    table->store(tooMany);
    const auto copy = table->copyValues();
    ASSERT_EQ(copy.size(), (std::size_t) TransferFunctionTable::size);
    EXPECT_EQ(copy.front(), 0.125);
    EXPECT_EQ(copy.back(), 0.125);
}

TEST(TransferFunctionTable, EntriesAreThirtyTwoByteAlignedEvenOnTheHeap)
{
    for (int attempt = 0; attempt < 4; ++attempt)
    {
        auto table = std::make_unique<TransferFunctionTable>();
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.get()) % 32, 0u);
    }
}
