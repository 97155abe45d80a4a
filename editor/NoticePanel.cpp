#include "editor/NoticePanel.h"

#include "controls/TextButtonStyle.h"
#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <algorithm>
#include <cmath>

namespace ui_panels
{
namespace
{
constexpr int gap = 8;
constexpr int buttonHeight = 28;
constexpr int buttonGap = 4;

juce::Font titleFont()
{
    return ui_core::makeFont(ui_core::titleFontSpec).font.withHeight(17.0f);
}

juce::Font messageFont()
{
    return ui_core::makeFont(ui_core::captionFontSpec).font.withHeight(14.98f);
}

int buttonWidth(const ui_core::TextButton& button)
{
    const auto& style = button.getStyle();
    const auto text =
        style.font.getStringWidthFloat(style.upperCase ? button.getText().toUpperCase() : button.getText());
    return std::max(70, static_cast<int>(std::ceil(text)) + 2 * style.horizontalPadding);
}
} // namespace

NoticePanel::NoticePanel(const juce::String& titleToShow, const juce::String& messageToShow,
                         const juce::StringArray& buttonTexts)
    : title(titleToShow)
    , message(messageToShow)
{
    for (int i = 0; i < buttonTexts.size(); ++i)
    {
        auto button = std::make_unique<ui_core::TextButton>("noticeButton" + juce::String(i));
        button->setText(buttonTexts[i]);
        button->setStyle(ui_core::textButtonPreset());
        button->onClick = [this, i]
        {
            if (onButton)
                onButton(i);
        };
        addAndMakeVisible(*button);
        buttons.push_back(std::move(button));
    }
}

ui_core::TextButton* NoticePanel::getButton(int index) const
{
    return index >= 0 && index < static_cast<int>(buttons.size())
               ? buttons[static_cast<std::size_t>(index)].get()
               : nullptr;
}

juce::TextLayout NoticePanel::messageLayout(float width) const
{
    juce::AttributedString text;
    text.setWordWrap(juce::AttributedString::byWord);
    text.setJustification(juce::Justification::topLeft);
    text.append(message, messageFont(), ui_core::palette().neutral6);
    juce::TextLayout layout;
    layout.createLayout(text, std::max(width, 1.0f));
    return layout;
}

int NoticePanel::getPreferredHeight(int width) const
{
    const auto contentWidth = static_cast<float>(std::max(width - 2 * padding, 0));
    const auto titleHeight = static_cast<int>(std::ceil(titleFont().getHeight()));
    const auto textHeight = static_cast<int>(std::ceil(messageLayout(contentWidth).getHeight()));
    return 2 * padding + titleHeight + gap + textHeight + (buttons.empty() ? 0 : gap + buttonHeight);
}

void NoticePanel::resized()
{
    auto right = getWidth() - padding;
    const auto y = getHeight() - padding - buttonHeight;
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
    {
        const auto width = std::min(buttonWidth(**it), std::max(right - padding, 0));
        (*it)->setBounds(right - width, y, width, buttonHeight);
        right -= width + buttonGap;
    }
}

void NoticePanel::paint(juce::Graphics& g)
{
    const auto& p = ui_core::palette();
    const auto bounds = getLocalBounds().toFloat();
    const auto radius = ui_core::radiusScale()[7];
    const auto stroke = ui_core::strokeScale()[1];

    g.setColour(p.neutral1);
    g.fillRoundedRectangle(bounds, radius);
    g.setColour(p.primary5.withAlpha(0.6f));
    g.drawRoundedRectangle(bounds.reduced(stroke / 2.0f), radius, stroke);

    const auto contentWidth = static_cast<float>(std::max(getWidth() - 2 * padding, 0));
    const auto font = titleFont();
    const auto titleHeight = std::ceil(font.getHeight());
    g.setColour(p.neutral8);
    g.setFont(font);
    g.drawText(title,
               juce::Rectangle<float>(static_cast<float>(padding), static_cast<float>(padding), contentWidth,
                                      titleHeight),
               juce::Justification::centredLeft, true);

    const auto top = static_cast<float>(padding) + titleHeight + static_cast<float>(gap);
    const auto bottom =
        static_cast<float>(getHeight() - padding - (buttons.empty() ? 0 : buttonHeight + gap));
    const auto area =
        juce::Rectangle<float>(static_cast<float>(padding), top, contentWidth, std::max(bottom - top, 0.0f));
    juce::Graphics::ScopedSaveState clip(g);
    g.reduceClipRegion(area.getSmallestIntegerContainer());
    messageLayout(contentWidth).draw(g, area);
}
} // namespace ui_panels
