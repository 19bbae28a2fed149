// A short sound effect described by layers of swept oscillators, rendered to mono samples.
#include "SoundEffect.h"

#include "Pitch.h"
#include "TextSource.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

SoundEffect::SoundEffect(TextSource& source)
{
    const std::vector<SourceLine> lines = source.WordLines();
    Layer* layer = nullptr;
    for (const SourceLine& line : lines)
    {
        const std::string& key = line.Word(0);
        if (key == "length")
        {
            line.Expect(2);
            mLength = line.Number(1);
            if (mLength <= 0.0 || mLength > 5.0)
            {
                line.Fail("an effect lasts more than 0 and at most 5 seconds");
            }
        }
        else if (key == "peak")
        {
            line.Expect(2);
            mPeak = std::min(line.Number(1), 0.0);
        }
        else if (key == "echo")
        {
            line.Expect(3);
            mEchoTime = std::max(line.Number(1), 0.0);
            mEchoFeedback = std::clamp(line.Number(2), 0.0, 0.9);
        }
        else if (key == "layer")
        {
            line.Expect(1);
            mLayers.emplace_back();
            layer = &mLayers.back();
        }
        else if (layer == nullptr)
        {
            line.Fail("'" + key + "' belongs to a layer: start one with 'layer'");
        }
        else if (key == "wave")
        {
            line.Expect(2);
            if (!Oscillator::Parse(line.Word(1), layer->wave))
            {
                line.Fail("unknown wave '" + line.Word(1) + "'");
            }
        }
        else if (key == "time")
        {
            line.Expect(3);
            layer->start = std::max(line.Number(1), 0.0);
            layer->held = std::max(line.Number(2), 0.0);
        }
        else if (key == "pitch")
        {
            line.Expect(2, true);
            layer->pitchFrom = Pitch::Frequency(line, 1);
            layer->pitchTo = line.Size() > 2 ? Pitch::Frequency(line, 2) : layer->pitchFrom;
            layer->sweep = line.Number(3, -1.0);
        }
        else if (key == "steps")
        {
            line.Expect(3, true);
            layer->stepTime = line.Number(1);
            if (layer->stepTime <= 0.0)
            {
                line.Fail("the step time must be above 0");
            }
            layer->steps.clear();
            for (std::size_t i = 2; i < line.Size(); ++i)
            {
                layer->steps.push_back(line.Number(i));
            }
        }
        else if (key == "duty")
        {
            line.Expect(2, true);
            layer->dutyFrom = line.Number(1);
            layer->dutyTo = line.Number(2, layer->dutyFrom);
        }
        else if (key == "vibrato")
        {
            line.Expect(3);
            layer->vibratoRate = line.Number(1);
            layer->vibratoDepth = line.Number(2);
        }
        else if (key == "envelope")
        {
            line.Expect(5);
            layer->envelope = Envelope(line.Number(1), line.Number(2), line.Number(3), line.Number(4));
        }
        else if (key == "filter")
        {
            line.Expect(4, true);
            if (!Filter::Parse(line.Word(1), layer->filter))
            {
                line.Fail("unknown filter '" + line.Word(1) + "'");
            }
            layer->cutoffFrom = line.Number(2);
            layer->cutoffTo = line.Number(3);
            layer->resonance = line.Number(4, 0.707);
        }
        else if (key == "gain")
        {
            line.Expect(2);
            layer->gain = line.Number(1);
        }
        else
        {
            line.Fail("unknown setting '" + key + "'");
        }
    }
    if (mLength <= 0.0)
    {
        throw std::runtime_error("An effect needs a 'length'");
    }
    if (mLayers.empty())
    {
        throw std::runtime_error("An effect needs at least one 'layer'");
    }
}

void SoundEffect::AddLayer(const Layer& layer, std::size_t index, std::vector<double>& out) const
{
    const double rate = Oscillator::mSampleRate;
    Oscillator oscillator(layer.wave, 0x51F7u + static_cast<std::uint32_t>(index) * 7919u);
    Filter filter(layer.filter, layer.resonance);
    const double sweep = layer.sweep > 0.0 ? layer.sweep : std::max(layer.held, 1e-3);
    const std::size_t first = static_cast<std::size_t>(std::lround(layer.start * rate));
    const std::size_t count = static_cast<std::size_t>(std::ceil(layer.envelope.Length(layer.held) * rate));
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i)
    {
        const double time = i / rate;
        // Pitch glides exponentially, so equal times give equal musical intervals.
        const double glide = std::min(time / sweep, 1.0);
        double frequency = layer.pitchFrom * std::pow(layer.pitchTo / layer.pitchFrom, glide);
        if (!layer.steps.empty())
        {
            const std::size_t step =
                std::min(static_cast<std::size_t>(time / layer.stepTime), layer.steps.size() - 1);
            frequency *= Pitch::Semitones(layer.steps[step]);
        }
        if (layer.vibratoDepth != 0.0)
        {
            frequency *= Pitch::Semitones(layer.vibratoDepth *
                                          std::sin(2.0 * 3.14159265358979 * layer.vibratoRate * time));
        }
        const double heldShare = std::min(time / std::max(layer.held, 1e-3), 1.0);
        const double duty = layer.dutyFrom + (layer.dutyTo - layer.dutyFrom) * heldShare;
        const double cutoff = layer.cutoffFrom * std::pow(layer.cutoffTo / layer.cutoffFrom, heldShare);
        const double sample = filter.Process(oscillator.Next(frequency, duty), cutoff);
        out[first + i] += sample * layer.envelope.Level(time, layer.held) * layer.gain;
    }
}

std::vector<float> SoundEffect::Render() const
{
    const double rate = Oscillator::mSampleRate;
    std::vector<double> mix(static_cast<std::size_t>(std::lround(mLength * rate)), 0.0);
    for (std::size_t i = 0; i < mLayers.size(); ++i)
    {
        AddLayer(mLayers[i], i, mix);
    }
    const std::size_t echo = static_cast<std::size_t>(std::lround(mEchoTime * rate));
    if (echo > 0 && mEchoFeedback > 0.0)
    {
        for (std::size_t i = echo; i < mix.size(); ++i)
        {
            mix[i] += mix[i - echo] * mEchoFeedback;
        }
    }
    // A short fade at the very end, so a cut-off layer or echo never ends in a click.
    const std::size_t fade = std::min<std::size_t>(mix.size(), static_cast<std::size_t>(rate * 0.006));
    for (std::size_t i = 0; i < fade; ++i)
    {
        mix[mix.size() - 1 - i] *= static_cast<double>(i) / fade;
    }
    double loudest = 0.0;
    for (double sample : mix)
    {
        loudest = std::max(loudest, std::fabs(sample));
    }
    if (loudest < 1e-9)
    {
        throw std::runtime_error("The effect is silent");
    }
    const double scale = std::pow(10.0, mPeak / 20.0) / loudest;
    std::vector<float> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(),
                   [scale](double sample) { return static_cast<float>(sample * scale); });
    return samples;
}
