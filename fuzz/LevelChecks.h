// Loads a level as the play screen does, checks what a loaded level promises, then plays and draws it.
#pragma once

#include <string>

namespace fuzz
{
// A level that loads must be complete; one that fails must fail by returning false or throwing its
// error. Anything else (a crash, a hang, a broken level) stops the run.
void LoadAndExercise(const std::string& path);
} // namespace fuzz
