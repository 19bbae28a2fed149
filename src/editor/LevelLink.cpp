// Packing a level into a link and reading one back, refusing anything malformed.
#include "editor/LevelLink.h"

#include "editor/Base64Url.h"
#include "editor/LevelDocument.h"
#include "editor/LinkCodec.h"
#include "io/FieldReader.h"

#include <cstdio>
#include <map>
#include <sstream>
#include <stdexcept>

namespace
{
const std::string kHeader = "kestrovane-level 1";
// One character a cell: a layer holds at most this many different tiles in a link.
const std::string kDigits = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_";

[[noreturn]] void Broken(const std::string& why)
{
    throw std::runtime_error("The link is broken: " + why);
}

bool ReadInt(const std::string& field, int& value)
{
    if (field.empty() || field.size() > 9)
    {
        return false;
    }
    std::size_t at = field[0] == '-' ? 1 : 0;
    if (at == field.size())
    {
        return false;
    }
    long long number = 0;
    for (; at < field.size(); ++at)
    {
        if (field[at] < '0' || field[at] > '9')
        {
            return false;
        }
        number = number * 10 + (field[at] - '0');
    }
    value = static_cast<int>(field[0] == '-' ? -number : number);
    return true;
}

bool ReadColor(const std::string& field, std::uint32_t& color)
{
    if (field.size() != 6)
    {
        return false;
    }
    color = 0;
    for (char c : field)
    {
        const auto digit = kDigits.find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        if (digit == std::string::npos || digit > 15)
        {
            return false;
        }
        color = color * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

std::string Hex(std::uint32_t color)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(color & 0xFFFFFF));
    return text;
}

// Splits the text into its lines; a link's text never has CR.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size())
    {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos)
        {
            end = text.size();
        }
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}
} // namespace

std::string LevelLink::Text(const LevelDocument& level)
{
    std::ostringstream text;
    text << kHeader << '\n' << "size " << level.Width() << ' ' << level.Height() << '\n';
    for (int layer = 0; layer < 2; ++layer)
    {
        std::map<std::uint32_t, std::size_t> palette;
        std::string line = layer == 0 ? "back" : "fore";
        for (std::uint32_t color : level.Layer(layer))
        {
            if (palette.count(color) == 0)
            {
                if (palette.size() == kDigits.size())
                {
                    throw std::runtime_error("A link holds at most 64 kinds of tile a layer");
                }
                const std::size_t index = palette.size();
                palette[color] = index;
                line += ' ' + Hex(color);
            }
        }
        text << line << '\n';
        for (int y = 0; y < level.Height(); ++y)
        {
            std::string row(level.Width(), ' ');
            for (int x = 0; x < level.Width(); ++x)
            {
                row[x] = kDigits[palette[level.Cell(layer, x, y)]];
            }
            text << row << '\n';
        }
    }
    for (const PlacedEntity& placed : level.mEntities)
    {
        text << "entity " << placed.Line() << '\n';
    }
    std::istringstream description(level.mDescription);
    std::string line;
    while (std::getline(description, line))
    {
        text << "say " << line << '\n';
    }
    return text.str();
}

LevelDocument LevelLink::FromText(const std::string& text)
{
    const std::vector<std::string> lines = Lines(text);
    if (lines.size() < 2 || lines[0] != kHeader)
    {
        Broken("it is not a Kestrovane level");
    }
    std::vector<std::string> fields;
    FieldReader::Split(lines[1], fields);
    int width = 0;
    int height = 0;
    if (fields.size() != 3 || fields[0] != "size" || !ReadInt(fields[1], width) ||
        !ReadInt(fields[2], height) || width < 1 || height < 1 || width > LevelDocument::mMaxSide ||
        height > LevelDocument::mMaxSide)
    {
        Broken("its size is unreadable");
    }
    // What Pack never makes is never taken in.
    if (static_cast<long long>(width) * height > mMaxCells)
    {
        throw std::runtime_error("The link is too large: a level link holds at most " +
                                 std::to_string(mMaxCells) + " cells");
    }
    // Both layers' rows must be there before anything is made of that size.
    if (lines.size() < 2 + 2 * (1 + static_cast<std::size_t>(height)))
    {
        Broken("its layers are cut short");
    }
    LevelDocument level(width, height);
    std::size_t at = 2;
    for (int layer = 0; layer < 2; ++layer)
    {
        FieldReader::Split(lines[at++], fields);
        if (fields.empty() || fields[0] != (layer == 0 ? "back" : "fore") ||
            fields.size() > kDigits.size() + 1)
        {
            Broken("a layer's tiles are unreadable");
        }
        std::vector<std::uint32_t> palette(fields.size() - 1);
        for (std::size_t i = 1; i < fields.size(); ++i)
        {
            if (!ReadColor(fields[i], palette[i - 1]))
            {
                Broken("a tile colour is unreadable");
            }
        }
        for (int y = 0; y < height; ++y)
        {
            const std::string& row = lines[at++];
            if (row.size() != static_cast<std::size_t>(width))
            {
                Broken("a row of the level has the wrong width");
            }
            for (int x = 0; x < width; ++x)
            {
                const std::size_t index = kDigits.find(row[x]);
                if (index == std::string::npos || index >= palette.size())
                {
                    Broken("a cell names no tile");
                }
                level.SetCell(layer, x, y, palette[index]);
            }
        }
    }
    for (; at < lines.size(); ++at)
    {
        const std::string& line = lines[at];
        if (line.compare(0, 4, "say ") == 0)
        {
            level.mDescription += (level.mDescription.empty() ? "" : "\n") + line.substr(4);
            continue;
        }
        FieldReader::Split(line, fields);
        PlacedEntity placed;
        if (fields.size() < 5 || fields.size() > 6 || fields[0] != "entity" || fields[1].empty() ||
            (fields[2] != "0" && fields[2] != "1") || !ReadInt(fields[3], placed.mX) ||
            !ReadInt(fields[4], placed.mY))
        {
            Broken("an entity is unreadable");
        }
        placed.mType = fields[1];
        placed.mDirection = fields[2] == "1";
        placed.mID = fields.size() == 6 ? fields[5] : std::string();
        level.mEntities.push_back(placed);
    }
    return level;
}

namespace
{
// The level's text when it fits a link, or empty with the reason in why.
std::string FittingText(const LevelDocument& level, std::string& why)
{
    // Told before any text is made: a large level's text would be megabytes.
    if (static_cast<long long>(level.Width()) * level.Height() > LevelLink::mMaxCells)
    {
        why = LevelLink::mTooLarge;
        return {};
    }
    std::string text;
    try
    {
        text = LevelLink::Text(level);
    }
    catch (const std::runtime_error& error)
    {
        why = error.what();
        return {};
    }
    if (text.size() > LinkCodec::mMaxUnpacked)
    {
        why = LevelLink::mTooLarge;
        return {};
    }
    return text;
}
} // namespace

bool LevelLink::Fits(const LevelDocument& level, std::string* why)
{
    std::string reason;
    const bool fits = !FittingText(level, reason).empty();
    if (why != nullptr)
    {
        *why = reason;
    }
    return fits;
}

std::string LevelLink::Pack(const LevelDocument& level)
{
    std::string why;
    const std::string text = FittingText(level, why);
    if (text.empty())
    {
        throw std::runtime_error(why);
    }
    return Base64Url::Encode(LinkCodec::Pack(text));
}

LevelDocument LevelLink::Unpack(const std::string& link)
{
    if (link.size() > mMaxText)
    {
        throw std::runtime_error("The link is too large: a level link is at most " +
                                 std::to_string(mMaxText / 1024) + " KiB of text");
    }
    // A whole address carries the level after its "#".
    const std::size_t hash = link.rfind('#');
    const std::string code = hash == std::string::npos ? link : link.substr(hash + 1);
    if (code.find_first_not_of(" \r\n\t") == std::string::npos)
    {
        throw std::runtime_error("The link is empty");
    }
    return FromText(LinkCodec::Unpack(Base64Url::Decode(code)));
}
