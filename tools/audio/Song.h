// A tune as written: instruments, patterns of notes on a step grid, and the order they play in.
#pragma once

#include "Instrument.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class TextSource;
class SourceLine;

// One note of the finished arrangement, in steps of the grid from the start of the tune.
struct NoteEvent
{
    std::size_t instrument; // index into Song::Instruments()
    double frequency;
    double velocity; // 0..1
    std::size_t start;
    std::size_t length; // steps the key is held
};

class Song
{
  public:
    // Reads and checks the whole tune; throws std::runtime_error naming the file and line of a fault.
    explicit Song(TextSource& source);

    const std::vector<Instrument>& Instruments() const { return mInstruments; }
    const std::vector<NoteEvent>& Events() const { return mEvents; }
    // Grid steps in one pass of the tune; it loops after the last one.
    std::size_t TotalSteps() const { return mTotalSteps; }
    // Samples at 44100 Hz in one step; whole, so the tune's length is exact.
    std::size_t SamplesPerStep() const;

    std::string mTitle;
    double mTempo = 120.0; // beats per minute
    int mStepsPerBeat = 4;
    int mBeatsPerBar = 4;
    double mTail = 6.0;  // seconds of ringing rendered past the end and folded into the start
    double mPeak = -1.0; // dBFS of the loudest sample
    double mHallSize = 0.5, mHallDamping = 0.5;
    double mEchoSteps = 3.0, mEchoFeedback = 0.3, mEchoDamping = 0.3;

  private:
    struct Step
    {
        enum Kind
        {
            Hold,
            Off,
            Play
        } kind = Hold;
        std::vector<double> frequencies; // 0 stands for the instrument's own note
        double velocity = 0.75;
    };
    struct Pattern
    {
        const SourceLine* line = nullptr;
        std::vector<std::pair<std::size_t, std::vector<Step>>> lanes; // instrument, steps
    };

    bool SetHeader(const SourceLine& line);
    void AddLane(Pattern& pattern, const SourceLine& line);
    static void ParseToken(const SourceLine& line, const std::string& token, std::vector<Step>& steps);
    void CheckPattern(const Pattern& pattern) const;
    void Arrange(const SourceLine& line, std::size_t& at);

    std::vector<Instrument> mInstruments;
    std::map<std::string, std::size_t> mInstrumentNames;
    std::map<std::string, Pattern> mPatterns;
    std::vector<NoteEvent> mEvents;
    std::size_t mTotalSteps = 0;
};
