#include "core/ParameterLayout.h"
#include "core/PluginAudioProcessor.h"
#include "files/PresetFormat.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

#include <memory>

// Reaches the preset library's load callback, which is private to the processor.
class PluginAudioProcessorTestAccess
{
public:
    static bool restore(PluginAudioProcessor& processor, const juce::MemoryBlock& bytes)
    {
        return processor.restoreTransferFunction(bytes.getData(), (int) bytes.getSize());
    }
};

namespace
{
constexpr int tableSize = TransferFunctionTable::size;

float plainValue(PluginAudioProcessor& processor, const char* id)
{
    return processor.getParameterState().getRawParameterValue(id)->load();
}

void setParameter(PluginAudioProcessor& processor, const char* id, float value)
{
    auto* parameter = processor.getParameterState().getParameter(id);
    parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
}

juce::MemoryBlock bytesOf(const juce::ValueTree& tree)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream stream(block, false);
    tree.writeToStream(stream);
    stream.flush();
    return block;
}

// A version-3 style preset: "data" doubles stored without compression.
juce::ValueTree doublePreset(const juce::var& version, const std::vector<double>& values)
{
    juce::MemoryOutputStream payload;
    for (const auto v : values)
        payload.writeDouble(v);

    juce::ValueTree root("Preset");
    if (!version.isVoid())
        root.setProperty("formatVersion", version, nullptr);
    juce::ValueTree transferFunction("transferFunction");
    juce::ValueTree baseLayer("baseLayer");
    baseLayer.setProperty("compression", "none", nullptr);
    baseLayer.setProperty("data", payload.getMemoryBlock(), nullptr);
    transferFunction.appendChild(baseLayer, nullptr);
    root.appendChild(transferFunction, nullptr);
    return root;
}

void drainMessages()
{
    auto delivered = std::make_shared<bool>(false);
    juce::MessageManager::callAsync([delivered] { *delivered = true; });
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return *delivered; }));
}
} // namespace

TEST(PluginAudioProcessorState, DefaultsSavedByOneInstanceRestoreIntoAnother)
{
    PluginAudioProcessor first;
    juce::MemoryBlock blob;
    first.getStateInformation(blob);

    PluginAudioProcessor second;
    setParameter(second, ParameterIDs::latencyX, 100.0f);
    setParameter(second, ParameterIDs::captureLength, 0.0f);
    second.setStateInformation(blob.getData(), (int) blob.getSize());

    for (auto* parameter : second.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter);
        ASSERT_NE(ranged, nullptr);
        EXPECT_FLOAT_EQ(ranged->getValue(), ranged->getDefaultValue()) << ranged->getParameterID();
    }
}

TEST(PluginAudioProcessorState, ChangedValuesSurviveTheRoundTripAndTheBlobIsAppended)
{
    PluginAudioProcessor first;
    setParameter(first, ParameterIDs::latencyY, 12.5f);
    setParameter(first, ParameterIDs::smoothing, 9.0f);
    juce::MemoryBlock blob("prefix", 6);
    first.getStateInformation(blob);
    ASSERT_EQ(std::memcmp(blob.getData(), "prefix", 6), 0);

    const auto tree = juce::ValueTree::readFromData(blob.begin() + 6, blob.getSize() - 6);
    EXPECT_TRUE(tree.hasType("PARAMETERS"));
    EXPECT_EQ(tree.getNumChildren(), 9);

    PluginAudioProcessor second;
    second.setStateInformation(blob.begin() + 6, (int) blob.getSize() - 6);
    EXPECT_FLOAT_EQ(plainValue(second, ParameterIDs::latencyY), 12.5f);
    EXPECT_FLOAT_EQ(plainValue(second, ParameterIDs::smoothing), 9.0f);
}

TEST(PluginAudioProcessorState, TreeOfAnotherRootTypeIsStillTaken)
{
    juce::ValueTree foreign("SomethingElse");
    juce::ValueTree parameter("PARAM");
    parameter.setProperty("id", "latencyX", nullptr);
    parameter.setProperty("value", 42.0, nullptr);
    foreign.appendChild(parameter, nullptr);
    const auto blob = bytesOf(foreign);

    PluginAudioProcessor processor;
    processor.setStateInformation(blob.getData(), (int) blob.getSize());
    EXPECT_FLOAT_EQ(plainValue(processor, ParameterIDs::latencyX), 42.0f);
}

TEST(PluginAudioProcessorState, GarbageAndHostileBlobsAreIgnored)
{
    PluginAudioProcessor processor;
    setParameter(processor, ParameterIDs::latencyX, 7.0f);

    const unsigned char garbage[] = {0x00, 0xff, 0x13, 0x37};
    processor.setStateInformation(garbage, (int) sizeof(garbage));
    // "X", no properties, then a child count of two billion: the parser would reserve 16 GB.
    const unsigned char hugeChildCount[] = {'X', 0, 0, 0x04, 0xff, 0xff, 0xff, 0x7f};
    processor.setStateInformation(hugeChildCount, (int) sizeof(hugeChildCount));
    processor.setStateInformation(nullptr, 0);

    // Values that read as numbers but not finite ones: the whole state is refused.
    for (const auto* text : {"nan", "-inf"})
    {
        juce::ValueTree state("PARAMETERS");
        for (const auto* id : {ParameterIDs::smoothing, ParameterIDs::latencyX})
        {
            juce::ValueTree parameter("PARAM");
            parameter.setProperty("id", id, nullptr);
            parameter.setProperty("value", id == ParameterIDs::smoothing ? juce::var(3.0) : juce::var(text),
                                  nullptr);
            state.appendChild(parameter, nullptr);
        }
        const auto blob = bytesOf(state);
        processor.setStateInformation(blob.getData(), (int) blob.getSize());
    }

    EXPECT_FLOAT_EQ(plainValue(processor, ParameterIDs::latencyX), 7.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, ParameterIDs::smoothing), 50.0f);
}

TEST(PluginAudioProcessorState, PresetOfAnyReadableVersionReplacesTheTableButNotTheRawBins)
{
    PluginAudioProcessor processor;
    int notifications = 0;
    processor.onTableChanged = [&] { ++notifications; };

    std::vector<double> thousand(1000);
    for (std::size_t i = 0; i < thousand.size(); ++i)
        thousand[i] = 0.5 * (double) i / 999.0;
    ASSERT_TRUE(PluginAudioProcessorTestAccess::restore(processor, bytesOf(doublePreset(3, thousand))));

    EXPECT_EQ(processor.getTransferFunction().get(0), 0.0);
    EXPECT_DOUBLE_EQ(processor.getTransferFunction().get(16383), 0.5);
    EXPECT_NEAR(processor.getTransferFunction().get(8192), 0.5 * 8192.0 / 16383.0, 1e-12);
    EXPECT_TRUE(processor.getRawBins().empty());
    EXPECT_FALSE(processor.hasFit());
    drainMessages();
    EXPECT_EQ(notifications, 1);

    std::vector<double> values((std::size_t) tableSize, -0.25);
    const auto written = writePreset(values, "someone");
    ASSERT_TRUE(written.ok);
    ASSERT_TRUE(PluginAudioProcessorTestAccess::restore(processor, written.bytes));
    EXPECT_EQ(processor.getTransferFunction().get(1234), -0.25);
}

TEST(PluginAudioProcessorState, PresetLoadedAfterAFitKeepsTheRawBinsAndTheFit)
{
    PluginEnvironment environment;
    environment.estimate =
        [](const std::vector<double>&, const std::vector<double>&, int, int, estimation::EstimationMethod)
    {
        estimation::TransferFunctionEstimate fit;
        fit.rawBins.assign((std::size_t) tableSize, 0.5);
        fit.smoothedBins.assign((std::size_t) tableSize, 0.75);
        fit.valid = true;
        return fit;
    };
    PluginAudioProcessor processor(environment);
    const std::vector<double> samples(16384, 0.25);
    processor.getCaptureBuffer().push(samples.data(), samples.data(), (int) samples.size());
    processor.snapshotCaptureAndRefit();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return processor.hasFit(); }));

    const auto preset = writePreset(std::vector<double>((std::size_t) tableSize, -0.25), {});
    ASSERT_TRUE(PluginAudioProcessorTestAccess::restore(processor, preset.bytes));

    EXPECT_EQ(processor.getTransferFunction().get(77), -0.25);
    EXPECT_TRUE(processor.hasFit());
    EXPECT_EQ(processor.getRawBins(), std::vector<double>((std::size_t) tableSize, 0.5));
}

class PluginAudioProcessorUnreadablePreset : public ::testing::TestWithParam<int>
{
};

TEST_P(PluginAudioProcessorUnreadablePreset, LeavesTheTableUnchangedAndSilent)
{
    PluginAudioProcessor processor;
    int notifications = 0;
    processor.onTableChanged = [&] { ++notifications; };
    const std::vector<double> values(16, 0.3);

    juce::MemoryBlock bytes;
    switch (GetParam())
    {
        case 0:
            bytes = bytesOf(doublePreset(2, values));
            break;
        case 1:
            bytes = bytesOf(doublePreset(6, values));
            break;
        case 2:
            bytes = bytesOf(doublePreset({}, values));
            break;
        case 3:
            bytes = bytesOf(juce::ValueTree("NotAPreset"));
            break;
        case 4:
            bytes = bytesOf(doublePreset(5, {}));
            break; // empty payload
        default:
            bytes = juce::MemoryBlock("\x01\x02\x03", 3);
            break;
    }

    EXPECT_FALSE(PluginAudioProcessorTestAccess::restore(processor, bytes));
    drainMessages();
    EXPECT_EQ(notifications, 0);
    for (int i = 0; i < tableSize; i += 1000)
        EXPECT_EQ(processor.getTransferFunction().get(i), TransferFunctionTable::xAt(i));
}

INSTANTIATE_TEST_SUITE_P(PluginAudioProcessorState, PluginAudioProcessorUnreadablePreset,
                         ::testing::Range(0, 6));
