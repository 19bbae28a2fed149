// Plays a tune's notes through its instruments, hall and echo into one seamless loop of stereo samples.
#include "Sequencer.h"

#include "EchoDelay.h"
#include "Oscillator.h"
#include "Reverb.h"
#include "Song.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

Sequencer::Stereo Sequencer::Render(const Song& song)
{
    const double rate = Oscillator::mSampleRate;
    const std::size_t stepSamples = song.SamplesPerStep();
    const std::size_t loop = song.TotalSteps() * stepSamples;
    const auto& instruments = song.Instruments();
    const auto& events = song.Events();

    std::size_t end = loop;
    for (const NoteEvent& note : events)
    {
        const double gate = static_cast<double>(note.length * stepSamples) / rate;
        const auto length =
            static_cast<std::size_t>(std::ceil(instruments[note.instrument].Length(gate) * rate));
        end = std::max(end, note.start * stepSamples + length);
    }
    // The hall and echo keep ringing after the last note; the tail gives them time to die away.
    const std::size_t total = end + static_cast<std::size_t>(song.mTail * rate);

    std::vector<float> left(total, 0.0f), right(total, 0.0f);
    std::vector<float> hallSend(total, 0.0f), echoLeft(total, 0.0f), echoRight(total, 0.0f);
    std::vector<float> noteLeft, noteRight;
    for (std::size_t n = 0; n < events.size(); ++n)
    {
        const NoteEvent& note = events[n];
        const Instrument& instrument = instruments[note.instrument];
        const double gate = static_cast<double>(note.length * stepSamples) / rate;
        const auto length = static_cast<std::size_t>(std::ceil(instrument.Length(gate) * rate));
        noteLeft.assign(length, 0.0f);
        noteRight.assign(length, 0.0f);
        instrument.Play(note.frequency, note.velocity, gate, static_cast<std::uint32_t>(n + 1), noteLeft,
                        noteRight, 0);
        const std::size_t first = note.start * stepSamples;
        const auto hall = static_cast<float>(instrument.mReverbSend * 0.5);
        const auto echo = static_cast<float>(instrument.mDelaySend);
        for (std::size_t i = 0; i < length; ++i)
        {
            left[first + i] += noteLeft[i];
            right[first + i] += noteRight[i];
            hallSend[first + i] += (noteLeft[i] + noteRight[i]) * hall;
            echoLeft[first + i] += noteLeft[i] * echo;
            echoRight[first + i] += noteRight[i] * echo;
        }
    }

    const auto echoSamples = static_cast<std::size_t>(std::lround(song.mEchoSteps * stepSamples));
    if (echoSamples > 0)
    {
        EchoDelay(echoSamples, song.mEchoFeedback, song.mEchoDamping)
            .Process(echoLeft, echoRight, left, right);
    }
    Reverb(song.mHallSize, song.mHallDamping).Process(hallSend, left, right);

    // The tune loops forever, so what rings on past its end sounds over its beginning.
    for (std::size_t i = loop; i < total; ++i)
    {
        left[(i - loop) % loop] += left[i];
        right[(i - loop) % loop] += right[i];
    }
    left.resize(loop);
    right.resize(loop);

    float loudest = 0.0f;
    for (std::size_t i = 0; i < loop; ++i)
    {
        loudest = std::max({loudest, std::fabs(left[i]), std::fabs(right[i])});
    }
    if (loudest < 1e-9f)
    {
        throw std::runtime_error("The tune is silent");
    }
    const auto scale = static_cast<float>(std::pow(10.0, song.mPeak / 20.0) / loudest);
    for (std::size_t i = 0; i < loop; ++i)
    {
        left[i] *= scale;
        right[i] *= scale;
    }
    return {std::move(left), std::move(right)};
}
