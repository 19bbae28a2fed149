// Shared by the fuzz targets: one working folder per run with a small level, and a game with a window.
#pragma once

#include "PlayFixtures.h"
#include "TestSupport.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz
{
// The run's working folder, entered on first use and removed at exit. It holds a complete small game:
// type tables, sheets, font, background, sounds, the level list "level" and the level "level"
// ("level_bg.png", "level_col.png", "level.ent").
test::TempDir& Work();

// Replaces a file of the working folder with the given bytes.
void WriteBytes(const std::string& relative, const std::uint8_t* data, std::size_t size);

// A game on the dummy video driver with the font, silent audio and the real play screen (the other
// screens stand idle), created on first use in Work().
test::PlayHarness& Harness();

// Reports a broken property and stops the run, so libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);
} // namespace fuzz
