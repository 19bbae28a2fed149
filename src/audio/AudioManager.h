// Sound effects and music loaded from two list files and played by file name.
#pragma once

#include <SDL_mixer.h>

#include <map>
#include <string>

class AudioManager
{
  public:
    AudioManager() = default;
    ~AudioManager();
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    // Opens the mixer; failures throw std::runtime_error.
    bool Init(bool sound, bool music, int soundVolume, int musicVolume);
    // Reads "data/sfx/sounds.cfg" and "data/music/music.cfg"; false when a list cannot be opened.
    bool LoadAllAudioFiles();
    void LoadSound(const std::string& name);
    void LoadMusic(const std::string& name);
    void PlaySound(const std::string& name);
    // Replaces the current music with the named one, looping forever.
    void PlayMusic(const std::string& name, bool fadeIn);
    // A tune of the list whose file loaded: one PlayMusic can start.
    bool HasMusic(const std::string& name) const;
    void StopMusic(const std::string& name, bool fadeOut);
    void StopSounds();
    // While play is paused the music plays on at a quarter of its volume and the sounds hold where they are.
    void SetPaused(bool paused);
    // Volumes are clamped to 0..128.
    void SetSoundVolume(int volume);
    void SetMusicVolume(int volume);
    void CleanUp();

    bool mIsInitialized = false;
    bool mSoundEnabled = false;
    bool mMusicEnabled = false;
    int mCurrentSoundVolume = 64;
    int mCurrentMusicVolume = 64;
    std::map<std::string, Mix_Chunk*> mSounds; // owned; null when the file failed to load
    std::map<std::string, Mix_Music*> mSongs;  // owned; null when the file failed to load
};
