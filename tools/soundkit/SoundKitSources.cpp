#include "tools/soundkit/SoundKitSources.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace tools {

namespace {

// Calls eachLine with every line that is not blank or a # comment.
template <typename Fn>
bool forEachLine(const std::string& path, std::string& error, Fn eachLine)
{
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::string reason;
        if (!eachLine(line.substr(first), reason)) {
            error = path + ":" + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    return true;
}

bool safeFileName(const std::string& file, std::string& reason)
{
    if (file.empty() || file.find("..") != std::string::npos || file[0] == '\\' || file[0] == '/') {
        reason = "'" + file + "' is not a file name inside the kit";
        return false;
    }
    return true;
}

}  // namespace

namespace {

// "file kind milliseconds key=value..." from the words of a line.
bool parseEffect(std::istringstream& words, EffectSource& effect, std::string& reason)
{
    long milliseconds = 0;
    if (!(words >> effect.file >> effect.kind >> milliseconds) || milliseconds <= 0 || milliseconds > 20000) {
        reason = "expected: file kind milliseconds (1 to 20000) settings...";
        return false;
    }
    if (!safeFileName(effect.file, reason))
        return false;
    effect.milliseconds = static_cast<uint32_t>(milliseconds);
    for (std::string setting; words >> setting;) {
        const size_t equals = setting.find('=');
        if (equals == std::string::npos || equals == 0) {
            reason = "setting '" + setting + "' is not key=value";
            return false;
        }
        effect.settings[setting.substr(0, equals)] = setting.substr(equals + 1);
    }
    return true;
}

}  // namespace

bool readEffects(const std::string& path, std::vector<EffectSource>& effects, std::string& error)
{
    return forEachLine(path, error, [&](const std::string& line, std::string& reason) {
        std::istringstream words(line);
        EffectSource effect;
        if (!parseEffect(words, effect, reason))
            return false;
        effects.push_back(effect);
        return true;
    });
}

bool readCrowd(const std::string& path, std::vector<CrowdSource>& sounds, std::string& error)
{
    return forEachLine(path, error, [&](const std::string& line, std::string& reason) {
        std::istringstream words(line);
        CrowdSource sound;
        words >> sound.category;
        const bool upper = std::all_of(sound.category.begin(), sound.category.end(),
                                       [](char c) { return c >= 'A' && c <= 'Z'; });
        if (sound.category.empty() || (sound.category != "-" && !upper)) {
            reason = "expected: CATEGORY (capitals, or - for none) file kind milliseconds settings...";
            return false;
        }
        if (!parseEffect(words, sound.effect, reason))
            return false;
        if (sound.effect.file.find_first_of("\\/. ") != std::string::npos || sound.effect.file.size() > 45) {
            reason = "'" + sound.effect.file + "' is not a sample name of at most 45 characters without .wav";
            return false;
        }
        sounds.push_back(sound);
        return true;
    });
}

bool readMusic(const std::string& path, std::vector<Piece>& pieces, std::string& error)
{
    bool open = false;
    const bool ok = forEachLine(path, error, [&](const std::string& line, std::string& reason) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "track") {
            if (open) {
                reason = "a track starts before the last one's end";
                return false;
            }
            Piece piece;
            std::getline(words >> std::ws, piece.file);
            if (!safeFileName(piece.file, reason))
                return false;
            pieces.push_back(piece);
            open = true;
            return true;
        }
        if (!open) {
            reason = "'" + keyword + "' outside a track";
            return false;
        }
        if (keyword == "end") {
            open = false;
            return true;
        }
        if (keyword == "tempo") {
            if (!(words >> pieces.back().tempo)) {
                reason = "tempo needs a number";
                return false;
            }
            return true;
        }
        Voice voice;
        voice.instrument = keyword;
        for (std::string step; words >> step;)
            voice.steps.push_back(step);
        // A voice may go on over several lines of the same instrument.
        for (Voice& known : pieces.back().voices) {
            if (known.instrument == voice.instrument) {
                known.steps.insert(known.steps.end(), voice.steps.begin(), voice.steps.end());
                return true;
            }
        }
        pieces.back().voices.push_back(voice);
        return true;
    });
    if (ok && open) {
        error = path + ": the last track has no end";
        return false;
    }
    return ok;
}

bool readSpeech(const std::string& path, const std::string& language, SpeechSet& speech, std::string& error)
{
    speech.language = language;
    return forEachLine(path, error, [&](const std::string& line, std::string& reason) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "voice") {
            words >> speech.voice;
            return !speech.voice.empty() || (reason = "voice needs a name", false);
        }
        SpeechSource sample;
        sample.file = first;
        std::getline(words >> std::ws, sample.words);
        if (!safeFileName(sample.file, reason))
            return false;
        if (sample.words.empty()) {
            reason = "expected: file words...";
            return false;
        }
        speech.samples.push_back(sample);
        return true;
    });
}

}  // namespace tools
