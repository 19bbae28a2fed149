// Line reader shared by the data files: "//" comments at column 0, fields cut at single spaces.
#pragma once

#include <fstream>
#include <string>
#include <vector>

class FieldReader
{
  public:
    explicit FieldReader(const std::string& path);

    bool IsOpen() const { return mStream.is_open(); }
    // The next line that is not a comment, cut into fields (two spaces make an empty field, a trailing
    // space adds none, an empty line gives none). False at the end of the file.
    bool NextLine(std::vector<std::string>& fields);

    // Cuts one line (without its line end) into fields by the rules above.
    static void Split(const std::string& line, std::vector<std::string>& fields);

  private:
    std::ifstream mStream;
    std::string mLine;
};
