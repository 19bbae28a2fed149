// A complete small game written into a TempDir, and the ways one of its files can go bad.
#include "SpoiledData.h"

#include "PlayFixtures.h"
#include "PngEncoder.h"
#include "WorldFixtures.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace badinput
{
const std::string kWindowedSettings = test::SettingsText("0 0 0");

const char* Name(Spoil spoil)
{
    switch (spoil)
    {
    case Spoil::Missing:
        return "missing";
    case Spoil::Empty:
        return "empty";
    case Spoil::Truncated:
        return "truncated";
    case Spoil::Garbage:
        return "garbage";
    }
    return "?";
}

void WriteGame(const test::TempDir& dir)
{
    test::WritePlayData(dir, {"level"});
    test::WriteMenuPictures(dir);
    dir.WriteFile("data/story.txt", "// the story\nLong ago.\n\nThe end.\n");
    test::LevelFiles level;
    level.background = {"........", "..w.....", "...#..^.", "########"};
    level.placement = "Player 1 1 2\nBlob1 0 5 2 a\nOxygenTank 1 3 1 b\n";
    test::WriteLevel(dir, level);
    dir.WriteFile("kesv.cfg", kWindowedSettings);
}

void MakeNoFile(const std::filesystem::path& path, bool folder)
{
    if (folder ? !std::filesystem::create_directory(path) : ::mkfifo(path.c_str(), 0600) != 0)
    {
        throw std::runtime_error("cannot make " + path.string());
    }
}

PipeWatch::PipeWatch(std::filesystem::path pipe) : mPipe(std::move(pipe))
{
    if (!std::filesystem::is_fifo(mPipe))
    {
        return;
    }
    // Opening to write without waiting succeeds only while a reader has the pipe open.
    mThread = std::thread(
        [this]
        {
            while (!mStop)
            {
                const int writer = ::open(mPipe.c_str(), O_WRONLY | O_NONBLOCK);
                if (writer >= 0)
                {
                    mOpened = true;
                    ::close(writer);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
}

PipeWatch::~PipeWatch()
{
    mStop = true;
    if (mThread.joinable())
    {
        mThread.join();
    }
}

void SpoilFile(const test::TempDir& dir, const std::string& relative, Spoil spoil)
{
    const std::string original = dir.ReadFile(relative);
    switch (spoil)
    {
    case Spoil::Missing:
        std::filesystem::remove(dir.Path() / relative);
        break;
    case Spoil::Empty:
        dir.WriteFile(relative, "");
        break;
    case Spoil::Truncated:
        dir.WriteFile(relative, original.substr(0, original.size() / 2));
        break;
    case Spoil::Garbage:
    {
        std::string bytes(original.size(), '\0');
        std::uint32_t state = 0x2545F491u;
        for (char& c : bytes)
        {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        dir.WriteFile(relative, bytes);
        break;
    }
    }
}

void WritePngHeaderOnly(const test::TempDir& dir, const std::string& relative, unsigned width,
                        unsigned height)
{
    std::string header;
    for (unsigned v : {width, height})
    {
        for (int shift = 24; shift >= 0; shift -= 8)
        {
            header.push_back(static_cast<char>((v >> shift) & 0xFF));
        }
    }
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    // A deflate stream of one stored block with a single byte: far less than the header promises.
    const std::string packed("\x78\x01\x01\x01\x00\xFE\xFF\x00\x00\x01\x00\x01", 12);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    test::PutPngChunk(png, "IHDR", header);
    test::PutPngChunk(png, "IDAT", packed);
    test::PutPngChunk(png, "IEND", "");
    dir.WriteFile(relative, png);
}

bool Matches(const std::string& text, const std::string& expected)
{
    if (!expected.empty() && expected.back() == '*')
    {
        return text.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    }
    return text == expected;
}
} // namespace badinput
