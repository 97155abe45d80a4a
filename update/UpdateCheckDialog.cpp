#include "update/UpdateCheckDialog.h"

#include "controls/TextButtonStyle.h"
#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"
#include "update/DownloadLink.h"

namespace update_check
{
namespace
{
constexpr float titleFontHeight = 19.26f;
constexpr float textFontHeight = 14.98f;
// Extra space between wrapped lines, in pixels.
constexpr float textLineSpacing = 1.2f;

juce::Font titleFont()
{
    return ui_core::makeFont(ui_core::titleFontSpec).font.withHeight(titleFontHeight);
}

juce::Font textFont()
{
    return ui_core::makeFont(ui_core::captionFontSpec).font.withHeight(textFontHeight);
}

// A paragraph of the message or the list, wrapped to the content width.
juce::TextLayout paragraphLayout(const juce::String& text, juce::Colour colour)
{
    juce::AttributedString attributed;
    attributed.append(text, textFont(), colour);
    attributed.setJustification(juce::Justification::topLeft);
    attributed.setWordWrap(juce::AttributedString::byWord);
    attributed.setLineSpacing(textLineSpacing);
    juce::TextLayout layout;
    layout.createLayout(attributed, static_cast<float>(UpdateDialogGeometry::contentWidth));
    return layout;
}

juce::String bulleted(const juce::String& change)
{
    return juce::String::charToString(0x2022) + " " + change;
}

void setUpButton(ui_core::TextButton& button, const juce::String& label)
{
    button.setComponentID(button.getName());
    button.setText(label);
    button.setTooltip(label);
    button.setStyle(ui_core::textButtonPreset());
}
} // namespace

UpdateCheckDialog::UpdateCheckDialog()
{
    setUpButton(closeButton, "Close");
    setUpButton(downloadButton, "Download");
    closeButton.onClick = [this]
    {
        if (onClose)
            onClose();
    };
    downloadButton.onClick = [this]
    {
        if (onDownload)
            onDownload(downloadUrl);
    };
    onDownload = [](const juce::String& url) { openDownloadPage(url); };

    addAndMakeVisible(closeButton);
    addChildComponent(downloadButton);
    juce::Component::setTitle(title);
    setSize(UpdateDialogGeometry::width, UpdateDialogGeometry::initialHeight);
}

void UpdateCheckDialog::setTitle(const juce::String& newTitle)
{
    title = newTitle;
    juce::Component::setTitle(newTitle);
    updateHeight();
}

void UpdateCheckDialog::setMessage(const juce::String& newMessage)
{
    message = newMessage;
    updateHeight();
}

void UpdateCheckDialog::setChanges(const juce::StringArray& newChanges)
{
    changes = newChanges;
    updateHeight();
}

void UpdateCheckDialog::setDownloadUrl(const juce::String& newUrl)
{
    downloadUrl = newUrl;
}

void UpdateCheckDialog::setDownloadButtonVisible(bool shouldBeVisible)
{
    downloadButton.setVisible(shouldBeVisible);
    resized();
}

void UpdateCheckDialog::showContent(const UpdateDialogContent& content)
{
    title = content.title;
    juce::Component::setTitle(title);
    message = content.message;
    changes = content.changes;
    setDownloadUrl(content.downloadUrl);
    setDownloadButtonVisible(content.showsDownload());
    updateHeight();
}

void UpdateCheckDialog::applyTheme()
{
    closeButton.setStyle(ui_core::textButtonPreset());
    downloadButton.setStyle(ui_core::textButtonPreset());
    repaint();
}

void UpdateCheckDialog::updateHeight()
{
    juce::AttributedString titleText;
    titleText.append(title, titleFont());
    juce::TextLayout titleLine;
    titleLine.createLayout(titleText, 1.0e6f); // one line, unwrapped

    std::vector<float> changeHeights;
    for (const auto& change : changes)
        changeHeights.push_back(paragraphLayout(bulleted(change), {}).getHeight());

    textLayout = layOutUpdateDialogText(titleLine.getHeight(), paragraphLayout(message, {}).getHeight(),
                                        changeHeights);
    setSize(UpdateDialogGeometry::width, textLayout.height);
    repaint();
}

void UpdateCheckDialog::resized()
{
    const auto buttons = layOutUpdateDialogButtons(getLocalBounds(), downloadButton.isVisible());
    closeButton.setBounds(buttons.close);
    downloadButton.setBounds(buttons.download);
}

void UpdateCheckDialog::paint(juce::Graphics& g)
{
    const auto& palette = ui_core::palette();
    const auto border = ui_core::strokeScale()[1];
    const auto radius = ui_core::radiusScale()[7];
    const auto bounds = getLocalBounds().toFloat();
    g.setColour(palette.neutral1);
    g.fillRoundedRectangle(bounds, radius);
    g.setColour(palette.neutral2);
    g.drawRoundedRectangle(bounds.reduced(border * 0.5f), radius, border);

    // A word wider than the card (a long address in a change) is cut at the content edge.
    g.reduceClipRegion(getLocalBounds().reduced(UpdateDialogGeometry::contentInset));
    g.setColour(palette.neutral8);
    g.setFont(titleFont());
    g.drawText(title, textLayout.title, juce::Justification::centredLeft, true);

    paragraphLayout(message, palette.neutral5).draw(g, textLayout.message);
    for (int i = 0; i < changes.size() && i < static_cast<int>(textLayout.changes.size()); ++i)
        paragraphLayout(bulleted(changes[i]), palette.neutral5)
            .draw(g, textLayout.changes[static_cast<std::size_t>(i)]);
}
} // namespace update_check
