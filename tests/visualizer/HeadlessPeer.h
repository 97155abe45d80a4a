#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace visualizertest
{
// A window without a display: JUCE's own peer machinery (repaint regions, handlePaint, vertical-blank
// listeners) with the test deciding when repaints are carried out and when the display's vertical
// blank arrives, so that paints can be counted exactly. A component uses it by returning one from
// createNewPeer.
class HeadlessPeer : public juce::ComponentPeer
{
public:
    HeadlessPeer(juce::Component& component, int styleFlags)
        : ComponentPeer(component, styleFlags)
        , bounds(component.getBounds())
    {
    }

    // Paints the regions asked for since the last call, as a platform window would.
    void performAnyPendingRepaintsNow() override
    {
        if (pending.isEmpty() || bounds.isEmpty())
            return;
        juce::Image image(juce::Image::ARGB, bounds.getWidth(), bounds.getHeight(), true,
                          juce::SoftwareImageType());
        juce::LowLevelGraphicsSoftwareRenderer context(image);
        context.clipToRectangleList(pending);
        pending.clear();
        handlePaint(context);
    }

    void verticalBlank()
    {
        vBlankListeners.call([](auto& listener) { listener.onVBlank(); });
    }

    void repaint(const juce::Rectangle<int>& area) override { pending.add(area); }
    const juce::RectangleList<int>& getPendingRepaints() const noexcept { return pending; }

    void* getNativeHandle() const override { return nullptr; }
    void setVisible(bool) override {}
    void setTitle(const juce::String&) override {}
    void setBounds(const juce::Rectangle<int>& newBounds, bool) override { bounds = newBounds; }
    juce::Rectangle<int> getBounds() const override { return bounds; }
    juce::Point<float> localToGlobal(juce::Point<float> p) override
    {
        return p + bounds.getPosition().toFloat();
    }
    juce::Point<float> globalToLocal(juce::Point<float> p) override
    {
        return p - bounds.getPosition().toFloat();
    }
    using ComponentPeer::globalToLocal;
    using ComponentPeer::localToGlobal;
    void setMinimised(bool) override {}
    bool isMinimised() const override { return false; }
    void setFullScreen(bool) override {}
    bool isFullScreen() const override { return false; }
    void setIcon(const juce::Image&) override {}
    bool contains(juce::Point<int> p, bool) const override { return bounds.withZeroOrigin().contains(p); }
    OptionalBorderSize getFrameSizeIfPresent() const override { return {}; }
    juce::BorderSize<int> getFrameSize() const override { return {}; }
    bool setAlwaysOnTop(bool) override { return false; }
    void toFront(bool) override {}
    void toBehind(ComponentPeer*) override {}
    bool isFocused() const override { return true; }
    void grabFocus() override {}
    void setAlpha(float) override {}
    juce::StringArray getAvailableRenderingEngines() override { return {"Software Renderer"}; }
    void textInputRequired(juce::Point<int>, juce::TextInputTarget&) override {}

private:
    juce::Rectangle<int> bounds;
    juce::RectangleList<int> pending;
};
} // namespace visualizertest
