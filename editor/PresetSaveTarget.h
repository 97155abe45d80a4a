#pragma once

#include "files/PresetLibrary.h"

#include <juce_core/juce_core.h>

// Where a preset the user asked for really goes, and why a save failed, worked out before and after
// the preset library writes it.
namespace PresetSaveTarget
{
// The chosen file with the library's extension: another extension is replaced, none is appended.
juce::File withPresetExtension(const juce::File& chosen, const juce::String& extension);

// The file the library writes for a save aimed at target: a target inside the factory folder goes to
// the same place in the user folder; the empty path when it can go nowhere.
juce::File writtenFile(const PresetLibrary& library, const juce::File& target);

// Whether saving the chosen file would replace another existing file, one the save dialog (which
// warns only about the name it was given) did not warn about.
bool replacesUnwarnedFile(const PresetLibrary& library, const juce::File& chosen);

// A short reason, for the user, why writing the file failed ("the folder is write-protected").
juce::String failureReason(const PresetLibrary& library, const juce::File& target);
} // namespace PresetSaveTarget
