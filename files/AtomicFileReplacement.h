#pragma once

#include <juce_core/juce_core.h>

// Replaces a file's content so that readers only ever see the old file or the complete new one: the
// bytes go to a hidden temporary file next to the target, which is flushed to disk and then renamed
// over the target. A write that fails part-way (a full disk, a quota) leaves the target as it was and
// removes the temporary file.
//
// File::replaceWithData is not enough: it ignores a failed write into its temporary file and renames
// the truncated file over the target anyway, and it deletes the target when given no bytes.
namespace AtomicFileReplacement
{
bool replaceWithData(const juce::File& target, const void* data, size_t numBytes);
} // namespace AtomicFileReplacement
