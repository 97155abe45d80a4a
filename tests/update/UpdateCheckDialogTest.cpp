// The update dialog and its overlay: layout, looks at scale 1 and 2, and clicks through the desktop.
#include "update/UpdateCheckOverlay.h"

#include "LayoutRule.h"
#include "controls/DeferredDeletion.h"
#include "controls/ReferenceImage.h"
#include "controls/TextButtonStyle.h"
#include "controls/ThemePalette.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

using testsupport::DesktopWindow;
using testsupport::updateDialogHeightByLayoutRule;
using update_check::UpdateCheckDialog;
using update_check::UpdateDialogContent;

namespace
{
const UpdateDialogContent updateAvailable{
    "Update Available",
    "A new version is available: v1.1.10\nYou have: v1.1.4",
    {"Faster ODR fits on long captures", "Presets keep the artist name"},
    "https://downloads.corvane.audio/veltrane-probe-1.1.10.exe"};

juce::Component* child(juce::Component& parent, const juce::String& id)
{
    return parent.findChildWithID(id);
}

TEST(UpdateCheckDialog, StartsAt380By160WithACloseButtonOnly)
{
    UpdateCheckDialog dialog;
    EXPECT_EQ(dialog.getBounds(), juce::Rectangle<int>(0, 0, 380, 160));
    EXPECT_EQ(dialog.getTitleText(), "Update Check");
    EXPECT_TRUE(dialog.getMessage().isEmpty());

    auto* close = dynamic_cast<ui_core::TextButton*>(child(dialog, "closeBtn"));
    auto* download = dynamic_cast<ui_core::TextButton*>(child(dialog, "downloadBtn"));
    ASSERT_NE(close, nullptr);
    ASSERT_NE(download, nullptr);
    EXPECT_TRUE(close->isVisible());
    EXPECT_FALSE(download->isVisible());
    EXPECT_EQ(close->getText(), "Close");
    EXPECT_EQ(close->getTooltip(), "Close");
    EXPECT_EQ(download->getText(), "Download");
    EXPECT_EQ(download->getTooltip(), "Download");
    EXPECT_TRUE(close->getStyle() == ui_core::textButtonPreset());
}

TEST(UpdateCheckDialog, ButtonsSitRightAlignedInTheBottomRowOfTheContentArea)
{
    UpdateCheckDialog dialog;
    dialog.showContent(update_check::checkingContent());
    const auto h = dialog.getHeight();
    EXPECT_EQ(child(dialog, "closeBtn")->getBounds(), juce::Rectangle<int>(286, h - 52, 70, 28));

    dialog.showContent(updateAvailable);
    const auto h2 = dialog.getHeight();
    EXPECT_EQ(child(dialog, "downloadBtn")->getBounds(), juce::Rectangle<int>(246, h2 - 52, 110, 28));
    EXPECT_EQ(child(dialog, "closeBtn")->getBounds(), juce::Rectangle<int>(172, h2 - 52, 70, 28))
        << "4 to its left";

    dialog.setDownloadButtonVisible(false);
    EXPECT_EQ(child(dialog, "closeBtn")->getBounds(), juce::Rectangle<int>(286, h2 - 52, 70, 28));
}

TEST(UpdateCheckDialog, EveryTextChangeRecomputesTheHeightByTheLayoutRule)
{
    UpdateCheckDialog dialog;
    dialog.setMessage("One line");
    EXPECT_EQ(dialog.getHeight(), updateDialogHeightByLayoutRule(1));
    dialog.setMessage("Three\nshort\nlines");
    EXPECT_EQ(dialog.getHeight(), updateDialogHeightByLayoutRule(3));
    dialog.setChanges({"First", "Second", "Third"});
    EXPECT_EQ(dialog.getHeight(), updateDialogHeightByLayoutRule(3, {1, 1, 1}));

    // A change longer than the content width wraps onto a second line of the list.
    dialog.setChanges({"First", juce::String::repeatedString("wrapping words ", 4)});
    const auto wrapped = dialog.getHeight();
    EXPECT_EQ(wrapped, updateDialogHeightByLayoutRule(3, {1, 2}));

    // A title that does not fit is cut with an ellipsis, never wrapped.
    dialog.setTitle(juce::String::repeatedString("Very long title ", 10));
    EXPECT_EQ(dialog.getHeight(), wrapped);
    EXPECT_EQ(dialog.getTitle(), dialog.getTitleText()) << "and names the dialog for screen readers";
}

TEST(UpdateCheckOverlay, CentresTheDialogAndFollowsItsHeight)
{
    update_check::UpdateCheckOverlay overlay;
    overlay.setSize(700, 550);
    auto& dialog = overlay.getDialog();
    EXPECT_EQ(dialog.getMessage(), "Checking for updates...");
    EXPECT_EQ(dialog.getX(), 160);
    EXPECT_NEAR(dialog.getBounds().getCentreY(), 275, 1);

    dialog.showContent(updateAvailable);
    EXPECT_EQ(dialog.getHeight(), updateDialogHeightByLayoutRule(2, {1, 1}));
    EXPECT_NEAR(dialog.getBounds().getCentreY(), 275, 1);
}

// The states as the user sees them, at scale 1 and 2, written to the build folder; the update with
// its list and Download button is compared with its reference.
TEST(UpdateCheckDialogPictures, EachStateAtScaleOneAndTwo)
{
    const std::vector<std::pair<juce::String, UpdateDialogContent>> states{
        {"checking", update_check::checkingContent()},
        {"up-to-date", update_check::interpretUpdateResponse(R"({"version": "1.1.4"})", "1.1.4")},
        {"update-available", updateAvailable},
        {"unreachable", update_check::interpretUpdateResponse({}, "1.1.4")},
        // Longer than the card: the title ends in an ellipsis, paragraphs wrap, an unbroken word is cut
        // at the content edge.
        {"long-texts",
         {"A title much too long for the width of this small card",
          "A new version is available: v1.1.10\nYou have: v1.1.4",
          {juce::String::repeatedString("A change described at great length, ", 5),
           "https://downloads.corvane.audio/veltrane-probe/release-notes/1.1.10/everything-that-changed.html",
           "Short"},
          updateAvailable.downloadUrl}}};

    const auto& palette = ui_core::palette();
    juce::File(VELTRANE_CONTROLS_TEST_OUTPUT_DIR).createDirectory();
    for (const auto& [name, content] : states)
    {
        UpdateCheckDialog dialog;
        dialog.showContent(content);
        for (const auto scale : {1, 2})
        {
            const auto image = testsupport::snapshot(dialog, static_cast<float>(scale));
            ASSERT_EQ(image.getWidth(), 380 * scale);
            const auto file = "update-dialog-" + name + "@" + juce::String(scale) + "x";
            if (name == "update-available" && scale == 1)
                EXPECT_TRUE(testsupport::matchesReference(image, file));
            else
                ASSERT_TRUE(testsupport::writePng(
                    image, juce::File(VELTRANE_CONTROLS_TEST_OUTPUT_DIR).getChildFile(file + ".png")));

            // The card in neutral1 with its neutral2 border; the title's ink in neutral8.
            EXPECT_EQ(image.getPixelAt(12 * scale, image.getHeight() / 2), palette.neutral1);
            EXPECT_EQ(image.getPixelAt(0, image.getHeight() / 2), palette.neutral2);
            EXPECT_GT(testsupport::countPixels(image, {24 * scale, 24 * scale, 120 * scale, 20 * scale},
                                               palette.neutral8, 0),
                      10 * scale)
                << name;
        }
    }
}

// The editor's part in closing: detach at once, delete on a later turn of the message loop.
struct OverlayOwner
{
    std::unique_ptr<update_check::UpdateCheckOverlay> overlay =
        std::make_unique<update_check::UpdateCheckOverlay>();
    int closes = 0;
    juce::StringArray downloads;

    explicit OverlayOwner(DesktopWindow& window)
    {
        auto& dialog = overlay->getDialog();
        dialog.onClose = [this]
        {
            ++closes;
            ui_core::deleteOnNextMessageLoopTurn(std::move(overlay));
        };
        dialog.onDownload = [this](const juce::String& url) { downloads.add(url); };
        dialog.showContent(updateAvailable);
        window.add(*overlay, window.root().getLocalBounds());
    }
};

TEST(UpdateCheckOverlayOnDesktop, APressBesideTheCardClosesItAndOneOnTheCardDoesNot)
{
    DesktopWindow window(700, 550);
    OverlayOwner owner(window);
    juce::Component::SafePointer<juce::Component> overlay(owner.overlay.get());
    const auto card = owner.overlay->getDialog().getBounds();

    window.click(card.getTopLeft().toFloat() + juce::Point<float>(40.0f, 40.0f));
    window.click(card.getCentre().toFloat());
    EXPECT_EQ(owner.closes, 0);

    window.click({20.0f, 20.0f});
    EXPECT_EQ(owner.closes, 1);
    EXPECT_EQ(overlay->getParentComponent(), nullptr) << "detached at once";
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&overlay] { return overlay == nullptr; }))
        << "and deleted on a later turn";
}

TEST(UpdateCheckOverlayOnDesktop, DownloadPassesTheAddressAndCloseDismisses)
{
    DesktopWindow window(700, 550);
    OverlayOwner owner(window);
    auto& dialog = owner.overlay->getDialog();
    juce::Component::SafePointer<juce::Component> close(child(dialog, "closeBtn"));

    window.click(window.centreOf(*child(dialog, "downloadBtn")));
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&owner] { return owner.downloads.size() == 1; },
                                                 std::chrono::seconds(2)));
    EXPECT_EQ(owner.downloads[0], updateAvailable.downloadUrl);
    EXPECT_EQ(owner.closes, 0);

    window.click(window.centreOf(*close));
    EXPECT_TRUE(
        testsupport::runMessageLoopUntil([&close] { return close == nullptr; }, std::chrono::seconds(2)))
        << "the button that was clicked goes after its handler has returned";
    EXPECT_EQ(owner.closes, 1);
}
} // namespace
