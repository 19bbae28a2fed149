// A tune as written: instruments, patterns of notes on a step grid, and the order they play in.
#include "Song.h"

#include "Pitch.h"
#include "TextSource.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace
{
const double mNormalVelocity = 0.75;
const double mAccentVelocity = 1.0;
const double mSoftVelocity = 0.45;
} // namespace

Song::Song(TextSource& source)
{
    const std::vector<SourceLine> lines = source.WordLines();
    enum
    {
        Header,
        InInstrument,
        InPattern,
        InArrangement
    } block = Header;
    Instrument* instrument = nullptr;
    Pattern* pattern = nullptr;
    std::vector<const SourceLine*> arrangement;

    for (const SourceLine& line : lines)
    {
        const std::string& key = line.Word(0);
        if (key == "instrument")
        {
            line.Expect(2);
            if (block == InPattern || block == InArrangement)
            {
                line.Fail("instruments come before the patterns");
            }
            if (!mInstrumentNames.emplace(line.Word(1), mInstruments.size()).second)
            {
                line.Fail("instrument '" + line.Word(1) + "' is defined twice");
            }
            mInstruments.emplace_back();
            instrument = &mInstruments.back();
            block = InInstrument;
        }
        else if (key == "pattern")
        {
            line.Expect(2);
            if (block == InArrangement)
            {
                line.Fail("patterns come before the 'play' lines");
            }
            auto [entry, added] = mPatterns.emplace(line.Word(1), Pattern{});
            if (!added)
            {
                line.Fail("pattern '" + line.Word(1) + "' is defined twice");
            }
            pattern = &entry->second;
            pattern->line = &line;
            block = InPattern;
        }
        else if (key == "play")
        {
            block = InArrangement;
            arrangement.push_back(&line);
        }
        else if (block == Header)
        {
            if (!SetHeader(line))
            {
                line.Fail("unknown setting '" + key + "'");
            }
        }
        else if (block == InInstrument)
        {
            if (!instrument->Set(line))
            {
                line.Fail("unknown instrument setting '" + key + "'");
            }
        }
        else if (block == InPattern)
        {
            AddLane(*pattern, line);
        }
        else
        {
            line.Fail("only 'play' lines may follow the first 'play' line");
        }
    }

    for (const auto& entry : mPatterns)
    {
        CheckPattern(entry.second);
    }
    std::size_t at = 0;
    for (const SourceLine* line : arrangement)
    {
        Arrange(*line, at);
    }
    mTotalSteps = at;
    mPatterns.clear(); // they point into the source's lines, which the song does not keep
    if (mTotalSteps == 0)
    {
        throw std::runtime_error("A tune needs at least one 'play' line of one bar or more");
    }
}

bool Song::SetHeader(const SourceLine& line)
{
    const std::string& key = line.Word(0);
    if (key == "title")
    {
        line.Expect(2, true);
        mTitle.clear();
        for (std::size_t i = 1; i < line.Size(); ++i)
        {
            mTitle += (i > 1 ? " " : "") + line.Word(i);
        }
    }
    else if (key == "tempo")
    {
        line.Expect(2);
        mTempo = line.Number(1);
        if (mTempo < 20.0 || mTempo > 400.0)
        {
            line.Fail("the tempo is 20 to 400 beats per minute");
        }
    }
    else if (key == "steps")
    {
        line.Expect(2);
        mStepsPerBeat = static_cast<int>(line.Number(1));
        if (mStepsPerBeat < 1 || mStepsPerBeat > 16)
        {
            line.Fail("a beat has 1 to 16 steps");
        }
    }
    else if (key == "beats")
    {
        line.Expect(2);
        mBeatsPerBar = static_cast<int>(line.Number(1));
        if (mBeatsPerBar < 1 || mBeatsPerBar > 16)
        {
            line.Fail("a bar has 1 to 16 beats");
        }
    }
    else if (key == "tail")
    {
        line.Expect(2);
        mTail = std::clamp(line.Number(1), 0.0, 30.0);
    }
    else if (key == "peak")
    {
        line.Expect(2);
        mPeak = std::min(line.Number(1), 0.0);
    }
    else if (key == "hall")
    {
        line.Expect(3);
        mHallSize = line.Number(1);
        mHallDamping = line.Number(2);
    }
    else if (key == "echo")
    {
        line.Expect(4);
        mEchoSteps = std::max(line.Number(1), 0.0);
        mEchoFeedback = line.Number(2);
        mEchoDamping = line.Number(3);
    }
    else
    {
        return false;
    }
    return true;
}

void Song::AddLane(Pattern& pattern, const SourceLine& line)
{
    const auto found = mInstrumentNames.find(line.Word(0));
    if (found == mInstrumentNames.end())
    {
        line.Fail("'" + line.Word(0) + "' is not an instrument");
    }
    auto lane = std::find_if(pattern.lanes.begin(), pattern.lanes.end(),
                             [&](const auto& existing) { return existing.first == found->second; });
    if (lane == pattern.lanes.end())
    {
        pattern.lanes.emplace_back(found->second, std::vector<Step>{});
        lane = pattern.lanes.end() - 1;
    }
    // Further lines for the same instrument continue its lane, so a long pattern can be written a bar a line.
    for (std::size_t i = 1; i < line.Size(); ++i)
    {
        ParseToken(line, line.Word(i), lane->second);
    }
}

void Song::ParseToken(const SourceLine& line, const std::string& token, std::vector<Step>& steps)
{
    std::string body = token;
    std::size_t repeat = 1;
    const std::size_t star = token.find('*');
    if (star != std::string::npos)
    {
        body = token.substr(0, star);
        const std::string count = token.substr(star + 1);
        if (count.empty() || count.size() > 3 ||
            !std::all_of(count.begin(), count.end(), [](unsigned char c) { return std::isdigit(c) != 0; }) ||
            std::stoi(count) < 1)
        {
            line.Fail("'" + token + "': the count after '*' is a whole number from 1 to 999");
        }
        repeat = static_cast<std::size_t>(std::stoi(count));
    }
    Step step;
    if (body == "-")
    {
        step.kind = Step::Hold;
    }
    else if (body == ".")
    {
        step.kind = Step::Off;
    }
    else
    {
        step.kind = Step::Play;
        step.velocity = mNormalVelocity;
        if (!body.empty() && (body.back() == '!' || body.back() == '?'))
        {
            step.velocity = body.back() == '!' ? mAccentVelocity : mSoftVelocity;
            body.pop_back();
        }
        if (body == "X")
        {
            body = "x";
            step.velocity = mAccentVelocity;
        }
        std::size_t from = 0;
        while (from <= body.size())
        {
            const std::size_t plus = std::min(body.find('+', from), body.size());
            const std::string name = body.substr(from, plus - from);
            if (name == "x")
            {
                step.frequencies.push_back(0.0);
            }
            else if (const auto frequency = Pitch::NoteFrequency(name))
            {
                step.frequencies.push_back(*frequency);
            }
            else
            {
                line.Fail("'" + token + "' is not a note, chord, 'x', '-' or '.'");
            }
            from = plus + 1;
        }
    }
    steps.insert(steps.end(), repeat, step);
}

void Song::CheckPattern(const Pattern& pattern) const
{
    const std::size_t bar = static_cast<std::size_t>(mStepsPerBeat * mBeatsPerBar);
    if (pattern.lanes.empty())
    {
        pattern.line->Fail("pattern '" + pattern.line->Word(1) + "' has no notes");
    }
    const std::size_t length = pattern.lanes.front().second.size();
    for (const auto& lane : pattern.lanes)
    {
        // Catches a step left out or typed twice, which would shift everything after it.
        if (lane.second.size() != length || length % bar != 0)
        {
            pattern.line->Fail("pattern '" + pattern.line->Word(1) +
                               "': every lane must be the same whole number of " + std::to_string(bar) +
                               "-step bars long");
        }
    }
}

void Song::Arrange(const SourceLine& line, std::size_t& at)
{
    line.Expect(2, true);
    const double bars = line.Number(1);
    if (bars < 1.0 || bars != std::floor(bars))
    {
        line.Fail("'play' takes a whole number of bars first");
    }
    const std::size_t rowSteps = static_cast<std::size_t>(bars) * mStepsPerBeat * mBeatsPerBar;
    for (std::size_t i = 2; i < line.Size(); ++i)
    {
        const auto found = mPatterns.find(line.Word(i));
        if (found == mPatterns.end())
        {
            line.Fail("'" + line.Word(i) + "' is not a pattern");
        }
        // A pattern shorter than the row repeats; notes still held at the row's end are let go there.
        for (const auto& lane : found->second.lanes)
        {
            // Named, not a structured binding: C++17 lambdas cannot capture those, and clang says so.
            const auto& instrument = lane.first;
            const auto& steps = lane.second;
            const Step* held = nullptr;
            std::size_t heldFrom = 0;
            auto release = [&](std::size_t now)
            {
                if (held == nullptr)
                {
                    return;
                }
                for (double frequency : held->frequencies)
                {
                    mEvents.push_back(
                        {instrument, frequency > 0.0 ? frequency : mInstruments[instrument].mDefaultFrequency,
                         held->velocity, at + heldFrom, now - heldFrom});
                }
                held = nullptr;
            };
            for (std::size_t s = 0; s < rowSteps; ++s)
            {
                const Step& step = steps[s % steps.size()];
                if (step.kind != Step::Hold)
                {
                    release(s);
                }
                if (step.kind == Step::Play)
                {
                    held = &step;
                    heldFrom = s;
                }
            }
            release(rowSteps);
        }
    }
    at += rowSteps;
}

std::size_t Song::SamplesPerStep() const
{
    return static_cast<std::size_t>(std::lround(44100.0 * 60.0 / (mTempo * mStepsPerBeat)));
}
