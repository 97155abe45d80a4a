// Loads the built VST3 bundle through the framework's VST3 hosting, as a host would, and checks
// what a host relies on: identity, buses, parameters, pass-through and state.
#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include "support/MessageLoop.h"
#include "support/ScreenGrab.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

#ifndef VELTRANE_VST3_BUNDLE
#error "VELTRANE_VST3_BUNDLE must name the built bundle"
#endif

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

juce::String bundlePath()
{
    // A Windows host opens the library inside the bundle; other hosts open the bundle folder.
    return juce::String(VELTRANE_VST3_BUNDLE);
}

class HostedPlugin : public ::testing::Test
{
protected:
    juce::VST3PluginFormat format;

    juce::PluginDescription describe()
    {
        juce::OwnedArray<juce::PluginDescription> found;
        format.findAllTypesForFile(found, bundlePath());
        if (found.size() != 1)
        {
            ADD_FAILURE() << "expected one plug-in in " << bundlePath() << ", found " << found.size();
            return {};
        }
        return *found[0];
    }

    std::unique_ptr<juce::AudioPluginInstance> instantiate()
    {
        juce::String error;
        auto instance = format.createInstanceFromDescription(describe(), sampleRate, blockSize, error);
        EXPECT_NE(instance, nullptr) << error;
        return instance;
    }
};

void fillSignal(juce::AudioBuffer<float>& buffer, int offset)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample(c, i,
                             0.8f * std::sin(0.003f * (float) (i + offset) * (float) (c + 1) + (float) c));
}

// Runs a few blocks and reports whether every output channel equals the same input channel.
template <typename Sample>
bool passesThrough(juce::AudioPluginInstance& plugin, int channels, int samplesPerBlock = blockSize)
{
    juce::MidiBuffer midi;
    for (int block = 0; block < 4; ++block)
    {
        juce::AudioBuffer<float> reference(channels, samplesPerBlock);
        fillSignal(reference, block * samplesPerBlock);
        juce::AudioBuffer<Sample> buffer(channels, samplesPerBlock);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < samplesPerBlock; ++i)
                buffer.setSample(c, i, (Sample) reference.getSample(c, i));

        plugin.processBlock(buffer, midi);

        for (int c = 0; c < plugin.getTotalNumOutputChannels(); ++c)
            for (int i = 0; i < samplesPerBlock; ++i)
                if (buffer.getSample(c, i) != (Sample) reference.getSample(c, i))
                {
                    ADD_FAILURE() << "channel " << c << " sample " << i << " of block " << block;
                    return false;
                }
    }
    return true;
}
} // namespace

TEST_F(HostedPlugin, ScannerSeesTheIdentity)
{
    const auto description = describe();
    EXPECT_EQ(description.name, "Veltrane Probe");
    EXPECT_EQ(description.manufacturerName, "Corvane");
    EXPECT_EQ(description.version, "0.1.0");
    EXPECT_EQ(description.pluginFormatName, "VST3");
    EXPECT_TRUE(description.category.contains("Fx")) << description.category;
    EXPECT_FALSE(description.isInstrument);
}

TEST_F(HostedPlugin, HasInputSidechainAndOutputBuses)
{
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    ASSERT_EQ(plugin->getBusCount(true), 2);
    ASSERT_EQ(plugin->getBusCount(false), 1);
    EXPECT_EQ(plugin->getBus(true, 0)->getName(), "Input");
    EXPECT_EQ(plugin->getBus(true, 1)->getName(), "Sidechain");
    EXPECT_EQ(plugin->getBus(false, 0)->getName(), "Output");
    EXPECT_EQ(plugin->getBus(true, 0)->getDefaultLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ(plugin->getBus(true, 1)->getDefaultLayout(), juce::AudioChannelSet::stereo());

    // The host may offer a mono main bus with a stereo sidechain, but never a surround main bus.
    auto layout = plugin->getBusesLayout();
    layout.inputBuses.getReference(0) = juce::AudioChannelSet::mono();
    layout.outputBuses.getReference(0) = juce::AudioChannelSet::mono();
    EXPECT_TRUE(plugin->checkBusesLayoutSupported(layout));
    layout.inputBuses.getReference(0) = juce::AudioChannelSet::create5point1();
    layout.outputBuses.getReference(0) = juce::AudioChannelSet::create5point1();
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout));
}

TEST_F(HostedPlugin, ExposesTheNineParametersInOrderWithTheirDefaults)
{
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);

    struct Expected
    {
        const char* name;
        float normalisedDefault;
    };
    const Expected expected[] = {
        {"Scale X", 0.5f},
        {"Scale Y", 0.5f},
        {"Latency X", 0.0f},
        {"Latency Y", 0.0f},
        {"Smoothing", 49.0f / 99.0f},
        {"Capture Algorithm", 1.0f},
        {"Capture Length", 2.0f / 3.0f},
        {"Visualization Mode", 0.0f},
        {"Time Window", 0.5f},
    };

    const auto& parameters = plugin->getParameters();
    ASSERT_GE(parameters.size(), 9);
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ(parameters[i]->getName(100), expected[i].name) << i;
        EXPECT_NEAR(parameters[i]->getDefaultValue(), expected[i].normalisedDefault, 1e-6)
            << expected[i].name;
        EXPECT_NEAR(parameters[i]->getValue(), expected[i].normalisedDefault, 1e-6) << expected[i].name;
        EXPECT_TRUE(parameters[i]->isAutomatable()) << expected[i].name;
    }
    // The framework's VST3 wrapper adds the host's bypass switch after our own parameters.
    for (int i = 9; i < parameters.size(); ++i)
        EXPECT_EQ(parameters[i], plugin->getBypassParameter()) << parameters[i]->getName(100);
}

TEST_F(HostedPlugin, PassesAudioThroughWithTheSidechainEnabledAndDisabled)
{
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);

    ASSERT_TRUE(plugin->enableAllBuses());
    plugin->prepareToPlay(sampleRate, blockSize);
    EXPECT_EQ(plugin->getTotalNumInputChannels(), 4);
    EXPECT_TRUE(passesThrough<float>(*plugin, 4));
    plugin->releaseResources();

    if (plugin->supportsDoublePrecisionProcessing())
    {
        plugin->setProcessingPrecision(juce::AudioProcessor::doublePrecision);
        plugin->prepareToPlay(sampleRate, blockSize);
        EXPECT_TRUE(passesThrough<double>(*plugin, 4));
        plugin->releaseResources();
        plugin->setProcessingPrecision(juce::AudioProcessor::singlePrecision);
    }

    auto layout = plugin->getBusesLayout();
    layout.inputBuses.getReference(1) = juce::AudioChannelSet::disabled();
    ASSERT_TRUE(plugin->setBusesLayout(layout));
    plugin->prepareToPlay(sampleRate, blockSize);
    EXPECT_EQ(plugin->getTotalNumInputChannels(), 2);
    EXPECT_TRUE(passesThrough<float>(*plugin, 2));
    plugin->releaseResources();
}

TEST_F(HostedPlugin, StateSavedFromOneInstanceRestoresIntoAnother)
{
    auto first = instantiate();
    auto second = instantiate();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    // Values on each parameter's own grid (smoothing 90, "ODR", "128k", "time", "1k").
    const float changed[] = {0.25f, 0.75f, 0.1f, 0.2f, 89.0f / 99.0f, 0.0f, 1.0f, 1.0f, 0.25f};
    for (int i = 0; i < 9; ++i)
        first->getParameters()[i]->setValueNotifyingHost(changed[i]);

    juce::MemoryBlock state;
    first->getStateInformation(state);
    ASSERT_GT(state.getSize(), 0u);

    second->setStateInformation(state.getData(), (int) state.getSize());
    for (int i = 0; i < 9; ++i)
    {
        // Values are quantised to the parameter's step: compare the plain values the host shows.
        auto* expected = first->getParameters()[i];
        auto* actual = second->getParameters()[i];
        EXPECT_NEAR(actual->getValue(), expected->getValue(), 1e-6) << expected->getName(100);
        EXPECT_EQ(actual->getCurrentValueAsText(), expected->getCurrentValueAsText());
    }
    EXPECT_NE(second->getParameters()[0]->getValue(), 0.5f);

    // Garbage from a host changes nothing and does not crash.
    const char garbage[] = "definitely not a value tree";
    second->setStateInformation(garbage, (int) sizeof(garbage));
    EXPECT_NEAR(second->getParameters()[0]->getValue(), first->getParameters()[0]->getValue(), 1e-6);
}

TEST_F(HostedPlugin, PassesAudioThroughAtOtherRatesAndBlockSizes)
{
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    ASSERT_TRUE(plugin->enableAllBuses());

    for (const double rate : {44100.0, 96000.0, 192000.0})
        for (const int size : {1, 7, 64, 4096})
        {
            plugin->prepareToPlay(rate, size);
            EXPECT_TRUE(passesThrough<float>(*plugin, 4, size)) << rate << " Hz, " << size << " samples";
            // Hosts may hand over blocks smaller than announced.
            EXPECT_TRUE(passesThrough<float>(*plugin, 4, std::max(1, size / 3)));
            plugin->releaseResources();
        }
}

// Random automation of every parameter between blocks, as validators do: the audio still passes
// through untouched and every value has a text that the host can show and read back.
TEST_F(HostedPlugin, SurvivesRandomAutomationWhileProcessing)
{
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    ASSERT_TRUE(plugin->enableAllBuses());
    plugin->prepareToPlay(sampleRate, blockSize);

    juce::Random random(1234);
    for (int round = 0; round < 50; ++round)
    {
        for (auto* parameter : plugin->getParameters())
        {
            if (parameter == plugin->getBypassParameter())
                continue;
            parameter->setValueNotifyingHost(random.nextFloat());
            const auto text = parameter->getCurrentValueAsText();
            EXPECT_FALSE(text.isEmpty()) << parameter->getName(100);
            EXPECT_EQ(parameter->getText(parameter->getValueForText(text), 100), text)
                << parameter->getName(100);
        }
        ASSERT_TRUE(passesThrough<float>(*plugin, 4)) << "round " << round;
    }
    plugin->releaseResources();
}

// Plays a sine through a tanh "device" into the plug-in on a thread of its own, as a host's audio
// thread does, until destroyed.
class AudioThread
{
public:
    explicit AudioThread(juce::AudioPluginInstance& pluginToPlay)
        : plugin(pluginToPlay)
        , thread([this] { run(); })
    {
    }

    ~AudioThread()
    {
        running = false;
        thread.join();
    }

    int blocksPlayed() const { return blocks.load(); }

private:
    void run()
    {
        juce::AudioBuffer<float> buffer(4, blockSize);
        juce::MidiBuffer midi;
        double phase = 0.0;
        while (running)
        {
            for (int i = 0; i < blockSize; ++i, phase += 0.01)
            {
                const auto x = (float) (0.9 * std::sin(phase));
                buffer.setSample(0, i, std::tanh(3.0f * x)); // main input: the device's output
                buffer.setSample(1, i, std::tanh(3.0f * x));
                buffer.setSample(2, i, x); // sidechain: what went into the device
                buffer.setSample(3, i, x);
            }
            plugin.processBlock(buffer, midi);
            ++blocks;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    juce::AudioPluginInstance& plugin;
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::thread thread;
};

// The window as the screen shows it, when VELTRANE_EDITOR_SNAPSHOT names a PNG file to write (for
// comparing the Windows build's window, under Wine, with the Linux one).
void writeSnapshotIfAsked(juce::Component& window)
{
    const auto path = juce::SystemStats::getEnvironmentVariable("VELTRANE_EDITOR_SNAPSHOT", {});
    if (path.isEmpty())
        return;
    testsupport::runMessageLoopFor(std::chrono::milliseconds(1000)); // a few frames of the live view
    if (auto* peer = window.getPeer())
        testsupport::paintWindowNow(peer->getNativeHandle());
    testsupport::runMessageLoopFor(std::chrono::milliseconds(300));
    const auto image = testsupport::grabScreenArea(window.getScreenBounds());
    juce::File file(path);
    file.deleteFile();
    juce::FileOutputStream stream(file);
    juce::PNGImageFormat png;
    EXPECT_TRUE(image.isValid() && stream.openedOk() && png.writeImageToStream(image, stream)) << path;
}

// A host opens and closes the window many times while audio runs; the window must appear on the
// desktop each time, at its initial size, and closing it must leave the plug-in processing.
TEST_F(HostedPlugin, OpensAndClosesTheEditorWhileAudioRuns)
{
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    ASSERT_TRUE(plugin->enableAllBuses());
    plugin->prepareToPlay(sampleRate, blockSize);
    ASSERT_TRUE(plugin->hasEditor());

    {
        AudioThread audio(*plugin);
        for (int round = 0; round < 10; ++round)
        {
            std::unique_ptr<juce::AudioProcessorEditor> editor(plugin->createEditorIfNeeded());
            ASSERT_NE(editor, nullptr) << "round " << round;
            editor->addToDesktop(juce::ComponentPeer::windowHasTitleBar);
            editor->setVisible(true);
            testsupport::runMessageLoopFor(std::chrono::milliseconds(150));

            EXPECT_NE(editor->getPeer(), nullptr) << "round " << round;
            EXPECT_TRUE(editor->isShowing()) << "round " << round;
            EXPECT_EQ(editor->getWidth(), 700) << "round " << round;
            EXPECT_EQ(editor->getHeight(), 550) << "round " << round;
            if (round == 0)
                writeSnapshotIfAsked(*editor);

            plugin->editorBeingDeleted(editor.get());
            editor.reset();
            testsupport::runMessageLoopFor(std::chrono::milliseconds(20));
        }
        const auto before = audio.blocksPlayed();
        testsupport::runMessageLoopUntil([&] { return audio.blocksPlayed() > before + 5; });
        EXPECT_GT(audio.blocksPlayed(), before + 5) << "audio stopped while the window opened and closed";
    }
    plugin->releaseResources();
}
