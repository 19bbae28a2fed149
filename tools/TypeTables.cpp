// Strict reading of the tile and entity type tables.
#include "TypeTables.h"

#include "TextSource.h"

#include <stdexcept>

namespace
{
// Reads every definition line of a table, refusing anything the game would silently skip.
template <typename Handle> void ReadTable(const std::string& path, std::size_t most, Handle handle)
{
    TextSource source(path);
    std::string line;
    while (source.NextLine(line))
    {
        if (line.empty() || TextSource::IsComment(line))
            continue;
        std::vector<std::string> fields = TypeTables::GameFields(line);
        if (fields.size() < 8 || fields.size() > most)
            throw source.Error(most == 8 ? "expected exactly eight fields separated by single spaces"
                                         : "expected eight or nine fields separated by single spaces");
        for (const std::string& field : fields)
            if (field.empty())
                throw source.Error("empty field (double space)");
        handle(source, fields);
    }
}

bool IsFlag(const std::string& text)
{
    return text == "0" || text == "1";
}
} // namespace

void TypeTables::Load(const std::string& tileTypesPath, const std::string& entityTypesPath)
{
    ReadTable(tileTypesPath, 9,
              [this](TextSource& source, const std::vector<std::string>& fields)
              {
                  std::size_t used = 0;
                  unsigned long color = 0;
                  try
                  {
                      color = std::stoul(fields[0], &used, 16);
                  }
                  catch (const std::exception&)
                  {
                  }
                  if (used != fields[0].size() || fields[0].size() != 6)
                      throw source.Error("tile colour must be six hexadecimal digits RRGGBB: " + fields[0]);
                  if (!mTileColors.insert(static_cast<std::uint32_t>(color)).second)
                      throw source.Error("tile colour defined twice: " + fields[0]);
                  for (int i = 2; i <= 4; ++i)
                      if (source.Number(fields[i]) < 0)
                          throw source.Error("negative number: " + fields[i]);
                  for (int i = 5; i <= 7; ++i)
                      if (!IsFlag(fields[i]))
                          throw source.Error("flag must be 0 or 1: " + fields[i]);
                  // An air vent's phase: 0 none, 1 or 2 for the two halves of its cycle.
                  if (fields.size() == 9 && fields[8] != "0" && fields[8] != "1" && fields[8] != "2")
                      throw source.Error("vent phase must be 0, 1 or 2: " + fields[8]);
              });
    ReadTable(entityTypesPath, 8,
              [this](TextSource& source, const std::vector<std::string>& fields)
              {
                  const std::string& base = fields[0];
                  if (base != "Player" && base != "Enemy" && base != "Item" && base != "Entity" &&
                      base != "Bullet" && base != "Lift")
                      throw source.Error("unknown base type: " + base);
                  if (!mEntityBases.emplace(fields[1], base).second)
                      throw source.Error("entity type defined twice: " + fields[1]);
                  for (int i = 2; i <= 4; ++i)
                      if (source.Number(fields[i]) < 0)
                          throw source.Error("negative number: " + fields[i]);
                  for (int i = 5; i <= 6; ++i)
                      if (!IsFlag(fields[i]))
                          throw source.Error("flag must be 0 or 1: " + fields[i]);
                  try
                  {
                      std::stod(fields[7]);
                  }
                  catch (const std::exception&)
                  {
                      throw source.Error("jump speed is not a number: " + fields[7]);
                  }
              });
}

std::string TypeTables::EntityBase(const std::string& name) const
{
    auto found = mEntityBases.find(name);
    if (found == mEntityBases.end())
        throw std::runtime_error("unknown entity type: " + name);
    return found->second;
}

std::vector<std::string> TypeTables::GameFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start <= line.size())
    {
        std::size_t space = line.find(' ', start);
        if (space == std::string::npos)
        {
            if (start < line.size())
                fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, space - start));
        start = space + 1;
    }
    return fields;
}
