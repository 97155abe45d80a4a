#include "controls/SvgIcon.h"

namespace ui_core
{
std::unique_ptr<juce::Drawable> createDrawableFromSvgText(const juce::String& svgText)
{
    const auto xml = juce::parseXML(svgText);
    if (xml == nullptr || !xml->hasTagName("svg"))
        return {};
    return juce::Drawable::createFromSVG(*xml);
}

std::unique_ptr<juce::Drawable> recolouredCopy(const juce::Drawable& drawable, juce::Colour colour)
{
    auto copy = drawable.createCopy();
    copy->replaceColour(juce::Colours::black, colour);
    return copy;
}

juce::Rectangle<float> artworkArea(const juce::Drawable& drawable)
{
    if (const auto* composite = dynamic_cast<const juce::DrawableComposite*>(&drawable))
        if (!composite->getContentArea().isEmpty())
            return composite->getContentArea();
    return drawable.getDrawableBounds();
}

void fitArtworkInto(juce::Drawable& drawable, juce::Rectangle<float> area)
{
    const auto artwork = artworkArea(drawable);
    if (area.isEmpty() || artwork.isEmpty())
        return;
    drawable.setTransform(
        juce::RectanglePlacement(juce::RectanglePlacement::centred).getTransformToFit(artwork, area));
}
} // namespace ui_core
