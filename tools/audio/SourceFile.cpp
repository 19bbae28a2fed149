// Reads the text sources of sounds and tunes as numbered lines of whitespace-separated words.
#include "SourceFile.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

SourceLine::SourceLine(std::string file, int number, std::vector<std::string> words)
    : mFile(std::move(file)), mNumber(number), mWords(std::move(words))
{
}

const std::string& SourceLine::Word(std::size_t index) const
{
    if (index >= mWords.size())
    {
        Fail("'" + mWords[0] + "' needs more values");
    }
    return mWords[index];
}

double SourceLine::Number(std::size_t index) const
{
    const std::string& word = Word(index);
    std::size_t used = 0;
    double value = 0.0;
    try
    {
        value = std::stod(word, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used != word.size() || !std::isfinite(value))
    {
        Fail("'" + word + "' is not a number");
    }
    return value;
}

double SourceLine::Number(std::size_t index, double fallback) const
{
    return index < mWords.size() ? Number(index) : fallback;
}

void SourceLine::Expect(std::size_t count, bool atLeast) const
{
    if (mWords.size() < count || (!atLeast && mWords.size() > count))
    {
        Fail("'" + mWords[0] + "' takes " + (atLeast ? "at least " : "") + std::to_string(count - 1) +
             " value" + (count == 2 ? "" : "s"));
    }
}

void SourceLine::Fail(const std::string& message) const
{
    throw std::runtime_error(mFile + ":" + std::to_string(mNumber) + ": " + message);
}

SourceFile::SourceFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
    {
        throw std::runtime_error("Cannot open " + path);
    }
    std::string text;
    int number = 0;
    while (std::getline(in, text))
    {
        ++number;
        const std::size_t comment = text.find("//");
        if (comment != std::string::npos)
        {
            text.erase(comment);
        }
        std::istringstream split(text);
        std::vector<std::string> words;
        std::string word;
        while (split >> word)
        {
            words.push_back(word);
        }
        if (!words.empty())
        {
            mLines.emplace_back(path, number, std::move(words));
        }
    }
}
