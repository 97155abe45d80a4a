#include "editor/PlotContextMenu.h"

#include "controls/PopupMenuStyle.h"

namespace ui_panels
{
namespace
{
enum ContextMenuItem
{
    gridFaint = 101,
    gridMedium = 102,
    gridStrong = 103,
    displaySegments = 201,
    displayScatter = 202
};
} // namespace

void PlotContextMenu::show(juce::Component& target, const juce::MouseEvent& click, std::uint8_t gridStrength,
                           std::uint8_t displayMode)
{
    juce::PopupMenu grid;
    grid.addItem(gridFaint, "Faint", true, gridStrength == 0);
    grid.addItem(gridMedium, "Medium", true, gridStrength == 1);
    grid.addItem(gridStrong, "Strong", true, gridStrength >= 2);
    juce::PopupMenu mode;
    mode.addItem(displaySegments, "Segments", true, displayMode == 0);
    mode.addItem(displayScatter, "Scatter", true, displayMode == 1);

    juce::PopupMenu menu;
    menu.addSubMenu("Grid Strength", grid);
    menu.addSubMenu("Display Mode", mode);

    look->setStyle(ui_core::contextMenuPopupStyle());
    menu.setLookAndFeel(look.get());

    const auto options = juce::PopupMenu::Options()
                             .withTargetComponent(&target)
                             .withTargetScreenArea({click.getScreenX(), click.getScreenY(), 1, 1})
                             .withDeletionCheck(target);
    // The look-and-feel travels with the callback, which outlives the menu window.
    menu.showMenuAsync(options,
                       [weakThis = juce::WeakReference<PlotContextMenu>(this), keptLook = look](int chosenId)
                       {
                           if (weakThis != nullptr)
                               weakThis->chosen(chosenId);
                       });
}

void PlotContextMenu::chosen(int itemId)
{
    switch (itemId)
    {
        case gridFaint:
        case gridMedium:
        case gridStrong:
            if (onGridStrength)
                onGridStrength(static_cast<std::uint8_t>(itemId - gridFaint));
            break;
        case displaySegments:
        case displayScatter:
            if (onDisplayMode)
                onDisplayMode(static_cast<std::uint8_t>(itemId - displaySegments));
            break;
        default:
            break; // dismissed
    }
}
} // namespace ui_panels
