#pragma once
// The readable sources of the sound kit in data/sounds: the interface
// effects, the music pieces and each language's spoken samples.
#include "tools/soundkit/Synth.h"

#include <string>
#include <vector>

namespace tools {

struct EffectSource {
    std::string file;  // under Sounds, backslashes as the game writes them
    std::string kind;
    uint32_t milliseconds = 0;
    SynthSettings settings;
};

// A crowd sound: its category as the crowd list names it ("-" for none) and
// the sample, whose file is the name in the archive without ".wav".
struct CrowdSource {
    std::string category;
    EffectSource effect;
};

struct SpeechSource {
    std::string file;
    std::string words;
};

struct SpeechSet {
    std::string language;  // the folder under Sounds
    std::string voice;     // the espeak-ng voice
    std::vector<SpeechSource> samples;
};

// Each reader gives false with "file:line: reason" for a line it cannot use.
bool readEffects(const std::string& path, std::vector<EffectSource>& effects, std::string& error);
bool readCrowd(const std::string& path, std::vector<CrowdSource>& sounds, std::string& error);
bool readMusic(const std::string& path, std::vector<Piece>& pieces, std::string& error);
bool readSpeech(const std::string& path, const std::string& language, SpeechSet& speech, std::string& error);

}  // namespace tools
