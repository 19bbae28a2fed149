// The player's choice of language, kept in "kesv.lang" apart from kesv.cfg: "auto" (the system's or the
// browser's language) or a shipped language's code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LanguageChoice
{
  public:
    static constexpr const char* mFileName = "kesv.lang";
    // Far more than the file takes: a larger one (or one that is no regular file) is not read.
    static constexpr std::uintmax_t mMaxFileSize = 1 << 16;

    // Reads the file; a missing or garbled file, or a language not shipped, leaves "auto" (a garbled one
    // with one line on stderr). Never throws.
    void Load();
    // Writes the file whole; false when it cannot be written.
    bool Save() const;

    // The language to use: the chosen one, or for "auto" the first shipped one of preferences.
    std::string Resolve(const std::vector<std::string>& preferences) const;
    // The next (step 1) or previous (step -1) choice: Auto, then each shipped language in turn.
    void Step(int step);
    // "Auto" or the language's own name, as the Options screen shows the choice.
    std::string Name() const;

    std::string mCode; // "" for auto
};
