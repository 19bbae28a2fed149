// Packing a race into a link and reading one back, refusing anything that is not whole.
#include "editor/RaceLink.h"

#include "editor/Base64Url.h"
#include "editor/LevelLink.h"
#include "editor/LinkCodec.h"
#include "io/FieldReader.h"
#include "io/InputScript.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace
{
const std::string kHeader = "kestrovane-race 1";
// The run's part and a made level's link stand apart on this: a level link never holds it.
constexpr char kSeparator = '.';

[[noreturn]] void Broken(const std::string& why)
{
    throw std::runtime_error("The race link is broken: " + why);
}

// The link's own text: after an address's "#", without the blanks a chat may wrap it in.
std::string Code(const std::string& link)
{
    const std::size_t hash = link.rfind('#');
    std::string code = hash == std::string::npos ? link : link.substr(hash + 1);
    code.erase(std::remove_if(code.begin(), code.end(),
                              [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }),
               code.end());
    return code;
}

bool ReadCount(const std::string& field, long long limit, long long& value)
{
    if (field.empty() || field.size() > 9 || field.find_first_not_of("0123456789") != std::string::npos)
    {
        return false;
    }
    value = std::stoll(field);
    return value <= limit;
}

// A name of the level list or a file in it: a plain name, never a way into another folder.
bool IsPlainName(const std::string& name)
{
    return !name.empty() && name[0] != '.' && name.find_first_of("/\\:") == std::string::npos;
}
} // namespace

bool RaceLink::IsRace(const std::string& link)
{
    return Code(link).compare(0, std::string(mPrefix).size(), mPrefix) == 0;
}

std::string RaceLink::Text() const
{
    std::ostringstream text;
    text << kHeader << '\n' << "time " << mTime << '\n';
    if (Assisted())
    {
        text << "assist " << mRules.mSpeed << ' ' << static_cast<int>(mRules.mAir) << ' '
             << (mRules.mInvulnerable ? 1 : 0) << '\n';
    }
    if (mLevel)
    {
        text << "made\n";
    }
    else
    {
        text << "level " << mSet << ' ' << mFile << ' ' << mHash << '\n';
    }
    text << "run " << InputScript::Format(mRun) << '\n';
    return text.str();
}

RaceLink RaceLink::FromText(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHeader)
    {
        Broken("it is not a Kestrovane race");
    }
    RaceLink race;
    bool timed = false;
    bool level = false;
    bool run = false;
    std::vector<std::string> fields;
    while (std::getline(lines, line))
    {
        FieldReader::Split(line, fields);
        long long value = 0;
        if (fields.size() == 2 && fields[0] == "time" && !timed)
        {
            if (!ReadCount(fields[1], static_cast<long long>(mMaxUpdates), value) || value < 1)
            {
                Broken("its time is unreadable");
            }
            race.mTime = static_cast<int>(value);
            timed = true;
        }
        else if (fields.size() == 4 && fields[0] == "assist")
        {
            long long speed = 0;
            long long air = 0;
            if (!ReadCount(fields[1], 100, speed) ||
                std::find(std::begin(Assist::mSpeeds), std::end(Assist::mSpeeds), speed) ==
                    std::end(Assist::mSpeeds) ||
                !ReadCount(fields[2], 2, air) || (fields[3] != "0" && fields[3] != "1"))
            {
                Broken("its assists are unreadable");
            }
            race.mRules.mSpeed = static_cast<int>(speed);
            race.mRules.mAir = static_cast<Assist::Air>(air);
            race.mRules.mInvulnerable = fields[3] == "1";
        }
        else if (fields.size() == 1 && fields[0] == "made" && !level)
        {
            race.mLevel.emplace();
            level = true;
        }
        else if (fields.size() == 4 && fields[0] == "level" && !level)
        {
            if (!IsPlainName(fields[1]) || !IsPlainName(fields[2]) || fields[3].size() != 16 ||
                fields[3].find_first_not_of("0123456789abcdef") != std::string::npos)
            {
                Broken("its level is unreadable");
            }
            race.mSet = fields[1];
            race.mFile = fields[2];
            race.mHash = fields[3];
            level = true;
        }
        else if (line.compare(0, 4, "run ") == 0 && !run)
        {
            try
            {
                race.mRun = InputScript::Parse(line.substr(4));
            }
            catch (const std::runtime_error&)
            {
                Broken("its run is unreadable");
            }
            if (race.mRun.size() > mMaxUpdates)
            {
                throw std::runtime_error(
                    "The race's run is too long: a race link carries at most 10 minutes");
            }
            run = true;
        }
        else if (!line.empty())
        {
            Broken("a line is unreadable");
        }
    }
    if (!timed || !level || !run)
    {
        Broken("it is cut short");
    }
    if (static_cast<std::size_t>(race.mTime) > race.mRun.size())
    {
        Broken("its run ends before its time");
    }
    return race;
}

std::string RaceLink::Pack() const
{
    std::string link = mPrefix + Base64Url::Encode(LinkCodec::Pack(Text()));
    if (mLevel)
    {
        link += kSeparator + LevelLink::Pack(*mLevel);
    }
    return link;
}

RaceLink RaceLink::Unpack(const std::string& link)
{
    if (link.size() > 2 * LevelLink::mMaxText)
    {
        throw std::runtime_error("The race link is too large");
    }
    const std::string code = Code(link);
    if (code.empty())
    {
        throw std::runtime_error("The link is empty");
    }
    const std::size_t prefix = std::string(mPrefix).size();
    if (code.compare(0, prefix, mPrefix) != 0)
    {
        Broken("it is not a Kestrovane race");
    }
    const std::size_t separator = code.find(kSeparator, prefix);
    const std::string runPart =
        code.substr(prefix, separator == std::string::npos ? std::string::npos : separator - prefix);
    if (runPart.empty())
    {
        Broken("it is cut short");
    }
    RaceLink race = FromText(LinkCodec::Unpack(Base64Url::Decode(runPart)));
    if (race.mLevel.has_value() != (separator != std::string::npos))
    {
        Broken(race.mLevel ? "its level is missing" : "it holds a level it does not name");
    }
    if (race.mLevel)
    {
        const std::string levelPart = code.substr(separator + 1);
        if (levelPart.empty())
        {
            Broken("its level is missing");
        }
        race.mLevel = LevelLink::Unpack(levelPart);
    }
    return race;
}
