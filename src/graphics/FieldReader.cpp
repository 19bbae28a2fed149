// Line reader shared by the data files.
#include "graphics/FieldReader.h"

FieldReader::FieldReader(const std::string& path) : mStream(path) {}

bool FieldReader::NextLine(std::vector<std::string>& fields)
{
    while (std::getline(mStream, mLine))
    {
        if (!mLine.empty() && mLine.back() == '\r')
        {
            mLine.pop_back();
        }
        // Only column 0 counts: a blank before the slashes makes it an ordinary line.
        if (mLine.compare(0, 2, "//") == 0)
        {
            continue;
        }
        Split(mLine, fields);
        return true;
    }
    return false;
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
