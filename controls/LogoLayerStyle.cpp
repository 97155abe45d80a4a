#include "controls/LogoLayerStyle.h"

#include "controls/ThemePalette.h"

#include <tuple>

namespace ui_core
{
bool LogoLayerStyle::operator==(const LogoLayerStyle& other) const
{
    return std::tie(layerColours, hoveredLayerColours, cornerRadius, hoverBackgroundColour,
                    hoverBackgroundAlpha) == std::tie(other.layerColours, other.hoveredLayerColours,
                                                      other.cornerRadius, other.hoverBackgroundColour,
                                                      other.hoverBackgroundAlpha);
}

LogoLayerStyle logoPreset()
{
    const auto& p = palette();
    LogoLayerStyle s;
    s.layerColours = {p.neutral8, p.neutral8, p.neutral0, p.neutral8, p.neutral0, p.neutral8};
    s.hoveredLayerColours = {p.neutral9, p.primary10, p.neutral0, p.neutral9, p.neutral0, p.primary6};
    s.cornerRadius = 6.0f;
    return s;
}
} // namespace ui_core
