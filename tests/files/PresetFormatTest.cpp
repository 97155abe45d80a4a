#include "files/PresetFormat.h"
#include "files/ValueTreeStreamCheck.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int tableSize = PresetFormat::tableSize;

std::vector<double> identityRamp()
{
    std::vector<double> ramp((std::size_t) tableSize);
    for (int i = 0; i < tableSize; ++i)
        ramp[(std::size_t) i] = -1.0 + 2.0 * i / (tableSize - 1);
    return ramp;
}

juce::ValueTree parse(const juce::MemoryBlock& bytes)
{
    return readValueTreeSafely(bytes.getData(), bytes.getSize());
}

juce::MemoryBlock compressed(const juce::MemoryBlock& raw)
{
    juce::MemoryBlock block;
    {
        juce::MemoryOutputStream destination(block, false);
        juce::GZIPCompressorOutputStream zlib(destination, 9);
        zlib.write(raw.getData(), raw.getSize());
    }
    return block;
}

juce::MemoryBlock doublesPayload(const std::vector<double>& values)
{
    juce::MemoryOutputStream stream;
    for (const auto v : values)
        stream.writeDouble(v);
    return stream.getMemoryBlock();
}

juce::MemoryBlock floatsPayload(const std::vector<float>& values)
{
    juce::MemoryOutputStream stream;
    for (const auto v : values)
        stream.writeFloat(v);
    return stream.getMemoryBlock();
}

// A preset tree with a base layer holding the given properties.
juce::ValueTree presetWith(const juce::NamedValueSet& baseLayerProperties, int version = 5)
{
    juce::ValueTree root("Preset");
    root.setProperty("formatVersion", version, nullptr);
    juce::ValueTree transferFunction("transferFunction");
    juce::ValueTree baseLayer("baseLayer");
    for (const auto& property : baseLayerProperties)
        baseLayer.setProperty(property.name, property.value, nullptr);
    transferFunction.appendChild(baseLayer, nullptr);
    root.appendChild(transferFunction, nullptr);
    return root;
}

juce::NamedValueSet properties(std::initializer_list<juce::NamedValueSet::NamedValue> list)
{
    return juce::NamedValueSet(list);
}
} // namespace

TEST(PresetFormat, IdentityRampRoundTripsToFloatPrecision)
{
    const auto ramp = identityRamp();
    const auto written = writePreset(ramp, "Ada");
    ASSERT_TRUE(written.ok) << written.error;
    EXPECT_TRUE(written.error.isEmpty());

    const auto read = readPreset(parse(written.bytes));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_TRUE(read.error.isEmpty());
    EXPECT_EQ(read.formatVersion, 5);
    EXPECT_EQ(read.storedValueCount, (std::size_t) tableSize);
    ASSERT_EQ(read.values.size(), (std::size_t) tableSize);
    for (int i = 0; i < tableSize; ++i)
        ASSERT_EQ(read.values[(std::size_t) i], (double) (float) ramp[(std::size_t) i]) << i;
}

TEST(PresetFormat, WrittenFileHoldsVersionMetadataAndCompressedFloatsInOrder)
{
    const auto written = writePreset(identityRamp(), "Ada Lovelace");
    ASSERT_TRUE(written.ok);

    // The stream starts with the root's type name.
    ASSERT_GT(written.bytes.getSize(), 7u);
    EXPECT_EQ(std::memcmp(written.bytes.getData(), "Preset\0", 7), 0);

    const auto tree = parse(written.bytes);
    ASSERT_EQ(tree.getNumProperties(), 1);
    EXPECT_TRUE(tree.getProperty("formatVersion").isInt());
    EXPECT_EQ((int) tree.getProperty("formatVersion"), 5);
    ASSERT_EQ(tree.getNumChildren(), 2);

    const auto metadata = tree.getChild(0);
    EXPECT_TRUE(metadata.hasType("metadata"));
    ASSERT_EQ(metadata.getNumProperties(), 4);
    const char* names[] = {"name", "artist", "tags", "description"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(metadata.getPropertyName(i).toString(), names[i]);
    EXPECT_EQ(metadata.getProperty("artist").toString(), "Ada Lovelace");
    EXPECT_EQ(metadata.getProperty("name").toString(), "");

    const auto transferFunction = tree.getChild(1);
    EXPECT_TRUE(transferFunction.hasType("transferFunction"));
    EXPECT_EQ((int) transferFunction.getProperty("tableSize"), 16384);
    ASSERT_EQ(transferFunction.getNumChildren(), 1);

    const auto baseLayer = transferFunction.getChild(0);
    EXPECT_TRUE(baseLayer.hasType("baseLayer"));
    ASSERT_EQ(baseLayer.getNumProperties(), 2);
    EXPECT_EQ(baseLayer.getPropertyName(0).toString(), "compression");
    EXPECT_EQ(baseLayer.getProperty("compression").toString(), "zlib");
    EXPECT_EQ(baseLayer.getPropertyName(1).toString(), "dataF32");
    const auto* data = baseLayer.getProperty("dataF32").getBinaryData();
    ASSERT_NE(data, nullptr);
    ASSERT_GE(data->getSize(), 2u);
    EXPECT_EQ((unsigned char) (*data)[0], 0x78); // zlib header, 32 KiB window
    EXPECT_EQ((unsigned char) (*data)[1], 0xda); // maximum compression

    // The payload is 16384 little-endian floats.
    juce::MemoryInputStream source(*data, false);
    juce::GZIPDecompressorInputStream zlib(source);
    juce::MemoryBlock inflated;
    zlib.readIntoMemoryBlock(inflated);
    ASSERT_EQ(inflated.getSize(), 65536u);
    const auto* bytes = static_cast<const unsigned char*>(inflated.getData());
    const float minusOne = -1.0f; // 0xbf800000 little-endian: 00 00 80 bf
    EXPECT_EQ(std::memcmp(bytes, &minusOne, 4), 0);
    EXPECT_EQ(bytes[3], 0xbf);
}

TEST(PresetFormat, WriterRefusesAWrongNumberOfValues)
{
    const auto written = writePreset(std::vector<double>(100, 0.0), "");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.bytes.getSize(), 0u);
    EXPECT_EQ(written.error, "Base layer size mismatch: expected 16384, got 100");
}

TEST(PresetFormat, VersionThreeDoublesWithoutCompressionAreStretchedLinearly)
{
    const auto tree =
        presetWith(properties({{"compression", "none"}, {"data", juce::var(doublesPayload({0.0, 1.0}))}}), 3);
    const auto read = readPreset(tree);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.storedValueCount, 2u);
    ASSERT_EQ(read.values.size(), (std::size_t) tableSize);
    for (int i = 0; i < tableSize; i += 511)
        EXPECT_NEAR(read.values[(std::size_t) i], i / 16383.0, 1e-15) << i;
    EXPECT_EQ(read.values.front(), 0.0);
    EXPECT_EQ(read.values.back(), 1.0);
}

TEST(PresetFormat, MissingCompressionCountsAsNoneAndOneValueFillsTheTable)
{
    const auto read =
        readPreset(presetWith(properties({{"dataF32", juce::var(floatsPayload({0.375f}))}}), 4));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.values, std::vector<double>((std::size_t) tableSize, 0.375));
}

TEST(PresetFormat, FloatDataWinsWhenBothPropertiesArePresent)
{
    const auto read =
        readPreset(presetWith(properties({{"compression", "none"},
                                          {"data", juce::var(doublesPayload({9.0, 9.0}))},
                                          {"dataF32", juce::var(floatsPayload({0.5f, 0.5f}))}})));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.values[0], 0.5);
    EXPECT_EQ(read.values[16383], 0.5);
}

TEST(PresetFormat, TenBytePayloadGivesTwoValuesAndIgnoresTheRest)
{
    auto payload = floatsPayload({-0.5f, 0.5f});
    payload.append("\x7f\x7f", 2);
    const auto read =
        readPreset(presetWith(properties({{"compression", "none"}, {"dataF32", juce::var(payload)}})));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.storedValueCount, 2u);
    EXPECT_EQ(read.values.front(), -0.5);
    EXPECT_EQ(read.values.back(), 0.5);
    EXPECT_NEAR(read.values[8191], -0.5 + 8191.0 / 16383.0, 1e-15);
}

TEST(PresetFormat, CompressedDoublesOfAnyCountAreReadAndStretched)
{
    std::vector<double> values(1000);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = std::sin(0.01 * (double) i);
    const auto read = readPreset(presetWith(
        properties({{"compression", "zlib"}, {"data", juce::var(compressed(doublesPayload(values)))}})));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.storedValueCount, 1000u);
    EXPECT_EQ(read.values.front(), values.front());
    EXPECT_DOUBLE_EQ(read.values.back(), values.back());
    // Entry i sits at a = 999 i / 16383 of the stored values.
    const auto a = 999.0 * 5000 / 16383.0;
    const auto k = (std::size_t) a;
    EXPECT_NEAR(read.values[5000], values[k] + (a - (double) k) * (values[k + 1] - values[k]), 1e-12);
}

// Trees are built inside the test: parameters outlive the framework's leak checks in debug builds.
struct RefusedCase
{
    const char* name;
    juce::ValueTree (*makeTree)();
    const char* error;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class PresetFormatRefused : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(PresetFormatRefused, FailsWithItsErrorText)
{
    const auto read = readPreset(GetParam().makeTree());
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.values.empty());
    EXPECT_EQ(read.error, GetParam().error);
}

namespace
{
juce::var twoFloats()
{
    return juce::var(floatsPayload({0.0f, 1.0f}));
}

juce::ValueTree withoutVersion()
{
    auto tree = presetWith(properties({{"dataF32", twoFloats()}}));
    tree.removeProperty("formatVersion", nullptr);
    return tree;
}

juce::ValueTree withTransferFunctionOnly()
{
    juce::ValueTree root("Preset");
    root.setProperty("formatVersion", 5, nullptr);
    root.appendChild(juce::ValueTree("transferFunction"), nullptr);
    return root;
}

// The zlib stream of a ramp with its last bytes cut off.
juce::ValueTree withZlibCutShort(std::size_t bytesCut)
{
    std::vector<float> ramp((std::size_t) tableSize);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = (float) i / (float) tableSize;
    auto block = compressed(floatsPayload(ramp));
    block.setSize(block.getSize() - bytesCut);
    return presetWith(properties({{"compression", "zlib"}, {"dataF32", juce::var(block)}}));
}

juce::ValueTree withVersion(const juce::var& version)
{
    auto tree = presetWith(properties({{"dataF32", twoFloats()}}));
    tree.setProperty("formatVersion", version, nullptr);
    return tree;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    PresetFormat, PresetFormatRefused,
    ::testing::Values(
        RefusedCase{"invalidTree", +[] { return juce::ValueTree(); }, "Invalid ValueTree"},
        RefusedCase{"otherRoot", +[] { return juce::ValueTree("PARAMETERS"); },
                    "ValueTree is not a Preset type"},
        RefusedCase{"version2",
                    +[] {
                        return presetWith(properties({{"dataF32", twoFloats()}}), 2);
                    },
                    "Unsupported format version: 2 (expected 3, 4, or 5)"},
        RefusedCase{"version6",
                    +[] {
                        return presetWith(properties({{"dataF32", twoFloats()}}), 6);
                    },
                    "Unsupported format version: 6 (expected 3, 4, or 5)"},
        RefusedCase{"versionMissing", +[] { return withoutVersion(); },
                    "Unsupported format version: 0 (expected 3, 4, or 5)"},
        RefusedCase{"versionTooLargeForAnInt", +[] { return withVersion(1.0e300); },
                    "Unsupported format version: 2147483647 (expected 3, 4, or 5)"},
        RefusedCase{"versionTextBelowIntRange", +[] { return withVersion("-2147483648"); },
                    "Unsupported format version: -2147483648 (expected 3, 4, or 5)"},
        RefusedCase{"noTransferFunction",
                    +[] {
                        return juce::ValueTree("Preset", {{"formatVersion", 5}});
                    },
                    "Missing transferFunction element"},
        RefusedCase{"noBaseLayer", +[] { return withTransferFunctionOnly(); },
                    "Missing or invalid baseLayer element"},
        RefusedCase{"baseLayerWithoutData",
                    +[] {
                        return presetWith(properties({{"compression", "none"}}));
                    },
                    "Missing or invalid baseLayer element"},
        RefusedCase{"dataNotBinary",
                    +[] {
                        return presetWith(properties({{"dataF32", "0.5 0.5"}}));
                    },
                    "Failed to extract binary data from baseLayer"},
        RefusedCase{"gzip",
                    +[] {
                        return presetWith(properties({{"compression", "gzip"}, {"dataF32", twoFloats()}}));
                    },
                    "Unsupported compression type: gzip"},
        RefusedCase{"payloadShorterThanOneValue",
                    +[] {
                        return presetWith(properties(
                            {{"compression", "none"}, {"data", juce::var(floatsPayload({1.0f}))}}));
                    },
                    "Empty base layer payload"},
        RefusedCase{"zlibCutInTheMiddle", +[] { return withZlibCutShort(2000); },
                    "Compressed base layer is truncated or damaged"},
        RefusedCase{"zlibWithoutItsChecksum", +[] { return withZlibCutShort(4); },
                    "Compressed base layer is truncated or damaged"},
        RefusedCase{"garbageNotZlib",
                    +[]
                    {
                        return presetWith(
                            properties({{"compression", "zlib"},
                                        {"dataF32", juce::var(juce::MemoryBlock("not zlib at all", 15))}}));
                    },
                    "Empty base layer payload"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PresetFormat, ZlibBombIsRefusedBeforeItInflatesBeyondTheLimit)
{
    // 64 MiB of zeros deflate to about 64 KiB.
    juce::MemoryBlock bomb;
    {
        juce::MemoryOutputStream destination(bomb, false);
        juce::GZIPCompressorOutputStream zlib(destination, 9);
        const juce::MemoryBlock zeros(1 << 20, true);
        for (int i = 0; i < 64; ++i)
            zlib.write(zeros.getData(), zeros.getSize());
    }
    ASSERT_LT(bomb.getSize(), 100u * 1024u);

    const auto read =
        readPreset(presetWith(properties({{"compression", "zlib"}, {"dataF32", juce::var(bomb)}})));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "Decompressed base layer exceeds the limit of 16777216 bytes");
}

TEST(PresetFormat, PayloadOfExactlyTheLimitIsStillRead)
{
    const juce::MemoryBlock zeros(PresetFormat::maximumInflatedBytes, true);
    const auto read = readPreset(
        presetWith(properties({{"compression", "zlib"}, {"dataF32", juce::var(compressed(zeros))}})));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.storedValueCount, PresetFormat::maximumInflatedBytes / 4);
}
