// News items, newspaper stories and notices of a human manager: their
// lifecycles and their sections of the .sav body.
#include "HumanWorld.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNoticeList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace humans_test;

namespace {

std::vector<uint8_t> SaveNews(const CNewspaperManager& news)
{
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    EXPECT_TRUE(news.Save(writer));
    return bytes;
}

std::vector<uint8_t> SaveNotices(const CNoticeList& notices)
{
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    EXPECT_TRUE(notices.Save(writer));
    return bytes;
}

void PutU32(std::vector<uint8_t>& bytes, size_t nAt, uint32_t dw)
{
    for (int i = 0; i < 4; ++i)
        bytes[nAt + i] = static_cast<uint8_t>(dw >> (8 * i));
}

}  // namespace

TEST_F(HumanWorld, NewsItemsAreFiledReadAndExpireOnTheirDates)
{
    CNewspaperManager& news = m_pHuman->GetNews();
    news.RemoveAllNewsItems();
    const CDate today = H().GetGameDate();
    CNewsItem* pItem = m_pHuman->PostNews(250, m_pClub);
    ASSERT_NE(pItem, nullptr);
    EXPECT_EQ(pItem->GetType(), 250);
    EXPECT_EQ(pItem->GetDate(), today);
    EXPECT_LT(pItem->GetExtra(), 255u);
    EXPECT_EQ(pItem->GetSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());
    EXPECT_EQ(pItem->GetSlot(NEWS_SLOT_SUBTYPE), 0xFFFFFFFFu);
    float fValue = 0;
    const uint32_t dwFloat = pItem->GetSlot(16);
    std::memcpy(&fValue, &dwFloat, sizeof fValue);
    EXPECT_EQ(fValue, -1.0f);
    EXPECT_EQ(pItem->GetSlot(19), 0xFF0000FFu);
    pItem->SetSlot(NEWS_SLOT_PERSON, 4242);

    // Category 7 keeps the person in the extra word; another category does not.
    CNewsItem* pOther = news.AddNewsItem(15);
    pOther->SetSlot(NEWS_SLOT_PERSON, 77);
    const uint32_t dwOtherExtra = pOther->GetExtra();
    ASSERT_TRUE(news.FileNewsItem(7, pItem, 3));
    ASSERT_TRUE(news.FileNewsItem(2, pOther, 0));
    EXPECT_FALSE(news.FileNewsItem(2, pOther, 0)) << "only an incoming item can be filed";
    EXPECT_TRUE(news.GetIncoming().IsEmpty());
    EXPECT_EQ(pItem->GetType(), 0);
    EXPECT_EQ(pItem->GetFiledCategory(), 7);
    EXPECT_EQ(pItem->GetFiledValue(), 3);
    EXPECT_EQ(pItem->GetExtra(), 4242u);
    EXPECT_EQ(pOther->GetExtra(), dwOtherExtra);

    EXPECT_EQ(news.CountUnreadNewsItems(), 2);
    pItem->SetRead(true);
    EXPECT_EQ(news.CountUnreadNewsItems(), 1);

    // Dated today and kept 10 days: still there on day 10, gone on day 11.
    news.RemoveExpiredNewsItems(CDate(today.GetValue(), 10), 10);
    EXPECT_EQ(news.GetArchive().GetCount(), 2);
    news.RemoveExpiredNewsItems(CDate(today.GetValue(), 11), 10);
    EXPECT_TRUE(news.GetArchive().IsEmpty());
}

TEST_F(HumanWorld, StoriesArePublishedCountedByReaderAndRemovedWhenOld)
{
    CNewspaperStoryList& list = m_pHuman->GetScrapbook();
    const CDate today = H().GetGameDate();
    CNewspaperStory* pStory = list.AddPendingStory(2, 300);
    CNewspaperStory* pDropped = list.AddPendingStory(1, 301);
    EXPECT_TRUE(list.DeletePendingStory(pDropped));
    ASSERT_TRUE(list.PublishStory(pStory, 99));
    EXPECT_FALSE(list.PublishStory(pStory, 99)) << "a printed story is not pending";
    EXPECT_TRUE(list.GetPendingStories().IsEmpty());
    ASSERT_EQ(list.GetPrintedStories().GetCount(), 1);
    EXPECT_EQ(pStory->GetFirstField(), 99u);

    EXPECT_EQ(list.CountUnreadStories(0), 1);
    pStory->SetReadMask(1);
    EXPECT_EQ(list.CountUnreadStories(0), 0);
    EXPECT_EQ(list.CountUnreadStories(1), 1);

    H().SetGameDate(CDate(today.GetValue(), 28));
    list.RemoveOldStories(28);
    EXPECT_EQ(list.GetPrintedStories().GetCount(), 1) << "28 days old is kept by a 28-day limit";
    H().SetGameDate(CDate(today.GetValue(), 29));
    list.RemoveOldStories(28);
    EXPECT_TRUE(list.GetPrintedStories().IsEmpty());
}

TEST_F(HumanWorld, NoticesAreRaisedOnceAndDelegationDropsItsOwn)
{
    CNoticeList& notices = m_pHuman->GetNotices();
    ASSERT_NE(notices.FindNotice(0), nullptr) << "taking over the club raises notice 0";
    notices.AddNotice(4);
    notices.FindNotice(4)->byResolved = 1;
    notices.AddNotice(4);
    EXPECT_EQ(notices.FindNotice(4)->byResolved, 1) << "raising a present code leaves it resolved";
    EXPECT_EQ(notices.GetCount(), 2);
    notices.RemoveSeenNotices();
    EXPECT_EQ(notices.FindNotice(4), nullptr);
    EXPECT_EQ(notices.GetCount(), 1);

    struct Case {
        int nDelegation;
        std::vector<uint8_t> removed;
    };
    const Case cases[] = {{1, {5, 6}}, {2, {2}}, {3, {16}}, {4, {3}}, {5, {4}}, {7, {8}}, {6, {}}, {0, {}}};
    const std::vector<uint8_t> raised = {0, 2, 3, 4, 5, 6, 8, 9, 16};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nDelegation);
        notices.RemoveAll();
        for (uint8_t by : raised)
            notices.AddNotice(by);
        for (int n = 0; n < 9; ++n)
            m_pHuman->SetDelegation(n, n == c.nDelegation ? 1 : 0);
        notices.ClearResolvedNotices();
        for (uint8_t by : raised) {
            const bool bRemoved = std::find(c.removed.begin(), c.removed.end(), by) != c.removed.end();
            EXPECT_EQ(notices.FindNotice(by) == nullptr, bRemoved) << int(by);
        }
        EXPECT_EQ(notices.GetCount(), static_cast<int>(raised.size() - c.removed.size()));
    }
}

TEST_F(HumanWorld, NewsAndNoticeSectionsRoundTripAndRefuseDamage)
{
    CNewspaperManager& news = m_pHuman->GetNews();
    news.RemoveAllNewsItems();
    CNewsItem* pFiled = m_pHuman->PostNews(93, m_pClub);
    pFiled->SetSlot(NEWS_SLOT_COUNTRY, m_pClub->m_pDivision->m_pCountry->GetID());
    pFiled->SetSlot(NEWS_SLOT_DIVISION, m_pClub->m_pDivision->m_byDivisionId);
    news.FileNewsItem(7, pFiled, 1);
    m_pHuman->PostNews(265)->SetSlot(NEWS_SLOT_CLUB_B, 2);
    m_pHuman->GetNotices().AddNotice(7);
    const std::vector<uint8_t> newsBytes = SaveNews(news);
    const std::vector<uint8_t> noticeBytes = SaveNotices(m_pHuman->GetNotices());
    ASSERT_EQ(newsBytes.size(), 8u + 2 * CNewsItem::FILE_SIZE);
    ASSERT_EQ(noticeBytes.size(), 4u + 2 * 2);

    CNewspaperManager readNews;
    CBinaryReader newsReader(newsBytes);
    ASSERT_TRUE(readNews.Load(newsReader));
    EXPECT_EQ(SaveNews(readNews), newsBytes);
    ASSERT_EQ(readNews.GetArchive().GetCount(), 1);
    EXPECT_EQ(static_cast<const CNewsItem*>(readNews.GetArchive().GetHead()->pData)->GetExtra(), 0u);
    CNoticeList readNotices(m_pHuman);
    CBinaryReader noticeReader(noticeBytes);
    ASSERT_TRUE(readNotices.Load(noticeReader));
    EXPECT_EQ(SaveNotices(readNotices), noticeBytes);
    EXPECT_EQ(readNotices.GetCount(), 2);

    // A club that has left the world since leaves its slot empty.
    std::vector<uint8_t> goneClub = newsBytes;
    PutU32(goneClub, 4 + 14, 60000);
    CBinaryReader goneReader(goneClub);
    ASSERT_TRUE(readNews.Load(goneReader));
    EXPECT_EQ(static_cast<const CNewsItem*>(readNews.GetArchive().GetHead()->pData)->GetSlot(NEWS_SLOT_CLUB_A), 0u);

    struct Damage {
        const char* pszWhat;
        bool bNews;
        size_t nAt;  // where the u32 or byte goes; SIZE_MAX cuts instead
        uint32_t dwValue;
        size_t nCut;
    };
    const size_t nSecondItem = 4 + CNewsItem::FILE_SIZE + 4;
    const Damage damages[] = {
        {"archive count beyond the file", true, 0, 3, 0},
        {"incoming count beyond the file", true, 4 + CNewsItem::FILE_SIZE, 2, 0},
        {"an item's date is no date", true, 4 + 10, 0x07CF0D20, 0},
        {"an item cut short", true, SIZE_MAX, 0, nSecondItem + 50},
        {"notice count beyond the file", false, 0, 3, 0},
        {"a notice code past 19", false, 4, 20, 0},
        {"a resolved flag of 2", false, 5, 2, 0},
        {"a code twice", false, 6, 0, 0},
        {"a notice cut short", false, SIZE_MAX, 0, 7},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.pszWhat);
        std::vector<uint8_t> bytes = d.bNews ? newsBytes : noticeBytes;
        if (d.nAt == SIZE_MAX)
            bytes.resize(d.nCut);
        else if (d.bNews)
            PutU32(bytes, d.nAt, d.dwValue);
        else if (d.nAt == 0)
            PutU32(bytes, 0, d.dwValue);
        else
            bytes[d.nAt] = static_cast<uint8_t>(d.dwValue);
        CBinaryReader reader(bytes);
        if (d.bNews) {
            EXPECT_FALSE(readNews.Load(reader));
            EXPECT_TRUE(readNews.GetArchive().IsEmpty());
            EXPECT_TRUE(readNews.GetIncoming().IsEmpty());
        }
        else {
            EXPECT_FALSE(readNotices.Load(reader));
            EXPECT_EQ(readNotices.GetCount(), 0);
            EXPECT_TRUE(readNotices.GetNotices().IsEmpty());
        }
    }
}
