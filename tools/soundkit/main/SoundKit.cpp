// soundkit GAME_DIR SOURCE_DIR: makes every sound of the game from the
// sources in SOURCE_DIR (data/sounds): the interface effects into
// Sounds\FX, the crowd of the match into the archive Sounds\CrowdSounds.bfs
// with its list Data\Tables\CrowdSounds.frm, the music pieces into Music as
// OGG Vorbis, and each language's spoken samples into Sounds\<language>
// (the match commentary's into the archives named before the backslash),
// spoken by espeak-ng.
#include "tools/gfxkit/BfsWriter.h"
#include "tools/soundkit/SoundKitSources.h"
#include "tools/soundkit/SoundWriters.h"
#include "tools/soundkit/Synth.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
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

// The crowd's waves packed into one archive, and the list that files them
// under their categories in the order they first appear.
bool makeCrowd(const fs::path& game, const std::vector<tools::CrowdSource>& sounds, std::string& error)
{
    std::vector<tools::BfsMember> members;
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::string>> categories;
    for (const tools::CrowdSource& sound : sounds) {
        tools::Pcm pcm;
        if (!tools::synthesiseEffect(sound.effect.kind, sound.effect.milliseconds, sound.effect.settings, pcm,
                                     error)) {
            error = sound.effect.file + ": " + error;
            return false;
        }
        tools::BfsMember member{sound.effect.file + ".wav", {}};
        tools::encodeWave(pcm, member.bytes);
        members.push_back(std::move(member));
        if (sound.category == "-")
            continue;
        if (!categories.count(sound.category))
            order.push_back(sound.category);
        categories[sound.category].push_back(sound.effect.file);
        if (categories[sound.category].size() > 99) {
            error = sound.category + ": more than 99 samples";
            return false;
        }
    }
    fs::create_directories(game / "Sounds");
    fs::create_directories(game / "Data" / "Tables");
    if (!tools::writeBfs(members, (game / "Sounds" / "CrowdSounds.bfs").string(), error))
        return false;
    std::ofstream list(game / "Data" / "Tables" / "CrowdSounds.frm", std::ios::binary);
    list << order.size() << "\n";
    for (const std::string& category : order) {
        list << category << " " << categories[category].size() << "\n";
        for (const std::string& name : categories[category])
            list << name << "\n";
    }
    if (!list.flush()) {
        error = "cannot write the crowd list";
        return false;
    }
    return true;
}

// Speaks the words into a 16-bit PCM sample through a scratch file.
bool speakSample(const std::string& voice, const std::string& words, const fs::path& scratch, tools::Pcm& pcm,
                 std::string& error)
{
    const bool ok = speak(voice, words, scratch.string(), error) && tools::readWave(scratch.string(), pcm, error);
    fs::remove(scratch);
    return ok;
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

    std::vector<tools::CrowdSource> crowd;
    if (!tools::readCrowd((source / "Crowd.snd").string(), crowd, error) || !makeCrowd(game, crowd, error))
        return fail(error);

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
        const fs::path spoken = outFolder / ".spoken.wav";
        for (const tools::SpeechSource& sample : speech.samples) {
            tools::Pcm pcm;
            if (!speakSample(speech.voice, sample.words, spoken, pcm, error) ||
                !tools::writeWave(pcm, (outFolder / sample.file).string(), error))
                return fail(sample.file + ": " + error);
        }
        // The commentary's samples go into archives: "comment1\Goal.wav" is
        // the member Goal.wav of comment1.bfs.
        const fs::path commentary = folder / "Commentary.snd";
        if (!fs::exists(commentary))
            continue;
        tools::SpeechSet lines;
        if (!tools::readSpeech(commentary.string(), folder.filename().string(), lines, error))
            return fail(error);
        std::map<std::string, std::vector<tools::BfsMember>> archives;
        for (const tools::SpeechSource& sample : lines.samples) {
            const size_t slash = sample.file.find('\\');
            if (slash == std::string::npos || slash == 0 || slash + 1 == sample.file.size())
                return fail(commentary.string() + ": " + sample.file + " is not archive\\member.wav");
            tools::Pcm pcm;
            tools::BfsMember member{sample.file.substr(slash + 1), {}};
            if (!speakSample(lines.voice.empty() ? speech.voice : lines.voice, sample.words, spoken, pcm, error))
                return fail(sample.file + ": " + error);
            tools::encodeWave(pcm, member.bytes);
            archives[sample.file.substr(0, slash)].push_back(std::move(member));
        }
        for (const auto& [name, members] : archives)
            if (!tools::writeBfs(members, (outFolder / (name + ".bfs")).string(), error))
                return fail(error);
    }
    return 0;
}
