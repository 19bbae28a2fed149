// The temporary files of a level played without being saved.
#include "editor/ScratchLevel.h"

#include "editor/LevelDocument.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

ScratchLevel::ScratchLevel() = default;

ScratchLevel::~ScratchLevel()
{
    if (!mFolder.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(mFolder, ignored);
    }
}

std::string ScratchLevel::Write(const LevelDocument& level)
{
    if (mFolder.empty())
    {
        std::error_code error;
        std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error)
        {
            base = "/tmp";
        }
        // A new folder of this user's alone, never one that was there before (which another could have
        // planted, links and all, to receive the level's writes).
        std::string pattern = (base / "kestrovane-level-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
        {
            throw std::runtime_error("cannot make a folder for the level in " + base.string() + ": " +
                                     std::generic_category().message(errno));
        }
        mFolder = pattern;
    }
    LevelDocument copy = level;
    copy.mBackgroundName = "level_bg.png";
    copy.mCollisionName = "level_col.png";
    copy.mEntitiesName = "level.ent";
    const std::string path = (mFolder / "level.map").string();
    copy.Save(path);
    return path;
}
