#include "controls/SliderKeyboardControl.h"

#include <cmath>

namespace ui_core
{
namespace
{
// A step of the given fraction of the range, a whole number of intervals and at least one.
double stepOf(const juce::Slider& slider, double fraction)
{
    const auto step = (slider.getMaximum() - slider.getMinimum()) * fraction;
    const auto interval = slider.getInterval();
    if (interval <= 0.0)
        return step;
    return std::max(1.0, std::round(step / interval)) * interval;
}
} // namespace

bool stepSliderWithKey(juce::Slider& slider, const juce::KeyPress& key)
{
    const auto code = key.getKeyCode();
    const auto modifiers = key.getModifiers();
    if (modifiers.isCtrlDown() || modifiers.isAltDown() || modifiers.isCommandDown())
        return false;

    const auto fine = modifiers.isShiftDown();
    const auto value = slider.getValue();
    double target = value;

    if (code == juce::KeyPress::upKey || code == juce::KeyPress::rightKey)
        target = value + stepOf(slider, fine ? 0.001 : 0.01);
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::leftKey)
        target = value - stepOf(slider, fine ? 0.001 : 0.01);
    else if (code == juce::KeyPress::pageUpKey)
        target = value + stepOf(slider, 0.1);
    else if (code == juce::KeyPress::pageDownKey)
        target = value - stepOf(slider, 0.1);
    else if (code == juce::KeyPress::homeKey)
        target = slider.getMinimum();
    else if (code == juce::KeyPress::endKey)
        target = slider.getMaximum();
    else
        return false;

    target = juce::jlimit(slider.getMinimum(), slider.getMaximum(), target);
    if (target != value)
    {
        const juce::Slider::ScopedDragNotification gesture(slider);
        slider.setValue(target, juce::sendNotificationSync);
    }
    return true;
}
} // namespace ui_core
