// Copies the generated content into a temporary working folder so scenes can change the level list.
#include "ContentFolder.h"

#include <fstream>
#include <stdexcept>

namespace bench
{
namespace
{
// Taken once, before any folder is entered: Source() must not depend on the current working directory.
const std::filesystem::path kSource = []
{
    std::error_code error;
    const std::filesystem::path built(KES_CONTENT_DIR);
    if (std::filesystem::is_directory(built / "maps", error))
    {
        return built;
    }
    return std::filesystem::absolute("data", error);
}();
} // namespace

ContentFolder::ContentFolder() : mDir(true)
{
    if (!Available())
    {
        throw std::runtime_error("no generated content in " + kSource.string() +
                                 "; build the data target first");
    }
    std::filesystem::copy(kSource, mDir.Path() / "data", std::filesystem::copy_options::recursive);
}

std::filesystem::path ContentFolder::Source()
{
    return kSource;
}

bool ContentFolder::Available()
{
    std::error_code error;
    return std::filesystem::is_regular_file(kSource / "maps" / "maps.lst", error);
}

std::vector<std::string> ContentFolder::ShippedLevels()
{
    std::ifstream list(kSource / "maps" / "maps.lst");
    std::vector<std::string> levels;
    std::string line;
    while (std::getline(list, line))
    {
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        if (!line.empty())
        {
            levels.push_back(line);
        }
    }
    return levels;
}

void ContentFolder::SetLevelList(const std::vector<std::string>& levels) const
{
    std::string text;
    for (const std::string& level : levels)
    {
        text += level + "\n";
    }
    mDir.WriteFile("data/maps/maps.lst", text);
}
} // namespace bench
