#include "editor/PresetSaveTarget.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{
struct Library
{
    Library()
        : library([](juce::MemoryBlock& block, const juce::File&) { block.append("preset", 6); }, {}, {}, {},
                  "tfunc", folder.get().getChildFile("factory"), folder.get().getChildFile("user"))
    {
        folder.get().getChildFile("factory").createDirectory();
    }

    testsupport::TemporaryFolder folder;
    PresetLibrary library;
};
} // namespace

TEST(PresetSaveTarget, TheExtensionIsReplacedOrAppendedAndAReplacedFileMustHaveBeenWarnedAbout)
{
    Library l;
    const auto user = l.library.getUserFolder();
    EXPECT_EQ(PresetSaveTarget::withPresetExtension(user.getChildFile("x.txt"), "tfunc"),
              user.getChildFile("x.tfunc"));
    EXPECT_EQ(PresetSaveTarget::withPresetExtension(user.getChildFile("x"), "tfunc"),
              user.getChildFile("x.tfunc"));
    EXPECT_EQ(PresetSaveTarget::withPresetExtension(user.getChildFile("x.tfunc"), "tfunc"),
              user.getChildFile("x.tfunc"));

    // The dialog warned about "x.txt" (which does not exist), not about the "x.tfunc" it becomes.
    ASSERT_TRUE(user.getChildFile("x.tfunc").replaceWithText("old"));
    EXPECT_TRUE(PresetSaveTarget::replacesUnwarnedFile(l.library, user.getChildFile("x.txt")));
    EXPECT_FALSE(PresetSaveTarget::replacesUnwarnedFile(l.library, user.getChildFile("x.tfunc")));
    EXPECT_FALSE(PresetSaveTarget::replacesUnwarnedFile(l.library, user.getChildFile("new.txt")));

    // A save aimed into the factory folder lands in the user folder, over a file nobody warned about.
    const auto factoryTarget = l.library.getFactoryFolder().getChildFile("x.tfunc");
    EXPECT_EQ(PresetSaveTarget::writtenFile(l.library, factoryTarget), user.getChildFile("x.tfunc"));
    EXPECT_TRUE(PresetSaveTarget::replacesUnwarnedFile(l.library, factoryTarget));
}

TEST(PresetSaveTarget, TellsWhyAWriteFailed)
{
    Library l;
    const auto user = l.library.getUserFolder();
    EXPECT_EQ(PresetSaveTarget::failureReason(l.library, user.getChildFile("missing/x.tfunc")),
              "the folder does not exist");
    ASSERT_TRUE(user.getChildFile("taken.tfunc").createDirectory());
    ASSERT_TRUE(user.getChildFile("taken.tfunc/inside").replaceWithText("kept"));
    EXPECT_EQ(PresetSaveTarget::failureReason(l.library, user.getChildFile("taken.tfunc")),
              "a folder of that name is in the way");
    EXPECT_FALSE(l.library.save(user.getChildFile("taken.tfunc")));
}
