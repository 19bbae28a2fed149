// Reads the text sources of sounds and tunes as numbered lines of whitespace-separated words.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One non-empty line of a source file, with enough context to point at it in an error.
class SourceLine
{
  public:
    SourceLine(std::string file, int number, std::vector<std::string> words);

    std::size_t Size() const { return mWords.size(); }
    const std::string& Word(std::size_t index) const;
    // The word at index as a number; a missing or malformed word is an error at this line.
    double Number(std::size_t index) const;
    // The word at index if present, otherwise the fallback.
    double Number(std::size_t index, double fallback) const;
    // Demands exactly (or at least, with atLeast) count words including the keyword.
    void Expect(std::size_t count, bool atLeast = false) const;
    // Throws std::runtime_error with "file:line: message".
    [[noreturn]] void Fail(const std::string& message) const;

  private:
    std::string mFile;
    int mNumber;
    std::vector<std::string> mWords;
};

class SourceFile
{
  public:
    // Reads the whole file; throws std::runtime_error if it cannot be opened.
    explicit SourceFile(const std::string& path);

    // Lines with their words; "//" starts a comment anywhere, blank lines are dropped.
    const std::vector<SourceLine>& Lines() const { return mLines; }

  private:
    std::vector<SourceLine> mLines;
};
