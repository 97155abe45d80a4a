#include "files/PresetLibrary.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#if !JUCE_WINDOWS
#include <csignal>
#include <sys/resource.h>
#endif

namespace
{
class PresetLibraryTest : public ::testing::Test
{
protected:
    PresetLibraryTest()
        : factoryFolder(temporary.get().getChildFile("common/Corvane/Transfer Functions"))
        , userFolder(temporary.get().getChildFile("user/Corvane/Transfer Functions"))
    {
        factoryFolder.createDirectory();
    }

    std::unique_ptr<PresetLibrary> makeLibrary(juce::File factory, juce::File user)
    {
        return std::make_unique<PresetLibrary>(
            [this](juce::MemoryBlock& block, const juce::File& target)
            {
                writeTargets.add(target.getFullPathName());
                // A failing writer leaves the block empty. (Copying an empty block trips the sanitizer
                // inside the framework, so it is not copied at all.)
                if (!presetBytes.isEmpty())
                    block = presetBytes;
            },
            [](const void*, int, const juce::File&) {}, [] { return juce::String(); },
            [this](const juce::String& path) { savedPaths.add(path); }, "tfunc", std::move(factory),
            std::move(user));
    }

    PresetLibrary& library()
    {
        if (libraryInstance == nullptr)
            libraryInstance = makeLibrary(factoryFolder, userFolder);
        return *libraryInstance;
    }

    static void writeFile(const juce::File& file, const juce::String& content)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText(content);
    }

    void writeOverrides(const juce::String& entries) const
    {
        writeFile(userFolder.getSiblingFile("factory-overrides.xml"),
                  "<?xml version=\"1.0\"?>\n<FactoryOverrides>" + entries + "</FactoryOverrides>");
    }

    // The index as "factory:" or "user:" and the path inside that folder, with "/" between folders.
    juce::StringArray indexedNames()
    {
        juce::StringArray names;
        for (const auto& entry : library().getIndex())
        {
            const auto& folder = entry.isFactory ? factoryFolder : userFolder;
            names.add((entry.isFactory ? "factory:" : "user:") +
                      entry.file.getRelativePathFrom(folder).replace(juce::File::getSeparatorString(), "/"));
        }
        return names;
    }

    testsupport::TemporaryFolder temporary;
    juce::File factoryFolder, userFolder;
    juce::MemoryBlock presetBytes{"new preset bytes", 16};
    juce::StringArray writeTargets, savedPaths;
    std::unique_ptr<PresetLibrary> libraryInstance;
};

juce::String sep()
{
    return juce::File::getSeparatorString();
}
} // namespace

TEST_F(PresetLibraryTest, ConstructionCreatesTheUserFolderWithItsParents)
{
    ASSERT_FALSE(userFolder.getParentDirectory().exists());

    library();

    EXPECT_TRUE(userFolder.isDirectory());
    EXPECT_TRUE(library().getIndex().empty()) << "construction makes no scan";
}

TEST_F(PresetLibraryTest, SaveIntoFactoryFolderLandsAtTheSamePlaceInTheUserFolder)
{
    const auto factoryPreset = factoryFolder.getChildFile("Tubes/warm.tfunc");
    writeFile(factoryPreset, "factory original");

    ASSERT_TRUE(library().save(factoryPreset));

    const auto userPreset = userFolder.getChildFile("Tubes/warm.tfunc");
    EXPECT_EQ(userPreset.loadFileAsString(), "new preset bytes");
    EXPECT_EQ(factoryPreset.loadFileAsString(), "factory original");
    EXPECT_EQ(factoryFolder.findChildFiles(juce::File::findFilesAndDirectories, true).size(), 2);
    EXPECT_EQ(writeTargets, juce::StringArray(userPreset.getFullPathName()));
    EXPECT_EQ(savedPaths, juce::StringArray(userPreset.getFullPathName()));
    EXPECT_EQ(indexedNames(), juce::StringArray("factory:Tubes/warm.tfunc", "user:Tubes/warm.tfunc"));
}

TEST_F(PresetLibraryTest, SaveOutsideBothFoldersWritesExactlyThere)
{
    const auto elsewhere = temporary.get().getChildFile("Desktop/curve.tfunc");
    elsewhere.getParentDirectory().createDirectory();

    ASSERT_TRUE(library().save(elsewhere));

    EXPECT_EQ(elsewhere.loadFileAsString(), "new preset bytes");
    EXPECT_EQ(savedPaths, juce::StringArray(elsewhere.getFullPathName()));
    EXPECT_TRUE(userFolder.findChildFiles(juce::File::findFilesAndDirectories, true).isEmpty());
}

TEST_F(PresetLibraryTest, SaveReplacesAnExistingPresetWhole)
{
    const auto target = userFolder.getChildFile("long.tfunc");
    writeFile(target, juce::String::repeatedString("old content ", 1000));

    ASSERT_TRUE(library().save(target));

    EXPECT_EQ(target.loadFileAsString(), "new preset bytes");
}

TEST_F(PresetLibraryTest, WithoutUserFolderAFactoryTargetIsRefused)
{
    const auto factoryPreset = factoryFolder.getChildFile("warm.tfunc");
    writeFile(factoryPreset, "factory original");
    const auto library = makeLibrary(factoryFolder, juce::File());

    EXPECT_FALSE(library->save(factoryPreset));
    EXPECT_EQ(factoryPreset.loadFileAsString(), "factory original");
}

TEST_F(PresetLibraryTest, EmptyPresetFromWriterFailsAndLeavesTargetUntouched)
{
    const auto target = userFolder.getChildFile("kept.tfunc");
    library();
    writeFile(target, "previous preset");
    library().rescan();
    const auto indexBefore = indexedNames();

    presetBytes.reset();

    EXPECT_FALSE(library().save(target));
    EXPECT_EQ(target.loadFileAsString(), "previous preset");
    EXPECT_TRUE(savedPaths.isEmpty());
    EXPECT_EQ(indexedNames(), indexBefore);
}

TEST_F(PresetLibraryTest, NoWriteCallbackFailsTheSave)
{
    PresetLibrary library({}, {}, {}, {}, "tfunc", factoryFolder, userFolder);
    const auto target = userFolder.getChildFile("a.tfunc");

    EXPECT_FALSE(library.save(target));
    EXPECT_FALSE(target.exists());
}

namespace
{
// Where a preset cannot be written: below an ordinary file, or over a folder that holds files.
enum class UnwritableTarget
{
    ParentIsAFile,
    TargetIsAFolder
};
} // namespace

class UnwritableTargetTest : public PresetLibraryTest, public ::testing::WithParamInterface<UnwritableTarget>
{
};

TEST_P(UnwritableTargetTest, SaveFailsAndKeepsTheIndex)
{
    ASSERT_TRUE(library().save(userFolder.getChildFile("first.tfunc")));
    const auto indexBefore = indexedNames();
    savedPaths.clear();

    juce::File target;
    if (GetParam() == UnwritableTarget::ParentIsAFile)
    {
        writeFile(temporary.get().getChildFile("plain"), "a file, not a folder");
        target = temporary.get().getChildFile("plain/preset.tfunc");
    }
    else
    {
        target = userFolder.getChildFile("folder.tfunc");
        writeFile(target.getChildFile("inside.txt"), "keeps the folder non-empty");
    }

    EXPECT_FALSE(library().save(target));
    EXPECT_TRUE(savedPaths.isEmpty());
    EXPECT_EQ(indexedNames(), indexBefore);
}

INSTANTIATE_TEST_SUITE_P(Targets, UnwritableTargetTest,
                         ::testing::Values(UnwritableTarget::ParentIsAFile,
                                           UnwritableTarget::TargetIsAFolder));

#if !JUCE_WINDOWS
struct DiskFillingCase
{
    const char* name;
    std::size_t presetSize, diskRoom;
};

void PrintTo(const DiskFillingCase& c, std::ostream* out)
{
    *out << c.name;
}

class DiskFillsDuringTheWriteTest : public PresetLibraryTest,
                                    public ::testing::WithParamInterface<DiskFillingCase>
{
};

// A write that stops part-way, as on a full disk, is imitated with a file-size limit: the kernel
// accepts the first bytes of the preset and refuses the rest. A preset smaller than the file
// stream's buffer reaches the disk only when the stream is flushed, and the flush does not report a
// short write: only the size check after it can tell.
TEST_P(DiskFillsDuringTheWriteTest, NeverLeavesATruncatedPreset)
{
    const auto target = userFolder.getChildFile("precious.tfunc");
    library();
    writeFile(target, "previous preset");

    presetBytes.setSize(GetParam().presetSize, true);
    presetBytes.fillWith(0x5a);

    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = original;
    limited.rlim_cur = GetParam().diskRoom;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

    const auto saved = library().save(target);

    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(target.loadFileAsString(), "previous preset");
    EXPECT_EQ(userFolder.findChildFiles(juce::File::findFiles, false, "*").size(), 1)
        << "the partial temporary file is removed";
}

INSTANTIATE_TEST_SUITE_P(PresetLibraryTest, DiskFillsDuringTheWriteTest,
                         ::testing::Values(DiskFillingCase{"LargePreset", 256 * 1024, 64 * 1024},
                                           DiskFillingCase{"PresetSmallerThanTheStreamBuffer", 8 * 1024,
                                                           4 * 1024}),
                         [](const auto& info) { return std::string(info.param.name); });
#endif

namespace
{
struct OverrideCase
{
    const char* name;
    const char* overrides; // the content of the overrides file; nullptr for no file
    bool listed;
};

void PrintTo(const OverrideCase& overrideCase, std::ostream* out)
{
    *out << overrideCase.name;
}
} // namespace

class FactoryOverrideTest : public PresetLibraryTest, public ::testing::WithParamInterface<OverrideCase>
{
};

TEST_P(FactoryOverrideTest, HiddenFactoryPresetIsLeftOutOfTheIndex)
{
    writeFile(factoryFolder.getChildFile("A.tfunc"), "a");
    writeFile(factoryFolder.getChildFile("B.tfunc"), "b");
    library();
    if (GetParam().overrides != nullptr)
        writeFile(userFolder.getSiblingFile("factory-overrides.xml"), GetParam().overrides);

    library().rescan();

    auto expected = juce::StringArray("factory:A.tfunc", "factory:B.tfunc");
    if (!GetParam().listed)
        expected.remove(0);
    EXPECT_EQ(indexedNames(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Overrides, FactoryOverrideTest,
    ::testing::Values(
        OverrideCase{"HiddenTrue",
                     "<FactoryOverrides><Entry key=\"Transfer Functions/A.tfunc\" "
                     "hidden=\"true\"/></FactoryOverrides>",
                     false},
        OverrideCase{"HiddenFalse",
                     "<FactoryOverrides><Entry key=\"Transfer Functions/A.tfunc\" "
                     "hidden=\"false\"/></FactoryOverrides>",
                     true},
        OverrideCase{"KeyDiffersInCase",
                     "<FactoryOverrides><Entry key=\"transfer functions/a.tfunc\" "
                     "hidden=\"true\"/></FactoryOverrides>",
                     true},
        OverrideCase{"HiddenAbsent",
                     "<FactoryOverrides><Entry key=\"Transfer Functions/A.tfunc\"/></FactoryOverrides>",
                     true},
        OverrideCase{"FirstMatchingEntryWins",
                     "<FactoryOverrides><Other key=\"Transfer Functions/A.tfunc\" hidden=\"1\"/>"
                     "<Entry key=\"Transfer Functions/A.tfunc\" hidden=\"false\"/></FactoryOverrides>",
                     false},
        OverrideCase{"ForeignRoot",
                     "<Overrides><Entry key=\"Transfer Functions/A.tfunc\" hidden=\"true\"/></Overrides>",
                     true},
        OverrideCase{"Malformed",
                     "<FactoryOverrides><Entry key=\"Transfer Functions/A.tfunc\" hidden=", true},
        OverrideCase{"NoFile", nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresetLibraryTest, FactoryPresetInSubfolderIsKeyedByItsRelativePath)
{
    const auto preset = factoryFolder.getChildFile("Tubes/warm.tfunc");
    writeFile(preset, "w");
    library();
    writeOverrides("<Entry key=\"Transfer Functions/Tubes" + sep() + "warm.tfunc\" hidden=\"true\"/>");

    EXPECT_EQ(library().factoryPresetKey(preset), "Transfer Functions/Tubes" + sep() + "warm.tfunc");
    library().rescan();
    EXPECT_TRUE(library().getIndex().empty());
}

TEST_F(PresetLibraryTest, AnyNameEndingInTheExtensionIsIndexed)
{
    library();
    writeFile(userFolder.getChildFile("notatfunc"), "n");
    writeFile(userFolder.getChildFile("curve.tfunc"), "c");
    writeFile(userFolder.getChildFile("readme.txt"), "r");
    writeFile(userFolder.getChildFile("curve.tfunc.bak"), "b");

    library().rescan();

    EXPECT_EQ(indexedNames(), juce::StringArray("user:curve.tfunc", "user:notatfunc"));
}

TEST_F(PresetLibraryTest, IndexSortsByPathIgnoringCase)
{
    library();
    for (const auto* name : {"b.tfunc", "C.tfunc", "a.tfunc", "Tubes/x.tfunc"})
        writeFile(userFolder.getChildFile(name), "x");
    writeFile(factoryFolder.getChildFile("z.tfunc"), "x");
    if (juce::File::areFileNamesCaseSensitive())
        writeFile(userFolder.getChildFile("A.tfunc"), "x");

    library().rescan();

    // The factory folder sorts first only because its full path does ("common" before "user").
    juce::StringArray expected("factory:z.tfunc");
    if (juce::File::areFileNamesCaseSensitive())
        expected.add("user:A.tfunc");
    expected.addArray({"user:a.tfunc", "user:b.tfunc", "user:C.tfunc", "user:Tubes/x.tfunc"});
    EXPECT_EQ(indexedNames(), expected);
}
