// Line-by-line reading of a content source with line numbers for error messages.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

class TextSource
{
  public:
    // Throws when the file cannot be opened.
    explicit TextSource(const std::string& path);

    // The next line (without CR/LF); false at the end. Comment lines ("//" in column 0) are returned too.
    bool NextLine(std::string& line);
    // Makes the next NextLine or NextFields call return this line again.
    void PushBack(const std::string& line);
    // The next line that is neither empty nor a comment, cut at runs of blanks; false at the end.
    bool NextFields(std::vector<std::string>& fields);

    static std::vector<std::string> Split(const std::string& line);
    static bool IsComment(const std::string& line) { return line.compare(0, 2, "//") == 0; }

    // A decimal integer; throws with the position when the text is not one.
    int Number(const std::string& text) const;
    std::runtime_error Error(const std::string& message) const;
    const std::string& Path() const { return mPath; }
    int LineNumber() const { return mLineNumber; }

  private:
    std::string mPath;
    std::ifstream mStream;
    int mLineNumber = 0;
    std::vector<std::string> mPushedBack;
};
