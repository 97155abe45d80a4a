#include "tools/ProbeOutputs.h"

#include "files/PresetFormat.h"
#include "tools/CurveCsv.h"

namespace ProbeOutputs
{
bool save(const ProbeSession& session, const CommandLineOptions& options, juce::StringArray& written,
          Console& console)
{
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto table = session.tableValues();

    if (const auto output = options.get("output"))
    {
        const auto preset = writePreset(table, options.get("artist").value_or(juce::String()));
        if (!preset.ok)
        {
            console.error(preset.error);
            return false;
        }
        const auto file = cwd.getChildFile(*output);
        if (!file.replaceWithData(preset.bytes.getData(), preset.bytes.getSize()))
        {
            console.error("cannot write " + file.getFullPathName());
            return false;
        }
        written.add(*output);
    }

    if (const auto csv = options.get("csv"))
    {
        juce::String error;
        const auto text = CurveCsv::format({"raw", "smoothed"}, {&session.rawBins(), &table});
        if (!CurveCsv::write(cwd.getChildFile(*csv), text, error))
        {
            console.error(error);
            return false;
        }
        written.add(*csv);
    }
    return true;
}
} // namespace ProbeOutputs
