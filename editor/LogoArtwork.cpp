#include "editor/LogoArtwork.h"

#include "VeltraneLogo.h"

namespace ui_panels
{
juce::StringArray logoLayers()
{
    const auto text = [](const char* data, int size) { return juce::String::fromUTF8(data, size); };
    return {text(VeltraneLogo::layer1frame_svg, VeltraneLogo::layer1frame_svgSize),
            text(VeltraneLogo::layer2screen_svg, VeltraneLogo::layer2screen_svgSize),
            text(VeltraneLogo::layer3grid_svg, VeltraneLogo::layer3grid_svgSize),
            text(VeltraneLogo::layer4ticks_svg, VeltraneLogo::layer4ticks_svgSize),
            text(VeltraneLogo::layer5curve_svg, VeltraneLogo::layer5curve_svgSize),
            text(VeltraneLogo::layer6lamp_svg, VeltraneLogo::layer6lamp_svgSize)};
}
} // namespace ui_panels
