// A level written to a folder of its own in the system's temporary folder, so the play screen can load it
// like any level file (a link being played, a level being tried from the editor). Removed with the object.
#pragma once

#include <filesystem>
#include <string>

class LevelDocument;

class ScratchLevel
{
  public:
    ScratchLevel();
    ~ScratchLevel();
    ScratchLevel(const ScratchLevel&) = delete;
    ScratchLevel& operator=(const ScratchLevel&) = delete;

    // Writes the level (under fixed names, whatever its own) and gives the path of its description. The
    // first write makes the folder. Throws std::runtime_error when it cannot be written.
    std::string Write(const LevelDocument& level);
    // The folder, empty before the first write.
    const std::filesystem::path& Folder() const { return mFolder; }

  private:
    std::filesystem::path mFolder;
};
