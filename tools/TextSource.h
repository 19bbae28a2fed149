// The one reader of every content source: pictures, palettes, levels, tables, story, sounds and tunes.
#pragma once

#include "SourceLine.h"

#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Lines come without CR/LF, and without the UTF-8 byte-order mark some editors put in front of the file.
// A line whose first two characters are "//" is a comment; in lines read as words, "//" anywhere starts
// one. Lines that are data (grid rows, and the tables and story the game reads with its own rule) are
// read whole, since a "//" inside them is part of the data.
class TextSource
{
  public:
    // Throws when the file cannot be opened.
    explicit TextSource(const std::string& path);

    // The next line; false at the end. Comment lines are returned too.
    bool NextLine(std::string& line);
    // The words of the next line that holds any once its comment is cut off; false at the end.
    bool NextFields(std::vector<std::string>& fields);
    // Every remaining line that holds words, for sources that are checked as a whole.
    std::vector<SourceLine> WordLines();
    // Character rows until an empty line, a line with a blank (left for the next read) or the end.
    // Rows must be as wide as the first; checkRow may refuse a row by throwing. Throws when there is none.
    // A non-empty name is put in front of the messages.
    using RowCheck = std::function<void(const std::string& row)>;
    std::vector<std::string> ReadGrid(const std::string& name, const RowCheck& checkRow = {});

    static bool IsComment(const std::string& line) { return line.compare(0, 2, "//") == 0; }
    // The whole file as bytes, less a byte-order mark: for sources that are copied as they are.
    static std::string ReadBytes(const std::string& path);

    // A decimal integer; throws with the position when the text is not one.
    int Number(const std::string& text) const;
    // True when the whole text is a number, which is then stored in value.
    static bool WholeNumber(const std::string& text, int& value);
    static bool WholeNumber(const std::string& text, double& value);
    // The error every content tool throws: "file:line: message".
    std::runtime_error Error(const std::string& message) const;
    static std::runtime_error ErrorAt(const std::string& path, int lineNumber, const std::string& message);
    const std::string& Path() const { return mPath; }
    int LineNumber() const { return mLineNumber; }

    // U+FEFF in UTF-8.
    static constexpr char mByteOrderMark[] = "\xEF\xBB\xBF";

  private:
    // Makes the next read return this line again.
    void PushBack(const std::string& line);
    // The words of a line before its comment, cut at runs of blanks.
    static std::vector<std::string> Words(const std::string& line);

    std::string mPath;
    std::ifstream mStream;
    int mLineNumber = 0;
    std::vector<std::string> mPushedBack;
};
