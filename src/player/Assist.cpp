// Reading and writing the assist options: one "name value" line per option.
#include "player/Assist.h"

#include "io/FieldReader.h"
#include "io/PlayerFile.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>

namespace
{
constexpr double kOxygenUse = 0.03; // per update: a full tank of 10 lasts about 11 seconds

const char* const kAirNames[] = {"normal", "long", "endless"};

// The index of value among names, or -1.
template <std::size_t N> int Find(const char* const (&names)[N], const std::string& value)
{
    const auto found = std::find(std::begin(names), std::end(names), value);
    return found == std::end(names) ? -1 : static_cast<int>(found - std::begin(names));
}
} // namespace

double Assist::OxygenUse() const
{
    switch (mAir)
    {
    case Air::Long:
        return kOxygenUse / 2;
    case Air::Endless:
        return 0.0;
    default:
        return kOxygenUse;
    }
}

void Assist::Load()
{
    *this = Assist();
    if (!PlayerFile::Exists(mFileName))
    {
        return;
    }
    // Checked before opening: opening a pipe waits for a writer.
    std::string problem = FieldReader::Refusal(mFileName, mMaxFileSize);
    if (!problem.empty())
    {
        std::cerr << "Kestrovane: assist file " << mFileName << " not used: it " << problem << std::endl;
        return;
    }
    FieldReader reader(mFileName);
    problem = reader.IsOpen() ? "" : "it cannot be read";
    std::vector<std::string> fields;
    while (problem.empty() && reader.NextLine(fields))
    {
        if (!fields.empty())
        {
            problem =
                fields.size() == 2 ? TakeLine(fields[0], fields[1]) : "has a line that is not understood";
        }
    }
    if (!problem.empty())
    {
        *this = Assist();
        std::cerr << "Kestrovane: assist file " << mFileName << " not used: " << problem << std::endl;
    }
}

std::string Assist::TakeLine(const std::string& name, const std::string& value)
{
    if (name == "speed")
    {
        const auto found = std::find(std::begin(mSpeeds), std::end(mSpeeds), std::atoi(value.c_str()));
        if (found == std::end(mSpeeds) || std::to_string(*found) != value)
        {
            return "has a game speed not offered";
        }
        mSpeed = *found;
    }
    else if (name == "air" && Find(kAirNames, value) >= 0)
    {
        mAir = static_cast<Air>(Find(kAirNames, value));
    }
    else if (name == "invulnerable" && (value == "0" || value == "1"))
    {
        mInvulnerable = value == "1";
    }
    else if (name == "ghost" && Find(mGhostNames, value) >= 0)
    {
        mGhost = static_cast<Ghost>(Find(mGhostNames, value));
    }
    else
    {
        return "has a line that is not understood";
    }
    return "";
}

bool Assist::Save() const
{
    std::ostringstream text;
    text << "// Kestrovane assist options: speed in percent, air normal/long/endless, invulnerable 0/1, "
            "ghost best/par/off\n"
         << "speed " << mSpeed << "\nair " << kAirNames[static_cast<int>(mAir)] << "\ninvulnerable "
         << (mInvulnerable ? 1 : 0) << "\nghost " << mGhostNames[static_cast<int>(mGhost)] << '\n';
    return PlayerFile::Write(mFileName, text.str());
}
