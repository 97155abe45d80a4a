// The dialog's texts for every answer a server can give, hostile ones included.
#include "update/UpdateDialogContent.h"
#include "update/DownloadLink.h"

#include <gtest/gtest.h>

using update_check::AnswerLimits;
using update_check::interpretUpdateResponse;

namespace
{
const juce::String unreadable = "Unable to parse update information from server.";
const juce::String upToDateTitle = "You're Up to Date";
const juce::String downloadUrl = "https://downloads.corvane.audio/veltrane-probe/1.2.0/setup.exe";

juce::String answerWith(const juce::String& version, const juce::String& download = {},
                        const juce::StringArray& changes = {})
{
    juce::String json = "{\"version\": " + juce::JSON::toString(version);
    if (download.isNotEmpty())
        json << ", \"downloadWindows\": " << juce::JSON::toString(download);
    if (!changes.isEmpty())
    {
        juce::Array<juce::var> items;
        for (const auto& change : changes)
            items.add(change);
        json << ", \"changes\": " << juce::JSON::toString(juce::var(items), true);
    }
    return json + "}";
}

// The states a local server leads to are checked against one (UpdateCheckThreadTest); these are the
// ones it does not reach.
TEST(UpdateDialogContent, ADevelopmentBuildShowsTheLatestReleaseAndItsChanges)
{
    const auto development = interpretUpdateResponse(answerWith("1.0.0", downloadUrl, {"One"}), "dev-42");
    EXPECT_EQ(development.title, "Development Build");
    EXPECT_EQ(development.message, "You are running a development build.\n\nLatest release: v1.0.0");
    EXPECT_EQ(development.changes, juce::StringArray({"One"}));
    EXPECT_TRUE(development.showsDownload());

    const auto upToDate = interpretUpdateResponse(answerWith("1.1.4", {}, {"One"}), "1.1.4");
    EXPECT_EQ(upToDate.title, upToDateTitle);
    EXPECT_TRUE(upToDate.changes.isEmpty()) << "no list when there is nothing new";
}

TEST(UpdateDialogContent, AnswersThatAreNotAnObjectWithAVersionAreUnreadable)
{
    for (const auto* body : {"[\"1.2.0\"]", "1.2.0", "Service Unavailable", "   ", "{\"latest\": \"1.2.0\"}",
                             "{\"version\": \"\"}", "{\"version\": null}", "{\"version\": {\"major\": 2}}",
                             "{\"version\": [1, 2]}", "{\"version\": \"1.2\""})
        EXPECT_EQ(interpretUpdateResponse(body, "1.1.4").message, unreadable) << body;

    // Any scalar is taken as its text.
    EXPECT_EQ(interpretUpdateResponse("{\"version\": 2}", "1.1.4").message,
              "A new version is available: v2\nYou have: v1.1.4");
}

TEST(UpdateDialogContent, AnswersOverTheSizeLimitAreRefusedUnread)
{
    const auto padded = [](std::size_t size)
    {
        const auto json = answerWith("1.2.0");
        return json + juce::String::repeatedString(" ", static_cast<int>(size - json.getNumBytesAsUTF8()));
    };
    EXPECT_EQ(interpretUpdateResponse(padded(AnswerLimits::maximumResponseBytes), "1.1.4").title,
              "Update Available");
    EXPECT_EQ(interpretUpdateResponse(padded(AnswerLimits::maximumResponseBytes + 1), "1.1.4").message,
              unreadable);
}

TEST(UpdateDialogContent, DeeplyNestedAnswersAreRefusedBeforeTheParserRecurses)
{
    // 20000 levels would overflow a thread's stack in the recursive parser; brackets inside strings
    // do not count.
    const auto deep = juce::String::repeatedString("[", 20000) + juce::String::repeatedString("]", 20000);
    EXPECT_EQ(interpretUpdateResponse(deep, "1.1.4").message, unreadable);
    const auto deepInside = "{\"version\": \"1.2\", \"x\": " + deep + "}";
    EXPECT_EQ(interpretUpdateResponse(deepInside, "1.1.4").message, unreadable);

    const auto shallow = juce::String::repeatedString("[", AnswerLimits::maximumNesting - 1) +
                         juce::String::repeatedString("]", AnswerLimits::maximumNesting - 1);
    const auto bracketsInText = "{\"version\": \"1.2\", \"changes\": [\"" +
                                juce::String::repeatedString("[{", 500) + "\\\"[\"], \"x\": " + shallow + "}";
    EXPECT_EQ(interpretUpdateResponse(bracketsInText, "1.1.4").title, "Update Available");
}

TEST(UpdateDialogContent, OnlySafeHttpsDownloadAddressesGetTheButton)
{
    const auto shown = [](const juce::String& url)
    { return interpretUpdateResponse(answerWith("1.2.0", url), "1.1.4").showsDownload(); };

    EXPECT_TRUE(shown(downloadUrl));
    EXPECT_TRUE(shown("HTTPS://example.com/a?b=c&d=%20#top"));
    EXPECT_FALSE(shown("http://downloads.corvane.audio/setup.exe")) << "plain http";
    EXPECT_FALSE(shown("file:///C:/Windows/System32/calc.exe"));
    EXPECT_FALSE(shown("javascript:alert(1)"));
    EXPECT_FALSE(shown("https://"));
    EXPECT_FALSE(shown("https:///setup.exe")) << "no host";
    EXPECT_FALSE(shown("https://example.com/$(touch /tmp/owned)")) << "shell expansion";
    EXPECT_FALSE(shown("https://example.com/\"; rm -rf ~; \""));
    EXPECT_FALSE(shown("https://example.com/`id`"));
    EXPECT_FALSE(shown("https://example.com/a b"));
    EXPECT_FALSE(shown("https://example.com/a\nb"));
    EXPECT_FALSE(shown("https://example.com/" + juce::String::repeatedString("a", 2100)));
    EXPECT_FALSE(update_check::openDownloadPage("http://example.com")) << "refused before any browser starts";

    const auto numeric = interpretUpdateResponse("{\"version\": \"1.2\", \"downloadWindows\": 42}", "1.1.4");
    EXPECT_FALSE(numeric.showsDownload());
}

TEST(UpdateDialogContent, TheChangesListIsCappedInCountAndLength)
{
    juce::StringArray many;
    for (int i = 0; i < 60; ++i)
        many.add(juce::String(i) + juce::String::repeatedString("x", 400));
    const auto content = interpretUpdateResponse(answerWith("1.2.0", {}, many), "1.1.4");

    ASSERT_EQ(content.changes.size(), AnswerLimits::maximumChanges);
    EXPECT_TRUE(content.changes[0].startsWith("0xxx"));
    EXPECT_TRUE(content.changes[49].startsWith("49xx")) << "the first ones are kept, in order";
    for (const auto& change : content.changes)
    {
        EXPECT_EQ(change.length(), AnswerLimits::maximumChangeLength);
        EXPECT_EQ(change.getLastCharacter(), 0x2026) << "cut changes end in an ellipsis";
    }

    const auto mixed = interpretUpdateResponse(
        "{\"version\": \"1.2\", \"changes\": [\"Short\", 7, {\"a\": 1}, [\"b\"], true]}", "1.1.4");
    EXPECT_EQ(mixed.changes, juce::StringArray({"Short", "7", "1"})) << "objects and arrays have no text";

    const auto notAList = interpretUpdateResponse("{\"version\": \"1.2\", \"changes\": \"Faster\"}", "1.1.4");
    EXPECT_TRUE(notAList.changes.isEmpty());
}

TEST(UpdateDialogContent, AVersionTooLongToBeOneIsUnreadable)
{
    const auto longest = "1." + juce::String::repeatedString("9", AnswerLimits::maximumVersionLength - 2);
    EXPECT_EQ(interpretUpdateResponse(answerWith(longest), "1.1.4").title, "Update Available");
    EXPECT_EQ(interpretUpdateResponse(answerWith(longest + "9"), "1.1.4").message, unreadable);
}
} // namespace
