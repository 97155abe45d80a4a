#include "editor/ArtistNameDialog.h"

#include "controls/TextStyles.h"
#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <algorithm>
#include <cmath>

namespace ui_panels
{
namespace
{
constexpr int buttonGap = 4; // SpacingScale entry 6
constexpr int fieldGap = 8;  // SpacingScale entry 7
// Extra space between wrapped lines, in pixels, as in the window's other dialogs.
constexpr float lineSpacing = 1.2f;

juce::Font fontAtHeight(const ui_core::FontSpec& spec, float height)
{
    auto font = ui_core::makeFont(spec).font;
    if (font.getHeight() != height)
        font.setHeight(height);
    return font;
}

juce::Font titleFont()
{
    return fontAtHeight(ui_core::titleFontSpec, 19.26f);
}

juce::Font messageFont()
{
    return fontAtHeight(ui_core::captionFontSpec, 14.98f);
}
} // namespace

ArtistNameDialog::ArtistNameDialog()
{
    setWantsKeyboardFocus(true);

    auto fieldStyle = ui_core::textEditorPreset();
    fieldStyle.font = ui_core::makeFont(ui_core::bodyFontSpec).font;
    textField.setStyle(fieldStyle);
    textField.setComponentID("artistNameEditor");
    textField.onReturnKey = [this] { save(); };
    textField.onEscapeKey = [this] { cancel(); };
    addAndMakeVisible(textField);

    const std::pair<ui_core::TextButton*, const char*> buttons[] = {{&saveButton, "Save"},
                                                                    {&cancelButton, "Cancel"},
                                                                    {&dontAskAgainButton, "Don't Ask Again"},
                                                                    {&skipButton, "Skip"}};
    for (auto [button, text] : buttons)
    {
        button->setComponentID(button->getName());
        button->setText(text);
        button->setStyle(ui_core::textButtonPreset());
        addAndMakeVisible(*button);
    }
    saveButton.onClick = [this] { save(); };
    cancelButton.onClick = [this] { cancel(); };
    skipButton.onClick = [this] { cancel(); };
    dontAskAgainButton.onClick = [this]
    {
        if (onDontAskAgain)
            onDontAskAgain();
    };
    dontAskAgainButton.setVisible(false);
    skipButton.setVisible(false);

    setSize(380, 175);
}

void ArtistNameDialog::setSavingButtonsVisible(bool saving)
{
    dontAskAgainButton.setVisible(saving);
    skipButton.setVisible(saving);
    cancelButton.setVisible(!saving);
    resized();
}

void ArtistNameDialog::setArtistName(const juce::String& name)
{
    textField.setText(name, juce::dontSendNotification);
}

void ArtistNameDialog::save()
{
    if (onSave)
        onSave(textField.getText());
}

void ArtistNameDialog::cancel()
{
    if (onCancel)
        onCancel();
}

void ArtistNameDialog::focusGained(FocusChangeType)
{
    textField.grabKeyboardFocus();
}

bool ArtistNameDialog::keyPressed(const juce::KeyPress& key)
{
    // Escape leaves the dialog wherever the focus is inside it.
    if (key == juce::KeyPress::escapeKey)
    {
        cancel();
        return true;
    }
    return false;
}

void ArtistNameDialog::resized()
{
    const auto w = std::max(getWidth() - 2 * margin, 0);
    const auto h = std::max(getHeight() - 2 * margin, 0);

    const auto rowHeight = std::min(h, 28);
    const auto rowY = margin + h - rowHeight;

    const auto aboveRow = h - rowHeight;
    const auto gap = std::min(aboveRow, fieldGap);
    const auto fieldHeight = std::min(aboveRow - gap, 28);
    textField.setBounds(margin, margin + (aboveRow - gap) - fieldHeight, w, fieldHeight);

    // From the right edge leftwards, each button clipped to the width that is left.
    auto right = margin + w;
    auto available = w;
    const auto place = [&](ui_core::TextButton& button, int width)
    {
        const auto clipped = std::max(std::min(width, available), 0);
        button.setBounds(right - clipped, rowY, clipped, rowHeight);
        right -= clipped + buttonGap;
        available = std::max(available - clipped - buttonGap, 0);
    };
    place(saveButton, 70);
    if (dontAskAgainButton.isVisible())
    {
        place(skipButton, 70);
        place(dontAskAgainButton, 140);
    }
    else
    {
        place(cancelButton, 80);
    }
}

void ArtistNameDialog::paint(juce::Graphics& g)
{
    const auto& p = ui_core::palette();
    const auto bounds = getLocalBounds().toFloat();
    const auto radius = ui_core::radiusScale()[7];
    const auto stroke = ui_core::strokeScale()[1];

    g.setColour(p.neutral1);
    g.fillRoundedRectangle(bounds, radius);
    g.setColour(p.neutral2);
    g.drawRoundedRectangle(bounds.reduced(stroke / 2.0f), radius, stroke);

    const auto w = static_cast<float>(std::max(getWidth() - 2 * margin, 0));
    const auto h = static_cast<float>(std::max(getHeight() - 2 * margin, 0));
    const auto font = titleFont();
    const auto titleHeight = std::min(std::ceil(font.getHeight()), h);
    g.setColour(p.neutral8);
    g.setFont(font);
    g.drawText(title,
               juce::Rectangle<float>(static_cast<float>(margin), static_cast<float>(margin), w, titleHeight),
               juce::Justification::centredLeft, true);

    const auto messageTop = static_cast<float>(margin) + titleHeight + static_cast<float>(fieldGap);
    const auto messageHeight = std::max(static_cast<float>(margin) + h - messageTop, 0.0f);
    if (messageHeight <= 0.0f || w <= 0.0f)
        return;

    const auto bodyFont = messageFont();
    juce::AttributedString text;
    text.setWordWrap(juce::AttributedString::byWord);
    text.setJustification(juce::Justification::topLeft);
    text.setLineSpacing(lineSpacing);
    text.append(message, bodyFont, p.neutral5);
    juce::TextLayout layout;
    layout.createLayout(text, w);

    const auto area = juce::Rectangle<float>(static_cast<float>(margin), messageTop, w, messageHeight);
    juce::Graphics::ScopedSaveState clip(g);
    g.reduceClipRegion(area.getSmallestIntegerContainer());
    layout.draw(g, area);
}
} // namespace ui_panels
