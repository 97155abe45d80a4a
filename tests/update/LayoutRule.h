#pragma once

#include <cmath>
#include <vector>

namespace testsupport
{
// The update dialog's height by its layout rule, from line counts read off the texts: 24 inset, the
// title line (19.26), 8, the message, then (with changes) 4 and each item followed by 2, then 8, the
// 28 button row and 24 inset. Wrapped lines are the font height (14.98) plus 1.2 of spacing apart.
inline int updateDialogHeightByLayoutRule(int messageLines, const std::vector<int>& changeLines = {})
{
    const auto paragraph = [](int lines) { return lines * 14.98 + (lines - 1) * 1.2; };
    auto height = 24 + 19.26 + 8 + paragraph(messageLines);
    if (!changeLines.empty())
    {
        height += 4;
        for (const auto lines : changeLines)
            height += paragraph(lines) + 2;
    }
    return static_cast<int>(std::ceil(height + 8 + 28 + 24));
}
} // namespace testsupport
