#pragma once
// The sounds of the kit, synthesised from a few numbers: a button click, a
// chime of notes, a crowd's groan from shaped noise, a referee's whistle, and music from note
// lists. Everything is deterministic: the same source gives the same samples.
#include "tools/soundkit/SoundWriters.h"

#include <map>
#include <string>
#include <vector>

namespace tools {

// "A4", "C#5", "Bb3": the frequency in Hz; 0 for a name that is no note.
double noteFrequency(const std::string& name);

// settings: key=value numbers (pitch in Hz, level 0..1, from/to levels ...).
using SynthSettings = std::map<std::string, std::string>;

// Mono at 22050 Hz; false with a reason for an unknown kind or bad setting.
bool synthesiseEffect(const std::string& kind, uint32_t milliseconds, const SynthSettings& settings, Pcm& out,
                      std::string& error);

// One voice of a piece: its instrument ("lead", "bass" or "pad") and steps,
// each a note name, "-" for a rest or "." to hold the note before.
struct Voice {
    std::string instrument;
    std::vector<std::string> steps;
};

struct Piece {
    std::string file;
    double tempo = 120;  // steps of an eighth note at this many beats a minute
    std::vector<Voice> voices;
};

// Stereo at 22050 Hz.
bool synthesisePiece(const Piece& piece, Pcm& out, std::string& error);

}  // namespace tools
