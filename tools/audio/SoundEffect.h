// A short sound effect described by layers of swept oscillators, rendered to mono samples.
#pragma once

#include "Envelope.h"
#include "Filter.h"
#include "Oscillator.h"

#include <string>
#include <vector>

class TextSource;

class SoundEffect
{
  public:
    // Reads the effect's description; throws std::runtime_error naming the file and line of a fault.
    explicit SoundEffect(TextSource& source);

    // Mono samples at 44100 Hz, normalised so the loudest one sits at the chosen peak.
    std::vector<float> Render() const;

  private:
    struct Layer
    {
        Waveform wave = Waveform::Sine;
        double start = 0.0;
        double held = 0.1; // seconds before the release begins
        double pitchFrom = 440.0, pitchTo = 440.0;
        double sweep = -1.0; // seconds of the pitch glide; below 0 means the held time
        double stepTime = 0.0;
        std::vector<double> steps; // semitone offsets taken one after another
        double dutyFrom = 0.5, dutyTo = 0.5;
        double vibratoRate = 0.0, vibratoDepth = 0.0;
        Envelope envelope;
        FilterType filter = FilterType::None;
        double cutoffFrom = 20000.0, cutoffTo = 20000.0, resonance = 0.707;
        double gain = 1.0;
    };
    void AddLayer(const Layer& layer, std::size_t index, std::vector<double>& out) const;

    double mLength = 0.0;
    double mPeak = -1.0;
    double mEchoTime = 0.0, mEchoFeedback = 0.0;
    std::vector<Layer> mLayers;
};
