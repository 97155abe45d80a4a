#include "tools/CurveCsv.h"

#include "core/TransferFunctionTable.h"

#include <cstdio>

namespace CurveCsv
{
juce::String format(const juce::StringArray& columns, const std::vector<const std::vector<double>*>& values)
{
    std::string text = "index,x";
    for (const auto& column : columns)
        text += "," + column.toStdString();
    text += "\n";

    char number[40];
    for (int i = 0; i < TransferFunctionTable::size; ++i)
    {
        text += std::to_string(i);
        std::snprintf(number, sizeof(number), ",%.17g", TransferFunctionTable::xAt(i));
        text += number;
        for (const auto* column : values)
        {
            const auto value = (std::size_t) i < column->size() ? (*column)[(std::size_t) i] : 0.0;
            std::snprintf(number, sizeof(number), ",%.17g", value);
            text += number;
        }
        text += "\n";
    }
    return juce::String(text);
}

bool write(const juce::File& file, const juce::String& text, juce::String& error)
{
    if (file.replaceWithText(text, false, false, "\n"))
        return true;
    error = "cannot write " + file.getFullPathName();
    return false;
}
} // namespace CurveCsv
