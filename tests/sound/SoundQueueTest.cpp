// The queues play one sound after another when due, refuse what does not fit
// and order commentary by priority.
#include "SoundFixture.h"

#include "sound/CSoundManager.h"

#include "platform/Random.h"

#include <string>
#include <vector>

namespace {

class SoundQueues : public SoundFixture {
protected:
    // A manager with both queues and `count` sounds named s0.wav...
    void Make(int count)
    {
        m_pManager = std::make_unique<CSoundManager>(12, true, true, nullptr);
        ASSERT_TRUE(m_pManager->Create());
        for (int i = 0; i < count; ++i) {
            uint16_t wID = 0;
            const std::string name = "s" + std::to_string(i) + ".wav";
            ASSERT_TRUE(m_pManager->AddSound(WriteWave(name, 1, 22050, 16, 50).c_str(), wID, 0));
        }
    }
    CSound* Sound(uint16_t wID) { return m_pManager->GetSound(wID); }
    // The mixer ends the sound and the main window gives its handle back.
    void Finish(CSound* pSound)
    {
        m_output.finishSample(static_cast<C2DSound*>(pSound)->GetHandle());
        pSound->Uninitialise();
    }
    std::unique_ptr<CSoundManager> m_pManager;
};

TEST_F(SoundQueues, StandardQueueRefusesTheEleventhAndPlaysOneAtATimeWhenDue)
{
    Make(11);
    plat::soundSrand(5);
    // The sounds draw from a sequence of their own, never the game's.
    const unsigned gameState = plat::randState();
    uint32_t dwLast = 0;
    for (uint16_t i = 0; i < 10; ++i) {
        const uint32_t dwDelay = m_pManager->ScheduleSound(i, 0, 0);
        EXPECT_GE(dwDelay, dwLast);  // never earlier than the one before
        dwLast = dwDelay;
    }
    EXPECT_LT(dwLast, 60000u * 10);
    EXPECT_EQ(m_pManager->GetStandardQueue()->GetWaitingCount(), 10);
    m_pManager->ScheduleSound(10, 0, 0);
    EXPECT_EQ(m_pManager->GetStandardQueue()->GetWaitingCount(), 10);
    EXPECT_EQ(plat::randState(), gameState);
    m_pManager->CleanSoundChain(0);
    EXPECT_EQ(m_pManager->GetStandardQueue()->GetWaitingCount(), 0);

    // Due at 5000: not before; two due together: the second after the first.
    CSoundQueue* pQueue = m_pManager->GetStandardQueue();
    ASSERT_TRUE(pQueue->Add(Sound(0), 5000, 0));
    ASSERT_TRUE(pQueue->Add(Sound(1), 5000, 0));
    m_pManager->Update(4999);
    EXPECT_FALSE(Sound(0)->IsPlaying());
    m_pManager->Update(5000);
    EXPECT_TRUE(Sound(0)->IsPlaying());
    m_pManager->Update(5001);
    EXPECT_FALSE(Sound(1)->IsPlaying());
    Finish(Sound(0));
    m_pManager->Update(5002);
    EXPECT_TRUE(Sound(1)->IsPlaying());
    EXPECT_EQ(pQueue->GetWaitingCount(), 0);
    EXPECT_EQ(pQueue->GetFreeCount(), 10);
}

TEST_F(SoundQueues, PriorityQueueOrdersByPriorityThenDueTime)
{
    Make(3);
    CPrioritySoundQueue* pQueue = m_pManager->GetPriorityQueue();
    ASSERT_TRUE(pQueue->Add(Sound(0), 3, 100));
    ASSERT_TRUE(pQueue->Add(Sound(1), 1, 200));
    ASSERT_TRUE(pQueue->Add(Sound(2), 3, 50));
    std::vector<CSound*> order;
    for (uint32_t t = 1000; order.size() < 3 && t < 1010; ++t) {
        m_pManager->Update(t);
        if (pQueue->m_pCurrentSound && (order.empty() || order.back() != pQueue->m_pCurrentSound)) {
            order.push_back(pQueue->m_pCurrentSound);
            Finish(pQueue->m_pCurrentSound);
        }
    }
    EXPECT_EQ(order, (std::vector<CSound*>{Sound(2), Sound(0), Sound(1)}));

    // Full at six waiting; a priority below the minimum is dropped when due.
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(pQueue->Add(Sound(0), 2, 5000));
    EXPECT_FALSE(pQueue->Add(Sound(1), 2, 5000));
    pQueue->Clean();
    pQueue->m_wMinimumPriority = 2;
    m_pManager->GetWaveManager()->SetPriority(Sound(1)->GetWaveIndex(), 2);
    m_pManager->QueuePrioritySoundLower(1, 6000);
    m_pManager->Update(6000);
    EXPECT_FALSE(Sound(1)->IsPlaying());
    m_pManager->QueuePrioritySound(1, 6000);
    m_pManager->Update(6001);
    EXPECT_TRUE(Sound(1)->IsPlaying());
}

TEST_F(SoundQueues, CleanLeavesThePlayingSoundAndUninitialisesTheWaiting)
{
    Make(3);
    CSoundQueue* pQueue = m_pManager->GetStandardQueue();
    ASSERT_TRUE(pQueue->Add(Sound(0), 0, 0));
    m_pManager->Update(0);
    ASSERT_TRUE(Sound(0)->IsPlaying());
    ASSERT_TRUE(pQueue->Add(Sound(1), 10, 0));
    ASSERT_TRUE(Sound(1)->Create());  // a waiting sound holding a handle
    ASSERT_TRUE(pQueue->Add(Sound(2), 20, 1));  // the flush cleans first
    EXPECT_TRUE(Sound(0)->IsPlaying());
    EXPECT_EQ(static_cast<C2DSound*>(Sound(1))->GetHandle(), 0);
    EXPECT_EQ(pQueue->GetWaitingCount(), 1);
}

}  // namespace
