// The ends of sounds reach the main thread as window messages; a message
// that names no sound or no manager is left alone.
#include "LogCapture.h"

#include "shell/SoundEndMessages.h"
#include "shell/WinMain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeTable : public CSoundEndTable {
public:
    uint32_t InstanceCount() const override { return 3; }
    bool HasManager(uint32_t dwInstanceID) const override { return dwInstanceID != 1; }
    const char* SoundName(const void*) const override { return "Icon.wav"; }
    void UninitialiseSound(void* pSound) override { released.push_back(pSound); }
    void PlayNextTrack(void* pManager) override { nextTracks.push_back(pManager); }
    std::vector<void*> released;
    std::vector<void*> nextTracks;
};

class SoundEndMessages : public ::testing::Test {
protected:
    void SetUp() override { g_pSoundEndTable = &m_table; }
    void TearDown() override { g_pSoundEndTable = nullptr; }
    static plat::LPARAM Sound(void* pSound) { return reinterpret_cast<plat::LPARAM>(pSound); }
    FakeTable m_table;
};

TEST_F(SoundEndMessages, OnlyAFinishedSoundOfAnExistingManagerIsReleased)
{
    int sound = 0;
    LogCapture log;
    MainWndProc(WM_UNINITIALISE_SOUND, 0, 0);
    MainWndProc(WM_UNINITIALISE_SOUND, 3, Sound(&sound));  // one past the last slot
    MainWndProc(WM_UNINITIALISE_SOUND, 7, Sound(&sound));
    MainWndProc(WM_UNINITIALISE_SOUND, 1, Sound(&sound));  // an empty slot
    EXPECT_TRUE(m_table.released.empty());
    EXPECT_TRUE(log.Contains("Instance ID too big!"));
    MainWndProc(WM_UNINITIALISE_SOUND, 2, Sound(&sound));
    ASSERT_EQ(m_table.released.size(), 1u);
    EXPECT_EQ(m_table.released[0], &sound);
    EXPECT_TRUE(log.Contains("WM_UNINITIALISE_SOUND Icon.wav"));
}

TEST_F(SoundEndMessages, AnEndedTrackStartsTheNextOneOfItsManager)
{
    int manager = 0;
    MainWndProc(WM_UNINITIALISE_STREAM, 0, 0);
    MainWndProc(WM_UNINITIALISE_STREAM, 0, reinterpret_cast<plat::LPARAM>(&manager));
    ASSERT_EQ(m_table.nextTracks.size(), 1u);
    EXPECT_EQ(m_table.nextTracks[0], &manager);
    // Without a running sound system nothing is released.
    g_pSoundEndTable = nullptr;
    int sound = 0;
    MainWndProc(WM_UNINITIALISE_SOUND, 0, Sound(&sound));
    EXPECT_TRUE(m_table.released.empty());
}

}  // namespace
