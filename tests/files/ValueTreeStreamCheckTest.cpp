#include "files/ValueTreeStreamCheck.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock bytesOf(const juce::ValueTree& tree)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream stream(block, false);
    tree.writeToStream(stream);
    stream.flush();
    return block;
}

std::vector<unsigned char> bytes(std::initializer_list<int> list)
{
    std::vector<unsigned char> block;
    for (const auto b : list)
        block.push_back((unsigned char) b);
    return block;
}

bool isSafe(const juce::MemoryBlock& block)
{
    return ValueTreeStreamCheck::isSafeToParse(block.getData(), block.getSize());
}

juce::ValueTree everyKindOfProperty()
{
    juce::ValueTree root("Root");
    root.setProperty("int", 42, nullptr);
    root.setProperty("negative", -1234567, nullptr);
    root.setProperty("int64", (juce::int64) 1 << 40, nullptr);
    root.setProperty("double", 0.25, nullptr);
    root.setProperty("true", true, nullptr);
    root.setProperty("false", false, nullptr);
    root.setProperty("text",
                     juce::String::fromUTF8("Gr\xc3\xbc\xc3\x9f"
                                            "e"),
                     nullptr);
    root.setProperty("binary", juce::MemoryBlock(3000, true), nullptr);
    juce::Array<juce::var> array{1, "two", juce::Array<juce::var>{3.0}};
    root.setProperty("array", array, nullptr);

    juce::ValueTree child("Child");
    child.setProperty("id", "x", nullptr);
    child.appendChild(juce::ValueTree("Grandchild"), nullptr);
    root.appendChild(child, nullptr);
    root.appendChild(juce::ValueTree("Second"), nullptr);
    return root;
}
} // namespace

TEST(ValueTreeStreamCheck, HonestStreamsAreParsedUnchanged)
{
    const auto tree = everyKindOfProperty();
    const auto block = bytesOf(tree);
    EXPECT_TRUE(isSafe(block));
    EXPECT_TRUE(readValueTreeSafely(block.getData(), block.getSize()).isEquivalentTo(tree));
}

TEST(ValueTreeStreamCheck, TruncatedHonestStreamIsParsedAsTheFrameworkWould)
{
    // Cut inside the second child's type name: the framework reads what is there.
    auto block = bytesOf(everyKindOfProperty());
    block.setSize(block.getSize() - 3);
    const auto safe = readValueTreeSafely(block.getData(), block.getSize());
    const auto direct = juce::ValueTree::readFromData(block.getData(), block.getSize());
    EXPECT_TRUE(safe.isValid());
    EXPECT_TRUE(safe.isEquivalentTo(direct));
}

TEST(ValueTreeStreamCheck, NestingWithinTheLimitIsAcceptedAndBeyondItRefused)
{
    juce::ValueTree deepest("Leaf");
    for (int depth = 1; depth <= ValueTreeStreamCheck::maximumDepth; ++depth)
    {
        juce::ValueTree parent("Node");
        parent.appendChild(deepest, nullptr);
        deepest = parent;
    }
    EXPECT_TRUE(isSafe(bytesOf(deepest)));

    juce::ValueTree tooDeep("Node");
    tooDeep.appendChild(deepest, nullptr);
    EXPECT_FALSE(isSafe(bytesOf(tooDeep)));
    EXPECT_FALSE(readValueTreeSafely(bytesOf(tooDeep).getData(), bytesOf(tooDeep).getSize()).isValid());
}

// Plain bytes: parameters outlive the framework's leak checks in debug builds.
struct HostileCase
{
    const char* name;
    std::vector<unsigned char> stream;
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

class ValueTreeStreamCheckHostile : public ::testing::TestWithParam<HostileCase>
{
};

TEST_P(ValueTreeStreamCheckHostile, IsRefused)
{
    const auto& stream = GetParam().stream;
    EXPECT_FALSE(ValueTreeStreamCheck::isSafeToParse(stream.data(), stream.size()));
    EXPECT_FALSE(readValueTreeSafely(stream.data(), stream.size()).isValid());
}

// Type "T", then the counts and sizes under test. Compressed ints: a length byte (high bit = sign)
// followed by that many little-endian bytes; a property count of one is {1, 1}. Every stream is
// well formed up to the fault it carries, so that it reaches the check meant for that fault.
INSTANTIATE_TEST_SUITE_P(
    ValueTreeStreamCheck, ValueTreeStreamCheckHostile,
    ::testing::Values(
        HostileCase{"childCountBeyondTheData", bytes({'T', 0, 0, 4, 0xff, 0xff, 0xff, 0x7f})},
        HostileCase{"propertyCountBeyondTheData", bytes({'T', 0, 4, 0xff, 0xff, 0xff, 0x7f})},
        // One property "p": a value of 1 MiB (size 3, 0x100000) holding a binary block of two bytes.
        HostileCase{"binarySizeBeyondTheData", bytes({'T', 0, 1, 1, 'p', 0, 3, 0x00, 0x00, 0x10, 8, 1, 2, 0})},
        HostileCase{"stringSizeBeyondTheData", bytes({'T', 0, 1, 1, 'p', 0, 3, 0x00, 0x00, 0x10, 5, 'a', 0, 0})},
        HostileCase{"arrayCountBeyondTheData",
                    bytes({'T', 0, 1, 1, 'p', 0, 1, 6, 7, 4, 0xff, 0xff, 0xff, 0x0f, 0})},
        HostileCase{"typeNotUtf8", bytes({'T', 0xb5, 0, 0, 0})},
        HostileCase{"propertyNameNotUtf8", bytes({'T', 0, 1, 1, 'p', 0xff, 0, 1, 1, 2, 0})},
        HostileCase{"textOverlong", bytes({'T', 0, 1, 1, 'p', 0, 1, 4, 5, 0xc0, 0x80, 0, 0})},
        HostileCase{"textSurrogate", bytes({'T', 0, 1, 1, 'p', 0, 1, 5, 5, 0xed, 0xa0, 0x80, 0, 0})},
        HostileCase{"textTruncatedSequence", bytes({'T', 0, 1, 1, 'p', 0, 1, 3, 5, 0xe2, 0x82, 0})},
        // Two empty binary blocks under one name.
        HostileCase{"propertyNamedTwice", bytes({'T', 0, 1, 2, 'p', 0, 1, 1, 8, 'p', 0, 1, 1, 8, 0})},
        // A parameter's id held as a double NaN, as a fuzzer found it; and an infinite value.
        HostileCase{"doubleNotANumber", bytes({'T', 0, 1, 1, 'i', 'd', 0, 1, 9, 4, 0xff, 0xff, 0xff, 0xff,
                                               0xff, 0xff, 0xff, 0xff, 0})},
        HostileCase{"doubleInfinite", bytes({'T', 0, 1, 1, 'p', 0, 1, 9, 4, 0, 0, 0, 0, 0, 0, 0xf0, 0x7f, 0})},
        HostileCase{"negatedIntMinimum", bytes({'T', 0, 0x84, 0x00, 0x00, 0x00, 0x80})},
        HostileCase{"nestedArraysTooDeep", []
                    {
                        juce::var nested = 1;
                        for (int i = 0; i < ValueTreeStreamCheck::maximumDepth + 1; ++i)
                            nested = juce::Array<juce::var>{nested};
                        juce::ValueTree tree("T");
                        tree.setProperty("p", nested, nullptr);
                        const auto block = bytesOf(tree);
                        return std::vector<unsigned char>(block.begin(), block.end());
                    }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueTreeStreamCheck, EmptyOrNullInputGivesAnInvalidTree)
{
    EXPECT_FALSE(readValueTreeSafely(nullptr, 10).isValid());
    const char zero = 0;
    EXPECT_FALSE(readValueTreeSafely(&zero, 0).isValid());
    EXPECT_FALSE(readValueTreeSafely(&zero, 1).isValid());
}
