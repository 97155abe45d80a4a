#pragma once

#include <juce_core/juce_core.h>

namespace update_check
{
// Whether a download address from the server may be offered and opened: an https URL with a host, at
// most 2048 characters, made only of the characters URLs are written with. A browser is started
// through the system's shell on some platforms, so characters a shell would act on inside a quoted
// argument ($, `, ", \) are refused along with spaces, control and non-ASCII characters.
bool isSafeDownloadUrl(const juce::String& url);

// Opens the address in the user's default web browser when it is safe; returns whether it tried.
bool openDownloadPage(const juce::String& url);
} // namespace update_check
