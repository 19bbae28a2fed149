// Reading and writing the settings file "kesv.cfg".
#include "Game.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
const char* const kConfigFile = "kesv.cfg";
constexpr int kMaxLinkHops = 40; // as the system's own limit on symbolic link chains

// The file the settings really live in: a "kesv.cfg" that is a symbolic link (to a file kept elsewhere) is
// followed to its target, even a missing one, so that writing keeps the link a link.
fs::path ConfigTarget()
{
    fs::path path = kConfigFile;
    std::error_code error;
    for (int hop = 0; hop < kMaxLinkHops && fs::is_symlink(path, error); ++hop)
    {
        const fs::path next = fs::read_symlink(path, error);
        if (error)
        {
            break;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// Assigns the fields that are present; a short line keeps the current value of each missing field.
template <typename T> void Assign(const std::vector<std::string>& fields, std::size_t index, T& target)
{
    if (index < fields.size())
    {
        target = Utils::ConvertString<T>(fields[index], false);
    }
}
} // namespace

bool Game::ReadConfig()
{
    FieldReader reader(kConfigFile);
    if (!reader.IsOpen())
    {
        return false;
    }

    // Data lines are counted on their own: comments between them do not shift the numbering.
    int dataLine = 0;
    std::vector<std::string> fields;
    while (reader.NextLine(fields))
    {
        if (fields.empty())
        {
            continue;
        }
        ++dataLine;
        switch (dataLine)
        {
        case 1:
            Assign(fields, 0, mFullscreen);
            Assign(fields, 1, mVSync);
            Assign(fields, 2, mShowFPS);
            break;
        case 2:
            Assign(fields, 0, mKeyLeft);
            Assign(fields, 1, mKeyRight);
            Assign(fields, 2, mKeyJump);
            Assign(fields, 3, mKeyFire);
            break;
        case 3:
            Assign(fields, 0, mSound);
            Assign(fields, 1, mMusic);
            Assign(fields, 2, mSoundVolume);
            Assign(fields, 3, mMusicVolume);
            break;
        default:
            break; // extra data lines are ignored
        }
    }
    return true;
}

bool Game::ConfigFileExists()
{
    std::error_code error;
    // A file whose state cannot even be asked for is taken as present: it is not replaced.
    return fs::symlink_status(ConfigTarget(), error).type() != fs::file_type::not_found;
}

bool Game::WriteConfig()
{
    std::ostringstream text;
    text << "// Default config file\n"
         << "// Fullscreen VSync Show FPS\n"
         << (FullscreenToSave() ? 1 : 0) << ' ' << (mVSync ? 1 : 0) << ' ' << (mShowFPS ? 1 : 0) << '\n'
         << "// Controls\n"
         << "// Left Right Jump Fire\n"
         << mKeyLeft << ' ' << mKeyRight << ' ' << mKeyJump << ' ' << mKeyFire << '\n'
         << "// Sound Music Sound Volume Music Volume\n"
         << (mSound ? 1 : 0) << ' ' << (mMusic ? 1 : 0) << ' ' << mSoundVolume << ' ' << mMusicVolume;

    const fs::path target = ConfigTarget();
    // A file the player made read-only is left as it is, although the folder would let it be replaced.
    if (ConfigFileExists() && !std::ofstream(target, std::ios::binary | std::ios::app))
    {
        return false;
    }
    // Written beside the old file and renamed over it, so a crash mid-write never leaves it truncated.
    fs::path temporary = target;
    temporary += ".tmp";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (file)
    {
        file << text.str();
        file.close();
        std::error_code error;
        if (!file)
        {
            // Made but not written whole (a full disk): the old file stays as it was.
            fs::remove(temporary, error);
            return false;
        }
        fs::rename(temporary, target, error);
        if (!error)
        {
            return true;
        }
        fs::remove(temporary, error);
    }
    // No new file could be made beside the old one, or not renamed over it: the old one is rewritten in
    // place (a folder the player may not write to can still hold a settings file they may).
    std::ofstream inPlace(target, std::ios::binary | std::ios::trunc);
    inPlace << text.str();
    inPlace.close();
    return static_cast<bool>(inPlace);
}
