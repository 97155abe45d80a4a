#include "tools/CommandLineOptions.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

CommandLineOptions::Parsed CommandLineOptions::parse(const juce::StringArray& arguments,
                                                     const juce::StringArray& knownOptions)
{
    Parsed result;
    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        if (!argument.startsWith("--"))
        {
            result.options.positional.add(argument);
            continue;
        }

        const auto name = argument.substring(2);
        if (!knownOptions.contains(name))
        {
            result.error = "unknown option " + argument;
            return result;
        }
        if (i + 1 >= arguments.size())
        {
            result.error = "option " + argument + " needs a value";
            return result;
        }
        if (result.options.has(name))
        {
            result.error = "option " + argument + " is given twice";
            return result;
        }
        result.options.values[name] = arguments[++i];
    }
    result.ok = true;
    return result;
}

CommandLineOptions::Parsed CommandLineOptions::parseOptionsOnly(const juce::StringArray& arguments,
                                                                const juce::StringArray& knownOptions)
{
    auto result = parse(arguments, knownOptions);
    if (result.ok && !result.options.getPositional().isEmpty())
    {
        result.ok = false;
        result.error = "unexpected argument " + result.options.getPositional()[0];
    }
    return result;
}

std::optional<juce::String> CommandLineOptions::get(const juce::String& name) const
{
    const auto found = values.find(name);
    if (found == values.end())
        return std::nullopt;
    return found->second;
}

std::optional<double> parseNumber(const juce::String& text)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty())
        return std::nullopt;

    const auto utf8 = trimmed.toStdString();
    char* end = nullptr;
    errno = 0;
    const auto value = std::strtod(utf8.c_str(), &end);
    if (end != utf8.c_str() + utf8.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(const juce::String& text)
{
    const auto value = parseNumber(text);
    if (!value || *value != std::floor(*value) || *value < INT_MIN || *value > INT_MAX)
        return std::nullopt;
    return (int) *value;
}
