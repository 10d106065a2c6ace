// Friendlies: a club asks another for a match on a free date; the fixture is
// entered at once in the cup and friendly list, and the next day the other
// club answers (event 46). A refused friendly leaves the list again.
#include "database/CDatabaseHandler.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "platform/Random.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CRefereeDatabase.h"
#include "season/CSaveGame.h"

namespace {

constexpr uint8_t kEventFriendlyAnswer = 46;
constexpr uint16_t kNewsFriendlyAccepted = 206;
constexpr uint16_t kNewsFriendlyRefused = 207;

}  // namespace

CCupFixturesDatabase* CDatabaseHandler::OrganiseFriendlyFixture(CClubDatabase* pClub1, CClubDatabase* pClub2,
                                                                const CDate& date, bool bSwap)
{
    if (!pClub1 || !pClub2 || pClub1 == pClub2 || !date.IsValid()) {
        DebugLog(1, "[CDatabaseHandler::OrganiseFriendlyFixture] A friendly needs two clubs and a date");
        return nullptr;
    }
    CClubDatabase* pHome = bSwap ? pClub2 : pClub1;
    CClubDatabase* pAway = bSwap ? pClub1 : pClub2;
    auto* pFixture = new CCupFixturesDatabase;
    pFixture->Set(CCupFixturesDatabase::KIND_FRIENDLY, date, pHome->m_wClubId, pAway->m_wClubId, TakeNextFixtureID(),
                  0, static_cast<uint32_t>(pClub2->m_wClubId) << 16 | pClub1->m_wClubId, CUP_NUMBER_NONE,
                  pHome->m_pGround ? pHome->m_pGround->GetID() : 0);

    // A referee of the home country free that day, from a random start.
    CRefereeDatabase* pReferee = nullptr;
    if (pHome->m_pCountry) {
        const CXList& referees = pHome->m_pCountry->GetReferees();
        const int nCount = referees.GetCount();
        if (nCount > 0) {
            const int nStart = plat::rand() % nCount;
            for (int i = 0; i < nCount; ++i) {
                pReferee = static_cast<CRefereeDatabase*>(referees.GetAt((nStart + i) % nCount)->pData);
                if (pReferee->IsAvailable(date.GetValue()))
                    break;
                if (i == nCount - 1)
                    DebugLog(1, "[CDatabaseHandler::OrganiseFriendlyFixture] Out of referees!");
            }
        }
    }
    if (pReferee) {
        pFixture->SetReferee(pReferee->GetID());
        pFixture->AttachToReferee(pReferee, REFEREE_ASSIGNMENT_CUP);
    }
    AddCupFixture(pFixture);
    SortCupFixtures();
    if (pClub1->m_pCountry)
        pClub1->m_pCountry->AddEvent(kEventFriendlyAnswer, CDate(m_GameDate.GetValue(), 1), pFixture->GetFixtureID());
    return pFixture;
}

bool CDatabaseHandler::RemoveFriendlyFixture(CCupFixturesDatabase* pFixture)
{
    LPXLISTNODE pNode = pFixture ? m_lstCupFixtures.Find(pFixture) : nullptr;
    if (!pNode || !pFixture->IsFriendly())
        return false;
    m_lstCupFixtures.Remove(pNode);
    --m_nCupFixtureCount;
    if (CRefereeDatabase* pReferee = FindReferee(pFixture->GetRefereeID()))
        pReferee->RemoveAssignment(pFixture);
    delete pFixture;
    UpdateHumanNextFixtures();
    return true;
}

void CDatabaseHandler::AnswerFriendlyRequest(uint32_t dwFixtureID)
{
    CCupFixturesDatabase* pFixture = nullptr;
    for (CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (p->GetFixtureID() == dwFixtureID)
            pFixture = p;
    if (!pFixture || !pFixture->IsFriendly()) {
        DebugLog(1, "[CDatabaseHandler::AnswerFriendlyRequest] Friendly %u is not in the fixture list", dwFixtureID);
        return;
    }
    const uint32_t dwPair = pFixture->GetClubPair();
    const CClubDatabase* pRequesting = GetClubFromID(static_cast<ID_CLUB>(dwPair & 0xFFFF));
    const CClubDatabase* pAsked = GetClubFromID(static_cast<ID_CLUB>(dwPair >> 16));
    if (!pRequesting || !pAsked || !pAsked->AcceptFriendlyRequest(*pFixture, *pRequesting))
        RemoveFriendlyFixture(pFixture);
}

bool CDatabaseHandler::IsClubFreeOnDate(const CClubDatabase* pClub, const CDate& date,
                                        const CCupFixturesDatabase* pExcept) const
{
    if (!pClub)
        return false;
    if (pClub->m_pDivision && pClub->m_pDivision->GetFixtureOpponent(pClub->m_wClubId, date, 0, 2) >= 0)
        return false;
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (p->GetDate() > date)
            break;
        if (p != pExcept && p->GetDate() == date && p->IsClubInvolved(pClub->m_wClubId))
            return false;
    }
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        if (!pCountry->IsClubFreeOfCupFixture(date, pClub->m_wClubId))
            return false;
    return true;
}

// ---- the club's answer ----

bool CClubDatabase::AcceptFriendlyRequest(const CCupFixturesDatabase& fixture, const CClubDatabase& requesting) const
{
    bool bAccept = m_pDivision != requesting.m_pDivision;
    if (bAccept && m_pDatabaseHandler) {
        for (const CCupFixturesDatabase* p : m_pDatabaseHandler->GetCupFixtures().Items<CCupFixturesDatabase>())
            if (p != &fixture && p->IsFriendly() && p->IsClubInvolved(m_wClubId) &&
                p->IsClubInvolved(requesting.m_wClubId)) {
                bAccept = false;
                break;
            }
        // Neither club plays twice on one day.
        bAccept = bAccept && m_pDatabaseHandler->IsClubFreeOnDate(this, fixture.GetDate(), &fixture) &&
                  m_pDatabaseHandler->IsClubFreeOnDate(&requesting, fixture.GetDate(), &fixture);
    }
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(&requesting) : nullptr) {
        CNewsItem* pNews = pHuman->PostNews(bAccept ? kNewsFriendlyAccepted : kNewsFriendlyRefused, &requesting);
        pNews->SetSlot(NEWS_SLOT_CLUB_B, m_wClubId);
    }
    return bAccept;
}
