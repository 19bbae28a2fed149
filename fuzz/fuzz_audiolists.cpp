// Fuzzes the sound and music lists: the bytes up to the first zero byte are "sounds.cfg", the rest
// "music.cfg". Every listed name is loaded (missing files register as silent) and can be played.
#include "FuzzSupport.h"

#include "audio/AudioManager.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The harness keeps the mixer open, so opening it again per input is cheap.
    test::PlayHarness& harness = fuzz::Harness();
    (void)harness;
    const std::uint8_t* split = std::find(data, data + size, 0);
    fuzz::WriteBytes("data/sfx/sounds.cfg", data, static_cast<std::size_t>(split - data));
    const std::uint8_t* music = split == data + size ? split : split + 1;
    fuzz::WriteBytes("data/music/music.cfg", music, static_cast<std::size_t>(data + size - music));

    AudioManager audio;
    audio.Init(true, true, 64, 64);
    if (!audio.LoadAllAudioFiles())
    {
        fuzz::Fail("existing lists could not be read");
    }
    for (const auto& entry : audio.mSounds)
    {
        audio.PlaySound(entry.first);
    }
    for (const auto& entry : audio.mSongs)
    {
        audio.PlayMusic(entry.first, false);
    }
    audio.StopSounds();
    return 0;
}
