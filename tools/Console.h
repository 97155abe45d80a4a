#pragma once

#include <juce_core/juce_core.h>

// The probe's output: results on stdout, errors on stderr, and progress on stderr only when it is
// a terminal, so that scripts and logs see clean lines.
class Console
{
public:
    Console();

    void print(const juce::String& line) const;
    void error(const juce::String& message) const;

    // Rewrites the current progress line; nothing when stderr is not a terminal.
    void progress(const juce::String& text);
    void endProgress();

private:
    bool interactive = false;
    bool progressShown = false;
};
