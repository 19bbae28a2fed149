// Build tool: renders one sound effect description into a 16-bit mono WAV file.
#include "SoundEffect.h"
#include "TextSource.h"
#include "WavWriter.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: kes_sfx <effect.sfx> <out.wav>\n";
        return 2;
    }
    try
    {
        TextSource source(argv[1]);
        const SoundEffect effect(source);
        WavWriter::Write(argv[2], effect.Render(), 1, 44100);
    }
    catch (const std::exception& error)
    {
        std::cerr << "kes_sfx: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
