#include "tools/Console.h"

#include <cstdio>
#include <unistd.h>

Console::Console()
    : interactive(isatty(fileno(stderr)) != 0)
{
}

void Console::print(const juce::String& line) const
{
    std::fprintf(stdout, "%s\n", line.toRawUTF8());
    std::fflush(stdout);
}

void Console::error(const juce::String& message) const
{
    std::fprintf(stderr, "veltrane-probe: error: %s\n", message.toRawUTF8());
    std::fflush(stderr);
}

void Console::progress(const juce::String& text)
{
    if (!interactive)
        return;
    std::fprintf(stderr, "\r\033[K%s", text.toRawUTF8());
    std::fflush(stderr);
    progressShown = true;
}

void Console::endProgress()
{
    if (!progressShown)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    progressShown = false;
}
