#include "season/CNoticeList.h"

#include "season/CHoardingsManager.h"
#include "season/CSponsorManager.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CHoardingsManager.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "season/CSponsorManager.h"
#include "season/CTrainingManager.h"
#include "season/MatchRecords.h"

namespace {

// Each delegation byte and the notices its task makes pointless.
struct DELEGATEDNOTICES {
    int nDelegation;
    uint8_t abyCodes[2];
    int nCodes;
};

constexpr DELEGATEDNOTICES kDelegatedNotices[] = {
    {2, {2}, 1}, {4, {3}, 1}, {5, {4}, 1}, {1, {5, 6}, 2}, {7, {8}, 1}, {3, {16}, 1},
};

constexpr uint8_t kLastCode = 19;

// Delegation bytes of the save game.
constexpr int kDelegateTeam = 1;
constexpr int kDelegateTraining = 2;
constexpr int kDelegateSetPieces = 3;
constexpr int kDelegateSponsors = 4;
constexpr int kDelegateHoardings = 5;
constexpr int kDelegateTickets = 7;

// A review is asked for after 60 days and counts as done within 6.
constexpr int kReviewDueDays = 60;
constexpr int kReviewDoneDays = 6;
constexpr int kUnreadNewsLimit = 6;
// A camp is not asked for when a match is this close.
constexpr int kMatchSoonDays = 10;

// The codes raised in order. 0 and 12 are raised where they happen (taking
// over a club, a scout's report).
constexpr uint8_t kRaisedWithClub[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 14, 15, 16, 18, 19};
constexpr uint8_t kOpenTransfer = 14;
constexpr uint8_t kNoJob = 17;

constexpr uint8_t kCompetitionLeague = 255;
constexpr uint8_t kCompetitionFriendly = 200;

// The team sheet can be played in the club's next match (true with none).
bool IsLineupReady(const CSaveGame& human)
{
    uint8_t byCompetition = kCompetitionLeague;
    if (human.GetNextFixture(nullptr, &byCompetition, nullptr, nullptr) < 0)
        return true;
    const int nKind = byCompetition == kCompetitionLeague     ? MATCHKIND_LEAGUE
                      : byCompetition == kCompetitionFriendly ? MATCHKIND_FRIENDLY
                                                              : MATCHKIND_CUP;
    CPlayerDatabase* apPlayers[SAVEGAME_SHEET_PLACES] = {};
    return human.GetMatchSheet(apPlayers, nKind, 0);
}

// A bid of the club that the selling club has accepted (its first value
// byte counts the club's refusals: 0 is a yes), with no contract put to the
// player yet.
bool HasAcceptedBid(const CDatabaseHandler& root, const CClubDatabase& club)
{
    for (const CBuyOfferDatabase* pOffer : root.GetBuyOffers().Items<CBuyOfferDatabase>())
        if (pOffer->GetBiddingClubID() == club.GetID() && (pOffer->GetFlags() & BUYOFFER_ANSWERED) &&
            pOffer->GetClubAnswer() == 0 && !(pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED))
            return true;
    return false;
}

// A transfer both club and player have said yes to, waiting for the club's
// own confirmation: as the bidder, or as the seller of one of its players.
bool HasOpenTransferOffer(CDatabaseHandler& root, const CClubDatabase& club)
{
    for (const CBuyOfferDatabase* pOffer : root.GetBuyOffers().Items<CBuyOfferDatabase>()) {
        if (!pOffer->IsAgreed())
            continue;
        if (pOffer->GetBiddingClubID() == club.GetID() && !(pOffer->GetFlags() & BUYOFFER_BIDDER_CONFIRMED))
            return true;
        const CPlayerDatabase* pPlayer = root.GetPlayerFromID(pOffer->GetPlayerID());
        if (pPlayer && pPlayer->m_pClub == &club && !(pOffer->GetFlags() & BUYOFFER_SELLER_CONFIRMED))
            return true;
    }
    return false;
}

// A loan of the club's that lender and player have agreed to, waiting for
// the club to confirm it.
bool HasAgreedLoanOffer(const CDatabaseHandler& root, const CClubDatabase& club)
{
    for (const CLoanOfferDatabase* pOffer : root.GetLoanOffers().Items<CLoanOfferDatabase>())
        if (pOffer->GetClubID() == club.GetID() && pOffer->IsAgreed() &&
            !(pOffer->GetFlags() & LOANOFFER_BIDDER_CONFIRMED))
            return true;
    return false;
}

// The club plays within the next few days.
bool IsMatchSoon(const CDatabaseHandler& root, const CClubDatabase& club)
{
    CDate next;
    return root.GetNextMatchDate(&club, root.GetGameDate(), next) &&
           next.DaysBetween(root.GetGameDate()) <= kMatchSoonDays;
}

// A camp still to come or under way; the ones over stay on the list until
// the training screens drop them but book nothing.
bool HasCampBooked(const CTrainingManager& training, const CDate& today)
{
    LPXLISTNODE pPosition = nullptr;
    while (const TRAININGCAMP* pCamp = training.GetNextTrainingCamp(pPosition))
        if (today < CDate(pCamp->Start.GetValue(), pCamp->byLength))
            return true;
    return false;
}

}  // namespace

NOTICE* CNoticeList::FindNotice(uint8_t byCode) const
{
    return m_lstNotices.FindItem<NOTICE>([byCode](const NOTICE* p) { return p->byCode == byCode; });
}

void CNoticeList::AddNotice(uint8_t byCode)
{
    if (FindNotice(byCode))
        return;
    m_lstNotices.AddTail(new NOTICE{byCode, 0});
    ++m_nCount;
}

bool CNoticeList::RemoveNotice(NOTICE* pNotice)
{
    LPXLISTNODE pNode = m_lstNotices.Find(pNotice);
    if (!pNode)
        return false;
    m_lstNotices.Remove(pNode);
    delete pNotice;
    --m_nCount;
    return true;
}

void CNoticeList::RemoveCode(uint8_t byCode)
{
    while (NOTICE* pNotice = FindNotice(byCode))
        RemoveNotice(pNotice);
}

void CNoticeList::RemoveSeenNotices()
{
    while (NOTICE* pNotice = m_lstNotices.FindItem<NOTICE>([](const NOTICE* p) { return p->byResolved != 0; }))
        RemoveNotice(pNotice);
}

void CNoticeList::RemoveAll()
{
    while (!m_lstNotices.IsEmpty())
        delete static_cast<NOTICE*>(m_lstNotices.RemoveHead());
    m_nCount = 0;
}

void CNoticeList::ClearResolvedNotices()
{
    if (!m_pSaveGame)
        return;
    for (const DELEGATEDNOTICES& entry : kDelegatedNotices)
        if (m_pSaveGame->GetDelegation(entry.nDelegation))
            for (int i = 0; i < entry.nCodes; ++i)
                RemoveCode(entry.abyCodes[i]);
}

int CNoticeList::IsStillDue(uint8_t byCode, bool bRaising) const
{
    const CSaveGame& human = *m_pSaveGame;
    const CClubDatabase* pClub = human.GetClub();
    const CDatabaseHandler* pRoot = CSaveGame::m_pDatabaseHandler;
    const CDate today = pRoot ? pRoot->GetGameDate() : CDate();
    auto daysSince = [&](int nReminder) { return today.DaysBetween(human.GetReminderDate(nReminder)); };
    const int nReviewDays = bRaising ? kReviewDueDays : kReviewDoneDays;
    switch (byCode) {
    case 1:
        return pClub && pRoot && !HasCampBooked(human.GetTrainingManager(), today) && !IsMatchSoon(*pRoot, *pClub);
    case 2:
        return pClub && !human.GetDelegation(kDelegateTraining) &&
               human.GetTrainingManager().GetDaysSincePlanChange() > nReviewDays;
    case 3:
        return pClub && !human.GetDelegation(kDelegateSponsors) && human.GetSponsors().CanFillEmptyPlace();
    case 4:
        // Raised beyond 8 empty boards, kept while more than 6 are.
        return pClub && pClub->m_byGroundOwnership != 0 && !human.GetDelegation(kDelegateHoardings) &&
               human.GetHoardings().CountEmptyBoards(3) > (bRaising ? 8 : 6);
    case 5:
        if (!pClub)
            return 0;
        if (bRaising)
            return !human.GetDelegation(kDelegateTeam) && !IsLineupReady(human);
        return daysSince(0) > kReviewDoneDays || !IsLineupReady(human);
    case 6:
        return !human.GetDelegation(kDelegateTeam) && daysSince(1) > nReviewDays;
    case 7:
        return human.GetNews().CountUnreadNewsItems() > kUnreadNewsLimit;
    case 8:
        return !human.GetDelegation(kDelegateTickets) && daysSince(2) > nReviewDays;
    case 9:
    case 10:
    case 13:
        return 1;
    case 11:
        if (!pClub)
            return 0;
        for (int nType = 0; nType < CLUB_STAFF_KINDS; ++nType)
            if (pClub->m_awStaffSlots[nType][0] == 0)
                return 1;
        return 0;
    case 12:
        return human.GetScoutReportStaff() != 0;
    case 15: {
        const CCountryDatabase* pCountry = human.GetCountry();
        const CNewspaperStoryList* pStories = pCountry ? pCountry->GetNewspaperStories() : nullptr;
        return pStories && pStories->CountUnreadStories(human.GetPlayerNumber()) > 0;
    }
    case 16:
        if (!pClub || human.GetDelegation(kDelegateSetPieces) || !pClub->m_pDivision ||
            !pClub->m_pDivision->m_bySquadNumbers)
            return 0;
        for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (pPlayer->m_bySquadNumber == 0 || pPlayer->m_bySquadNumber == 255)
                return 1;
        return 0;
    case kNoJob:
        return !pClub && human.GetJobApplications().IsEmpty();
    case kOpenTransfer:
        return pClub && pRoot && HasOpenTransferOffer(*CSaveGame::m_pDatabaseHandler, *pClub);
    case 18:
        return pClub && pRoot && HasAcceptedBid(*pRoot, *pClub);
    case 19:
        return pClub && pRoot && HasAgreedLoanOffer(*pRoot, *pClub);
    default:
        return -1;
    }
}

void CNoticeList::UpdateNotices()
{
    if (!m_pSaveGame)
        return;
    if (!m_pSaveGame->GetClub()) {
        if (IsStillDue(kNoJob, true) == 1)
            AddNotice(kNoJob);
        return;
    }
    for (uint8_t byCode : kRaisedWithClub)
        if (IsStillDue(byCode, true) == 1)
            AddNotice(byCode);
        else if (byCode == kOpenTransfer)
            RemoveCode(kOpenTransfer);
}

void CNoticeList::RecheckNotices()
{
    if (!m_pSaveGame)
        return;
    for (NOTICE* pNotice : m_lstNotices.Items<NOTICE>())
        if (pNotice->byCode != 0 && pNotice->byCode <= kLastCode && IsStillDue(pNotice->byCode, false) == 0)
            pNotice->byResolved = 1;
}

bool CNoticeList::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(static_cast<uint32_t>(m_lstNotices.GetCount()));
    for (const NOTICE* p : m_lstNotices.Items<NOTICE>()) {
        writer.WriteU8(p->byCode);
        writer.WriteU8(p->byResolved);
    }
    return !writer.Failed();
}

bool CNoticeList::Load(CBinaryReader& reader)
{
    RemoveAll();
    uint32_t dwCount = 0;
    if (!reader.ReadU32(dwCount) || !reader.CheckCount(dwCount, FILE_SIZE)) {
        DebugLog(0, "[CNoticeList::Load] The notice count is cut short or larger than the file");
        reader.Fail();
        return false;
    }
    for (uint32_t i = 0; i < dwCount; ++i) {
        NOTICE notice;
        reader.ReadU8(notice.byCode);
        reader.ReadU8(notice.byResolved);
        // Codes stay unique and known, and the flag is a flag.
        if (reader.Failed() || notice.byCode > kLastCode || notice.byResolved > 1 || FindNotice(notice.byCode)) {
            DebugLog(0, "[CNoticeList::Load] Notice %u is cut short or damaged", i);
            reader.Fail();
            RemoveAll();
            return false;
        }
        m_lstNotices.AddTail(new NOTICE(notice));
        ++m_nCount;
    }
    return true;
}
