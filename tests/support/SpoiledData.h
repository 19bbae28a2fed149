// A complete small game written into a TempDir, and the ways one of its files can go bad.
#pragma once

#include "TestSupport.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

namespace badinput
{
enum class Spoil
{
    Missing,
    Empty,
    Truncated, // the first half of the file
    Garbage    // the same length of fixed pseudo-random bytes
};
constexpr Spoil kAllSpoils[] = {Spoil::Missing, Spoil::Empty, Spoil::Truncated, Spoil::Garbage};
const char* Name(Spoil spoil);

// Everything the game reads: font and pictures, sounds and music with their lists, the level list
// naming "level", the level itself ("level", "level_bg.png", "level_col.png", "level.ent"), the story
// and a settings file for a window (not fullscreen).
void WriteGame(const test::TempDir& dir);
// The settings file WriteGame writes, exactly as the game writes it back.
extern const std::string kWindowedSettings;

void SpoilFile(const test::TempDir& dir, const std::string& relative, Spoil spoil);

// A PNG whose header claims width x height pixels but that carries almost no data.
void WritePngHeaderOnly(const test::TempDir& dir, const std::string& relative, unsigned width,
                        unsigned height);

// A folder, or a named pipe, where a file is expected.
void MakeNoFile(const std::filesystem::path& path, bool folder);

// Watches a named pipe while it lives: whether anything opened it for reading. A reader is let go at once,
// so that a reading start-up fails its test rather than waits for ever. Does nothing on a folder.
class PipeWatch
{
  public:
    explicit PipeWatch(std::filesystem::path pipe);
    ~PipeWatch();
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;
    bool Opened() const { return mOpened; }

  private:
    std::filesystem::path mPipe;
    std::atomic<bool> mStop{false};
    std::atomic<bool> mOpened{false};
    std::thread mThread;
};

// True when text equals expected, or starts with it when expected ends with '*'.
bool Matches(const std::string& text, const std::string& expected);
} // namespace badinput
