#pragma once

#include <juce_core/juce_core.h>

namespace update_check
{
// The path of the version answer on the update server.
inline constexpr const char* versionEndpointPath = "/api/plugins/veltrane-probe/version";

// The update server this build asks (scheme, host, optional port), fixed when the plug-in is built.
juce::String configuredUpdateServerBaseUrl();

// The version endpoint on the server at the given base URL; a trailing slash of the base is ignored.
juce::URL versionEndpoint(const juce::String& baseUrl);

// The product version this build reports and compares against ("1.1.4").
juce::String currentProductVersion();
} // namespace update_check
