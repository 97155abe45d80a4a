// The update check as the window runs it: asked for through the logo menu, answered by a server on
// 127.0.0.1 that the test starts, and a window closed while the server keeps it waiting.
#include "EditorTestSupport.h"

#include "update/LayoutRule.h"
#include "update/LocalHttpServer.h"
#include "update/ThreadOrphanage.h"

#include <gtest/gtest.h>

using testsupport::DesktopWindow;
using testsupport::LocalHttpServer;
using testsupport::runMessageLoopUntil;

namespace
{
using namespace std::chrono_literals;

class UpdateCheckOnDesktop : public ::testing::Test
{
protected:
    ~UpdateCheckOnDesktop() override
    {
        editor.reset();
        DesktopWindow::pump();
    }

    void openEditor(const juce::String& serverBaseUrl)
    {
        editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
        editor->setUpdateServerBaseUrl(serverBaseUrl);
        window.add(*editor, {0, 0, 700, 550});
        DesktopWindow::pump();
    }

    void chooseCheckForUpdates()
    {
        auto* logo = editortest::find(*editor, "logo");
        ASSERT_NE(logo, nullptr);
        window.move({350.0f, 100.0f});
        window.move(window.centreOf(*logo));
        ASSERT_NE(editor->getLogoMenu(), nullptr);
        auto* entry = editor->getLogoMenu()->findChildWithID("logoMenuUpdate");
        ASSERT_NE(entry, nullptr);
        window.move(window.centreOf(*entry));
        window.click(window.centreOf(*entry));
    }

    update_check::UpdateCheckDialog& dialog() { return editor->getUpdateOverlay()->getDialog(); }

    editortest::ProbeUnderTest probe;
    DesktopWindow window{700, 550};
    std::unique_ptr<PluginProcessorEditor> editor;
};
} // namespace

TEST_F(UpdateCheckOnDesktop, ANewerVersionShowsItsChangesAndDownloadOverTheWindow)
{
    LocalHttpServer server({200, R"({"version": "1.1.10", "downloadWindows": "https://example.com/probe.exe",
                                    "changes": ["Faster fits", "Sharper glow"]})"});
    openEditor(server.baseUrl());
    chooseCheckForUpdates();
    ASSERT_FALSE(HasFatalFailure());

    auto* overlay = editor->getUpdateOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(editor->getLogoMenu(), nullptr);
    EXPECT_EQ(overlay->getBounds(), editor->getLocalBounds());
    EXPECT_EQ(dialog().getMessage(), "Checking for updates...");

    ASSERT_TRUE(runMessageLoopUntil([this] { return dialog().getTitleText() == "Update Available"; }, 10s))
        << dialog().getTitleText() << ": " << dialog().getMessage();
    EXPECT_EQ(server.firstRequestLine(), "GET /api/plugins/veltrane-probe/version HTTP/1.1");
    EXPECT_EQ(dialog().getMessage(), "A new version is available: v1.1.10\nYou have: v1.1.4");
    EXPECT_EQ(dialog().getChanges(), juce::StringArray({"Faster fits", "Sharper glow"}));
    EXPECT_TRUE(dialog().isDownloadButtonVisible());
    EXPECT_EQ(dialog().getHeight(), testsupport::updateDialogHeightByLayoutRule(2, {1, 1}));
    EXPECT_EQ(dialog().getBounds(),
              overlay->getLocalBounds().withSizeKeepingCentre(380, dialog().getHeight()));

    // Close: the overlay leaves the window at once and is deleted after the click has returned.
    const juce::Component::SafePointer<juce::Component> watched(overlay);
    window.click(window.centreOf(*dialog().findChildWithID("closeBtn")));
    EXPECT_EQ(editor->getUpdateOverlay(), nullptr);
    EXPECT_EQ(overlay->getParentComponent(), nullptr);
    EXPECT_TRUE(runMessageLoopUntil([&watched] { return watched == nullptr; }, 1s));
}

TEST_F(UpdateCheckOnDesktop, ClosingTheWindowWhileTheServerNeverAnswersTakesAboutHalfASecond)
{
    LocalHttpServer server({200, {}, LocalHttpServer::Behaviour::neverAnswer}, 2, 30s);
    openEditor(server.baseUrl());
    chooseCheckForUpdates();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(runMessageLoopUntil([&server] { return !server.firstRequestLine().empty(); }, 5s));

    const auto orphansBefore = update_check::ThreadOrphanage::unfinishedThreadCount();
    const auto closing = juce::Time::getMillisecondCounterHiRes();
    window.root().removeChildComponent(editor.get());
    editor.reset();
    const auto closingTime = juce::Time::getMillisecondCounterHiRes() - closing;
    RecordProperty("closingMilliseconds", juce::String(closingTime, 1).toStdString());
    // About 500 ms; the margin is for a loaded machine, the request itself would take 5 s.
    EXPECT_LT(closingTime, 1200.0) << "the window waits for the request no longer than about 500 ms";
    EXPECT_EQ(update_check::ThreadOrphanage::unfinishedThreadCount(), orphansBefore + 1)
        << "the thread is left to end by itself, not killed";

    // The request ends by its own timeout; its thread is then deleted, and its (empty) answer never
    // reaches the closed window: a sanitizer build would see a use after free here.
    EXPECT_TRUE(runMessageLoopUntil(
        [orphansBefore] { return update_check::ThreadOrphanage::unfinishedThreadCount() == orphansBefore; },
        15s));
    EXPECT_TRUE(server.clientHungUp());
    DesktopWindow::pump(100ms);
}

TEST_F(UpdateCheckOnDesktop, AClickBesideTheDialogClosesItAndTheLateAnswerIsIgnored)
{
    LocalHttpServer server({200, R"({"version": "1.1.4"})"});
    openEditor(server.baseUrl());
    editor->checkForUpdates();
    ASSERT_NE(editor->getUpdateOverlay(), nullptr);
    window.click({5.0f, 5.0f});
    EXPECT_EQ(editor->getUpdateOverlay(), nullptr);

    // The answer arrives and finds no dialog; asking again shows a fresh one that gets its own answer.
    ASSERT_TRUE(runMessageLoopUntil([&server] { return server.connectionsServed() == 1; }, 10s));
    DesktopWindow::pump(100ms);
    EXPECT_EQ(editor->getUpdateOverlay(), nullptr);

    editor->checkForUpdates();
    ASSERT_NE(editor->getUpdateOverlay(), nullptr);
    ASSERT_TRUE(runMessageLoopUntil([this] { return dialog().getTitleText() == "You're Up to Date"; }, 10s));
    EXPECT_EQ(dialog().getMessage(), "You are running the latest version. (v1.1.4)");
    EXPECT_FALSE(dialog().isDownloadButtonVisible());
}
