#include "editor/NoticeBoard.h"

#include <algorithm>

namespace ui_panels
{
NoticeBoard::NoticeBoard(juce::Component& windowToUse)
    : window(windowToUse)
    , slot(windowToUse)
{
}

void NoticeBoard::showSaveNotice(const juce::String& title, const juce::String& message,
                                 const juce::StringArray& buttons, std::function<void(int)> onButton)
{
    auto& notice = slot.show(std::make_unique<NoticePanel>(title, message, buttons), "notice");
    notice.onButton = std::move(onButton);
    saveNoticeShown = true;
    layout();
}

void NoticeBoard::dismissSaveNotice()
{
    if (!saveNoticeShown)
        return;
    saveNoticeShown = false;
    slot.dismiss();
    showMeasurementNotice();
}

void NoticeBoard::setMeasurementNotice(const MeasurementNotice& notice)
{
    const auto unchanged = notice.kind == measurement.kind && notice.title == measurement.title &&
                           notice.message == measurement.message && notice.buttons == measurement.buttons;
    measurement = notice;
    if (!unchanged && !saveNoticeShown)
        showMeasurementNotice();
}

void NoticeBoard::showMeasurementNotice()
{
    if (measurement.kind == MeasurementNotice::Kind::none)
    {
        slot.dismiss();
        return;
    }
    auto& notice = slot.show(
        std::make_unique<NoticePanel>(measurement.title, measurement.message, measurement.buttons), "notice");
    // The board outlives its cards: the last one goes with it, earlier ones are out of the window.
    notice.onButton = [this](int button)
    {
        if (onMeasurementButton)
            onMeasurementButton(button);
    };
    layout();
}

void NoticeBoard::layout()
{
    if (auto* notice = slot.get())
    {
        const auto width = std::min(NoticePanel::maximumWidth, std::max(window.getWidth() - 16, 0));
        notice->setBounds((window.getWidth() - width) / 2, 16, width, notice->getPreferredHeight(width));
    }
}
} // namespace ui_panels
