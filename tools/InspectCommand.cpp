#include "files/PresetFormat.h"
#include "files/ValueTreeStreamCheck.h"
#include "tools/CommandLineOptions.h"
#include "tools/CurveCsv.h"
#include "tools/ProbeCommands.h"

#include <algorithm>

namespace ProbeCommands
{
int inspect(const juce::StringArray& arguments, Console& console)
{
    const auto parsed = CommandLineOptions::parse(arguments, {"csv"});
    if (!parsed.ok)
    {
        console.error(parsed.error);
        return usageError;
    }
    const auto& positional = parsed.options.getPositional();
    if (positional.size() != 1)
    {
        console.error("inspect needs exactly one FILE.tfunc");
        return usageError;
    }

    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(positional[0]);
    juce::MemoryBlock bytes;
    if (!file.existsAsFile() || !file.loadFileAsData(bytes))
    {
        console.error("cannot read file " + positional[0]);
        return failure;
    }

    const auto tree = readValueTreeSafely(bytes.getData(), bytes.getSize());
    const auto preset = readPreset(tree);
    if (!preset.ok)
    {
        console.error(positional[0] + ": " + preset.error);
        return failure;
    }

    const auto [lowest, highest] = std::minmax_element(preset.values.begin(), preset.values.end());
    const auto artist = tree.getChildWithName("metadata").getProperty("artist").toString();
    console.print("file: " + file.getFullPathName());
    console.print("format version: " + juce::String(preset.formatVersion));
    console.print("artist: " + (artist.isEmpty() ? juce::String("(none)") : artist));
    console.print("values: " + juce::String((juce::int64) preset.storedValueCount) +
                  (preset.storedValueCount == preset.values.size()
                       ? juce::String()
                       : " (stretched to " + juce::String((juce::int64) preset.values.size()) + ")"));
    console.print("range: " + juce::String(*lowest, 6) + " .. " + juce::String(*highest, 6));

    if (const auto csv = parsed.options.get("csv"))
    {
        juce::String error;
        if (!CurveCsv::write(juce::File::getCurrentWorkingDirectory().getChildFile(*csv),
                             CurveCsv::format({"value"}, {&preset.values}), error))
        {
            console.error(error);
            return failure;
        }
        console.print("wrote " + *csv);
    }
    return success;
}
} // namespace ProbeCommands
