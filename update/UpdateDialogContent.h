#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

namespace update_check
{
// What the update dialog shows: its title, message, the list of changes and the address behind the
// Download button (empty: no button).
struct UpdateDialogContent
{
    juce::String title;
    juce::String message;
    juce::StringArray changes;
    juce::String downloadUrl;

    bool showsDownload() const { return downloadUrl.isNotEmpty(); }
    bool operator==(const UpdateDialogContent& other) const;
};

// The server's answer is untrusted; these bound what it can make the window do.
struct AnswerLimits
{
    // Larger bodies are not parsed (an honest answer is a few hundred bytes).
    static constexpr std::size_t maximumResponseBytes = 64 * 1024;
    // Deeper arrays and objects are not parsed: the parser recurses once per level.
    static constexpr int maximumNesting = 32;
    // Longer version texts are not taken for a version.
    static constexpr int maximumVersionLength = 64;
    // Further changes are dropped; longer ones end in an ellipsis at this length.
    static constexpr int maximumChanges = 50;
    static constexpr int maximumChangeLength = 300;
};

// While the request runs.
UpdateDialogContent checkingContent();

// The dialog for a server's answer (empty when the request failed) and the version this build
// reports: unreachable, unreadable, development build, update available or up to date.
UpdateDialogContent interpretUpdateResponse(const juce::String& response, const juce::String& currentVersion);
} // namespace update_check
