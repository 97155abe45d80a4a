#pragma once

#include "editor/MeasurementSession.h"
#include "editor/NoticePanel.h"
#include "editor/OverlaySlot.h"

#include <functional>

namespace ui_panels
{
// The window's one notice card, which two parties fill: the save flow, with a question or a failed
// save, and the measurement, with what it found. A save's notice goes first; the measurement's comes
// back once it is answered.
class NoticeBoard
{
public:
    explicit NoticeBoard(juce::Component& window);

    void showSaveNotice(const juce::String& title, const juce::String& message,
                        const juce::StringArray& buttons, std::function<void(int)> onButton);
    void dismissSaveNotice();
    bool showsSaveNotice() const noexcept { return saveNoticeShown; }

    // What the measurement has to say now (a notice of kind none says nothing). An unchanged notice
    // is left as it stands.
    void setMeasurementNotice(const MeasurementNotice& notice);
    // Receives the buttons of the measurement's notices.
    std::function<void(int)> onMeasurementButton;

    NoticePanel* get() const noexcept { return slot.get(); }
    // Places the card over the top of the window.
    void layout();

private:
    void showMeasurementNotice();

    juce::Component& window;
    OverlaySlot<NoticePanel> slot;
    bool saveNoticeShown = false;
    MeasurementNotice measurement;
};
} // namespace ui_panels
