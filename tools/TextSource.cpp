// Line-by-line reading of a content source.
#include "TextSource.h"

#include <sstream>

TextSource::TextSource(const std::string& path) : mPath(path), mStream(path)
{
    if (!mStream)
        throw std::runtime_error("cannot open " + path);
}

bool TextSource::NextLine(std::string& line)
{
    if (!mPushedBack.empty())
    {
        line = mPushedBack.back();
        mPushedBack.pop_back();
        ++mLineNumber;
        return true;
    }
    if (!std::getline(mStream, line))
        return false;
    ++mLineNumber;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

void TextSource::PushBack(const std::string& line)
{
    mPushedBack.push_back(line);
    --mLineNumber;
}

bool TextSource::NextFields(std::vector<std::string>& fields)
{
    std::string line;
    while (NextLine(line))
    {
        if (IsComment(line))
            continue;
        fields = Split(line);
        if (!fields.empty())
            return true;
    }
    return false;
}

std::vector<std::string> TextSource::Split(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream stream(line);
    std::string field;
    while (stream >> field)
        fields.push_back(field);
    return fields;
}

int TextSource::Number(const std::string& text) const
{
    std::size_t used = 0;
    int value = 0;
    try
    {
        value = std::stoi(text, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw Error("not a number: " + text);
    return value;
}

std::runtime_error TextSource::Error(const std::string& message) const
{
    return std::runtime_error(mPath + ":" + std::to_string(mLineNumber) + ": " + message);
}
