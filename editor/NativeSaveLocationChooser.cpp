#include "editor/NativeSaveLocationChooser.h"

namespace ui_panels
{
void NativeSaveLocationChooser::open(const Request& request, Answer answer)
{
    chooser = std::make_unique<juce::FileChooser>(request.title, request.initialLocation, request.filePattern,
                                                  true);
    const auto flags = juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles |
                       juce::FileBrowserComponent::warnAboutOverwriting;

    chooser->launchAsync(flags,
                         [this, answer = std::move(answer)](const juce::FileChooser& finished)
                         {
                             const auto chosen = finished.getResult();
                             // The chooser is still on the stack: let it go on a later turn.
                             std::shared_ptr<juce::FileChooser> done(std::move(chooser));
                             juce::MessageManager::callAsync([done] {});
                             if (answer)
                                 answer(chosen);
                         });
}
} // namespace ui_panels
