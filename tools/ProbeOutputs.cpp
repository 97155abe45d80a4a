#include "tools/ProbeOutputs.h"

#include "files/ApplicationDataFolders.h"
#include "tools/CurveCsv.h"

namespace ProbeOutputs
{
PluginEnvironment environmentFor(const CommandLineOptions& options, bool needsPresetFolders)
{
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    PluginEnvironment environment;

    // The preset library creates the user preset folder: only a command that uses the library gets
    // the real folders, so that a plain fit leaves the user's files alone.
    if (needsPresetFolders || options.has("user-data"))
        environment.userApplicationDataFolder = options.has("user-data")
                                                    ? cwd.getChildFile(*options.get("user-data"))
                                                    : ApplicationDataFolders::userApplicationDataFolder();
    if (needsPresetFolders || options.has("common-data"))
        environment.commonApplicationDataFolder = options.has("common-data")
                                                      ? cwd.getChildFile(*options.get("common-data"))
                                                      : ApplicationDataFolders::commonApplicationDataFolder();
    if (const auto artist = options.get("artist"))
        environment.artistName = [name = *artist] { return name; };
    return environment;
}

namespace
{
bool savePreset(const ProbeSession& session, const juce::File& target, const juce::String& shownAs,
                juce::StringArray& written, Console& console)
{
    if (!session.presetLibrary().save(target))
    {
        console.error("cannot write " + target.getFullPathName());
        return false;
    }
    written.add(shownAs);
    return true;
}
} // namespace

bool save(const ProbeSession& session, const CommandLineOptions& options, juce::StringArray& written,
          Console& console)
{
    const auto cwd = juce::File::getCurrentWorkingDirectory();

    if (const auto output = options.get("output"))
        if (!savePreset(session, cwd.getChildFile(*output), *output, written, console))
            return false;

    if (const auto name = options.get("save-to-library"))
    {
        const auto& userFolder = session.presetLibrary().getUserFolder();
        if (userFolder == juce::File() || name->trim().isEmpty() ||
            name->containsAnyOf(juce::File::getSeparatorString() + "/"))
        {
            console.error(userFolder == juce::File() ? "there is no user preset folder on this system"
                                                     : "--save-to-library needs a plain preset name");
            return false;
        }
        const auto target = userFolder.getChildFile(name->trim() + ".tfunc");
        if (!savePreset(session, target, target.getFullPathName(), written, console))
            return false;
    }

    if (const auto csv = options.get("csv"))
    {
        juce::String error;
        const auto table = session.tableValues();
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
