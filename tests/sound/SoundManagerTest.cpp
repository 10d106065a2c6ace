// Sounds on a recording output: waves play in their own format, handles are
// taken and given back, the sound-end messages reach only live sounds, and
// the music runs track after track, each pass in a new order.
#include "SoundFixture.h"

#include "sound/CSoundManager.h"

#include "shell/SoundEndMessages.h"
#include "platform/Random.h"

#include <algorithm>
#include <memory>
#include <set>

namespace {

using SoundClasses = SoundFixture;

TEST_F(SoundClasses, WavesPlayInTheFormatTheirFormatChunkDeclares)
{
    CSoundManager manager(4, false, false, nullptr);
    ASSERT_TRUE(manager.Create());
    uint16_t wStereo = 0, wMono = 0;
    // One second each: 16-bit stereo at 22050 Hz and 8-bit mono at 11025 Hz.
    ASSERT_TRUE(manager.AddSound(WriteWave("stereo.wav", 2, 22050, 16, 22050).c_str(), wStereo, 0));
    ASSERT_TRUE(manager.AddSound(WriteWave("mono.wav", 1, 11025, 8, 11025).c_str(), wMono, 0));
    EXPECT_EQ(manager.GetSoundLength(wStereo), 1000u);
    EXPECT_EQ(manager.GetSoundLength(wMono), 1000u);
    for (uint16_t wID : {wStereo, wMono}) {
        ASSERT_TRUE(manager.Play(wID));
        const auto* pSound = static_cast<C2DSound*>(manager.GetSound(wID));
        const auto& sample = m_output.samples.at(pSound->GetHandle());
        // One second at the device's 22050 Hz, 16-bit stereo.
        EXPECT_EQ(sample.pcm.size(), 22050u * 4) << wID;
    }
    const auto& mono = m_output.samples.at(static_cast<C2DSound*>(manager.GetSound(wMono))->GetHandle());
    EXPECT_EQ(mono.format.channels, 1);
    EXPECT_EQ(mono.format.bits, 8);
    EXPECT_EQ(mono.format.rate, 11025u);
}

TEST_F(SoundClasses, HandlesAreTakenOnceAndFailedWavesNeverPlay)
{
    CSoundManager manager(4, false, false, nullptr);
    ASSERT_TRUE(manager.Create());
    uint16_t wGood = 0, wMissing = 0, wLooped = 0;
    ASSERT_TRUE(manager.AddSound(WriteWave("a.wav", 1, 22050, 16, 100).c_str(), wGood, 0));
    ASSERT_TRUE(manager.AddSound((m_dir / "none.wav").string().c_str(), wMissing, 0));
    ASSERT_TRUE(manager.AddSound(WriteWave("b.wav", 1, 22050, 16, 100).c_str(), wLooped, 1));
    uint16_t wBad = 0;
    EXPECT_FALSE(manager.AddSound("x.wav", wBad, 2));
    EXPECT_EQ(manager.GetCount(), 3u);

    CSound* pGood = manager.GetSound(wGood);
    ASSERT_TRUE(pGood->Create());
    const plat::SoundHandle first = static_cast<C2DSound*>(pGood)->GetHandle();
    EXPECT_FALSE(pGood->Create());
    EXPECT_EQ(static_cast<C2DSound*>(pGood)->GetHandle(), first);
    EXPECT_TRUE(pGood->Uninitialise());
    EXPECT_FALSE(pGood->Uninitialise());

    EXPECT_FALSE(manager.Play(wMissing));
    EXPECT_EQ(manager.GetSoundLength(wMissing), 0u);
    EXPECT_FALSE(manager.Play(40));

    // A looping sound reports no end; playing it again does not restart it.
    ASSERT_TRUE(manager.PlayLooped(wLooped));
    const plat::SoundHandle looped = static_cast<C2DSound*>(manager.GetSound(wLooped))->GetHandle();
    EXPECT_EQ(m_output.samples.at(looped).loops, 0u);
    EXPECT_EQ(m_output.samples.at(looped).callback, nullptr);
    const size_t starts = m_output.started.size();
    EXPECT_TRUE(manager.PlayLooped(wLooped));
    EXPECT_EQ(m_output.started.size(), starts);

    // One-shot sounds end, looping ones go on.
    ASSERT_TRUE(manager.Play(wGood));
    manager.EndOneShotSounds();
    EXPECT_TRUE(manager.GetSound(wGood)->IsDone());
    EXPECT_TRUE(manager.GetSound(wLooped)->IsPlaying());
}

TEST_F(SoundClasses, AnEndMessageReleasesOnlyASoundOfTheManagerStillInItsSlot)
{
    auto pOld = std::make_unique<CSoundManager>(4, false, false, nullptr);
    ASSERT_TRUE(pOld->Create());
    uint16_t wID = 0;
    ASSERT_TRUE(pOld->AddSound(WriteWave("a.wav", 1, 22050, 16, 100).c_str(), wID, 0));
    ASSERT_TRUE(pOld->Play(wID));
    auto* pOldSound = static_cast<C2DSound*>(pOld->GetSound(wID));
    const auto& sample = m_output.samples.at(pOldSound->GetHandle());
    EXPECT_EQ(sample.callback, &PostSampleEnd);
    EXPECT_EQ(sample.user, pOldSound);
    EXPECT_EQ(sample.tag, pOld->GetInstanceID());

    // The end of a live sound releases its handle, and only its.
    OnUninitialiseSound(plat::WPARAM(pOld->GetInstanceID()), reinterpret_cast<plat::LPARAM>(pOldSound));
    EXPECT_EQ(pOldSound->GetHandle(), 0);
    EXPECT_TRUE(m_output.samples.empty());

    // A late record of a deleted manager names a slot a new manager took.
    const uint32_t dwOldID = pOld->GetInstanceID();
    pOld.reset();
    CSoundManager fresh(4, false, false, nullptr);
    ASSERT_TRUE(fresh.Create());
    EXPECT_EQ(fresh.GetInstanceID(), dwOldID);
    ASSERT_TRUE(fresh.AddSound(WriteWave("b.wav", 1, 22050, 16, 100).c_str(), wID, 0));
    ASSERT_TRUE(fresh.Play(wID));
    OnUninitialiseSound(plat::WPARAM(dwOldID), reinterpret_cast<plat::LPARAM>(pOldSound));
    EXPECT_NE(static_cast<C2DSound*>(fresh.GetSound(wID))->GetHandle(), 0);
    // One past the last slot.
    OnUninitialiseSound(plat::WPARAM(GetSoundManagerCount()), reinterpret_cast<plat::LPARAM>(fresh.GetSound(wID)));
    EXPECT_NE(static_cast<C2DSound*>(fresh.GetSound(wID))->GetHandle(), 0);
}

class MusicList : public SoundFixture {
protected:
    void WriteTracks(std::initializer_list<const char*> names)
    {
        std::filesystem::create_directories(m_dir / "Music" / "Old");
        for (const char* name : names)
            Write(std::string("Music/") + name, {1});
    }
    std::string Folder() const { return (m_dir / "Music").string(); }
};

TEST_F(MusicList, StartsWithTheFirstTrackAndPlaysEachOncePerPass)
{
    WriteTracks({"03. Track 3.ogg", "01. Track 1.ogg", "02. Track 2.ogg", "notes.txt"});
    plat::soundSrand(3);
    CSoundManager music(10, false, false, nullptr);
    ASSERT_TRUE(music.Create());
    ASSERT_TRUE(music.LoadMusicList(Folder().c_str(), "*.ogg"));
    EXPECT_EQ(music.GetCount(), 3u);
    music.PlayMusic(90);
    ASSERT_EQ(m_output.playedStreams.size(), 1u);
    EXPECT_NE(m_output.playedStreams[0].find("01. Track 1.ogg"), std::string::npos);
    EXPECT_EQ(m_output.playingStream()->volume, 90u);

    // Each end moves on at the same volume; every pass plays each track once.
    for (int i = 0; i < 8; ++i) {
        const plat::SoundHandle h = m_output.playingStreamHandle();
        ASSERT_NE(h, 0);
        EXPECT_EQ(m_output.streams.at(h).user, &music);
        m_output.finishStream(h);
        OnUninitialiseStream(reinterpret_cast<plat::LPARAM>(&music));
    }
    ASSERT_EQ(m_output.playedStreams.size(), 9u);
    for (size_t pass = 0; pass < 3; ++pass) {
        std::set<std::string> inPass(m_output.playedStreams.begin() + pass * 3,
                                     m_output.playedStreams.begin() + pass * 3 + 3);
        EXPECT_EQ(inPass.size(), 3u) << pass;
    }
    EXPECT_EQ(m_output.playingStream()->volume, 90u);
    EXPECT_EQ(m_output.streams.size(), 1u);
}

TEST_F(MusicList, NoTracksDisablesMusicAndAGoneManagerStartsNothing)
{
    WriteTracks({"readme.txt"});
    CSoundManager empty(10, false, false, nullptr);
    ASSERT_TRUE(empty.Create());
    EXPECT_FALSE(empty.LoadMusicList(Folder().c_str(), "*.ogg"));
    EXPECT_FALSE(empty.IsMusicEnabled());
    empty.PlayMusic(100);
    EXPECT_TRUE(m_output.playedStreams.empty());

    WriteTracks({"b.ogg", "a.ogg"});
    auto pMusic = std::make_unique<CSoundManager>(10, false, false, nullptr);
    ASSERT_TRUE(pMusic->Create());
    ASSERT_TRUE(pMusic->LoadMusicList(Folder().c_str(), "*.OGG"));
    pMusic->PlayMusic(100);
    ASSERT_EQ(m_output.playedStreams.size(), 1u);
    void* pGone = pMusic.get();
    pMusic.reset();
    EXPECT_TRUE(m_output.streams.empty());
    OnUninitialiseStream(reinterpret_cast<plat::LPARAM>(pGone));
    EXPECT_EQ(m_output.playedStreams.size(), 1u);
}

TEST_F(SoundClasses, StreamsPauseResumeAndFadeOverTime)
{
    std::filesystem::create_directories(m_dir / "Music");
    Write("Music/01. Track 1.ogg", {1});
    CSoundManager music(10, false, false, nullptr);
    ASSERT_TRUE(music.Create());
    ASSERT_TRUE(music.LoadMusicList((m_dir / "Music").string().c_str(), "*.ogg"));
    music.PlayMusic(100);
    CStream* pTrack = music.GetCurrentTrack();
    ASSERT_NE(pTrack, nullptr);
    EXPECT_TRUE(pTrack->PlayLooped());
    EXPECT_EQ(m_output.playedStreams.size(), 1u);
    EXPECT_TRUE(pTrack->Stop());
    EXPECT_TRUE(pTrack->Resume());

    // Fades spread over their time: half way is half the volume.
    const plat::SoundHandle h = pTrack->GetHandle();
    ASSERT_TRUE(pTrack->FadeOutAt(1000, 400));
    pTrack->Step(1200);
    EXPECT_EQ(m_output.streams.at(h).volume, 50u);
    EXPECT_TRUE(pTrack->IsPlaying());
    pTrack->Step(1400);
    EXPECT_EQ(m_output.streams.at(h).volume, 0u);
    EXPECT_TRUE(pTrack->IsStopped());
    ASSERT_TRUE(pTrack->FadeInAt(2000, 400));
    EXPECT_TRUE(pTrack->IsPlaying());
    pTrack->Step(2300);
    EXPECT_EQ(m_output.streams.at(h).volume, 75u);
    pTrack->Step(2500);
    EXPECT_EQ(m_output.streams.at(h).volume, 100u);
    EXPECT_FALSE(pTrack->IsFading());
}

}  // namespace
