#include "controls/IconArtwork.h"

#include "VeltraneIcons.h"

namespace ui_core
{
namespace
{
juce::String textOf(const char* data, int size)
{
    return juce::String::fromUTF8(data, size);
}
} // namespace

juce::String playIconSvg()
{
    return textOf(VeltraneIcons::play_svg, VeltraneIcons::play_svgSize);
}

juce::String freezeIconSvg()
{
    return textOf(VeltraneIcons::freeze_svg, VeltraneIcons::freeze_svgSize);
}

juce::String saveIconSvg()
{
    return textOf(VeltraneIcons::save_svg, VeltraneIcons::save_svgSize);
}
} // namespace ui_core
