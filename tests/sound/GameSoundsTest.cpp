// The game object's sounds: a button click plays the click, the music starts
// with the first track, each volume channel reaches only its own sounds; and
// the real mixer plays on the dummy audio driver.
#include "SoundFixture.h"

#include "sound/CGameSoundManagers.h"
#include "sound/CSoundManager.h"

#include "shell/CGame.h"
#include "shell/SoundEndMessages.h"
#include "xframework/CXControl.h"

#include <unistd.h>

namespace {

class GameSounds : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        std::filesystem::create_directories(m_dir / "Sounds" / "FX");
        std::filesystem::create_directories(m_dir / "Sounds" / "English");
        std::filesystem::create_directories(m_dir / "Music");
        for (const char* name : {"Sounds/FX/Dissapointed.wav", "Sounds/FX/Icon.wav", "Sounds/FX/btnDown.wav",
                                 "Sounds/English/Sound53.wav"})
            WriteWave(name, 1, 22050, 16, 200);
        for (const char* name : {"Music/02. Track 2.ogg", "Music/01. Track 1.ogg"})
            Write(name, {1});
        m_oldDir = std::filesystem::current_path();
        std::filesystem::current_path(m_dir);
        g_pGameSounds = &m_sounds;
        g_pGame = &m_game;
    }
    void TearDown() override
    {
        m_game.m_bStartStop = 1;
        m_game.StopMusic();
        g_pGameSounds = nullptr;
        g_pGame = nullptr;
        std::filesystem::current_path(m_oldDir);
        SoundFixture::TearDown();
    }
    // The volume the recording output was last given for an effect.
    uint32_t EffectVolume(uint16_t wID)
    {
        return m_sounds.GetEffects()->GetSound(wID)->GetVolume();
    }
    CGameSoundManagers m_sounds;
    CGame m_game;
    std::filesystem::path m_oldDir;
};

TEST_F(GameSounds, AClickPlaysTheButtonSoundAndTheMusicStartsWithTheFirstTrack)
{
    m_game.GameSoundPlay(0);  // no effects yet: only a log line
    EXPECT_TRUE(m_output.started.empty());
    m_game.m_bStartStop = 1;
    m_game.StartMusic();
    m_game.m_bStartStop = 0;
    ASSERT_TRUE(m_sounds.HasEffects());
    ASSERT_NE(g_pfnPlayButtonClick, nullptr);
    g_pfnPlayButtonClick();
    ASSERT_EQ(m_output.started.size(), 1u);
    const auto* pButton =
        static_cast<C2DSound*>(m_sounds.GetEffects()->GetSound(m_game.GetSoundIds().wButton));
    EXPECT_EQ(pButton->GetHandle(), m_output.started[0]);
    EXPECT_STREQ(pButton->GetName(), "Sounds\\FX\\btnDown.wav");

    ASSERT_EQ(m_output.playedStreams.size(), 1u);
    EXPECT_NE(m_output.playedStreams[0].find("01. Track 1.ogg"), std::string::npos);
    // The track's end moves the music on to the other one.
    m_output.finishStream(m_output.playingStreamHandle());
    OnUninitialiseStream(reinterpret_cast<plat::LPARAM>(m_sounds.GetMusic()));
    ASSERT_EQ(m_output.playedStreams.size(), 2u);
    EXPECT_NE(m_output.playedStreams[1].find("02. Track 2.ogg"), std::string::npos);
}

TEST_F(GameSounds, EachVolumeChannelActsOnItsOwnSounds)
{
    m_game.m_bStartStop = 1;
    m_game.StartMusic();
    const UISOUNDIDS ids = m_game.GetSoundIds();
    const uint32_t dwStart = EffectVolume(ids.wButton);
    m_game.SetVolume(10, 0);
    m_game.SetVolume(20, 1);
    m_game.SetVolume(30, 2);
    m_game.SetVolume(40, 3);
    m_game.SetVolume(50, 4);  // no such channel
    EXPECT_EQ(EffectVolume(ids.wButton), 10u);
    EXPECT_EQ(EffectVolume(ids.wIcon), 10u);
    EXPECT_EQ(m_output.playingStream()->volume, 20u);
    EXPECT_EQ(EffectVolume(ids.wDisappointment), 30u);
    EXPECT_EQ(EffectVolume(ids.wCommentary), 40u);
    EXPECT_NE(dwStart, 10u);
    // At the end the track is ended and both managers go.
    m_game.StopMusic();
    EXPECT_FALSE(m_sounds.HasEffects());
    EXPECT_EQ(g_pfnPlayButtonClick, nullptr);
    EXPECT_TRUE(m_output.streams.empty());
}

TEST_F(GameSounds, OutputStopsWhileTheProgramIsInactive)
{
    m_game.OnActivate(false);
    EXPECT_TRUE(m_output.suspended);
    m_game.OnActivate(true);
    EXPECT_FALSE(m_output.suspended);
}

// The real mixer on the dummy audio driver: samples play in any PCM format
// and report their end; the device format is kept whatever the wave's.
TEST(MixerOutput, PlaysSamplesOfAnyFormatOnTheDummyDriver)
{
    std::unique_ptr<plat::SoundOutput> pOutput = plat::openMixerSoundOutput();
    ASSERT_NE(pOutput, nullptr) << "SDL_AUDIODRIVER=dummy gives a device";
    std::vector<uint8_t> out;
    const std::vector<uint8_t> mono8(11025, 128);
    ASSERT_TRUE(plat::convertToDeviceFormat(mono8.data(), 11025, {1, 11025, 8}, out));
    EXPECT_EQ(out.size(), 22050u * 4);
    EXPECT_FALSE(plat::convertToDeviceFormat(mono8.data(), 100, {1, 11025, 12}, out));
    EXPECT_FALSE(plat::convertToDeviceFormat(mono8.data(), 100, {0, 11025, 8}, out));

    // Ten seconds, so that a busy machine cannot let it end between the checks.
    const std::vector<uint8_t> stereo16(22050 * 4 * 10, 0);
    const plat::SoundHandle h = pOutput->allocateSample();
    ASSERT_NE(h, 0);
    ASSERT_TRUE(pOutput->setSampleData(h, stereo16.data(), static_cast<uint32_t>(stereo16.size()), {2, 22050, 16}));
    pOutput->setSampleVolume(h, 100);
    pOutput->startSample(h);
    EXPECT_EQ(pOutput->sampleStatus(h), plat::kSoundPlaying);
    pOutput->stopSample(h);
    EXPECT_EQ(pOutput->sampleStatus(h), plat::kSoundStopped);
    pOutput->resumeSample(h);
    static int ends = 0;
    pOutput->setSampleEndCallback(h, [](void*, uint32_t) { ++ends; }, nullptr, 0);
    pOutput->endSample(h);
    EXPECT_EQ(pOutput->sampleStatus(h), plat::kSoundDone);
    EXPECT_EQ(ends, 1);
    // The channels are a fixed number: running out is reproducible.
    std::vector<plat::SoundHandle> more;
    while (plat::SoundHandle other = pOutput->allocateSample())
        more.push_back(other);
    EXPECT_EQ(more.size() + 1, static_cast<size_t>(plat::kSampleChannels));
    for (plat::SoundHandle other : more)
        pOutput->releaseSample(other);
    pOutput->releaseSample(h);
    EXPECT_EQ(pOutput->openStream("no such file.ogg"), 0);
}

}  // namespace
