#include "controls/InlineComboBox.h"

#include "controls/StyleColours.h"
#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
InlineComboBox::InlineComboBox(const juce::String& captionText)
    : caption(captionText)
    , popupLook(std::make_shared<ComboBoxPopupLookAndFeel>())
{
    popupLook->setStyle(style.popupStyle);
    setWantsKeyboardFocus(true);
    setSize(100, 40);
}

InlineComboBox::~InlineComboBox()
{
    // A menu of a box that is going away offers choices that can no longer apply: close it. Menus are
    // modal, so an open one is this box's.
    if (menuOpen)
        juce::PopupMenu::dismissAllActiveMenus();
}

void InlineComboBox::addItem(const juce::String& menuText, int id, const juce::String& displayText)
{
    jassert(id != 0);
    entries.push_back({menuText, displayText, id, false, nullptr});
    repaint();
}

void InlineComboBox::addItem(const juce::String& menuText, int id, std::function<bool()> tickProvider)
{
    jassert(id != 0);
    entries.push_back({menuText, {}, id, false, std::move(tickProvider)});
    repaint();
}

void InlineComboBox::addSeparator()
{
    entries.push_back({{}, {}, 0, true, nullptr});
}

void InlineComboBox::setSelectedId(int id)
{
    if (id == selectedId)
        return;
    selectedId = id;
    repaint();
}

void InlineComboBox::setStyle(const InlineComboBoxStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    popupLook->setStyle(style.popupStyle);
    repaint();
}

const InlineComboBox::Entry* InlineComboBox::findSelectable(int id) const
{
    for (const auto& entry : entries)
        if (entry.id == id && !entry.separator && entry.tickProvider == nullptr)
            return &entry;
    return nullptr;
}

juce::String InlineComboBox::getShownText() const
{
    if (const auto* entry = findSelectable(selectedId))
        return entry->displayText.isNotEmpty() ? entry->displayText : entry->menuText;
    return {};
}

void InlineComboBox::paint(juce::Graphics& g)
{
    const auto enabled = isEnabled();
    const auto alpha = enabled ? 1.0f : 0.4f;

    if (hovered && enabled)
    {
        const auto bounds = getLocalBounds().toFloat();
        g.setColour(atOpacity(style.hoverFillColour, style.hoverFillAlpha));
        g.fillRoundedRectangle(bounds, style.cornerRadius);
        g.setColour(atOpacity(style.hoverOutlineColour, style.hoverOutlineAlpha));
        g.drawRoundedRectangle(bounds, style.cornerRadius, style.hoverOutlineWidth);
    }

    const auto x = style.horizontalPadding;
    const auto y = style.verticalPadding;
    const auto w = std::max(0, getWidth() - 2 * style.horizontalPadding);
    const auto h = std::max(0, getHeight() - 2 * style.verticalPadding);
    const auto captionHeight = std::min(h, (h - style.captionGap) / 2);
    const auto gap = std::min(h - captionHeight, style.captionGap);
    const auto valueHeight = h - captionHeight - gap;
    const juce::Justification justification(style.justification);

    if (caption.isNotEmpty() && captionHeight > 0 && w > 0)
    {
        g.setColour(fadedBy(style.captionColour, alpha));
        g.setFont(style.captionFont);
        g.drawText(caption.toUpperCase(), x, y, w, captionHeight, justification, true);
    }

    const auto shown = getShownText();
    if (shown.isNotEmpty() && valueHeight > 0 && w > 0)
    {
        g.setColour(fadedBy(style.valueColour, alpha));
        g.setFont(style.valueFont);
        g.drawText(shown, x, y + captionHeight + gap, w, valueHeight, justification, true);
    }
}

void InlineComboBox::mouseEnter(const juce::MouseEvent&)
{
    hovered = true;
    repaint();
}

void InlineComboBox::mouseExit(const juce::MouseEvent&)
{
    hovered = false;
    repaint();
}

void InlineComboBox::mouseDown(const juce::MouseEvent&)
{
    if (isEnabled())
        showPopupMenu();
}

bool InlineComboBox::keyPressed(const juce::KeyPress& key)
{
    if (!isEnabled())
        return false;
    if (key == juce::KeyPress::returnKey || key == juce::KeyPress::spaceKey)
    {
        showPopupMenu();
        return true;
    }
    if (key == juce::KeyPress::upKey || key == juce::KeyPress::downKey)
    {
        stepSelection(key == juce::KeyPress::upKey ? -1 : 1);
        return true;
    }
    return false;
}

void InlineComboBox::stepSelection(int direction)
{
    std::vector<int> ids;
    for (const auto& entry : entries)
        if (!entry.separator && entry.tickProvider == nullptr)
            ids.push_back(entry.id);
    if (ids.empty())
        return;

    const auto current = std::find(ids.begin(), ids.end(), selectedId);
    auto index = current == ids.end() ? (direction > 0 ? 0 : static_cast<int>(ids.size()) - 1)
                                      : static_cast<int>(current - ids.begin()) + direction;
    if (index < 0 || index >= static_cast<int>(ids.size()))
        return;
    entryChosen(ids[static_cast<std::size_t>(index)]);
}

void InlineComboBox::showPopupMenu()
{
    juce::PopupMenu menu;
    menu.setLookAndFeel(popupLook.get());
    for (const auto& entry : entries)
    {
        if (entry.separator)
        {
            menu.addSeparator();
            continue;
        }
        const auto ticked = entry.tickProvider != nullptr ? entry.tickProvider() : entry.id == selectedId;
        menu.addItem(entry.id, entry.menuText, true, ticked);
    }

    const auto options =
        juce::PopupMenu::Options().withTargetComponent(this).withDeletionCheck(*this).withMinimumWidth(
            getWidth());
    menuOpen = true;
    // The look-and-feel travels with the callback, which outlives the menu window.
    menu.showMenuAsync(
        options,
        [box = juce::Component::SafePointer<InlineComboBox>(this), look = popupLook](int chosenId)
        {
            if (box == nullptr)
                return;
            box->menuOpen = false;
            if (chosenId != 0)
                box->entryChosen(chosenId);
        });
}

void InlineComboBox::entryChosen(int id)
{
    const Entry* chosen = nullptr;
    for (const auto& entry : entries)
        if (entry.id == id && !entry.separator)
        {
            chosen = &entry;
            break;
        }
    if (chosen == nullptr)
        return;

    // Options with a tick provider report the choice only; entries change the selection first.
    if (chosen->tickProvider == nullptr && id != selectedId)
    {
        selectedId = id;
        repaint();
    }

    if (onChange)
    {
        // A copy: the owner may replace the callback while it runs.
        const auto callback = onChange;
        callback(id);
    }
}

std::unique_ptr<juce::AccessibilityHandler> InlineComboBox::createAccessibilityHandler()
{
    auto actions = juce::AccessibilityActions()
                       .addAction(juce::AccessibilityActionType::press, [this] { showPopupMenu(); })
                       .addAction(juce::AccessibilityActionType::showMenu, [this] { showPopupMenu(); });
    return std::make_unique<WidgetAccessibilityHandler>(
        *this, juce::AccessibilityRole::comboBox, std::move(actions),
        [this] { return caption.isNotEmpty() ? caption : getTooltip(); }, [this] { return getShownText(); });
}
} // namespace ui_core
