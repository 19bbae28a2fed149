// Reading and writing the language choice: one "language <code>" line.
#include "player/LanguageChoice.h"

#include "io/FieldReader.h"
#include "io/PlayerFile.h"
#include "io/Translation.h"

#include <iostream>

namespace
{
// The index of code among the shipped languages, or -1.
int Find(const std::string& code)
{
    const auto& shipped = Translation::Shipped();
    for (std::size_t i = 0; i < shipped.size(); ++i)
    {
        if (code == shipped[i].mCode)
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}
} // namespace

void LanguageChoice::Load()
{
    mCode.clear();
    if (!PlayerFile::Exists(mFileName))
    {
        return;
    }
    // Checked before opening: opening a pipe waits for a writer.
    if (const std::string refused = FieldReader::Refusal(mFileName, mMaxFileSize); !refused.empty())
    {
        std::cerr << "Kestrovane: language file " << mFileName << " not used: it " << refused << std::endl;
        return;
    }
    FieldReader reader(mFileName);
    std::vector<std::string> fields;
    bool understood = reader.IsOpen();
    while (understood && reader.NextLine(fields))
    {
        if (fields.empty())
        {
            continue;
        }
        understood =
            fields.size() == 2 && fields[0] == "language" && (fields[1] == "auto" || Find(fields[1]) >= 0);
        mCode = understood && fields[1] != "auto" ? fields[1] : "";
    }
    if (!understood)
    {
        mCode.clear();
        std::cerr << "Kestrovane: language file " << mFileName
                  << " not used: it has a line that is not understood" << std::endl;
    }
}

bool LanguageChoice::Save() const
{
    return PlayerFile::Write(mFileName,
                             "// Kestrovane language: auto (the system's) or de, fr, es, pt_BR, it, pl, ru\n"
                             "language " +
                                 (mCode.empty() ? std::string("auto") : mCode) + "\n");
}

std::string LanguageChoice::Resolve(const std::vector<std::string>& preferences) const
{
    return mCode.empty() ? Translation::Match(preferences) : mCode;
}

void LanguageChoice::Step(int step)
{
    const int count = static_cast<int>(Translation::Shipped().size()) + 1;
    const int next = ((Find(mCode) + 1 + step) % count + count) % count;
    mCode = next == 0 ? "" : Translation::Shipped()[static_cast<std::size_t>(next - 1)].mCode;
}

std::string LanguageChoice::Name() const
{
    const int index = Find(mCode);
    // TRANSLATORS: the Language row's value that follows the system's (or the browser's) language.
    return index < 0 ? Tr("Auto") : Translation::Shipped()[static_cast<std::size_t>(index)].mName;
}
