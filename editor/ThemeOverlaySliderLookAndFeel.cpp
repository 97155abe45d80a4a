#include "editor/ThemeOverlaySliderLookAndFeel.h"

#include "editor/ThemeOverlayLayout.h"

namespace ui_panels
{
int ThemeOverlaySliderLookAndFeel::getSliderThumbRadius(juce::Slider&)
{
    return themeOverlayTrackInset;
}
} // namespace ui_panels
