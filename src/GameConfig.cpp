// Reading and writing the settings file "kesv.cfg".
#include "Game.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"
#include "io/PlayerFile.h"

#include <SDL_scancode.h>

#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const char* const kConfigFile = "kesv.cfg";
// Far more than the settings take (a spoiled file with a line of a megabyte is still read): anything
// larger is no settings file.
constexpr std::uintmax_t kMaxConfigBytes = 16 << 20;

// Assigns the fields that are present; a short line keeps the current value of each missing field.
template <typename T> void Assign(const std::vector<std::string>& fields, std::size_t index, T& target)
{
    if (index < fields.size())
    {
        target = Utils::ConvertString<T>(fields[index], false);
    }
}
// A key binding must be one of SDL's scancodes: the code indexes SDL's tables of keys. Anything else in the
// file falls back to that key's default, with a line saying so.
void AssignKey(const std::vector<std::string>& fields, std::size_t index, const char* name, int& target,
               int fallback)
{
    int code = target;
    Assign(fields, index, code);
    if (code <= SDL_SCANCODE_UNKNOWN || code >= SDL_NUM_SCANCODES)
    {
        std::cerr << "Kestrovane: settings file kesv.cfg: the " << name << " key " << code
                  << " is no key, so its default is used\n";
        code = fallback;
    }
    target = code;
}
} // namespace

std::string Game::ConfigRefusal()
{
    return FieldReader::Refusal(kConfigFile, kMaxConfigBytes);
}

bool Game::ReadConfig()
{
    // Never opened when refused: opening a pipe waits for a writer, and a folder opens as an empty file.
    if (!ConfigRefusal().empty())
    {
        return false;
    }
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
            AssignKey(fields, 0, "left", mKeyLeft, SDL_SCANCODE_LEFT);
            AssignKey(fields, 1, "right", mKeyRight, SDL_SCANCODE_RIGHT);
            AssignKey(fields, 2, "jump", mKeyJump, SDL_SCANCODE_UP);
            AssignKey(fields, 3, "fire", mKeyFire, SDL_SCANCODE_SPACE);
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
