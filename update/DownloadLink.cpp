#include "update/DownloadLink.h"

namespace update_check
{
namespace
{
constexpr int maximumUrlLength = 2048;

bool isUrlCharacter(juce::juce_wchar c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return juce::String("-._~:/?#[]@!&'()*+,;=%").containsChar(c);
}
} // namespace

bool isSafeDownloadUrl(const juce::String& url)
{
    const juce::String scheme = "https://";
    if (url.length() > maximumUrlLength || !url.startsWithIgnoreCase(scheme))
        return false;

    const auto rest = url.substring(scheme.length());
    if (rest.isEmpty() || !juce::CharacterFunctions::isLetterOrDigit(rest[0]))
        return false; // no host

    for (auto c : url)
        if (!isUrlCharacter(c))
            return false;
    return true;
}

bool openDownloadPage(const juce::String& url)
{
    return isSafeDownloadUrl(url) && juce::URL(url).launchInDefaultBrowser();
}
} // namespace update_check
