#include "update/UpdateDialogContent.h"

#include "update/DownloadLink.h"
#include "update/VersionComparison.h"

namespace update_check
{
namespace
{
const juce::String defaultTitle = "Update Check";

// Whether arrays and objects nest deeper than the limit (brackets inside strings do not count).
bool nestsTooDeeply(const juce::String& text)
{
    int depth = 0;
    bool inString = false, escaped = false;
    for (auto c : text)
    {
        if (inString)
        {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        }
        else if (c == '"')
            inString = true;
        else if (c == '[' || c == '{')
        {
            if (++depth > AnswerLimits::maximumNesting)
                return true;
        }
        else if (c == ']' || c == '}')
            --depth;
    }
    return false;
}

bool isScalar(const juce::var& value)
{
    return !(value.isObject() || value.isArray() || value.isBinaryData() || value.isMethod());
}

juce::String scalarText(const juce::var& value)
{
    return isScalar(value) ? value.toString() : juce::String();
}

juce::StringArray changesOf(const juce::var& answer)
{
    juce::StringArray changes;
    if (const auto* items = answer["changes"].getArray())
        for (const auto& item : *items)
        {
            if (changes.size() == AnswerLimits::maximumChanges)
                break;
            if (!isScalar(item))
                continue;
            auto text = item.toString();
            if (text.length() > AnswerLimits::maximumChangeLength)
                text = text.substring(0, AnswerLimits::maximumChangeLength - 1) +
                       juce::String::charToString(0x2026);
            changes.add(text);
        }
    return changes;
}

UpdateDialogContent withMessage(const juce::String& message)
{
    return {defaultTitle, message, {}, {}};
}
} // namespace

bool UpdateDialogContent::operator==(const UpdateDialogContent& other) const
{
    return title == other.title && message == other.message && changes == other.changes &&
           downloadUrl == other.downloadUrl;
}

UpdateDialogContent checkingContent()
{
    return withMessage("Checking for updates...");
}

UpdateDialogContent interpretUpdateResponse(const juce::String& response, const juce::String& currentVersion)
{
    if (response.isEmpty())
        return withMessage("Unable to check for updates.\nPlease check your internet connection.");

    const auto unreadable = withMessage("Unable to parse update information from server.");
    if (response.getNumBytesAsUTF8() > AnswerLimits::maximumResponseBytes || nestsTooDeeply(response))
        return unreadable;

    // A byte-order mark is not JSON, but harmless.
    const auto text = response[0] == 0xfeff ? response.substring(1) : response;
    juce::var answer;
    if (juce::JSON::parse(text, answer).failed() || answer.getDynamicObject() == nullptr)
        return unreadable;

    const auto latest = scalarText(answer["version"]);
    if (latest.isEmpty() || latest.length() > AnswerLimits::maximumVersionLength)
        return unreadable;

    UpdateDialogContent content;
    const auto download = scalarText(answer["downloadWindows"]);
    content.downloadUrl = isSafeDownloadUrl(download) ? download : juce::String();

    if (currentVersion.startsWith("dev-"))
    {
        content.title = "Development Build";
        content.message = "You are running a development build.\n\nLatest release: v" + latest;
        content.changes = changesOf(answer);
    }
    else if (isNewerVersion(latest, currentVersion))
    {
        content.title = "Update Available";
        content.message = "A new version is available: v" + latest + "\nYou have: v" + currentVersion;
        content.changes = changesOf(answer);
    }
    else
    {
        content.title = "You're Up to Date";
        content.message = "You are running the latest version. (v" + currentVersion + ")";
    }
    return content;
}
} // namespace update_check
