// The game's sound service: opens the mixer, loads the listed effects and music, plays them by name.
#include "audio/AudioManager.h"

#include "io/FieldReader.h"

#include <SDL.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kChunkSize = 2048;
constexpr int kMixingChannels = 8;
constexpr int kFadeMilliseconds = 3000;
[[maybe_unused]] constexpr Uint32 kFadeRetryMilliseconds = 100;

// Calls load for every name of the list file in order; false when the file cannot be opened.
template <typename Load> bool ReadList(const char* path, Load load)
{
    FieldReader reader(path);
    if (!reader.IsOpen())
    {
        return false;
    }
    // Two spaces give an empty name, which is loaded (and fails) like any other.
    std::vector<std::string> names;
    while (reader.NextLine(names))
    {
        for (const std::string& name : names)
        {
            load(name);
        }
    }
    return true;
}
} // namespace

AudioManager::~AudioManager()
{
    if (mIsInitialized)
    {
        CleanUp();
    }
}

bool AudioManager::Init(bool sound, bool music, int soundVolume, int musicVolume)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
    {
        throw std::runtime_error(std::string("Unable to initialize SDL sub system: ") + SDL_GetError());
    }
    if (Mix_OpenAudio(kFrequency, AUDIO_S16LSB, kOutputChannels, kChunkSize) < 0)
    {
        throw std::runtime_error(std::string("Unable to initialize SDL mixer: ") + SDL_GetError());
    }
    Mix_AllocateChannels(kMixingChannels);

    // Stored as given: the mixer limits the values itself, and the first Set...Volume call clamps them.
    mCurrentSoundVolume = soundVolume;
    mCurrentMusicVolume = musicVolume;
    Mix_Volume(-1, soundVolume);
    Mix_VolumeMusic(musicVolume);

    mIsInitialized = true;
    mSoundEnabled = sound;
    mMusicEnabled = music;
    return true;
}

bool AudioManager::LoadAllAudioFiles()
{
    if (!ReadList("data/sfx/sounds.cfg", [this](const std::string& name) { LoadSound(name); }))
    {
        return false;
    }
    return ReadList("data/music/music.cfg", [this](const std::string& name) { LoadMusic(name); });
}

void AudioManager::LoadSound(const std::string& name)
{
    if (!mIsInitialized)
    {
        return;
    }
    // A missing file is registered as null so that playing it is simply silent.
    Mix_Chunk* chunk = Mix_LoadWAV(("data/sfx/" + name).c_str());
    if (!mSounds.emplace(name, chunk).second && chunk != nullptr)
    {
        Mix_FreeChunk(chunk); // a name listed twice keeps its first object
    }
}

void AudioManager::LoadMusic(const std::string& name)
{
    if (!mIsInitialized)
    {
        return;
    }
    Mix_Music* song = Mix_LoadMUS(("data/music/" + name).c_str());
    if (!mSongs.emplace(name, song).second && song != nullptr)
    {
        Mix_FreeMusic(song);
    }
}

void AudioManager::PlaySound(const std::string& name)
{
    if (!mIsInitialized || !mSoundEnabled)
    {
        return;
    }
    const auto found = mSounds.find(name);
    if (found == mSounds.end() || found->second == nullptr)
    {
        return;
    }
    Mix_PlayChannel(-1, found->second, 0);
}

bool AudioManager::HasMusic(const std::string& name) const
{
    const auto found = mSongs.find(name);
    return found != mSongs.end() && found->second != nullptr;
}

void AudioManager::PlayMusic(const std::string& name, bool fadeIn)
{
    if (!mIsInitialized || !mMusicEnabled)
    {
        return;
    }
    const auto found = mSongs.find(name);
    if (found == mSongs.end())
    {
        return; // the current music keeps playing
    }
    // The old piece stops at once, even when the new one fades in.
    Mix_HaltMusic();
    if (found->second == nullptr)
    {
        return;
    }
    if (fadeIn)
    {
        Mix_FadeInMusic(found->second, -1, kFadeMilliseconds);
    }
    else
    {
        Mix_PlayMusic(found->second, -1);
    }
}

void AudioManager::StopMusic(const std::string& name, bool fadeOut)
{
    if (!mIsInitialized || mSongs.count(name) == 0)
    {
        return;
    }
    if (!fadeOut)
    {
        Mix_HaltMusic();
        return;
    }
    // A fade cannot start while another fade is running; retry until it starts or the music ends.
    while (Mix_FadeOutMusic(kFadeMilliseconds) == 0 && Mix_PlayingMusic() != 0)
    {
#ifdef __EMSCRIPTEN__
        // A page must never block between frames: the music that cannot fade out stops at once.
        Mix_HaltMusic();
#else
        SDL_Delay(kFadeRetryMilliseconds);
#endif
    }
}

void AudioManager::StopSounds()
{
    if (mIsInitialized)
    {
        Mix_HaltChannel(-1);
    }
}

void AudioManager::SetPaused(bool paused)
{
    if (!mIsInitialized)
    {
        return;
    }
    Mix_VolumeMusic(paused ? mCurrentMusicVolume / 4 : mCurrentMusicVolume);
    if (paused)
    {
        Mix_Pause(-1);
    }
    else
    {
        Mix_Resume(-1);
    }
}

void AudioManager::SetSoundVolume(int volume)
{
    if (!mIsInitialized)
    {
        return;
    }
    mCurrentSoundVolume = volume > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : (volume < 0 ? 0 : volume);
    Mix_Volume(-1, mCurrentSoundVolume);
}

void AudioManager::SetMusicVolume(int volume)
{
    if (!mIsInitialized)
    {
        return;
    }
    mCurrentMusicVolume = volume > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : (volume < 0 ? 0 : volume);
    Mix_VolumeMusic(mCurrentMusicVolume);
}

void AudioManager::CleanUp()
{
    if (!mIsInitialized)
    {
        return;
    }
    Mix_HaltChannel(-1);
    for (auto& entry : mSounds)
    {
        Mix_FreeChunk(entry.second);
    }
    mSounds.clear();
    Mix_HaltMusic();
    for (auto& entry : mSongs)
    {
        Mix_FreeMusic(entry.second);
    }
    mSongs.clear();
    Mix_CloseAudio();
    mIsInitialized = false;
}
