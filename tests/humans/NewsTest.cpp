// News items, newspaper stories and notices of a human manager: their
// lifecycles and their sections of the .sav body.
#include "HumanWorld.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNoticeList.h"
#include "season/CSponsorManager.h"
#include "season/CTrainingManager.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <tuple>
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

    // A story tells of the month before its date, December for January.
    for (const auto& [date, nMonth, nYear] : {std::tuple{CDate(2000, 1, 15), 12, 1999},
                                              std::tuple{CDate(2000, 3, 1), 2, 2000}}) {
        H().SetGameDate(date);
        CNewspaperStory* pDated = list.AddPendingStory(0, 302);
        EXPECT_EQ(pDated->GetReportMonth(), nMonth);
        EXPECT_EQ(pDated->GetReportYear(), nYear);
        list.DeletePendingStory(pDated);
    }

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

namespace {

std::vector<const CNewsItem*> IncomingOfType(const CSaveGame& human, uint16_t wType)
{
    std::vector<const CNewsItem*> items;
    for (const CNewsItem* pItem : human.GetNews().GetIncoming().Items<CNewsItem>())
        if (pItem->GetType() == wType)
            items.push_back(pItem);
    return items;
}

const CNewspaperStory* PendingStoryOfType(const CCountryDatabase& country, uint16_t wType)
{
    const CNewspaperStory* pFound = nullptr;
    for (const CNewspaperStory* p : country.GetNewspaperStories()->GetPendingStories().Items<CNewspaperStory>())
        if (p->GetParameter() == wType)
            pFound = p;
    return pFound;
}

}  // namespace

TEST_F(HumanWorld, ASeasonTellsTheHumanOfHisFixturesPaymentsAndFinalPlace)
{
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    CCountryDatabase* pCountry = m_pClub->m_pCountry;
    ASSERT_TRUE(pDivision && pCountry);
    // The new game's fixtures and the division's level payment.
    const auto fixtures = IncomingOfType(*m_pHuman, 265);
    ASSERT_EQ(fixtures.size(), 1u);
    EXPECT_EQ(fixtures[0]->GetSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());
    if (pDivision->GetPaymentPerClub(pCountry->GetCountryLevel()) != 0 && !m_pClub->m_lstStaff.IsEmpty()) {
        const auto payments = IncomingOfType(*m_pHuman, 242);
        ASSERT_EQ(payments.size(), 1u);
        EXPECT_TRUE(m_pClub->HasStaff(static_cast<ID_STAFF>(payments[0]->GetSlot(NEWS_SLOT_STAFF))));
    }

    // To the day after the country's season end, before the season turns.
    // A loan offer for one of his players is news the day it is made, while
    // the offer it names still stands.
    const CDate end = pCountry->GetSeasonEndDate();
    ASSERT_TRUE(end.IsValid());
    size_t nSeen = 0;
    int nLoanOffers = 0;
    while (H().GetGameDate() <= end && !HasFatalFailure()) {
        RunDays(1);
        const CXList& incoming = m_pHuman->GetNews().GetIncoming();
        size_t n = 0;
        for (const CNewsItem* pItem : incoming.Items<CNewsItem>()) {
            if (n++ < nSeen || pItem->GetType() != 197)
                continue;
            ++nLoanOffers;
            const auto idPlayer = static_cast<ID_PLAYER>(pItem->GetSlot(NEWS_SLOT_PERSON));
            const auto idBidder = static_cast<ID_CLUB>(pItem->GetSlot(NEWS_SLOT_CLUB_B));
            const CLoanOfferDatabase* pOffer = H().GetLoanOffer(idPlayer, idBidder);
            ASSERT_NE(pOffer, nullptr) << "loan offer news of a day names a standing offer";
            EXPECT_EQ(pOffer->GetOfferID(), pItem->GetSlot(NEWS_SLOT_VALUE));
            EXPECT_NE(idBidder, m_pClub->GetID());
        }
        nSeen = static_cast<size_t>(incoming.GetCount());
    }
    RecordProperty("loan_offer_news", nLoanOffers);
    ASSERT_EQ(m_pHuman->GetClub(), m_pClub) << "the human kept his job all season";

    std::vector<int> codes;
    for (const CNewsItem* pItem : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
        if (std::find(codes.begin(), codes.end(), pItem->GetType()) == codes.end())
            codes.push_back(pItem->GetType());
    std::string listed;
    for (int nCode : codes)
        listed += std::to_string(nCode) + " ";
    std::printf("news codes of the season: %s\n", listed.c_str());
    RecordProperty("news_codes", listed);

    // The final table decides the one zone item he gets.
    int nPlace = 1;
    for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
        if (pClub == m_pClub)
            break;
        ++nPlace;
    }
    const int nClubs = pDivision->GetClubCount();
    const CDivisionDatabase* pBelow = pDivision->GetNeighbourDivision(1);
    const bool bChampion = nPlace == 1;
    const bool bPromoted = !bChampion && nPlace <= pDivision->m_byPromotionZone;
    const bool bRelegated = !bChampion && !bPromoted && nPlace > nClubs - pDivision->m_byRelegationZone && pBelow &&
                            pBelow->m_byKind == DIVISION_KIND_LEAGUE;
    SCOPED_TRACE("final place " + std::to_string(nPlace));
    EXPECT_EQ(IncomingOfType(*m_pHuman, 160).size(), bChampion ? 1u : 0u);
    EXPECT_EQ(IncomingOfType(*m_pHuman, 161).size(), bPromoted ? 1u : 0u);
    EXPECT_EQ(IncomingOfType(*m_pHuman, 162).size(), bRelegated ? 1u : 0u);
    if (bRelegated) {
        EXPECT_EQ(IncomingOfType(*m_pHuman, 162)[0]->GetSlot(NEWS_SLOT_DIVISION), pBelow->m_byDivisionId);
    }
    // A fixture added to his calendar names the other club.
    for (const CNewsItem* pItem : IncomingOfType(*m_pHuman, 266)) {
        const CClubDatabase* pOther = H().GetClubFromID(static_cast<ID_CLUB>(pItem->GetSlot(NEWS_SLOT_CLUB_B)));
        ASSERT_NE(pOther, nullptr);
        EXPECT_NE(pOther, m_pClub);
    }
    // Everything he was told names his own club first.
    for (const CNewsItem* pItem : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
        if (pItem->GetSlot(NEWS_SLOT_CLUB_A) != 0) {
            EXPECT_EQ(pItem->GetSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID()) << pItem->GetType();
        }
}

TEST_F(HumanWorld, TheFinalTableTellsEachZoneAndThePoolSacksItsHuman)
{
    // A second human in the lower divisions of the first human's country.
    CCountryDatabase& country = *m_pClub->m_pCountry;
    auto divisionNumber = [&](int nNumber) -> CDivisionDatabase* {
        return country.GetDivisions().FindItem<CDivisionDatabase>(
            [nNumber](const CDivisionDatabase* p) { return p->m_byDivisionNumber == nNumber; });
    };
    CDivisionDatabase* pFirst = divisionNumber(1);
    CDivisionDatabase* pSecondDivision = divisionNumber(2);
    CDivisionDatabase* pThird = divisionNumber(3);
    CDivisionDatabase* pFourth = divisionNumber(4);
    ASSERT_TRUE(pFirst && pSecondDivision && pThird && pFourth);
    ASSERT_GE(pSecondDivision->m_byPromotionZone, 2);
    ASSERT_GT(pThird->m_byRelegationZone, 0);
    CSaveGame* pSecond = CSaveGame::CreateNewHuman(H(), 1, "Cy Marlow", 3, country.GetID());
    ASSERT_NE(pSecond, nullptr);

    struct Case {
        const char* pszWhat;
        CDivisionDatabase* pDivision;
        int nPlace;  // 0 the last
        uint16_t wNews;
        uint32_t dwDivisionSlot;
    };
    const Case cases[] = {
        {"champions", pSecondDivision, 1, 160, 0},
        {"promoted", pSecondDivision, 2, 161, pFirst->m_byDivisionId},
        {"relegated", pSecondDivision, 0, 162, pThird->m_byDivisionId},
        {"down into the pool", pThird, 0, 134, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CXList& table = c.pDivision->m_lstClubsByTable;
        CClubDatabase* pClub = static_cast<CClubDatabase*>(table.GetHead()->pData);
        pSecond->TakeOverClub(pClub);
        ASSERT_EQ(pClub->m_wManagerId, pSecond->GetManagerID());
        // Points put him where the case wants him; the table sorts by them.
        for (CClubDatabase* pOther : table.Items<CClubDatabase>())
            pOther->m_byPoints = 10;
        pClub->m_byPoints = c.nPlace == 0 ? 0 : 50;
        if (c.nPlace == 2)
            static_cast<CClubDatabase*>(table.GetTail()->pData)->m_byPoints = 60;
        // The division below the third becomes the pool outside the leagues.
        if (c.wNews == 134)
            pFourth->m_byKind = DIVISION_KIND_BOTTOM_OTHER;

        c.pDivision->AnnounceTableZones();
        for (uint16_t wCode : {160, 161, 162, 134})
            EXPECT_EQ(IncomingOfType(*pSecond, wCode).size(), wCode == c.wNews ? 1u : 0u) << wCode;
        const auto told = IncomingOfType(*pSecond, c.wNews);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0]->GetSlot(NEWS_SLOT_CLUB_A), pClub->GetID());
        if (c.dwDivisionSlot) {
            EXPECT_EQ(told[0]->GetSlot(NEWS_SLOT_DIVISION), c.dwDivisionSlot);
        }
        if (c.wNews == 134) {
            EXPECT_EQ(pSecond->GetClub(), nullptr) << "he no longer runs the club";
            EXPECT_EQ(pClub->m_wManagerId, 0);
            const CNewspaperStory* pStory = PendingStoryOfType(country, 303);
            ASSERT_NE(pStory, nullptr);
            EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_CLUB_A), pClub->GetID());
            EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_PERSON), pSecond->GetManagerID());
        }
    }
}

TEST_F(HumanWorld, ClubStoriesFollowTheTopDivisionAndTheHumansOwn)
{
    // A club of the human's division is followed; a club of a lower division
    // no human plays in is not.
    CClubDatabase* pNeighbour = nullptr;
    CClubDatabase* pUnfollowed = nullptr;
    for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
        for (CDivisionDatabase* p : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : p->m_lstClubsByTable.Items<CClubDatabase>()) {
                if (!pNeighbour && pClub != m_pClub && p == m_pClub->m_pDivision)
                    pNeighbour = pClub;
                if (!pUnfollowed && p != m_pClub->m_pDivision && p->m_byDivisionNumber != 1)
                    pUnfollowed = pClub;
            }
    ASSERT_TRUE(pNeighbour && pUnfollowed);
    EXPECT_EQ(pUnfollowed->AddNewspaperStory(1, 308), nullptr);

    // Falling from 25 to 21 is news; falling further is not.
    CNewspaperStoryList& stories = *pNeighbour->m_pCountry->GetNewspaperStories();
    const int nBefore = stories.GetPendingStories().GetCount();
    pNeighbour->m_byFinancialStability = 25;
    pNeighbour->UpdateFinancialStability(4);
    ASSERT_EQ(pNeighbour->m_byFinancialStability, 21);
    ASSERT_EQ(stories.GetPendingStories().GetCount(), nBefore + 1);
    const CNewspaperStory* pStory = static_cast<const CNewspaperStory*>(stories.GetPendingStories().GetTail()->pData);
    EXPECT_EQ(pStory->GetParameter(), 308);
    EXPECT_EQ(pStory->GetKind(), 1);
    EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_CLUB_A), pNeighbour->GetID());
    EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_PERSON), pNeighbour->m_wManagerId);
    pNeighbour->UpdateFinancialStability(4);
    EXPECT_EQ(stories.GetPendingStories().GetCount(), nBefore + 1);

    // A clear home win over a near club is the local paper's; a narrow one is not.
    pNeighbour->DoMatchResultUpdate(0, 3, 2, true, m_pClub);
    const bool bNear = pNeighbour->IsNearClub(m_pClub, 15);
    EXPECT_EQ(stories.GetPendingStories().GetCount(), nBefore + 1);
    pNeighbour->DoMatchResultUpdate(0, 3, 0, true, m_pClub);
    EXPECT_EQ(stories.GetPendingStories().GetCount(), nBefore + (bNear ? 2 : 1));

    // A manager who retires from his club makes the papers, and no sacking story.
    CManagerDatabase* pManager = pNeighbour->GetManager();
    ASSERT_NE(pManager, nullptr);
    const ID_MANAGER idManager = pManager->GetId();
    pManager->m_DateOfBirth.wYear = 1920;
    H().RetireOldManagers();
    EXPECT_EQ(pNeighbour->m_wManagerId, 0);
    auto storyFor = [&](uint16_t wType) {
        return stories.GetPendingStories().FindItem<CNewspaperStory>([&](const CNewspaperStory* p) {
            return p->GetParameter() == wType && p->GetParameterSlot(NEWS_SLOT_CLUB_A) == pNeighbour->GetID();
        });
    };
    const CNewspaperStory* pRetired = storyFor(298);
    ASSERT_NE(pRetired, nullptr);
    EXPECT_EQ(pRetired->GetParameterSlot(NEWS_SLOT_PERSON), idManager);
    EXPECT_EQ(storyFor(303), nullptr);
}

TEST_F(HumanWorld, AwardStoriesNameTheWinnersAndTellTheirHumanClubs)
{
    CDivisionDatabase& division = *m_pClub->m_pDivision;
    CCountryDatabase& country = *m_pClub->m_pCountry;
    CNewspaperStoryList& stories = *country.GetNewspaperStories();
    ASSERT_GE(m_pClub->m_lstPlayers.GetCount(), 11);
    H().SetGameDate(CDate(division.m_SeasonStart.GetValue(), 60));
    ASSERT_TRUE(division.IsMidSeasonDate(H().GetGameDate()));
    for (CDivisionDatabase* p : country.GetDivisions().Items<CDivisionDatabase>())
        p->m_nPlayerOfPeriod = p->m_nManagerOfPeriod = 0;
    EXPECT_EQ(stories.AddPlayerAwards(country), nullptr) << "no winner, no story";

    const auto* pStar = static_cast<const CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    division.m_nPlayerOfPeriod = static_cast<int32_t>(pStar->m_idPerson);
    division.m_nManagerOfPeriod = m_pHuman->GetManagerID();
    const CNewspaperStory* pPlayers = stories.AddPlayerAwards(country);
    ASSERT_NE(pPlayers, nullptr);
    EXPECT_EQ(pPlayers->GetKind(), STORY_KIND_PLAYER_AWARDS);
    ASSERT_EQ(pPlayers->GetCount(), 1u);
    EXPECT_EQ(pPlayers->GetAwardEntry(0)->dwDivision, division.m_byDivisionId);
    EXPECT_EQ(pPlayers->GetAwardEntry(0)->dwPerson, pStar->m_idPerson);
    EXPECT_EQ(pPlayers->GetAwardEntry(0)->dwClub, m_pClub->GetID());
    EXPECT_NE(stories.GetPrintedStories().Find(pPlayers), nullptr) << "award stories are printed at once";
    const auto told = IncomingOfType(*m_pHuman, 250);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0]->GetSlot(NEWS_SLOT_PERSON), pStar->m_idPerson);

    const CNewspaperStory* pManagers = stories.AddManagerAwards(country);
    ASSERT_NE(pManagers, nullptr);
    ASSERT_EQ(pManagers->GetCount(), 1u);
    EXPECT_EQ(pManagers->GetAwardEntry(0)->dwPerson, m_pHuman->GetManagerID());
    EXPECT_EQ(pManagers->GetAwardEntry(0)->dwClub, m_pClub->GetID());

    // The eleven: all found gives the story and tells the human of each of his.
    int n = 0;
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        if (n == CNewspaperStory::BEST_ELEVEN)
            break;
        division.m_aEleven[n].idClub = m_pClub->GetID();
        division.m_aEleven[n++].idPlayer = static_cast<int32_t>(pPlayer->m_idPerson);
    }
    const int32_t idLast = division.m_aEleven[10].idPlayer;
    division.m_aEleven[10].idPlayer = 0;
    EXPECT_EQ(stories.AddBestElevenStory(division), nullptr) << "one of the eleven is missing";
    EXPECT_TRUE(IncomingOfType(*m_pHuman, 253).empty()) << "nobody is told of a story not printed";
    division.m_aEleven[10].idPlayer = idLast;
    const CNewspaperStory* pEleven = stories.AddBestElevenStory(division);
    ASSERT_NE(pEleven, nullptr);
    EXPECT_EQ(pEleven->GetCount(), division.m_byDivisionId);
    EXPECT_EQ(pEleven->GetBestElevenPlayer(10), static_cast<uint32_t>(idLast));
    EXPECT_EQ(IncomingOfType(*m_pHuman, 253).size(), 11u);

    // Out of the season's middle there is no story at all.
    H().SetGameDate(CDate(division.m_SeasonStart.GetValue(), 10));
    EXPECT_EQ(stories.AddPlayerAwards(country), nullptr);
    EXPECT_EQ(stories.AddBestElevenStory(division), nullptr);
}

TEST_F(HumanWorld, OffersMadeAndWithdrawnAreNewsForThePlayersHumanClub)
{
    CPlayerDatabase* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    const ID_CLUB idBidder = 2;
    ASSERT_EQ(H().MakeLoanOffer(pPlayer, 0, idBidder, 30, 1000), 0);
    const auto made = IncomingOfType(*m_pHuman, 197);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0]->GetSlot(NEWS_SLOT_PERSON), pPlayer->m_idPerson);
    EXPECT_EQ(made[0]->GetSlot(NEWS_SLOT_CLUB_B), idBidder);
    ASSERT_NE(H().GetLoanOffer(pPlayer->m_idPerson, idBidder), nullptr);
    EXPECT_EQ(made[0]->GetSlot(NEWS_SLOT_VALUE), H().GetLoanOffer(pPlayer->m_idPerson, idBidder)->GetOfferID());
    ASSERT_EQ(H().WithdrawLoanOffer(pPlayer->m_idPerson, idBidder, true), 0);
    const auto loan = IncomingOfType(*m_pHuman, 199);
    ASSERT_EQ(loan.size(), 1u);
    EXPECT_EQ(loan[0]->GetSlot(NEWS_SLOT_PERSON), pPlayer->m_idPerson);
    EXPECT_EQ(loan[0]->GetSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());
    ASSERT_EQ(H().MakeLoanOffer(pPlayer, 0, idBidder, 30, 1000), 0);
    ASSERT_EQ(H().WithdrawLoanOffer(pPlayer->m_idPerson, idBidder, false), 0);
    EXPECT_EQ(IncomingOfType(*m_pHuman, 199).size(), 1u) << "a quiet withdrawal tells nobody";
}

TEST_F(HumanWorld, NoticesAreRaisedWhileTheirReasonHoldsAndResolvedWhenItGoes)
{
    CNoticeList& notices = m_pHuman->GetNotices();
    const CDate today = H().GetGameDate();
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    // Any change of the week plan dates it today.
    auto changePlan = [&]() {
        uint8_t abyWeek[TRAINING_WEEK_SLOTS];
        std::memcpy(abyWeek, training.GetWeekPlan(), sizeof abyWeek);
        abyWeek[0] = abyWeek[0] == 0 ? 1 : 0;
        training.SetWeekPlan(abyWeek);
    };
    auto bookCamp = [&](const CDate& start) {
        auto* pCamp = new TRAININGCAMP;
        pCamp->Start = start;
        pCamp->byLength = 7;
        training.AddTrainingCamp(pCamp);
    };
    auto dropCamps = [&]() {
        while (training.GetCampCount() > 0)
            training.RemoveTrainingCamp(0);
    };
    auto settle = [&]() {
        H().SetGameDate(today);
        notices.RemoveAll();
        changePlan();
        dropCamps();
        bookCamp(today);
        m_pHuman->SetScoutReport(0, 0);
        for (int n = 0; n < 9; ++n)
            m_pHuman->SetDelegation(n, 0);
        for (int n = 0; n < 4; ++n)
            m_pHuman->SetReminderDate(n, today);
        m_pHuman->GetNews().RemoveAllNewsItems();
        for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
            pCountry->GetNewspaperStories()->RemoveAll();
        for (int nType = 0; nType < CLUB_STAFF_KINDS; ++nType)
            if (m_pClub->m_awStaffSlots[nType][0] == 0)
                m_pClub->m_awStaffSlots[nType][0] = 1;
        m_pClub->m_pDivision->m_bySquadNumbers = 0;
        // No sponsor offers to sign, no hoardings of its own to rent out.
        m_pHuman->GetSponsors().RemoveAll();
        m_pClub->m_byGroundOwnership = 0;
        m_pHuman->UpdateNextFixture();
        m_pHuman->PickTeam();
    };
    auto isActive = [&](uint8_t byCode) {
        const NOTICE* p = notices.FindNotice(byCode);
        return p && !p->byResolved;
    };
    settle();
    notices.UpdateNotices();
    EXPECT_EQ(notices.GetCount(), 0) << "nothing to see to";

    struct Case {
        const char* pszWhat;
        uint8_t byCode;
        std::function<void()> raise;
        std::function<void()> resolve;
    };
    const ID_STAFF idFirstStaff = m_pClub->m_awStaffSlots[2][0];
    CClubDatabase* pSeller = H().GetClubFromID(m_pClub->GetID() == 2 ? 3 : 2);
    ASSERT_NE(pSeller, nullptr);
    CPlayerDatabase* pTarget = static_cast<CPlayerDatabase*>(pSeller->m_lstPlayers.GetHead()->pData);
    // Camps are asked for only with no match in the next 10 days; the first
    // match of the season is further off than that.
    CDate nextMatch;
    ASSERT_TRUE(H().GetNextMatchDate(m_pClub, today, nextMatch));
    ASSERT_GT(nextMatch.DaysBetween(today), 10);
    const Case cases[] = {
        {"no camp",
         1,
         [&] {
             dropCamps();
             bookCamp(CDate(today.GetValue(), -30));  // over: books nothing
         },
         [&] { bookCamp(CDate(today.GetValue(), 20)); }},
        {"match soon", 1, [&] { dropCamps(); }, [&] { H().SetGameDate(CDate(nextMatch.GetValue(), -10)); }},
        {"training plan",
         2,
         [&] {
             H().SetGameDate(CDate(today.GetValue(), -61));
             changePlan();
             H().SetGameDate(today);
         },
         [&] { changePlan(); }},
        {"scout report",
         12,
         [&] {
             // As a scout's report arrives.
             m_pHuman->SetScoutReport(1, 0);
             notices.AddNotice(12);
         },
         [&] { m_pHuman->SetScoutReport(0, 0); }},
        {"line-up", 5, [&] { m_pHuman->SetSheetPlayer(0, nullptr); }, [&] { m_pHuman->PickTeam(); }},
        {"squad review", 6, [&] { m_pHuman->SetReminderDate(1, CDate(today.GetValue(), -61)); },
         [&] { m_pHuman->SetReminderDate(1, CDate(today.GetValue(), -6)); }},
        {"ticket review", 8, [&] { m_pHuman->SetReminderDate(2, CDate(today.GetValue(), -61)); },
         [&] { m_pHuman->SetReminderDate(2, today); }},
        {"unread mail",
         7,
         [&] {
             for (int i = 0; i < 7; ++i)
                 m_pHuman->GetNews().FileNewsItem(1, m_pHuman->PostNews(15), 0);
         },
         [&] { static_cast<CNewsItem*>(m_pHuman->GetNews().GetArchive().GetHead()->pData)->SetRead(true); }},
        {"vacant staff", 11, [&] { m_pClub->m_awStaffSlots[2][0] = 0; },
         [&] { m_pClub->m_awStaffSlots[2][0] = idFirstStaff ? idFirstStaff : 1; }},
        {"unread paper",
         15,
         [&] {
             CNewspaperStoryList& paper = *m_pHuman->GetCountry()->GetNewspaperStories();
             paper.PublishStory(paper.AddPendingStory(0, 300), 0);
         },
         [&] {
             static_cast<CNewspaperStory*>(m_pHuman->GetCountry()->GetNewspaperStories()->GetPrintedStories()
                                               .GetHead()
                                               ->pData)
                 ->SetReadMask(static_cast<uint8_t>(1u << m_pHuman->GetPlayerNumber()));
         }},
        {"squad numbers",
         16,
         [&] {
             m_pClub->m_pDivision->m_bySquadNumbers = 1;
             static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData)->m_bySquadNumber = 0;
         },
         [&] { m_pClub->m_pDivision->m_bySquadNumbers = 0; }},
        // The selling club has said yes; the player has not been asked yet.
        {"accepted bid",
         18,
         [&] {
             ASSERT_EQ(H().MakeBuyOfferToClub(pTarget, m_pClub, 0, nullptr, 0, 0), 0);
             H().GetBuyOffer(pTarget->m_idPerson, m_pClub->GetID())->SetFlags(BUYOFFER_ANSWERED);
         },
         [&] { m_pClub->ProposeBuyContract(H().GetBuyOffer(pTarget->m_idPerson, m_pClub->GetID())); }},
        // Club and player have both said yes; his confirmation is awaited.
        {"agreed bid",
         14,
         [&] {
             ASSERT_EQ(H().MakeBuyOfferToClub(pTarget, m_pClub, 0, nullptr, 0, 0), 0);
             H().GetBuyOffer(pTarget->m_idPerson, m_pClub->GetID())
                 ->SetFlags(BUYOFFER_ANSWERED | BUYOFFER_CONTRACT_PROPOSED | BUYOFFER_PLAYER_ANSWERED);
         },
         [&] { H().GetBuyOffer(pTarget->m_idPerson, m_pClub->GetID())->SetPlayerAnswer(1); }},
        {"agreed loan",
         19,
         [&] {
             ASSERT_EQ(H().MakeLoanOffer(pTarget, 0, m_pClub->GetID(), 28, 1000), 0);
             H().GetLoanOffer(pTarget->m_idPerson, m_pClub->GetID())
                 ->SetFlags(LOANOFFER_ANSWERED | LOANOFFER_ACCEPTED | LOANOFFER_PLAYER_ANSWERED);
         },
         [&] {
             CLoanOfferDatabase* pLoan = H().GetLoanOffer(pTarget->m_idPerson, m_pClub->GetID());
             pLoan->SetFlags(static_cast<uint16_t>(pLoan->GetFlags() | LOANOFFER_BIDDER_CONFIRMED));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        settle();
        H().WithdrawBuyOffer(pTarget->m_idPerson, m_pClub->GetID(), false);
        H().WithdrawLoanOffer(pTarget->m_idPerson, m_pClub->GetID(), false);
        c.raise();
        notices.UpdateNotices();
        ASSERT_TRUE(isActive(c.byCode));
        EXPECT_EQ(notices.GetCount(), 1) << "only its own notice";
        notices.RecheckNotices();
        EXPECT_TRUE(isActive(c.byCode)) << "still due";
        c.resolve();
        notices.RecheckNotices();
        EXPECT_FALSE(isActive(c.byCode));
        notices.RemoveSeenNotices();
        EXPECT_EQ(notices.FindNotice(c.byCode), nullptr);
    }

    // A delegated task raises nothing; notices that are always due stay.
    settle();
    m_pHuman->SetReminderDate(1, CDate(today.GetValue(), -61));
    m_pHuman->SetDelegation(1, 1);
    H().SetGameDate(CDate(today.GetValue(), -61));
    changePlan();
    H().SetGameDate(today);
    m_pHuman->SetDelegation(2, 1);
    notices.AddNotice(9);
    notices.UpdateNotices();
    notices.RecheckNotices();
    EXPECT_FALSE(notices.FindNotice(6));
    EXPECT_FALSE(notices.FindNotice(2));
    EXPECT_TRUE(isActive(9));

    // Out of work: the job hunt, until he applies somewhere.
    settle();
    m_pHuman->LeaveClub();
    notices.UpdateNotices();
    EXPECT_TRUE(isActive(17));
    EXPECT_EQ(notices.GetCount(), 1);
    m_pHuman->ApplyForJob(H().GetClubFromID(30));
    notices.RecheckNotices();
    EXPECT_FALSE(isActive(17));
}

namespace {

int CountPendingStories(const CCountryDatabase& country, uint16_t wType)
{
    int nCount = 0;
    for (const CNewspaperStory* p : country.GetNewspaperStories()->GetPendingStories().Items<CNewspaperStory>())
        nCount += p->GetParameter() == wType ? 1 : 0;
    return nCount;
}

}  // namespace

TEST_F(HumanWorld, ARecordFeeIsTheBuyersStoryOnceWhileThePlayerStays)
{
    CCountryDatabase& country = *m_pClub->m_pCountry;
    CClubDatabase* pSeller = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != m_pClub && pClub->m_lstPlayers.GetCount() >= 2)
            pSeller = pClub;
    ASSERT_NE(pSeller, nullptr);
    auto buy = [&](CPlayerDatabase* pPlayer, int32_t nFee) {
        auto* pOffer = new CBuyOfferDatabase;
        pOffer->SetPlayerID(pPlayer->m_idPerson);
        pOffer->SetBiddingClubID(m_pClub->GetID());
        pOffer->SetValue100(static_cast<uint32_t>(nFee));
        ASSERT_EQ(H().TransferPlayer(pOffer), 0);
        ASSERT_EQ(pPlayer->m_pClub, m_pClub) << "the move is not held back by a shut window";
    };
    CPlayerDatabase* pFirst = static_cast<CPlayerDatabase*>(pSeller->m_lstPlayers.GetHead()->pData);
    CPlayerDatabase* pSecond = static_cast<CPlayerDatabase*>(pSeller->m_lstPlayers.GetTail()->pData);
    // Beyond what the club's size makes a record when it has none yet.
    const int32_t nRecord =
        static_cast<int32_t>(std::max<int64_t>(1000, int64_t{m_pClub->m_nBankBalance} / 100 * m_pClub->m_byReputation + 1000));
    buy(pFirst, nRecord);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(m_pClub->m_aFeeRecords[0].idPlayer, static_cast<int32_t>(pFirst->m_idPerson));
    EXPECT_EQ(m_pClub->m_aFeeRecords[0].nAmount, nRecord);
    EXPECT_EQ(m_pClub->m_aFeeRecords[2].nAmount, nRecord);
    EXPECT_EQ(pSeller->m_aFeeRecords[1].nAmount, nRecord) << "the seller's fee received";
    EXPECT_EQ(pSeller->m_aFeeRecords[1].idClub, pSeller->GetID());

    H().PostClubPlayerAwards();
    ASSERT_EQ(CountPendingStories(country, 286), 1);
    const CNewspaperStory* pStory = PendingStoryOfType(country, 286);
    EXPECT_EQ(pStory->GetKind(), 2);
    EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());
    EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_CLUB_B), pSeller->GetID());
    EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_PERSON), pFirst->m_idPerson);
    EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_VALUE), static_cast<uint32_t>(nRecord));
    H().PostClubPlayerAwards();
    EXPECT_EQ(CountPendingStories(country, 286), 1) << "the award is posted once";

    // A smaller fee breaks no record.
    buy(pSecond, nRecord / 2);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(m_pClub->m_aFeeRecords[0].nAmount, nRecord);
    H().PostClubPlayerAwards();
    EXPECT_EQ(CountPendingStories(country, 286), 1);

    // A record player who has moved on before the match day is no story.
    CPlayerDatabase* pThird = static_cast<CPlayerDatabase*>(pSeller->m_lstPlayers.GetHead()->pData);
    buy(pThird, nRecord * 2);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(m_pClub->m_nAwardFlag, 1);
    m_pClub->RemovePlayer(pThird, true);
    pSeller->AddPlayer(pThird, true);
    H().PostClubPlayerAwards();
    EXPECT_EQ(CountPendingStories(country, 286), 1);
    EXPECT_EQ(m_pClub->m_nAwardFlag, 0);
}

TEST_F(HumanWorld, AHumanWhoResignsLeavesInTheStoryOfHisOwnMove)
{
    struct Case {
        const char* pszWhat;
        std::function<void()> leave;
        uint16_t wStory;
    };
    const Case cases[] = {
        {"resigns", [&] { m_pHuman->Resign(); }, 305},
        {"sacked by the board", [&] { m_pClub->m_nBoardConfidence = 10; }, 303},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CCountryDatabase& country = *m_pClub->m_pCountry;
        country.GetNewspaperStories()->RemoveAll();
        if (m_pHuman->GetClub() != m_pClub) {
            m_pClub->SetManager(0, true);
            m_pHuman->TakeOverClub(m_pClub);
        }
        ASSERT_EQ(m_pHuman->GetClub(), m_pClub);
        m_pClub->m_nBoardConfidence = 60;
        c.leave();
        m_pHuman->DoDailyUpdate();
        EXPECT_EQ(m_pHuman->GetClub(), nullptr);
        EXPECT_EQ(m_pClub->m_wManagerId, 0);
        const CNewspaperStory* pStory = PendingStoryOfType(country, c.wStory);
        ASSERT_NE(pStory, nullptr);
        EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());
        EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_PERSON), m_pHuman->GetManagerID());
        EXPECT_EQ(CountPendingStories(country, c.wStory == 305 ? 303 : 305), 0);
    }
}

TEST_F(HumanWorld, GroundWorkStartingIsTheHumansNewsAndTheClubsStory)
{
    CGroundDatabase* pGround = m_pClub->m_pGround;
    ASSERT_NE(pGround, nullptr);
    CCountryDatabase& country = *m_pClub->m_pCountry;
    const CComponentDatabase* pStand = pGround->GetComponents().FindItem<CComponentDatabase>(
        [](const CComponentDatabase* p) { return p->IsStand(); });
    ASSERT_NE(pStand, nullptr);
    struct Case {
        const char* pszWhat;
        uint8_t byQualityChange;
        bool bTold;
    };
    const Case cases[] = {{"a better stand", 1, true}, {"the stand as it is", 0, false}};
    uint32_t dwID = 9000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        country.GetNewspaperStories()->RemoveAll();
        m_pHuman->GetNews().RemoveAllNewsItems();
        auto* pSchedule = new CComponentScheduleDatabase;
        pSchedule->SetID(++dwID);
        pSchedule->SetKind(SCHEDULE_BUILD);
        pSchedule->SetStartDate(H().GetGameDate());
        pSchedule->SetDuration(10);
        pSchedule->SetComponent(const_cast<CComponentDatabase*>(pStand));
        pSchedule->SetScheduleData(COMPONENT_STAND, pStand->GetSubType(), 1000, 0, 0, 0);
        std::memcpy(pSchedule->GetComponentData(), pStand->GetSpecificData(), COMPONENT_STAND_DATA);
        pSchedule->GetComponentData()[STAND_QUALITY] =
            static_cast<uint8_t>(pSchedule->GetComponentData()[STAND_QUALITY] + c.byQualityChange);
        pGround->AddComponentSchedule(pSchedule);
        country.AddEvent(30, H().GetGameDate(), dwID);
        country.DoSpecialEvent(H().GetGameDate());

        const auto news = IncomingOfType(*m_pHuman, 163);
        const CNewspaperStory* pStory = PendingStoryOfType(country, 296);
        if (!c.bTold) {
            EXPECT_TRUE(news.empty());
            EXPECT_EQ(pStory, nullptr);
            continue;
        }
        ASSERT_EQ(news.size(), 1u);
        EXPECT_EQ(news[0]->GetSlot(NEWS_SLOT_SUBTYPE), pStand->GetSubType());
        EXPECT_EQ(news[0]->GetSlot(NEWS_SLOT_VALUE), pSchedule->GetComponentData()[0]);
        ASSERT_NE(pStory, nullptr);
        EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());
        EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_PERSON), m_pClub->m_wManagerId);
        EXPECT_EQ(pStory->GetParameterSlot(NEWS_SLOT_VALUE), pSchedule->GetComponentData()[0]);
    }
}

TEST_F(HumanWorld, AComputerClubRaisedToItsLowestBalanceIsTheNewSeasonsStory)
{
    CCountryDatabase& country = *m_pClub->m_pCountry;
    CClubDatabase* pRaised = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != m_pClub && pClub->m_wManagerId != 0)
            pRaised = pClub;
    ASSERT_NE(pRaised, nullptr);
    pRaised->m_nBankBalance = pRaised->GetMinimumBalance() - 5000000;
    for (int32_t& nBooked : pRaised->m_anFinanceAccumulators)
        nBooked = 0;  // nothing booked waits to be banked

    H().DoNewSeason();

    EXPECT_EQ(pRaised->m_nBankBalance, pRaised->GetMinimumBalance());
    bool bTold = false;
    for (const CNewspaperStory* p : country.GetNewspaperStories()->GetPendingStories().Items<CNewspaperStory>())
        bTold = bTold || (p->GetParameter() == 306 && p->GetParameterSlot(NEWS_SLOT_PERSON) == pRaised->m_wManagerId);
    EXPECT_TRUE(bTold) << "the story outlives the new season's clear-out of the papers";
}

TEST_F(HumanWorld, ASigningSettledInIsJudgedByTheWholeFeeHisInstalmentsPaid)
{
    CPlayerDatabase* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    pPlayer->m_dwValue = 400000;
    const struct {
        const char* name;
        uint8_t byRating;      // 0 below the squad, 255 above it
        uint32_t dwInstalment;
        uint32_t dwCount;
        uint16_t wNews;        // 0 none
    } cases[] = {
        {"three of 200,000 for a weaker player", 0, 200000, 3, 109},
        {"three of 50,000 for a weaker player", 0, 50000, 3, 0},
        {"one of 600,000 for a better player", 255, 600000, 1, 0},
        {"two of 100,000 for a better player", 255, 100000, 2, 108},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_pHuman->GetNews().RemoveAllIncomingNewsItems();
        pPlayer->m_byRating = c.byRating;
        std::fill(std::begin(pPlayer->m_adwTransferBlock), std::end(pPlayer->m_adwTransferBlock), 0u);
        pPlayer->m_adwTransferBlock[PLAYER_TERMS_INSTALMENT] = c.dwInstalment;
        // The instalments still owed are paid off: only their number stays.
        pPlayer->m_adwTransferBlock[PLAYER_TERMS_COUNTS] = c.dwCount << 8;
        pPlayer->ReviewSigning();
        EXPECT_EQ(IncomingOfType(*m_pHuman, 108).size(), c.wNews == 108 ? 1u : 0u);
        EXPECT_EQ(IncomingOfType(*m_pHuman, 109).size(), c.wNews == 109 ? 1u : 0u);
    }
}
