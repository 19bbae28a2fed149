// The temporary files of a level played without being saved.
#include "editor/ScratchLevel.h"

#include "editor/LevelDocument.h"

#include <SDL.h>

#include <system_error>
#include <unistd.h>

ScratchLevel::ScratchLevel()
{
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
    {
        base = "/tmp";
    }
    // The process and the clock tell two games running at once apart.
    mFolder = base / ("kestrovane-level-" + std::to_string(getpid()) + "-" + std::to_string(SDL_GetTicks()));
}

ScratchLevel::~ScratchLevel()
{
    std::error_code ignored;
    std::filesystem::remove_all(mFolder, ignored);
}

std::string ScratchLevel::Write(const LevelDocument& level)
{
    std::filesystem::create_directories(mFolder);
    LevelDocument copy = level;
    copy.mBackgroundName = "level_bg.png";
    copy.mCollisionName = "level_col.png";
    copy.mEntitiesName = "level.ent";
    const std::string path = (mFolder / "level.map").string();
    copy.Save(path);
    return path;
}
