// The named colour palette: loading and lookups.
#include "Palette.h"

#include "TextSource.h"

#include <stdexcept>

void Palette::Load(const std::string& path)
{
    TextSource source(path);
    std::vector<std::string> fields;
    while (source.NextFields(fields))
    {
        if (fields.size() != 5 || fields[0].size() != 1)
            throw source.Error("expected <char> <name> <r> <g> <b>");
        char symbol = fields[0][0];
        if (symbol == mClear)
            throw source.Error("'.' is reserved for unpainted pixels");
        if (mColors.count(symbol) != 0 || mNames.count(fields[1]) != 0)
            throw source.Error("colour defined twice: " + fields[0] + " " + fields[1]);
        std::uint32_t rgb = 0;
        for (int i = 2; i < 5; ++i)
        {
            int channel = source.Number(fields[i]);
            if (channel < 0 || channel > 255)
                throw source.Error("channel out of range: " + fields[i]);
            rgb = (rgb << 8) | static_cast<std::uint32_t>(channel);
        }
        mColors[symbol] = rgb;
        mNames[fields[1]] = symbol;
    }
}

std::uint32_t Palette::Color(char symbol) const
{
    auto found = mColors.find(symbol);
    if (found == mColors.end())
        throw std::runtime_error(std::string("colour not in the palette: '") + symbol + "'");
    return found->second;
}

char Palette::Symbol(const std::string& name) const
{
    auto found = mNames.find(name);
    if (found == mNames.end())
        throw std::runtime_error("colour name not in the palette: " + name);
    return found->second;
}
