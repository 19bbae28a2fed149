// The loudness (or filter) shape of one note: attack, decay to a sustain level, release at the end.
#pragma once

class Envelope
{
  public:
    Envelope() = default;
    // Times in seconds; sustain is a level 0..1. Very short attacks and releases are lengthened to avoid
    // clicks.
    Envelope(double attack, double decay, double sustain, double release);

    // Level 0..1 at time seconds after the note began, for a key held gate seconds.
    double Level(double time, double gate) const;
    // Seconds from the start of a note held gate seconds until it is silent.
    double Length(double gate) const { return gate + mRelease; }

  private:
    double Held(double time) const;

    double mAttack = 0.002;
    double mDecay = 0.1;
    double mSustain = 1.0;
    double mRelease = 0.05;
};
