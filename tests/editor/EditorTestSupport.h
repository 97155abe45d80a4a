#pragma once

#include "core/ParameterLayout.h"
#include "core/PluginAudioProcessor.h"
#include "editor/PluginProcessorEditor.h"
#include "editor/SaveLocationChooser.h"
#include "estimation/TransferFunctionEstimator.h"
#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace editortest
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

// The device of the estimation tests: tanh(2 x), fed a full-scale 100 Hz sine (480 samples a period).
inline double device(double x)
{
    return std::tanh(2.0 * x);
}

inline double inputAt(long long n)
{
    return std::sin(2.0 * juce::MathConstants<double>::pi * 100.0 * static_cast<double>(n) / sampleRate);
}

// A component of the window by name, searched depth first.
template <typename ComponentType = juce::Component>
ComponentType* find(juce::Component& root, const juce::String& name)
{
    for (auto* child : root.getChildren())
    {
        if (child->getName() == name)
            if (auto* typed = dynamic_cast<ComponentType*>(child))
                return typed;
        if (auto* found = find<ComponentType>(*child, name))
            return found;
    }
    return nullptr;
}

// Estimates as the product does, counting the calls, and holds them while the gate is closed.
class EstimatorProbe
{
public:
    int calls() const { return count.load(); }

    void closeGate()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        open = false;
    }
    void openGate()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            open = true;
        }
        changed.notify_all();
    }

    PluginEnvironment::Estimator estimator()
    {
        return [this](const std::vector<double>& x, const std::vector<double>& y, int size, int smoothing,
                      estimation::EstimationMethod method)
        {
            ++count;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [this] { return open; });
            }
            try
            {
                auto result = estimation::estimateTransferFunction(x, y, size, smoothing, method);
                if (!result.valid)
                    std::fprintf(stderr, "invalid estimate from %d pairs\n", (int) x.size());
                return result;
            }
            catch (const std::exception& e)
            {
                std::fprintf(stderr, "estimate threw %s\n", e.what());
                throw;
            }
        };
    }

private:
    std::atomic<int> count{0};
    std::mutex mutex;
    std::condition_variable changed;
    bool open = true;
};

// A processor whose settings and presets live in a temporary folder.
struct ProbeUnderTest
{
    explicit ProbeUnderTest(PluginEnvironment::ThreadStarter startThread = {})
    {
        PluginEnvironment environment;
        environment.userApplicationDataFolder = folder.get().getChildFile("user");
        environment.commonApplicationDataFolder = folder.get().getChildFile("common");
        environment.estimate = estimator.estimator();
        environment.startThread = std::move(startThread);
        processor = std::make_unique<PluginAudioProcessor>(std::move(environment));
        processor->enableAllBuses();
        processor->setRateAndBufferSizeDetails(sampleRate, blockSize);
        processor->prepareToPlay(sampleRate, blockSize);
        setChoice(ParameterIDs::captureLength, 0); // 16k: a capture fills in a third of a second
    }

    // As a host whose sidechain is not connected.
    void disableSidechain()
    {
        auto layout = processor->getBusesLayout();
        layout.inputBuses.getReference(1) = juce::AudioChannelSet::disabled();
        processor->setBusesLayout(layout);
        processor->prepareToPlay(sampleRate, blockSize);
    }

    void setChoice(const char* id, int index)
    {
        auto* parameter = processor->getParameterState().getParameter(id);
        parameter->setValueNotifyingHost(parameter->convertTo0to1(static_cast<float>(index)));
    }

    // The (X, Y) pair of sample n: by default the full-scale sine through the device.
    std::function<std::pair<double, double>(long long n)> source = [](long long n) {
        return std::pair{inputAt(n), device(inputAt(n))};
    };

    // Plays n samples on the calling thread, with or without the sidechain's channels.
    void play(int samples, bool sidechain = true)
    {
        juce::AudioBuffer<double> buffer(processor->getTotalNumInputChannels(), blockSize);
        juce::MidiBuffer midi;
        for (int done = 0; done < samples; done += blockSize)
        {
            for (int i = 0; i < blockSize; ++i, ++position)
            {
                const auto [x, y] = source(position);
                buffer.setSample(0, i, y);
                buffer.setSample(1, i, y);
                if (sidechain)
                {
                    buffer.setSample(2, i, x);
                    buffer.setSample(3, i, x);
                }
            }
            processor->processBlock(buffer, midi);
        }
    }

    juce::File userPresetFolder() const { return processor->getPresetLibrary().getUserFolder(); }

    testsupport::TemporaryFolder folder;
    EstimatorProbe estimator;
    std::unique_ptr<PluginAudioProcessor> processor;
    long long position = 0;
};

// The host's audio thread: plays the device into processBlock in 512-sample blocks, at about the pace
// of a real host (one block every 10.7 ms at 48 kHz), until stopped.
class AudioThread
{
public:
    explicit AudioThread(ProbeUnderTest& probeToPlay, bool sidechainOn = true)
        : probe(probeToPlay)
        , sidechain(sidechainOn)
        , thread([this] { run(); })
    {
    }

    ~AudioThread()
    {
        running = false;
        thread.join();
    }

private:
    void run()
    {
        while (running)
        {
            probe.play(blockSize, sidechain);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    ProbeUnderTest& probe;
    const bool sidechain;
    std::atomic<bool> running{true};
    std::thread thread;
};

// Answers the save dialog in the user's place: each answer is delivered on a later turn of the
// message loop, as the platform's dialog does.
class ScriptedSaveLocationChooser final : public ui_panels::SaveLocationChooser
{
public:
    struct Script
    {
        std::vector<Request> requests;
        std::vector<juce::File> answers; // the empty path cancels
        int answered = 0;
    };

    explicit ScriptedSaveLocationChooser(std::shared_ptr<Script> scriptToUse)
        : script(std::move(scriptToUse))
    {
    }

    void open(const Request& request, Answer answer) override
    {
        script->requests.push_back(request);
        open_ = true;
        const auto chosen = script->answers.empty() ? juce::File() : script->answers.front();
        if (!script->answers.empty())
            script->answers.erase(script->answers.begin());
        juce::MessageManager::callAsync(
            [flag = alive, this, answer = std::move(answer), chosen]
            {
                if (!*flag)
                    return;
                open_ = false;
                ++script->answered;
                answer(chosen);
            });
    }

    bool isOpen() const override { return open_; }
    ~ScriptedSaveLocationChooser() override { *alive = false; }

private:
    std::shared_ptr<Script> script;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    bool open_ = false;
};
} // namespace editortest

#include "support/DesktopHarness.h"

namespace editortest
{
// Picks an entry of the open menu the way a user does: the pointer goes onto it, presses and releases.
inline bool pickFromShownMenu(const juce::String& text)
{
    // The menu ignores releases in its first 250 ms, as it does for a user.
    testsupport::DesktopWindow::pump(std::chrono::milliseconds(300));
    auto* menu = testsupport::shownPopupMenu();
    if (menu == nullptr || menu->getPeer() == nullptr)
        return false;

    juce::Component* item = nullptr;
    for (auto* child : menu->getChildren())
        if (auto* handler = child->getAccessibilityHandler())
            if (handler->getRole() == juce::AccessibilityRole::menuItem && handler->getTitle() == text)
                item = child;
    if (item == nullptr)
        return false;

    const auto local = menu->getLocalPoint(item, item->getLocalBounds().getCentre().toFloat());
    juce::Desktop::setMousePosition(menu->localPointToGlobal(local).roundToInt());
    const auto now = juce::Time::currentTimeMillis();
    for (const auto& [modifiers, time] : {std::pair<juce::ModifierKeys, juce::int64>{{}, now},
                                          {juce::ModifierKeys::leftButtonModifier, now + 50},
                                          {{}, now + 100}})
    {
        juce::ModifierKeys::currentModifiers = modifiers;
        menu->getPeer()->handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, local, modifiers,
                                          juce::MouseInputSource::defaultPressure,
                                          juce::MouseInputSource::defaultOrientation, time);
    }
    return true;
}
} // namespace editortest
