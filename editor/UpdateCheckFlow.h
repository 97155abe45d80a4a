#pragma once

#include "editor/OverlaySlot.h"
#include "update/UpdateCheckOverlay.h"
#include "update/UpdateCheckReceiver.h"
#include "update/UpdateCheckThread.h"

#include <memory>

namespace ui_panels
{
// "Check for Updates...": the dialog over the window in its checking state, one request at a time on
// its own thread, and the server's answer in the dialog if it is still open.
class UpdateCheckFlow final : public update_check::UpdateCheckReceiver
{
public:
    explicit UpdateCheckFlow(juce::Component& window);
    ~UpdateCheckFlow() override;

    void check();
    void showOverlay();
    void dismiss();
    void handleUpdateCheckResult(const juce::String& response, const juce::String& currentVersion) override;

    // A request still waiting for the server is asked to stop and given up to 500 ms; otherwise it ends
    // by its own time limits, and its answer no longer finds this flow.
    void stop();

    void setServerBaseUrl(const juce::String& baseUrl) { serverBaseUrl = baseUrl; }
    update_check::UpdateCheckOverlay* get() const noexcept { return slot.get(); }
    void restyle();
    void layout();

private:
    juce::Component& window;
    OverlaySlot<update_check::UpdateCheckOverlay> slot;
    std::unique_ptr<update_check::UpdateCheckThread> thread;
    bool answerPending = false; // the running request has not answered yet
    juce::String serverBaseUrl;
};
} // namespace ui_panels
