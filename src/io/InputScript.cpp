// Reads and writes recorded inputs, the shipped levels' proof of completion and their par times.
#include "io/InputScript.h"

#include "io/FieldReader.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

std::vector<unsigned> InputScript::Parse(const std::string& script)
{
    std::vector<unsigned> updates;
    std::istringstream words(script);
    std::string word;
    while (words >> word)
    {
        unsigned keys = 0;
        std::size_t i = 0;
        for (; i < word.size() && !std::isdigit(static_cast<unsigned char>(word[i])); ++i)
        {
            switch (word[i])
            {
            case 'L':
                keys |= Left;
                break;
            case 'R':
                keys |= Right;
                break;
            case 'J':
                keys |= Jump;
                break;
            case 'F':
                keys |= Fire;
                break;
            case '-':
                break;
            default:
                throw std::runtime_error("unknown key in input script: " + word);
            }
        }
        if (i == word.size())
            throw std::runtime_error("no count in input script: " + word);
        std::size_t count = 0;
        for (std::size_t digit = i; digit < word.size(); ++digit)
        {
            if (!std::isdigit(static_cast<unsigned char>(word[digit])))
                throw std::runtime_error("bad count in input script: " + word);
            count = count * 10 + static_cast<std::size_t>(word[digit] - '0');
            if (updates.size() + count > mMaxUpdates)
                throw std::runtime_error("input script too long: " + word);
        }
        updates.insert(updates.end(), count, keys);
    }
    return updates;
}

std::string InputScript::Format(const std::vector<unsigned>& updates)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < updates.size();)
    {
        std::size_t run = i;
        while (run < updates.size() && updates[run] == updates[i])
            ++run;
        const unsigned keys = updates[i];
        std::string name;
        if (keys & Left)
            name += 'L';
        if (keys & Right)
            name += 'R';
        if (keys & Jump)
            name += 'J';
        if (keys & Fire)
            name += 'F';
        out << (i ? " " : "") << (name.empty() ? "-" : name) << run - i;
        i = run;
    }
    return out.str();
}

std::vector<unsigned> InputScript::Load(const std::string& path)
{
    const std::string refusal = FieldReader::Refusal(path, mMaxFileSize);
    if (!refusal.empty())
        throw std::runtime_error(path + ": " + refusal);
    FieldReader file(path);
    if (!file.IsOpen())
        throw std::runtime_error("no recorded input: " + path);
    std::string script;
    for (std::string line; file.ReadLine(line);)
    {
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start != std::string::npos && line.compare(start, 2, "//") != 0)
            script += line + ' ';
    }
    try
    {
        std::vector<unsigned> updates = Parse(script);
        if (updates.empty())
            throw std::runtime_error("no input");
        return updates;
    }
    catch (const std::exception& error)
    {
        throw std::runtime_error(path + ": " + error.what());
    }
}
