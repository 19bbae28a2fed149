// The player's assist options (game speed, air, invulnerability) and ghost choice, kept in "kesv.assist".
#pragma once

#include <cstdint>
#include <string>

class Assist
{
  public:
    enum class Air
    {
        Normal,
        Long,   // tanks last twice as long
        Endless // the air never runs out
    };
    enum class Ghost
    {
        Best, // the best run's recording, or the par while there is none
        Par,  // the recorded input that ships with the level
        Off
    };

    // Beside the settings file, in the working directory.
    static constexpr const char* mFileName = "kesv.assist";
    // Far more than the file takes: a larger one (or one that is no regular file) is not read.
    static constexpr std::uintmax_t mMaxFileSize = 1 << 20;
    // The game speeds offered, in percent of 30 updates a second, fastest first.
    static constexpr int mSpeeds[] = {100, 90, 80, 70, 60, 50};
    // The ghost choices' names, in the order of Ghost, as the file keeps them and the assist screen shows
    // them.
    static constexpr const char* mGhostNames[] = {"best", "par", "off"};

    // Reads the file; a missing one keeps the defaults, a damaged one too, with one line on stderr.
    void Load();
    // Writes the file whole; false when it cannot be written.
    bool Save() const;

    // Any assist on makes the run an assisted one; the ghost choice is no assist.
    bool IsOn() const { return mSpeed != 100 || mAir != Air::Normal || mInvulnerable; }
    // Oxygen the player uses per update.
    double OxygenUse() const;

    int mSpeed = 100; // percent, one of mSpeeds
    Air mAir = Air::Normal;
    bool mInvulnerable = false;
    Ghost mGhost = Ghost::Best;

  private:
    // Why a data line cannot be taken, or "" when it was taken.
    std::string TakeLine(const std::string& name, const std::string& value);
};
