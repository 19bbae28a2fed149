// Laying the story out per language: paragraphs, their translations wrapped, and pages.
#include "states/StoryLayout.h"

#include "graphics/Font.h"
#include "io/Translation.h"

#include <algorithm>
#include <sstream>

std::vector<StoryLayout::Paragraph> StoryLayout::Paragraphs(const std::vector<std::string>& lines)
{
    std::vector<Paragraph> paragraphs;
    std::size_t blanks = 0;
    bool bottom = false;
    for (std::size_t row = 0; row < lines.size(); ++row)
    {
        const std::string& line = lines[row];
        if (line.find_first_not_of(' ') == std::string::npos)
        {
            ++blanks;
            continue;
        }
        if (paragraphs.empty() || blanks > 0)
        {
            bottom = bottom || (blanks >= 2 && !paragraphs.empty());
            paragraphs.push_back({{}, bottom, row});
        }
        paragraphs.back().mLines.push_back(line);
        blanks = 0;
    }
    return paragraphs;
}

std::string StoryLayout::Message(const Paragraph& paragraph)
{
    std::string message;
    for (const std::string& line : paragraph.mLines)
    {
        const std::string trimmed = line.substr(0, line.find_last_not_of(' ') + 1);
        message += (message.empty() ? "" : " ") + trimmed;
    }
    return message;
}

std::vector<std::string> StoryLayout::Wrap(const std::string& text, std::size_t columns)
{
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word)
    {
        while (Font::Length(word) > columns)
        {
            if (!line.empty())
            {
                lines.push_back(line);
                line.clear();
            }
            const std::string head = Font::Clip(word, columns);
            lines.push_back(head);
            word.erase(0, head.size());
        }
        if (!line.empty() && Font::Length(line) + 1 + Font::Length(word) > columns)
        {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
    {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::vector<std::string>> StoryLayout::Pages(const std::vector<std::string>& lines)
{
    const std::vector<Paragraph> paragraphs = Paragraphs(lines);
    bool translated = false;
    // Each paragraph falls back to its own English lines where the language lacks it.
    std::vector<std::vector<std::string>> laidOut;
    for (const Paragraph& paragraph : paragraphs)
    {
        const std::string message = Message(paragraph);
        const std::string text = Tr(message);
        translated = translated || text != message;
        laidOut.push_back(text != message ? Wrap(text, mColumns) : paragraph.mLines);
    }
    if (!translated)
    {
        return {lines};
    }
    std::vector<std::string> bottom;
    std::size_t bottomRow = mRows;
    std::vector<std::vector<std::string>> pages(1);
    for (std::size_t i = 0; i < paragraphs.size(); ++i)
    {
        const bool atBottom = paragraphs[i].mAtBottom;
        if (atBottom)
        {
            bottomRow = std::min(bottomRow, paragraphs[i].mFirstRow);
        }
        // Looked up afresh each time: a new page may move the others.
        const auto into = [&]() -> std::vector<std::string>& { return atBottom ? bottom : pages.back(); };
        if (!atBottom && !into().empty() && into().size() + 1 + laidOut[i].size() > mTopRows)
        {
            pages.emplace_back();
        }
        if (!into().empty())
        {
            into().emplace_back();
        }
        // A paragraph longer than a page takes pages of its own.
        for (const std::string& line : laidOut[i])
        {
            if (!atBottom && into().size() >= mTopRows)
            {
                pages.emplace_back();
            }
            into().push_back(line);
        }
    }
    // The bottom paragraphs stand on every page where the story has them, or higher where they run longer.
    for (std::vector<std::string>& page : pages)
    {
        if (!bottom.empty())
        {
            const std::size_t bottomStart =
                std::min(bottomRow, mRows > bottom.size() ? mRows - bottom.size() : 0);
            if (page.size() < bottomStart)
            {
                page.resize(bottomStart);
            }
            else
            {
                page.emplace_back();
            }
            page.insert(page.end(), bottom.begin(), bottom.end());
        }
    }
    return pages;
}
