// One voice of a tune: oscillators, envelopes, filter and where its sound goes in the mix.
#pragma once

#include "Envelope.h"
#include "Filter.h"
#include "Oscillator.h"

#include <cstdint>
#include <string>
#include <vector>

class SourceLine;

class Instrument
{
  public:
    // Applies one setting line ("wave saw", "envelope 0.01 0.2 0.5 0.3", ...); false if the key is unknown.
    bool Set(const SourceLine& line);

    // Adds one note, starting at sample first of left and right, to the buffers (which must be long enough:
    // see Length). velocity is 0..1; gate is the seconds the key is held; seed varies the unison phases.
    void Play(double frequency, double velocity, double gate, std::uint32_t seed, std::vector<float>& left,
              std::vector<float>& right, std::size_t first) const;
    // Seconds a note held for gate seconds keeps sounding.
    double Length(double gate) const { return mAmplitude.Length(gate); }

    double mDefaultFrequency = 261.6255653; // the note an "x" plays
    double mGain = 0.5;
    double mPan = 0.0;        // -1 left .. 1 right
    double mReverbSend = 0.0; // share of the sound sent to the hall
    double mDelaySend = 0.0;  // share of the sound sent to the echo

  private:
    struct Controls
    {
        double pitch = 0.0;
        double cutoff = 0.0;
        double level = 0.0;
    };

    Waveform mWave = Waveform::Saw;
    double mDuty = 0.5;
    Waveform mSecondWave = Waveform::Sine;
    double mSecondSemitones = 0.0, mSecondLevel = 0.0;
    int mUnison = 1;
    double mDetune = 0.0; // cents between the outermost unison voices
    double mWidth = 0.6;  // stereo spread of the unison voices
    Envelope mAmplitude{0.005, 0.2, 0.8, 0.2};
    FilterType mFilter = FilterType::None;
    double mCutoff = 20000.0, mResonance = 0.707;
    double mFilterAmount = 0.0; // Hz the filter envelope adds at its peak
    bool mOwnFilterEnvelope = false;
    Envelope mFilterEnvelope;
    double mKeyTrack = 0.0; // share of the note's frequency added to the cutoff
    double mDropSemitones = 0.0, mDropTime = 0.05;
    double mVibratoRate = 0.0, mVibratoCents = 0.0, mVibratoDelay = 0.0;
    double mDrive = 0.0;
};
