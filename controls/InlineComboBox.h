#pragma once

#include "controls/ComboBoxPopupLookAndFeel.h"
#include "controls/InlineComboBoxStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace ui_core
{
// The compact selector of the control strip: an upper-case caption above the selected entry's text.
// A click (or Return, Space) opens a menu of the entries; the cursor keys step through them.
class InlineComboBox final : public juce::Component, public juce::SettableTooltipClient
{
public:
    explicit InlineComboBox(const juce::String& caption);
    ~InlineComboBox() override;

    // An entry; its display text, when not empty, is shown in the box instead of the menu text. An
    // entry with a tick provider is an option that is ticked when the provider says so; choosing it
    // never changes the selected id. Ids must not be 0.
    void addItem(const juce::String& menuText, int id, const juce::String& displayText = {});
    void addItem(const juce::String& menuText, int id, std::function<bool()> tickProvider);
    void addSeparator();

    int getSelectedId() const noexcept { return selectedId; }
    // Selects without calling onChange (the parameter binding keeps the box in step this way).
    void setSelectedId(int id);

    void setStyle(const InlineComboBoxStyle& newStyle);
    const InlineComboBoxStyle& getStyle() const noexcept { return style; }

    const juce::String& getCaption() const noexcept { return caption; }
    // The text the box shows for the selected entry; empty when no entry matches.
    juce::String getShownText() const;

    // Opens the menu asynchronously, aimed at the box; a choice reaches the box only while it exists.
    void showPopupMenu();

    // Called with the chosen id after every choice the user makes, also when it was already selected.
    std::function<void(int)> onChange;

    void paint(juce::Graphics& g) override;
    void mouseEnter(const juce::MouseEvent&) override;
    void mouseExit(const juce::MouseEvent&) override;
    void mouseDown(const juce::MouseEvent&) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void enablementChanged() override { repaint(); }
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    struct Entry
    {
        juce::String menuText, displayText;
        int id = 0;
        bool separator = false;
        std::function<bool()> tickProvider;
    };

    const Entry* findSelectable(int id) const;
    void entryChosen(int id);
    void stepSelection(int direction);

    juce::String caption;
    InlineComboBoxStyle style;
    std::vector<Entry> entries;
    int selectedId = -1;
    bool hovered = false;
    bool menuOpen = false;
    // Shared with the open menu, which may outlive the box by a turn of the message loop.
    std::shared_ptr<ComboBoxPopupLookAndFeel> popupLook;
};
} // namespace ui_core
