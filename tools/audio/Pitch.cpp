// Note names and frequencies: "A4" is 440 Hz, "C#3" and "Db3" are the same key.
#include "Pitch.h"

#include "SourceLine.h"

#include <cmath>

std::optional<double> Pitch::NoteFrequency(const std::string& name)
{
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G above C
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
    {
        return std::nullopt;
    }
    int semitone = steps[name[0] - 'A'];
    std::size_t at = 1;
    if (name[at] == '#' || name[at] == 'b')
    {
        semitone += name[at] == '#' ? 1 : -1;
        ++at;
    }
    if (at + 1 != name.size() || name[at] < '0' || name[at] > '9')
    {
        return std::nullopt;
    }
    const int midi = 12 * (name[at] - '0' + 1) + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

double Pitch::Frequency(const SourceLine& line, std::size_t index)
{
    if (const auto note = NoteFrequency(line.Word(index)))
    {
        return *note;
    }
    const double hertz = line.Number(index);
    if (hertz <= 0.0)
    {
        line.Fail("a frequency must be above 0 Hz");
    }
    return hertz;
}

double Pitch::Semitones(double semitones)
{
    return std::pow(2.0, semitones / 12.0);
}
