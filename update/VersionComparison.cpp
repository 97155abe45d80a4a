#include "update/VersionComparison.h"

#include <string>
#include <vector>

namespace update_check
{
namespace
{
// The leading decimal digits of each piece, without leading zeros ("" for zero).
std::vector<std::string> numericPieces(const juce::String& version)
{
    std::vector<std::string> pieces(1);
    bool inLeadingDigits = true;
    for (auto c : version)
    {
        if (c == '.')
        {
            pieces.emplace_back();
            inLeadingDigits = true;
        }
        else if (inLeadingDigits && c >= '0' && c <= '9')
        {
            if (c != '0' || !pieces.back().empty())
                pieces.back().push_back(static_cast<char>(c));
        }
        else
        {
            inLeadingDigits = false;
        }
    }
    return pieces;
}

// Compares two numbers written without leading zeros: the longer is larger, else the digits decide.
int compareNumbers(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}
} // namespace

bool isNewerVersion(const juce::String& latest, const juce::String& current)
{
    const auto a = numericPieces(latest);
    const auto b = numericPieces(current);
    const std::string zero;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
    {
        const auto order = compareNumbers(i < a.size() ? a[i] : zero, i < b.size() ? b[i] : zero);
        if (order != 0)
            return order > 0;
    }
    return false;
}
} // namespace update_check
