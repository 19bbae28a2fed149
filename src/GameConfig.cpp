// Reading and writing the settings file "kesv.cfg".
#include "Game.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"
#include "io/PlayerFile.h"

#include <sstream>
#include <string>
#include <vector>

namespace
{
const char* const kConfigFile = "kesv.cfg";

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
    mWrittenSettings = SettingsText();
    return true;
}

bool Game::ConfigFileExists()
{
    return PlayerFile::Exists(kConfigFile);
}

std::string Game::SettingsText() const
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
    return text.str();
}

void Game::SaveChangedSettings()
{
    if (SettingsText() != mWrittenSettings)
    {
        WriteConfig();
    }
}

bool Game::WriteConfig()
{
    const std::string text = SettingsText();
    if (!PlayerFile::Write(kConfigFile, text))
    {
        return false;
    }
    mWrittenSettings = text;
    return true;
}
