// One line of a sound or tune source as its words.
#include "SourceLine.h"

#include "TextSource.h"

#include <cmath>
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
    double value = 0.0;
    if (!TextSource::WholeNumber(word, value) || !std::isfinite(value))
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
    throw TextSource::ErrorAt(mFile, mNumber, message);
}
