// Line reader shared by every text file the game reads: line ends, a leading byte-order mark, "//"
// comments at column 0 and fields cut at single spaces.
#pragma once

#include <cstdint>
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

    // Every line of the file as ReadLine gives them, comments and empty lines too, in place of what lines
    // held (a list such as maps.lst, whose every line is a name). False, lines empty, when the file cannot
    // be opened.
    static bool ReadLines(const std::string& path, std::vector<std::string>& lines);

    // Only column 0 counts: a blank before the slashes makes it an ordinary line.
    static bool IsComment(const std::string& line) { return line.compare(0, 2, "//") == 0; }

    // Why a file the player names or keeps is not to be read at all, or "" when it may be: it must be a
    // regular file (a device or a pipe may never end) of at most maxBytes (a multiple of 1 MB). A missing
    // file is not refused here: opening it says so.
    static std::string Refusal(const std::string& path, std::uintmax_t maxBytes);

    // Cuts one line (without its line end) into fields by the rules above.
    static void Split(const std::string& line, std::vector<std::string>& fields);

  private:
    std::ifstream mStream;
    std::string mLine;
    bool mAtStart = true;
};
