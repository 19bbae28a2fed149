// The one reader of every content source.
#include "TextSource.h"

#include <cstring>
#include <sstream>

namespace
{
template <typename Value, typename Parse> bool ParseWhole(const std::string& text, Value& value, Parse parse)
{
    std::size_t used = 0;
    try
    {
        value = parse(text, &used);
    }
    catch (const std::exception&)
    {
        return false;
    }
    return used != 0 && used == text.size();
}
} // namespace

TextSource::TextSource(const std::string& path) : mPath(path), mStream(path, std::ios::binary)
{
    if (!mStream)
        throw std::runtime_error("cannot open " + path);
    const std::size_t markSize = std::strlen(mByteOrderMark);
    std::string start(markSize, '\0');
    mStream.read(&start[0], static_cast<std::streamsize>(markSize));
    if (start != mByteOrderMark)
    {
        mStream.clear();
        mStream.seekg(0);
    }
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
        fields = Words(line);
        if (!fields.empty())
            return true;
    }
    return false;
}

std::vector<SourceLine> TextSource::WordLines()
{
    std::vector<SourceLine> lines;
    std::vector<std::string> fields;
    while (NextFields(fields))
        lines.emplace_back(mPath, mLineNumber, std::move(fields));
    return lines;
}

std::vector<std::string> TextSource::ReadGrid(const std::string& name, const RowCheck& checkRow)
{
    // Rows never hold a blank, so a line with one is the next directive.
    const std::string label = name.empty() ? "" : "grid " + name + ": ";
    std::vector<std::string> rows;
    std::string line;
    while (NextLine(line) && !line.empty())
    {
        if (IsComment(line))
            continue;
        if (line.find(' ') != std::string::npos)
        {
            PushBack(line);
            break;
        }
        if (!rows.empty() && line.size() != rows[0].size())
            throw Error(label + "row width differs from the first row");
        if (checkRow)
            checkRow(line);
        rows.push_back(line);
    }
    if (rows.empty())
        throw Error(name.empty() ? "grid has no rows" : "grid " + name + " has no rows");
    return rows;
}

std::vector<std::string> TextSource::Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream stream(line.substr(0, line.find("//")));
    std::string word;
    while (stream >> word)
        words.push_back(word);
    return words;
}

std::string TextSource::ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (text.compare(0, std::strlen(mByteOrderMark), mByteOrderMark) == 0)
        text.erase(0, std::strlen(mByteOrderMark));
    return text;
}

int TextSource::Number(const std::string& text) const
{
    int value = 0;
    if (!WholeNumber(text, value))
        throw Error("not a number: " + text);
    return value;
}

bool TextSource::WholeNumber(const std::string& text, int& value)
{
    return ParseWhole(text, value,
                      [](const std::string& digits, std::size_t* used) { return std::stoi(digits, used); });
}

bool TextSource::WholeNumber(const std::string& text, double& value)
{
    return ParseWhole(text, value,
                      [](const std::string& digits, std::size_t* used) { return std::stod(digits, used); });
}

std::runtime_error TextSource::Error(const std::string& message) const
{
    return ErrorAt(mPath, mLineNumber, message);
}

std::runtime_error TextSource::ErrorAt(const std::string& path, int lineNumber, const std::string& message)
{
    return std::runtime_error(path + ":" + std::to_string(lineNumber) + ": " + message);
}
