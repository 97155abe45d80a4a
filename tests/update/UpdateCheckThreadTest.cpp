// The update check against a real HTTP server on 127.0.0.1: what the dialog shows for each answer,
// and what happens when the window closes while the server keeps the request waiting.
#include "update/UpdateCheckThread.h"
#include "update/ThreadOrphanage.h"
#include "update/UpdateCheckDialog.h"
#include "update/UpdateServer.h"

#include "LayoutRule.h"
#include "LocalHttpServer.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

using testsupport::LocalHttpServer;
using update_check::ThreadOrphanage;

namespace
{
// Short limits, so that a request left waiting ends within the test.
constexpr update_check::RequestLimits quickLimits{1000, 10000, 64 * 1024};

// The editor's part in a check, as far as this library reaches: it starts the check, fills its
// dialog with the answer, and on closing stops the thread without waiting more than 500 ms.
class CheckingWindow final : public update_check::UpdateCheckReceiver
{
public:
    explicit CheckingWindow(int& answerCount)
        : answers(answerCount)
    {
    }

    ~CheckingWindow() override { update_check::UpdateCheckThread::stopAndRelease(std::move(thread)); }

    void check(const juce::String& baseUrl, update_check::RequestLimits limits = quickLimits)
    {
        thread = std::make_unique<update_check::UpdateCheckThread>(
            baseUrl, update_check::currentProductVersion(), *this, limits);
        thread->startThread(juce::Thread::Priority::low);
    }

    bool requestHasEnded() const { return !thread->isThreadRunning(); }

    void handleUpdateCheckResult(const juce::String& response, const juce::String& currentVersion) override
    {
        ++answers;
        dialog.showContent(update_check::interpretUpdateResponse(response, currentVersion));
    }

    update_check::UpdateCheckDialog dialog;

private:
    int& answers;
    std::unique_ptr<update_check::UpdateCheckThread> thread;
};

int heightByLayoutRule(int messageLines, const std::vector<int>& changeLines = {})
{
    return testsupport::updateDialogHeightByLayoutRule(messageLines, changeLines);
}

struct ServedAnswer
{
    const char* name;
    int status;
    const char* body;
    const char* title;
    const char* message;
    std::vector<const char*> bullets;
    bool downloadShown;
    int height;
    std::size_t trailingSpaces = 0; // pads the body beyond the size limit
};

void PrintTo(const ServedAnswer& answer, std::ostream* out)
{
    *out << answer.name;
}

const char* const unreadable = "Unable to parse update information from server.";
const char* const unreachable = "Unable to check for updates.\nPlease check your internet connection.";

class UpdateCheckAgainstServer : public ::testing::TestWithParam<ServedAnswer>
{
};

TEST_P(UpdateCheckAgainstServer, TheDialogShowsTheAnswer)
{
    const auto& expected = GetParam();
    LocalHttpServer server({expected.status, expected.body + std::string(expected.trailingSpaces, ' ')});
    int answers = 0;
    CheckingWindow window(answers);
    window.check(server.baseUrl());

    ASSERT_TRUE(testsupport::runMessageLoopUntil([&answers] { return answers == 1; }));
    EXPECT_EQ(server.firstRequestLine(), "GET /api/plugins/veltrane-probe/version HTTP/1.1");

    const auto& dialog = window.dialog;
    EXPECT_EQ(dialog.getTitleText(), expected.title);
    EXPECT_EQ(dialog.getMessage(), expected.message);
    juce::StringArray bullets;
    for (const auto* bullet : expected.bullets)
        bullets.add(bullet);
    EXPECT_EQ(dialog.getChanges(), bullets);
    EXPECT_EQ(dialog.isDownloadButtonVisible(), expected.downloadShown);
    EXPECT_EQ(dialog.getHeight(), expected.height);
    EXPECT_EQ(dialog.getWidth(), 380);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateCheckAgainstServer,
    ::testing::Values(
        ServedAnswer{"UpToDate",
                     200,
                     R"({"version": "1.1.4"})",
                     "You're Up to Date",
                     "You are running the latest version. (v1.1.4)",
                     {},
                     false,
                     heightByLayoutRule(1)},
        ServedAnswer{"UpdateAvailable",
                     200,
                     R"({"version": "1.1.10",
                                    "downloadWindows": "https://downloads.corvane.audio/veltrane-probe-1.1.10.exe",
                                    "changes": ["Faster ODR fits", "Presets keep the artist name"]})",
                     "Update Available",
                     "A new version is available: v1.1.10\nYou have: v1.1.4",
                     {"Faster ODR fits", "Presets keep the artist name"},
                     true,
                     heightByLayoutRule(2, {1, 1})},
        ServedAnswer{"SecondPieceNewer",
                     200,
                     R"({"version": "1.2"})",
                     "Update Available",
                     "A new version is available: v1.2\nYou have: v1.1.4",
                     {},
                     false,
                     heightByLayoutRule(2)},
        ServedAnswer{"MissingPieceCountsZero",
                     200,
                     R"({"version": "1.1"})",
                     "You're Up to Date",
                     "You are running the latest version. (v1.1.4)",
                     {},
                     false,
                     heightByLayoutRule(1)},
        ServedAnswer{"OlderWithDownload",
                     200,
                     R"({"version": "1.0.0", "downloadWindows": "https://corvane.audio/probe.exe"})",
                     "You're Up to Date",
                     "You are running the latest version. (v1.1.4)",
                     {},
                     true,
                     heightByLayoutRule(1)},
        ServedAnswer{
            "JsonArray", 200, R"(["1.2.0"])", "Update Check", unreadable, {}, false, heightByLayoutRule(1)},
        ServedAnswer{"PlainText",
                     200,
                     "Service temporarily unavailable",
                     "Update Check",
                     unreadable,
                     {},
                     false,
                     heightByLayoutRule(1)},
        ServedAnswer{"EmptyBody", 200, "", "Update Check", unreachable, {}, false, heightByLayoutRule(2)},
        ServedAnswer{"ServerError",
                     500,
                     R"({"version": "9.9.9"})",
                     "Update Check",
                     unreachable,
                     {},
                     false,
                     heightByLayoutRule(2)},
        ServedAnswer{"OversizedBody",
                     200,
                     R"({"version": "1.2"})",
                     "Update Check",
                     unreadable,
                     {},
                     false,
                     heightByLayoutRule(1),
                     std::size_t(1) << 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateCheck, AClosedPortIsUnreachable)
{
    int answers = 0;
    CheckingWindow window(answers);
    window.check("http://127.0.0.1:" + juce::String(LocalHttpServer::closedPort()));

    ASSERT_TRUE(testsupport::runMessageLoopUntil([&answers] { return answers == 1; }));
    EXPECT_EQ(window.dialog.getTitleText(), "Update Check");
    EXPECT_EQ(window.dialog.getMessage(), unreachable);
    EXPECT_FALSE(window.dialog.isDownloadButtonVisible());
    EXPECT_EQ(window.dialog.getHeight(), heightByLayoutRule(2));
}

double millisecondsSince(double start)
{
    return juce::Time::getMillisecondCounterHiRes() - start;
}

TEST(UpdateCheck, ClosingTheWindowWhileTheServerNeverAnswersWaitsHalfASecondAndHearsNothingMore)
{
    LocalHttpServer server({200, {}, LocalHttpServer::Behaviour::neverAnswer});
    int answers = 0;
    auto window = std::make_unique<CheckingWindow>(answers);
    window->check(server.baseUrl());
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&server] { return !server.firstRequestLine().empty(); }));

    const auto closing = juce::Time::getMillisecondCounterHiRes();
    window.reset();
    const auto closingTime = millisecondsSince(closing);
    EXPECT_GE(closingTime, 450.0) << "it waited for the thread";
    EXPECT_LT(closingTime, 900.0) << "but no longer than about 500 ms";
    EXPECT_EQ(ThreadOrphanage::unfinishedThreadCount(), 1);

    // The request ends by its own timeout (1 s without data), and the thread is deleted after it.
    EXPECT_TRUE(testsupport::runMessageLoopUntil([] { return ThreadOrphanage::unfinishedThreadCount() == 0; },
                                                 std::chrono::seconds(5)));
    EXPECT_TRUE(server.clientHungUp());
    testsupport::runMessageLoopFor(std::chrono::milliseconds(100));
    EXPECT_EQ(answers, 0);
}

TEST(UpdateCheck, AnAnswerPostedJustBeforeTheWindowClosedIsDropped)
{
    LocalHttpServer server({200, R"({"version": "1.2"})"});
    int answers = 0;
    auto window = std::make_unique<CheckingWindow>(answers);
    window->check(server.baseUrl());
    // The thread posts its answer and ends; the message loop has not run it yet.
    const auto deadline = juce::Time::getMillisecondCounter() + 10000;
    while (!window->requestHasEnded() && juce::Time::getMillisecondCounter() < deadline)
        juce::Thread::sleep(5);
    ASSERT_TRUE(window->requestHasEnded());

    window.reset();
    testsupport::runMessageLoopFor(std::chrono::milliseconds(100));
    EXPECT_EQ(answers, 0);
}

TEST(UpdateCheck, AnEndlessBodyStopsAtTheStopRequestOrTheTimeLimit)
{
    LocalHttpServer server({200, {}, LocalHttpServer::Behaviour::trickleForever}, 2);
    int answers = 0;
    auto window = std::make_unique<CheckingWindow>(answers);
    window->check(server.baseUrl());
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&server] { return !server.firstRequestLine().empty(); }));
    testsupport::runMessageLoopFor(std::chrono::milliseconds(300));

    const auto closing = juce::Time::getMillisecondCounterHiRes();
    window.reset();
    EXPECT_LT(millisecondsSince(closing), 400.0) << "the read noticed the stop between chunks";
    EXPECT_EQ(ThreadOrphanage::unfinishedThreadCount(), 0);

    // Left alone, the request gives up at its total time limit and reports the server unreachable.
    CheckingWindow patient(answers);
    patient.check(server.baseUrl(), {1000, 1500, 64 * 1024});
    ASSERT_TRUE(
        testsupport::runMessageLoopUntil([&answers] { return answers == 1; }, std::chrono::seconds(5)));
    EXPECT_EQ(patient.dialog.getMessage(), unreachable);
}

TEST(UpdateCheck, AFloodingServerIsCutOffAtTheSizeLimitLongBeforeTheTimeLimit)
{
    LocalHttpServer server({200, {}, LocalHttpServer::Behaviour::floodForever});
    int answers = 0;
    CheckingWindow window(answers);
    window.check(server.baseUrl());

    // Reading stops one byte past the limit, so memory stays bounded and the answer comes at once
    // rather than at the 10 s time limit.
    ASSERT_TRUE(
        testsupport::runMessageLoopUntil([&answers] { return answers == 1; }, std::chrono::seconds(5)));
    EXPECT_EQ(window.dialog.getMessage(), unreadable);
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&server] { return server.clientHungUp(); }));
}

TEST(UpdateServer, TheConfiguredServerIsHttpsAndTheVersionPathIsAppended)
{
    EXPECT_TRUE(update_check::configuredUpdateServerBaseUrl().startsWith("https://"));
    EXPECT_EQ(update_check::versionEndpoint("https://updates.example.com:8443/").toString(false),
              "https://updates.example.com:8443/api/plugins/veltrane-probe/version");
    EXPECT_EQ(update_check::currentProductVersion(), "1.1.4");
}

TEST(UpdateRequest, BodiesThatAreNotUtf8TextKeepEveryByteSoTheSizeLimitStillHolds)
{
    const std::string utf8 = "{\"changes\": [\"Grüße\"]}";
    EXPECT_EQ(update_check::decodeResponseBody(utf8.data(), utf8.size()),
              juce::String::fromUTF8(utf8.c_str()));

    // A NUL would end the text early, and a body cut short could pass the size limit.
    const std::string withNul = std::string("{}") + '\0' + std::string(70000, ' ');
    EXPECT_EQ(update_check::decodeResponseBody(withNul.data(), withNul.size()).length(),
              static_cast<int>(withNul.size()));

    const std::string latin1(70000, '\xe9');
    const auto text = update_check::decodeResponseBody(latin1.data(), latin1.size());
    EXPECT_EQ(text.length(), 70000);
    EXPECT_GE(text.getNumBytesAsUTF8(), latin1.size());
}

// A thread that ignores stop requests for a while, as one inside a network call does.
class BusyThread final : public juce::Thread
{
public:
    explicit BusyThread(std::atomic<bool>& endedFlag)
        : juce::Thread("Busy")
        , ended(endedFlag)
    {
    }

    void run() override
    {
        juce::Thread::sleep(300);
        ended = true;
    }

private:
    std::atomic<bool>& ended;
};

TEST(ThreadOrphanage, TheFrameworkShutdownWaitsForThreadsStillRunning)
{
    std::atomic<bool> ended{false};
    auto thread = std::make_unique<BusyThread>(ended);
    thread->startThread();
    ThreadOrphanage::adopt(std::move(thread));
    EXPECT_EQ(ThreadOrphanage::unfinishedThreadCount(), 1);

    ThreadOrphanage::deleteInstance(); // as the last plug-in instance's shutdown does, before unloading
    EXPECT_TRUE(ended);
    EXPECT_EQ(ThreadOrphanage::unfinishedThreadCount(), 0);
}
} // namespace
