// The sound kit: every sound the game names is made and loads as a wave the
// game accepts, the music decodes, and bad sources are refused with the file
// and line.
#include "tools/soundkit/SoundKitSources.h"
#include "tools/soundkit/Synth.h"

#include "sound/CWaveManager.h"
#include "platform/SoundOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::string kGame = BRELLOX_GAME_DIR;

TEST(SoundKit, EverySoundTheGameNamesIsMadeAndLoads)
{
    CWaveManager waves(8);
    for (const char* name : {"Sounds/FX/btnDown.wav", "Sounds/FX/Icon.wav", "Sounds/FX/Dissapointed.wav",
                             "Sounds/English/Sound53.wav"}) {
        const std::string path = kGame + "/" + name;
        uint8_t channels = 0;
        uint32_t rate = 0;
        const uint16_t index = waves.Load(nullptr, path.c_str(), &channels, &rate);
        ASSERT_NE(index, WAVE_LOAD_FAILED) << name;
        EXPECT_EQ(channels, 1) << name;
        EXPECT_EQ(rate, 22050u) << name;
        const WAVEENTRY* entry = waves.GetEntry(index);
        // Something to hear: at least 20 ms, and not silence.
        EXPECT_GE(entry->dwDataLength, 22050u * 2 / 50) << name;
        int peak = 0;
        for (uint32_t i = 0; i + 1 < entry->dwDataLength; i += 2)
            peak = std::max(peak, std::abs(static_cast<int16_t>(entry->pData[i] | (entry->pData[i + 1] << 8))));
        EXPECT_GT(peak, 1000) << name;
    }
}

TEST(SoundKit, TheMusicTracksDecode)
{
    std::unique_ptr<plat::SoundOutput> output = plat::openMixerSoundOutput();
    ASSERT_NE(output, nullptr);
    int tracks = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kGame + "/Music")) {
        const plat::SoundHandle stream = output->openStream(entry.path().string());
        ASSERT_NE(stream, 0) << entry.path();
        EXPECT_GT(output->streamInfo(stream).lengthMs, 5000u) << entry.path();
        output->closeStream(stream);
        ++tracks;
    }
    EXPECT_GE(tracks, 3);
    EXPECT_TRUE(std::filesystem::exists(kGame + "/Music/01. Track 1.ogg"));
}

TEST(SoundKit, BadSourcesAreRefusedWithTheirLine)
{
    const std::string path = std::filesystem::temp_directory_path() / ("soundkit_" + std::to_string(::getpid()));
    struct Case {
        const char* text;
        bool music;
        const char* reason;
    };
    const Case cases[] = {
        {"FX\\a.wav click\n", false, ":1: expected"},
        {"# note\nFX\\a.wav click 0\n", false, ":2: expected"},
        {"..\\..\\a.wav click 40\n", false, "not a file name"},
        {"FX\\a.wav click 40 pitch\n", false, "not key=value"},
        {"tempo 120\n", true, ":1: 'tempo' outside a track"},
        {"track a.ogg\nlead C4\n", true, "no end"},
        {"track a.ogg\ntrack b.ogg\n", true, ":2: a track starts"},
    };
    for (const Case& c : cases) {
        std::ofstream(path) << c.text;
        std::string error;
        std::vector<tools::EffectSource> effects;
        std::vector<tools::Piece> pieces;
        const bool ok = c.music ? tools::readMusic(path, pieces, error) : tools::readEffects(path, effects, error);
        EXPECT_FALSE(ok) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " gave " << error;
    }
    std::filesystem::remove(path);

    tools::Pcm pcm;
    std::string error;
    EXPECT_FALSE(tools::synthesiseEffect("siren", 100, {}, pcm, error));
    EXPECT_FALSE(tools::synthesiseEffect("whistle", 100, {{"pitch", "20"}}, pcm, error));
    EXPECT_FALSE(tools::synthesiseEffect("chime", 100, {{"notes", "E6,H2"}}, pcm, error));
    EXPECT_FALSE(tools::synthesiseEffect("click", 100, {{"level", "3"}}, pcm, error));
    EXPECT_FALSE(tools::synthesisePiece({"x.ogg", 120, {{"lead", {"C4", "Q9"}}}}, pcm, error));
    EXPECT_NEAR(tools::noteFrequency("A4"), 440.0, 1e-9);
    EXPECT_NEAR(tools::noteFrequency("C#5"), 554.365, 1e-3);
    EXPECT_EQ(tools::noteFrequency("H4"), 0);
}

}  // namespace
