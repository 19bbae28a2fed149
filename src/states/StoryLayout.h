// The story's lines as the player's language shows them: the story file's own lines in English, and in
// another language each paragraph's translation wrapped to the screen and paged where it runs long.
#pragma once

#include <string>
#include <vector>

class StoryLayout
{
  public:
    // Characters that fit on a line from the text's left edge, and lines on the screen.
    static constexpr std::size_t mColumns = 38;
    static constexpr std::size_t mRows = 29;
    // The upper lines lie over open sky; a page's top part holds no more.
    static constexpr std::size_t mTopRows = 14;

    // A paragraph is a run of non-empty lines; two empty lines or more before the last paragraphs send them
    // to the bottom of the screen, where they stand on every page.
    struct Paragraph
    {
        std::vector<std::string> mLines;
        bool mAtBottom = false;
        std::size_t mFirstRow = 0; // where it starts in the lines as given
    };
    static std::vector<Paragraph> Paragraphs(const std::vector<std::string>& lines);
    // The message a paragraph is translated by: its lines joined by single spaces.
    static std::string Message(const Paragraph& paragraph);

    // The pages, each a list of lines to type. Where no paragraph is translated, the one page is the lines
    // as given.
    static std::vector<std::vector<std::string>> Pages(const std::vector<std::string>& lines);
    // Words wrapped to lines of at most columns characters; a longer word is cut.
    static std::vector<std::string> Wrap(const std::string& text, std::size_t columns);
};
