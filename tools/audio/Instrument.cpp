// One voice of a tune: oscillators, envelopes, filter and where its sound goes in the mix.
#include "Instrument.h"

#include "Pitch.h"
#include "SourceLine.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double mPi = 3.14159265358979323846;

Waveform WaveAt(const SourceLine& line, std::size_t index)
{
    Waveform wave = Waveform::Sine;
    if (!Oscillator::Parse(line.Word(index), wave))
    {
        line.Fail("unknown wave '" + line.Word(index) + "'");
    }
    return wave;
}
} // namespace

bool Instrument::Set(const SourceLine& line)
{
    const std::string& key = line.Word(0);
    if (key == "wave")
    {
        line.Expect(2);
        mWave = WaveAt(line, 1);
    }
    else if (key == "duty")
    {
        line.Expect(2);
        mDuty = line.Number(1);
    }
    else if (key == "osc2")
    {
        line.Expect(4);
        mSecondWave = WaveAt(line, 1);
        mSecondSemitones = line.Number(2);
        mSecondLevel = line.Number(3);
    }
    else if (key == "unison")
    {
        line.Expect(3, true);
        mUnison = std::clamp(static_cast<int>(line.Number(1)), 1, 8);
        mDetune = line.Number(2);
        mWidth = std::clamp(line.Number(3, mWidth), 0.0, 1.0);
    }
    else if (key == "envelope")
    {
        line.Expect(5);
        mAmplitude = Envelope(line.Number(1), line.Number(2), line.Number(3), line.Number(4));
    }
    else if (key == "filter")
    {
        line.Expect(3, true);
        if (!Filter::Parse(line.Word(1), mFilter))
        {
            line.Fail("unknown filter '" + line.Word(1) + "'");
        }
        mCutoff = line.Number(2);
        mResonance = line.Number(3, 0.707);
    }
    else if (key == "filterenv")
    {
        line.Expect(2, true);
        mFilterAmount = line.Number(1);
        if (line.Size() > 2)
        {
            line.Expect(6);
            mOwnFilterEnvelope = true;
            mFilterEnvelope = Envelope(line.Number(2), line.Number(3), line.Number(4), line.Number(5));
        }
    }
    else if (key == "keytrack")
    {
        line.Expect(2);
        mKeyTrack = line.Number(1);
    }
    else if (key == "pitchdrop")
    {
        line.Expect(3);
        mDropSemitones = line.Number(1);
        mDropTime = std::max(line.Number(2), 0.001);
    }
    else if (key == "vibrato")
    {
        line.Expect(3, true);
        mVibratoRate = line.Number(1);
        mVibratoCents = line.Number(2);
        mVibratoDelay = line.Number(3, 0.0);
    }
    else if (key == "drive")
    {
        line.Expect(2);
        mDrive = std::max(line.Number(1), 0.0);
    }
    else if (key == "note")
    {
        line.Expect(2);
        mDefaultFrequency = Pitch::Frequency(line, 1);
    }
    else if (key == "gain")
    {
        line.Expect(2);
        mGain = line.Number(1);
    }
    else if (key == "pan")
    {
        line.Expect(2);
        mPan = std::clamp(line.Number(1), -1.0, 1.0);
    }
    else if (key == "hall")
    {
        line.Expect(2);
        mReverbSend = line.Number(1);
    }
    else if (key == "echo")
    {
        line.Expect(2);
        mDelaySend = line.Number(1);
    }
    else
    {
        return false;
    }
    return true;
}

void Instrument::Play(double frequency, double velocity, double gate, std::uint32_t seed,
                      std::vector<float>& left, std::vector<float>& right, std::size_t first) const
{
    const double rate = Oscillator::mSampleRate;
    const std::size_t count = static_cast<std::size_t>(std::ceil(Length(gate) * rate));

    // Unison voices are spread evenly in pitch and across the stereo field, each starting at its own phase.
    Noise phases(seed * 2654435761u + 1u);
    std::vector<Oscillator> voices, seconds;
    std::vector<double> ratios, leftWeights, rightWeights;
    for (int v = 0; v < mUnison; ++v)
    {
        const double spread = mUnison > 1 ? 2.0 * v / (mUnison - 1) - 1.0 : 0.0;
        ratios.push_back(std::pow(2.0, spread * mDetune * 0.5 / 1200.0));
        const double pan = std::clamp(mPan + spread * mWidth, -1.0, 1.0);
        // Equal-power panning keeps a voice equally loud wherever it sits.
        leftWeights.push_back(std::cos((pan + 1.0) * mPi / 4.0));
        rightWeights.push_back(std::sin((pan + 1.0) * mPi / 4.0));
        const double phase = mUnison > 1 ? phases.Next() * 0.5 + 0.5 : 0.0;
        voices.emplace_back(mWave, seed * 31u + v + 1u, phase);
        seconds.emplace_back(mSecondWave, seed * 37u + v + 101u, phase);
    }
    const double voiceGain = mGain * velocity / std::sqrt(static_cast<double>(mUnison));
    Filter filterLeft(mFilter, mResonance);
    Filter filterRight(mFilter, mResonance);
    const Envelope& filterShape = mOwnFilterEnvelope ? mFilterEnvelope : mAmplitude;
    // Harder notes open the filter further, which is most of what makes an accent sound accented.
    const double filterAmount = mFilterAmount * (0.5 + 0.5 * velocity);
    const double secondRatio = Pitch::Semitones(mSecondSemitones);

    // Pitch, cutoff and loudness change slowly next to the waveform: they are worked out every few samples
    // and drawn as straight lines in between, which spares most of the costly maths.
    const std::size_t controlStep = 16;
    auto controls = [&](std::size_t sample)
    {
        const double time = sample / rate;
        Controls at;
        at.pitch = frequency;
        if (mDropSemitones != 0.0)
        {
            at.pitch *= Pitch::Semitones(mDropSemitones * std::exp(-time / mDropTime));
        }
        if (mVibratoCents != 0.0 && time > mVibratoDelay)
        {
            // The vibrato fades in over a quarter second after its delay, as a singer's would.
            const double depth = mVibratoCents * std::min((time - mVibratoDelay) / 0.25, 1.0);
            at.pitch *=
                std::pow(2.0, depth * std::sin(2.0 * mPi * mVibratoRate * (time - mVibratoDelay)) / 1200.0);
        }
        at.cutoff = mCutoff + mKeyTrack * frequency + filterAmount * filterShape.Level(time, gate);
        at.level = mAmplitude.Level(time, gate) * voiceGain;
        return at;
    };
    Controls from = controls(0), to = from;

    for (std::size_t i = 0; i < count; ++i)
    {
        const std::size_t within = i % controlStep;
        if (within == 0)
        {
            from = to;
            to = controls(i + controlStep);
        }
        const double share = static_cast<double>(within) / controlStep;
        const double pitch = from.pitch + (to.pitch - from.pitch) * share;
        const double cutoff = from.cutoff + (to.cutoff - from.cutoff) * share;
        const double level = from.level + (to.level - from.level) * share;
        double sumLeft = 0.0, sumRight = 0.0;
        for (int v = 0; v < mUnison; ++v)
        {
            double sample = voices[v].Next(pitch * ratios[v], mDuty);
            if (mSecondLevel != 0.0)
            {
                sample += mSecondLevel * seconds[v].Next(pitch * ratios[v] * secondRatio, mDuty);
            }
            sumLeft += sample * leftWeights[v];
            sumRight += sample * rightWeights[v];
        }
        if (mUnison > 1)
        {
            sumLeft = filterLeft.Process(sumLeft, cutoff);
            sumRight = filterRight.Process(sumRight, cutoff);
        }
        else
        {
            // One voice sits at one place: filter it once, then pan.
            const double mono =
                filterLeft.Process(sumLeft + sumRight, cutoff) / (leftWeights[0] + rightWeights[0]);
            sumLeft = mono * leftWeights[0];
            sumRight = mono * rightWeights[0];
        }
        if (mDrive > 0.0)
        {
            const double norm = std::tanh(1.0 + mDrive);
            sumLeft = std::tanh(sumLeft * (1.0 + mDrive)) / norm;
            sumRight = std::tanh(sumRight * (1.0 + mDrive)) / norm;
        }
        left[first + i] += static_cast<float>(sumLeft * level);
        right[first + i] += static_cast<float>(sumRight * level);
    }
}
