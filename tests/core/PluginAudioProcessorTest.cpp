#include "AllocationCounter.h"

#include "core/ParameterLayout.h"
#include "core/PluginAudioProcessor.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#if defined(__linux__) && defined(__x86_64__)
#include <csignal>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>
#endif

#include <memory>
#include <vector>

namespace
{
constexpr int blockSize = 256;

std::unique_ptr<PluginAudioProcessor> makePreparedProcessor()
{
    auto processor = std::make_unique<PluginAudioProcessor>();
    processor->setRateAndBufferSizeDetails(48000.0, blockSize);
    processor->prepareToPlay(48000.0, blockSize);
    return processor;
}

template <typename Sample>
juce::AudioBuffer<Sample> makeBlock(int channels, int samples)
{
    juce::AudioBuffer<Sample> buffer(channels, samples);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < samples; ++i)
            buffer.setSample(c, i, (Sample) (std::sin(0.01 * (i + 1) * (c + 1)) * (0.25 + 0.1 * c)));
    return buffer;
}

template <typename Sample>
bool bitIdentical(const juce::AudioBuffer<Sample>& a, const juce::AudioBuffer<Sample>& b, int channels)
{
    for (int c = 0; c < channels; ++c)
        if (std::memcmp(a.getReadPointer(c), b.getReadPointer(c),
                        sizeof(Sample) * (size_t) a.getNumSamples()) != 0)
            return false;
    return true;
}

struct Capture
{
    std::vector<double> x, y;
};

Capture newestPairs(PluginAudioProcessor& processor, int n)
{
    Capture c{std::vector<double>((size_t) n), std::vector<double>((size_t) n)};
    EXPECT_TRUE(processor.getCaptureBuffer().read(c.x.data(), c.y.data(), n));
    return c;
}
} // namespace

TEST(PluginAudioProcessor, DeclaresNineParametersInHostOrderWithTheirDefaults)
{
    PluginAudioProcessor processor;
    struct Expected
    {
        const char* id;
        const char* name;
        float defaultValue;
        float minimum, maximum;
    };
    const Expected expected[] = {
        {"scaleX", "Scale X", 0.0f, -36.0f, 36.0f},
        {"scaleY", "Scale Y", 0.0f, -36.0f, 36.0f},
        {"latencyX", "Latency X", 0.0f, 0.0f, 512.0f},
        {"latencyY", "Latency Y", 0.0f, 0.0f, 512.0f},
        {"smoothing", "Smoothing", 50.0f, 1.0f, 100.0f},
        {"captureAlgorithm", "Capture Algorithm", 1.0f, 0.0f, 1.0f},
        {"captureLength", "Capture Length", 2.0f, 0.0f, 3.0f},
        {"visualizationMode", "Visualization Mode", 0.0f, 0.0f, 1.0f},
        {"timeWindow", "Time Window", 2.0f, 0.0f, 4.0f},
    };

    const auto& parameters = processor.getParameters();
    ASSERT_EQ(parameters.size(), 9);
    for (int i = 0; i < 9; ++i)
    {
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*>(parameters[i]);
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->getParameterID(), expected[i].id);
        EXPECT_EQ(parameter->getName(100), expected[i].name);
        EXPECT_EQ(parameter->getVersionHint(), 0);
        const auto& range = parameter->getNormalisableRange();
        EXPECT_FLOAT_EQ(range.start, expected[i].minimum) << expected[i].id;
        EXPECT_FLOAT_EQ(range.end, expected[i].maximum) << expected[i].id;
        EXPECT_FLOAT_EQ(parameter->convertFrom0to1(parameter->getDefaultValue()), expected[i].defaultValue)
            << expected[i].id;
        EXPECT_FLOAT_EQ(*processor.getParameterState().getRawParameterValue(expected[i].id),
                        expected[i].defaultValue);
    }

    auto* latency = dynamic_cast<juce::AudioParameterFloat*>(parameters[2]);
    EXPECT_FLOAT_EQ(latency->getNormalisableRange().interval, 0.01f);
    EXPECT_FLOAT_EQ(latency->getNormalisableRange().skew, 1.0f);

    auto* timeWindow = dynamic_cast<juce::AudioParameterChoice*>(parameters[8]);
    EXPECT_EQ(timeWindow->choices, juce::StringArray({"500", "1k", "2k", "4k", "8k"}));
    auto* length = dynamic_cast<juce::AudioParameterChoice*>(parameters[6]);
    EXPECT_EQ(length->choices, juce::StringArray({"16k", "32k", "64k", "128k"}));
    auto* algorithm = dynamic_cast<juce::AudioParameterChoice*>(parameters[5]);
    EXPECT_EQ(algorithm->choices, juce::StringArray({"ODR", "Mean"}));
    auto* mode = dynamic_cast<juce::AudioParameterChoice*>(parameters[7]);
    EXPECT_EQ(mode->choices, juce::StringArray({"tfunc", "time"}));
}

TEST(PluginAudioProcessor, AnswersTheFixedProcessorQuestions)
{
    PluginAudioProcessor processor;
    EXPECT_EQ(processor.getName(), "Veltrane Probe");
    EXPECT_TRUE(processor.supportsDoublePrecisionProcessing());
    EXPECT_EQ(processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE(processor.acceptsMidi());
    EXPECT_FALSE(processor.producesMidi());
    EXPECT_TRUE(processor.hasEditor());
    EXPECT_EQ(processor.getNumPrograms(), 1);
    EXPECT_EQ(processor.getCurrentProgram(), 0);
    EXPECT_EQ(processor.getProgramName(0), "Default");

    ASSERT_EQ(processor.getBusCount(true), 2);
    ASSERT_EQ(processor.getBusCount(false), 1);
    EXPECT_EQ(processor.getBus(true, 0)->getName(), "Input");
    EXPECT_EQ(processor.getBus(true, 1)->getName(), "Sidechain");
    EXPECT_EQ(processor.getBus(false, 0)->getName(), "Output");
    EXPECT_EQ(processor.getTotalNumInputChannels(), 4);
    EXPECT_EQ(processor.getTotalNumOutputChannels(), 2);
}

struct LayoutCase
{
    const char* name;
    juce::AudioChannelSet mainIn, sidechain, mainOut;
    bool hasSidechainBus;
    bool accepted;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class BusLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(BusLayout, IsAcceptedOrRefusedByTheLayoutRule)
{
    const auto& c = GetParam();
    PluginAudioProcessor processor;
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(c.mainIn);
    if (c.hasSidechainBus)
        layout.inputBuses.add(c.sidechain);
    layout.outputBuses.add(c.mainOut);
    // The rule itself: the framework refuses a bus count other than the declared one before asking.
    EXPECT_EQ(processor.isBusesLayoutSupported(layout), c.accepted);
}

using Set = juce::AudioChannelSet;
INSTANTIATE_TEST_SUITE_P(
    Layouts, BusLayout,
    ::testing::Values(
        LayoutCase{"StereoEverywhere", Set::stereo(), Set::stereo(), Set::stereo(), true, true},
        LayoutCase{"MonoMainStereoSidechain", Set::mono(), Set::stereo(), Set::mono(), true, true},
        LayoutCase{"StereoMainMonoSidechain", Set::stereo(), Set::mono(), Set::stereo(), true, true},
        LayoutCase{"DisabledSidechain", Set::stereo(), Set::disabled(), Set::stereo(), true, true},
        LayoutCase{"NoSidechainBus", Set::mono(), Set::disabled(), Set::mono(), false, true},
        LayoutCase{"SurroundMain", Set::create5point1(), Set::stereo(), Set::create5point1(), true, false},
        LayoutCase{"MainInputWiderThanOutput", Set::stereo(), Set::stereo(), Set::mono(), true, false},
        LayoutCase{"MainInputNarrowerThanOutput", Set::mono(), Set::stereo(), Set::stereo(), true, false},
        LayoutCase{"SurroundSidechain", Set::stereo(), Set::create5point1(), Set::stereo(), true, false},
        LayoutCase{"DisabledOutput", Set::disabled(), Set::stereo(), Set::disabled(), true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PluginAudioProcessor, StereoBlockWithSidechainPassesThroughAndCapturesSidechainLeftAgainstInputLeft)
{
    auto processor = makePreparedProcessor();
    auto block = makeBlock<double>(4, blockSize);
    const auto original = block;
    juce::MidiBuffer midi;

    processor->processBlock(block, midi);

    EXPECT_TRUE(bitIdentical(block, original, 4));
    EXPECT_TRUE(processor->isSidechainConnected());
    EXPECT_EQ(processor->getCaptureBuffer().getTotalWritten(), blockSize);
    const auto pairs = newestPairs(*processor, blockSize);
    for (int i = 0; i < blockSize; ++i)
    {
        ASSERT_EQ(pairs.x[(size_t) i], original.getSample(2, i)) << i;
        ASSERT_EQ(pairs.y[(size_t) i], original.getSample(0, i)) << i;
    }
}

TEST(PluginAudioProcessor, DisabledSidechainCapturesZeroAgainstInputLeft)
{
    auto processor = makePreparedProcessor();
    juce::MidiBuffer midi;
    auto withSidechain = makeBlock<double>(4, 16);
    processor->processBlock(withSidechain, midi);
    ASSERT_TRUE(processor->isSidechainConnected());

    ASSERT_TRUE(processor->getBus(true, 1)->enable(false));
    ASSERT_EQ(processor->getTotalNumInputChannels(), 2);
    processor->prepareToPlay(48000.0, blockSize);

    auto block = makeBlock<double>(2, blockSize);
    const auto original = block;
    processor->processBlock(block, midi);

    EXPECT_TRUE(bitIdentical(block, original, 2));
    EXPECT_FALSE(processor->isSidechainConnected());
    EXPECT_EQ(processor->getCaptureBuffer().getTotalWritten(), blockSize);
    const auto pairs = newestPairs(*processor, blockSize);
    for (int i = 0; i < blockSize; ++i)
    {
        ASSERT_EQ(pairs.x[(size_t) i], 0.0);
        ASSERT_EQ(pairs.y[(size_t) i], original.getSample(0, i));
    }
}

TEST(PluginAudioProcessor, EmptyBlockWithSidechainSetsTheFlagAndCapturesNothing)
{
    auto processor = makePreparedProcessor();
    juce::AudioBuffer<double> empty(4, 0);
    juce::MidiBuffer midi;
    processor->processBlock(empty, midi);
    EXPECT_TRUE(processor->isSidechainConnected());
    EXPECT_EQ(processor->getCaptureBuffer().getTotalWritten(), 0);
}

TEST(PluginAudioProcessor, PrepareToPlayEmptiesTheCapture)
{
    auto processor = makePreparedProcessor();
    auto block = makeBlock<double>(4, blockSize);
    juce::MidiBuffer midi;
    processor->processBlock(block, midi);
    ASSERT_EQ(processor->getCaptureBuffer().getTotalWritten(), blockSize);

    processor->prepareToPlay(44100.0, 512);
    EXPECT_EQ(processor->getCaptureBuffer().getTotalWritten(), 0);
    EXPECT_EQ(newestPairs(*processor, 1).y[0], 0.0);
}

TEST(PluginAudioProcessor, CallersFloatingPointModeIsRestoredAfterTheBlock)
{
    auto processor = makePreparedProcessor();
    auto block = makeBlock<double>(4, blockSize);
    juce::MidiBuffer midi;
    const auto saved = _mm_getcsr();

    // Round toward zero, no flush-to-zero: an unusual mode the block must hand back untouched.
    const unsigned int modes[] = {0x1F80u | 0x6000u, 0x1F80u | 0x8040u, 0x1F80u};
    for (const auto mode : modes)
    {
        _mm_setcsr(mode);
        processor->processBlock(block, midi);
        const auto after = _mm_getcsr();
        _mm_setcsr(saved);
        EXPECT_EQ(after & ~0x3Fu, mode & ~0x3Fu) << std::hex << mode; // exception flags may change
    }
}

#if defined(__linux__) && defined(__x86_64__)
namespace
{
// The floating-point mode of the code that first reads a protected page: the read faults, the
// handler notes the mode saved with the interrupted code, lifts the protection and lets it retry.
struct FirstReadOfProtectedPage
{
    static inline void* page = nullptr;
    static inline std::size_t size = 0;
    static inline volatile sig_atomic_t seen = 0;
    static inline volatile unsigned int mxcsr = 0;

    static void handle(int, siginfo_t*, void* context)
    {
        mxcsr = static_cast<ucontext_t*>(context)->uc_mcontext.fpregs->mxcsr;
        seen = 1;
        mprotect(page, size, PROT_READ | PROT_WRITE);
    }
};
} // namespace

TEST(PluginAudioProcessor, ReadsTheBlockWithDenormalsFlushedToZero)
{
    auto processor = makePreparedProcessor();
    juce::MidiBuffer midi;
    auto block = makeBlock<double>(4, blockSize);

    // The sidechain's first channel lives on a page of its own, protected until the processor reads it.
    const auto pageSize = (std::size_t) sysconf(_SC_PAGESIZE);
    ASSERT_LE(sizeof(double) * blockSize, pageSize);
    auto* page = mmap(nullptr, pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    std::memcpy(page, block.getReadPointer(2), sizeof(double) * blockSize);
    double* channels[] = {block.getWritePointer(0), block.getWritePointer(1), static_cast<double*>(page),
                          block.getWritePointer(3)};
    juce::AudioBuffer<double> watched(channels, 4, blockSize);

    FirstReadOfProtectedPage::page = page;
    FirstReadOfProtectedPage::size = pageSize;
    struct sigaction action = {}, previous = {};
    action.sa_sigaction = FirstReadOfProtectedPage::handle;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(sigaction(SIGSEGV, &action, &previous), 0);

    const auto saved = _mm_getcsr();
    _mm_setcsr(0x1F80u); // the caller keeps denormals
    mprotect(page, pageSize, PROT_NONE);
    processor->processBlock(watched, midi);
    _mm_setcsr(saved);
    sigaction(SIGSEGV, &previous, nullptr);
    munmap(page, pageSize);

    ASSERT_TRUE(FirstReadOfProtectedPage::seen);
    EXPECT_EQ(FirstReadOfProtectedPage::mxcsr & 0x8040u, 0x8040u)
        << std::hex << FirstReadOfProtectedPage::mxcsr;
}
#endif

TEST(PluginAudioProcessor, FloatPathMatchesDoublePath)
{
    auto viaDouble = makePreparedProcessor();
    auto viaFloat = makePreparedProcessor();
    juce::MidiBuffer midi;

    auto floatBlock = makeBlock<float>(4, blockSize);
    const auto originalFloat = floatBlock;
    juce::AudioBuffer<double> doubleBlock(4, blockSize);
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < blockSize; ++i)
            doubleBlock.setSample(c, i, (double) floatBlock.getSample(c, i));

    // Two blocks each, the second larger, so the conversion buffer has to grow once.
    viaFloat->processBlock(floatBlock, midi);
    viaDouble->processBlock(doubleBlock, midi);
    EXPECT_TRUE(bitIdentical(floatBlock, originalFloat, 4));

    auto largerFloat = makeBlock<float>(4, 3 * blockSize);
    juce::AudioBuffer<double> largerDouble(4, 3 * blockSize);
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 3 * blockSize; ++i)
            largerDouble.setSample(c, i, (double) largerFloat.getSample(c, i));
    viaFloat->processBlock(largerFloat, midi);
    viaDouble->processBlock(largerDouble, midi);

    const auto a = newestPairs(*viaFloat, 4 * blockSize);
    const auto b = newestPairs(*viaDouble, 4 * blockSize);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(viaFloat->isSidechainConnected(), viaDouble->isSidechainConnected());
}

TEST(PluginAudioProcessor, DoublePathAllocatesNothing)
{
    auto processor = makePreparedProcessor();
    auto block = makeBlock<double>(4, blockSize);
    juce::MidiBuffer midi;
    processor->processBlock(block, midi); // any first-call work happens here

    std::size_t withSidechain = 0;
    {
        ScopedAllocationCounter counter;
        for (int i = 0; i < 100; ++i)
            processor->processBlock(block, midi);
        withSidechain = counter.getCount();
    }
    EXPECT_EQ(withSidechain, 0u);

    ASSERT_TRUE(processor->getBus(true, 1)->enable(false));
    auto mainOnly = makeBlock<double>(2, blockSize);
    processor->processBlock(mainOnly, midi);
    std::size_t withoutSidechain = 0;
    {
        ScopedAllocationCounter counter;
        for (int i = 0; i < 100; ++i)
            processor->processBlock(mainOnly, midi);
        withoutSidechain = counter.getCount();
    }
    EXPECT_EQ(withoutSidechain, 0u);

    // The counter does see allocations made on this thread.
    ScopedAllocationCounter counter;
    auto probe = std::make_unique<std::vector<double>>(10);
    EXPECT_GE(counter.getCount(), 2u);
}
