// Line reader shared by every text file the game reads.
#include "io/FieldReader.h"

#include <filesystem>
#include <system_error>

namespace
{
// Editors on some systems open a UTF-8 file with these three bytes; they are not text.
const char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::string::size_type kByteOrderMarkSize = 3;
} // namespace

FieldReader::FieldReader(const std::string& path) : mStream(path) {}

bool FieldReader::ReadLine(std::string& line)
{
    if (!std::getline(mStream, line))
    {
        return false;
    }
    if (mAtStart)
    {
        mAtStart = false;
        if (line.compare(0, kByteOrderMarkSize, kByteOrderMark) == 0)
        {
            line.erase(0, kByteOrderMarkSize);
        }
    }
    if (!line.empty() && line.back() == '\r')
    {
        line.pop_back();
    }
    return true;
}

bool FieldReader::ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    lines.clear();
    FieldReader file(path);
    for (std::string line; file.ReadLine(line);)
    {
        lines.push_back(line);
    }
    return file.IsOpen();
}

bool FieldReader::NextLine(std::vector<std::string>& fields)
{
    while (ReadLine(mLine))
    {
        if (IsComment(mLine))
        {
            continue;
        }
        Split(mLine, fields);
        return true;
    }
    return false;
}

std::string FieldReader::Refusal(const std::string& path, std::uintmax_t maxBytes)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error); // through symbolic links
    if (status.type() == fs::file_type::not_found)
    {
        return "";
    }
    if (status.type() != fs::file_type::regular)
    {
        return "is not a regular file";
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > maxBytes)
    {
        return "is larger than " + std::to_string(maxBytes >> 20) + " MB";
    }
    return "";
}

void FieldReader::Split(const std::string& line, std::vector<std::string>& fields)
{
    fields.clear();
    std::string::size_type start = 0;
    while (start < line.size())
    {
        std::string::size_type end = line.find(' ', start);
        if (end == std::string::npos)
        {
            fields.emplace_back(line, start);
            return;
        }
        fields.emplace_back(line, start, end - start);
        start = end + 1;
    }
}
