// "screenshot": the real plug-in window, rendered offscreen by the software renderer after a simulated
// device has been played into the processor, live or frozen with the fitted curve.
#include "core/ParameterLayout.h"
#include "editor/PluginProcessorEditor.h"
#include "tools/DeviceOption.h"
#include "tools/FitSettings.h"
#include "tools/MessageDispatch.h"
#include "tools/ProbeCommands.h"
#include "tools/ProbeOutputs.h"
#include "update/UpdateServer.h"

#include <cmath>
#include <memory>

namespace ProbeCommands
{
namespace
{
constexpr double sampleRate = 48000.0;
constexpr double frequency = 100.0;
constexpr double amplitude = 0.9;
constexpr double fitTimeoutMilliseconds = 120000.0;
constexpr const char* cannedUpdateAnswer =
    R"({"version": "1.2.0", "downloadWindows": "https://updates.corvane.audio/veltrane-probe/1.2.0",)"
    R"( "changes": ["Sharper curves from short captures", "Faster refits when only the smoothing changes"]})";

struct Size
{
    int width = PluginProcessorEditor::initialWidth;
    int height = PluginProcessorEditor::initialHeight;
};

// "700x550", within the sizes the window accepts.
std::optional<Size> parseSize(const juce::String& text)
{
    const auto parts = juce::StringArray::fromTokens(text.trim(), "x", "");
    if (parts.size() != 2)
        return std::nullopt;
    const auto width = parseInteger(parts[0]);
    const auto height = parseInteger(parts[1]);
    if (!width || !height || *width < 600 || *width > 1600 || *height < 400 || *height > 2000)
        return std::nullopt;
    return Size{*width, *height};
}

// A 100 Hz sine through the device, in 512-sample blocks, with X on the sidechain when it is on.
void play(PluginAudioProcessor& processor, const SimulatedDevice& device, int samples, bool sidechain)
{
    constexpr int blockSize = 512;
    processor.setRateAndBufferSizeDetails(sampleRate, blockSize);
    processor.prepareToPlay(sampleRate, blockSize);

    const auto sidechainChannel = sidechain ? processor.getChannelIndexInProcessBlockBuffer(true, 1, 0) : -1;
    juce::AudioBuffer<double> buffer(std::max(processor.getTotalNumInputChannels(), 2), blockSize);
    juce::MidiBuffer midi;
    for (int position = 0; position < samples; position += blockSize)
    {
        buffer.clear();
        for (int i = 0; i < blockSize; ++i)
        {
            const auto x = amplitude * std::sin(2.0 * juce::MathConstants<double>::pi * frequency *
                                                (double) (position + i) / sampleRate);
            buffer.setSample(0, i, device.process(x));
            if (sidechainChannel >= 0)
                buffer.setSample(sidechainChannel, i, x);
        }
        processor.processBlock(buffer, midi);
    }
}

juce::Image render(juce::Component& component, float scale)
{
    juce::Image image(juce::Image::ARGB, juce::roundToInt((float) component.getWidth() * scale),
                      juce::roundToInt((float) component.getHeight() * scale), true,
                      juce::SoftwareImageType());
    juce::Graphics g(image);
    g.addTransform(juce::AffineTransform::scale(scale));
    component.paintEntireComponent(g, false);
    return image;
}
} // namespace

int screenshot(const juce::StringArray& arguments, Console& console)
{
    // --frozen is the one option without a value.
    auto rest = arguments;
    const auto frozen = rest.contains("--frozen");
    rest.removeString("--frozen");

    auto known = FitSettings::optionNames;
    known.addArray({"output", "device", "drive", "size", "scale", "mode", "sidechain", "dialog"});
    const auto parsed = CommandLineOptions::parseOptionsOnly(rest, known);
    if (!parsed.ok)
    {
        console.error(parsed.error);
        return usageError;
    }
    const auto& options = parsed.options;

    const auto output = options.get("output");
    if (!output || output->trim().isEmpty())
    {
        console.error("screenshot needs --output FILE.png");
        return usageError;
    }

    const auto size = parseSize(options.get("size").value_or("700x550"));
    if (!size)
    {
        console.error("--size " + *options.get("size") + " is not WIDTHxHEIGHT within 600x400 .. 1600x2000");
        return usageError;
    }

    const auto scaleText = options.get("scale").value_or("1");
    if (scaleText != "1" && scaleText != "2")
    {
        console.error("--scale " + scaleText + " is not 1 or 2");
        return usageError;
    }
    const auto scale = (float) scaleText.getIntValue();

    const auto device = simulatedDeviceFromOptions(options, console);
    if (!device)
        return usageError;

    const auto sidechainText = options.get("sidechain").value_or("on");
    const auto dialog = options.get("dialog").value_or("");
    const juce::StringArray dialogs{"artist", "theme", "update", "menu"};
    if ((sidechainText != "on" && sidechainText != "off") ||
        (dialog.isNotEmpty() && !dialogs.contains(dialog)))
    {
        console.error(sidechainText != "on" && sidechainText != "off"
                          ? "--sidechain is on or off"
                          : "--dialog is one of " + dialogs.joinIntoString(", "));
        return usageError;
    }
    const auto sidechain = sidechainText == "on";

    // No user folders: the window shows the default theme and asks nothing of the user's files.
    ProbeSession session(ProbeOutputs::environmentFor(options, false));
    auto applied = FitSettings::apply(options, session);
    if (applied.wasOk())
        if (const auto mode = options.get("mode"))
            applied = session.setChoice(ParameterIDs::visualizationMode, *mode, "mode");
    if (applied.failed())
    {
        console.error(applied.getErrorMessage());
        return usageError;
    }

    auto& processor = session.getProcessor();
    if (!sidechain)
    {
        auto layout = processor.getBusesLayout();
        layout.inputBuses.getReference(1) = juce::AudioChannelSet::disabled();
        processor.setBusesLayout(layout);
    }
    play(processor, *device, session.captureLength() + 4096, sidechain);

    auto editor = std::make_unique<PluginProcessorEditor>(processor);
    editor->setSize(size->width, size->height);
    // A few ticks of the window's timer feed the live view and show or hide the warning.
    MessageDispatch::runFor(200.0);

    if (frozen)
    {
        editor->freeze();
        if (!MessageDispatch::runUntil([&] { return editor->hasCurveOfThisFreeze(); },
                                       fitTimeoutMilliseconds))
        {
            console.error("the fitted curve did not arrive");
            return failure;
        }
        MessageDispatch::runFor(100.0);
    }
    if (dialog == "artist")
        editor->showArtistNameDialog(true);
    else if (dialog == "menu")
        editor->showLogoMenu();
    else if (dialog == "theme")
        editor->showThemeOverlay();
    else if (dialog == "update")
    {
        // A canned answer: the picture never depends on the network.
        editor->showUpdateOverlay();
        editor->handleUpdateCheckResult(cannedUpdateAnswer, update_check::currentProductVersion());
    }

    const auto image = render(*editor, scale);
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(*output);
    file.deleteFile();
    juce::FileOutputStream stream(file);
    juce::PNGImageFormat png;
    if (!stream.openedOk() || !png.writeImageToStream(image, stream))
    {
        console.error("cannot write " + file.getFullPathName());
        return failure;
    }
    stream.flush();

    console.print("screenshot: " + juce::String(size->width) + "x" + juce::String(size->height) +
                  " at scale " + scaleText + ", " + (frozen ? "frozen" : "live") + ", " + device->getName() +
                  " device; wrote " + *output);
    editor.reset();
    return success;
}
} // namespace ProbeCommands
