// Line reader shared by every text file the game reads: line ends, a leading byte-order mark, "//"
// comments at column 0 and fields cut at single spaces.
#pragma once

#include <fstream>
#include <string>
#include <vector>

class FieldReader
{
  public:
    explicit FieldReader(const std::string& path);

    bool IsOpen() const { return mStream.is_open(); }

    // The next line as written, without its line end (LF, or CR LF); a UTF-8 byte-order mark at the
    // start of the file is no part of the first line. Comments are kept. False at the end of the file.
    bool ReadLine(std::string& line);

    // The next line that is not a comment, cut into fields (two spaces make an empty field, a trailing
    // space adds none, an empty line gives none). False at the end of the file.
    bool NextLine(std::vector<std::string>& fields);

    // Only column 0 counts: a blank before the slashes makes it an ordinary line.
    static bool IsComment(const std::string& line) { return line.compare(0, 2, "//") == 0; }

    // Cuts one line (without its line end) into fields by the rules above.
    static void Split(const std::string& line, std::vector<std::string>& fields);

  private:
    std::ifstream mStream;
    std::string mLine;
    bool mAtStart = true;
};
