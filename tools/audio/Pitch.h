// Note names and frequencies: "A4" is 440 Hz, "C#3" and "Db3" are the same key.
#pragma once

#include <optional>
#include <string>

class SourceLine;

namespace Pitch
{
// The frequency in Hz of a note name (letter, optional # or b, octave 0 to 9), or nothing if it is not one.
std::optional<double> NoteFrequency(const std::string& name);
// The word at index as a note name or a plain number of Hz.
double Frequency(const SourceLine& line, std::size_t index);
// The factor that raises a frequency by the given number of semitones.
double Semitones(double semitones);
} // namespace Pitch
