#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <optional>

// "--name value" options and positional arguments of one command. Unknown options, options
// without a value and repeated options are usage errors.
class CommandLineOptions
{
public:
    struct Parsed;

    // knownOptions: names without the dashes.
    static Parsed parse(const juce::StringArray& arguments, const juce::StringArray& knownOptions);
    // As parse, for commands that take options only: a positional argument is an error too.
    static Parsed parseOptionsOnly(const juce::StringArray& arguments, const juce::StringArray& knownOptions);

    std::optional<juce::String> get(const juce::String& name) const;
    bool has(const juce::String& name) const { return values.count(name) != 0; }
    const juce::StringArray& getPositional() const noexcept { return positional; }

private:
    std::map<juce::String, juce::String> values;
    juce::StringArray positional;
};

struct CommandLineOptions::Parsed
{
    bool ok = false;
    CommandLineOptions options;
    juce::String error;
};

// Strict number parsing: the whole text must be the number.
std::optional<double> parseNumber(const juce::String& text);
std::optional<int> parseInteger(const juce::String& text);
