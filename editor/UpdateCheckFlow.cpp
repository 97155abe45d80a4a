#include "editor/UpdateCheckFlow.h"

#include "update/UpdateDialogContent.h"
#include "update/UpdateServer.h"

namespace ui_panels
{
UpdateCheckFlow::UpdateCheckFlow(juce::Component& windowToUse)
    : window(windowToUse)
    , slot(windowToUse)
    , serverBaseUrl(update_check::configuredUpdateServerBaseUrl())
{
}

UpdateCheckFlow::~UpdateCheckFlow()
{
    stop();
}

void UpdateCheckFlow::stop()
{
    update_check::UpdateCheckThread::stopAndRelease(std::move(thread));
}

void UpdateCheckFlow::check()
{
    showOverlay();
    // One request at a time: one still waiting for the server fills the dialog just shown.
    if (thread != nullptr && thread->isThreadRunning() && answerPending)
        return;

    // A finished thread is deleted here; one that has answered but not quite ended ends on its own.
    update_check::UpdateCheckThread::stopAndRelease(std::move(thread), 0);
    answerPending = true;
    thread = std::make_unique<update_check::UpdateCheckThread>(serverBaseUrl,
                                                               update_check::currentProductVersion(), *this);
    thread->startThread(juce::Thread::Priority::low);
}

void UpdateCheckFlow::showOverlay()
{
    auto& overlay = slot.show(std::make_unique<update_check::UpdateCheckOverlay>(), "updateOverlay");
    // The dialog lives inside the window and is detached before it goes.
    overlay.getDialog().onClose = [this] { dismiss(); };
    layout();
}

void UpdateCheckFlow::dismiss()
{
    slot.dismiss();
}

void UpdateCheckFlow::handleUpdateCheckResult(const juce::String& response,
                                              const juce::String& currentVersion)
{
    answerPending = false;
    // A dismissed dialog ignores the late answer.
    if (slot)
        slot->getDialog().showContent(update_check::interpretUpdateResponse(response, currentVersion));
}

void UpdateCheckFlow::restyle()
{
    if (slot)
        slot->getDialog().applyTheme();
}

void UpdateCheckFlow::layout()
{
    if (slot)
        slot->setBounds(window.getLocalBounds());
}
} // namespace ui_panels
