// One line of a sound or tune source as its words, able to point at itself in an error.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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
