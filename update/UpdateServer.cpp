#include "update/UpdateServer.h"

namespace update_check
{
juce::String configuredUpdateServerBaseUrl()
{
    return VELTRANE_UPDATE_BASE_URL;
}

juce::URL versionEndpoint(const juce::String& baseUrl)
{
    auto base = baseUrl.trim();
    while (base.endsWithChar('/'))
        base = base.dropLastCharacters(1);
    return juce::URL(base + versionEndpointPath);
}

juce::String currentProductVersion()
{
    return VELTRANE_PRODUCT_VERSION;
}
} // namespace update_check
