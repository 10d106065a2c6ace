// soundkit GAME_DIR SOURCE_DIR: makes every sound of the game from the
// sources in SOURCE_DIR (data/sounds): the interface effects into
// Sounds\FX, the music pieces into Music as OGG Vorbis, and each language's
// spoken samples into Sounds\<language>, spoken by espeak-ng.
#include "tools/soundkit/SoundKitSources.h"
#include "tools/soundkit/SoundWriters.h"
#include "tools/soundkit/Synth.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string slashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

int fail(const std::string& error)
{
    std::fprintf(stderr, "soundkit: %s\n", error.c_str());
    return 1;
}

// Runs espeak-ng without a shell; true when it wrote the wave file.
bool speak(const std::string& voice, const std::string& words, const std::string& wavePath, std::string& error)
{
    const pid_t child = fork();
    if (child < 0) {
        error = "cannot start espeak-ng";
        return false;
    }
    if (child == 0) {
        execlp("espeak-ng", "espeak-ng", "-v", voice.c_str(), "-s", "150", "-w", wavePath.c_str(), "--",
               words.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                    ? "espeak-ng is not installed (scripts/install-deps.sh installs it)"
                    : "espeak-ng failed to speak \"" + words + "\"";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return fail("usage: soundkit GAME_DIR SOURCE_DIR");
    const fs::path game = argv[1];
    const fs::path source = argv[2];
    std::string error;

    std::vector<tools::EffectSource> effects;
    if (!tools::readEffects((source / "Effects.snd").string(), effects, error))
        return fail(error);
    for (const tools::EffectSource& effect : effects) {
        tools::Pcm pcm;
        const fs::path out = game / "Sounds" / slashes(effect.file);
        fs::create_directories(out.parent_path());
        if (!tools::synthesiseEffect(effect.kind, effect.milliseconds, effect.settings, pcm, error))
            return fail(effect.file + ": " + error);
        if (!tools::writeWave(pcm, out.string(), error))
            return fail(error);
    }

    std::vector<tools::Piece> pieces;
    if (!tools::readMusic((source / "Music.snd").string(), pieces, error))
        return fail(error);
    fs::create_directories(game / "Music");
    for (const tools::Piece& piece : pieces) {
        tools::Pcm pcm;
        if (!tools::synthesisePiece(piece, pcm, error) ||
            !tools::writeOggVorbis(pcm, (game / "Music" / piece.file).string(), error))
            return fail(error);
    }

    std::vector<fs::path> languages;
    for (const fs::directory_entry& entry : fs::directory_iterator(source))
        if (entry.is_directory() && fs::exists(entry.path() / "Speech.snd"))
            languages.push_back(entry.path());
    std::sort(languages.begin(), languages.end());
    for (const fs::path& folder : languages) {
        tools::SpeechSet speech;
        if (!tools::readSpeech((folder / "Speech.snd").string(), folder.filename().string(), speech, error))
            return fail(error);
        if (speech.voice.empty())
            return fail((folder / "Speech.snd").string() + ": no voice line");
        const fs::path outFolder = game / "Sounds" / speech.language;
        fs::create_directories(outFolder);
        const std::string spoken = (outFolder / ".spoken.wav").string();
        for (const tools::SpeechSource& sample : speech.samples) {
            tools::Pcm pcm;
            const bool ok = speak(speech.voice, sample.words, spoken, error) && tools::readWave(spoken, pcm, error) &&
                            tools::writeWave(pcm, (outFolder / sample.file).string(), error);
            fs::remove(spoken);
            if (!ok)
                return fail(sample.file + ": " + error);
        }
    }
    return 0;
}
