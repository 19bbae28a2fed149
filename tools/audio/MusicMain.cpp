// Build tool: renders one tune into a looping Ogg Vorbis file (or a WAV, for listening while writing it); an
// optional Vorbis quality (-0.1 to 1) packs it smaller, as for the web page.
#include "OggWriter.h"
#include "Sequencer.h"
#include "Song.h"
#include "TextSource.h"
#include "WavWriter.h"

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
    {
        std::cerr << "usage: kes_music <tune.song> <out.ogg | out.wav> [quality]\n";
        return 2;
    }
    // The desktop's quality: about 160 kbit/s for the game's tunes.
    const float quality = argc == 4 ? std::stof(argv[3]) : 0.5f;
    try
    {
        TextSource source(argv[1]);
        const Song song(source);
        const Sequencer::Stereo sound = Sequencer::Render(song);
        const std::string out = argv[2];
        if (out.size() > 4 && out.compare(out.size() - 4, 4, ".wav") == 0)
        {
            std::vector<float> interleaved;
            interleaved.reserve(sound.left.size() * 2);
            for (std::size_t i = 0; i < sound.left.size(); ++i)
            {
                interleaved.push_back(sound.left[i]);
                interleaved.push_back(sound.right[i]);
            }
            WavWriter::Write(out, interleaved, 2, 44100);
        }
        else
        {
            OggWriter::Write(out, sound.left, sound.right, 44100, song.mTitle, quality);
        }
    }
    catch (const std::exception& error)
    {
        std::cerr << "kes_music: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
