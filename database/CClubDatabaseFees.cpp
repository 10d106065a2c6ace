// A club's fee records and the story of a new record signing.
#include "database/CClubDatabase.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"

namespace {

// Places of the four fee records: this season's, then the largest ever.
constexpr int kSeasonPaid = 0;
constexpr int kSeasonReceived = 1;
constexpr int kEverPaid = 2;
constexpr int kEverReceived = 3;
constexpr uint16_t kStoryRecordSigning = 286;
constexpr uint8_t kStoryKindPlayer = 2;

// True when the fee beats the record; an empty all-time record is beaten
// only by a fee the club's size makes remarkable.
bool Beats(const CLUBFEERECORD& record, int32_t nAmount, int64_t nEmptyThreshold)
{
    return nAmount > (record.nAmount != 0 ? record.nAmount : nEmptyThreshold);
}

}  // namespace

void CClubDatabase::NoteFeeOfFirstKind(const CPlayerDatabase* pPlayer, int32_t nAmount, CClubDatabase* pOtherClub)
{
    if (!pPlayer || nAmount <= 0 || nAmount <= m_aFeeRecords[kSeasonPaid].nAmount)
        return;
    const CLUBFEERECORD record{static_cast<int32_t>(pPlayer->m_idPerson), m_wClubId, nAmount};
    m_aFeeRecords[kSeasonPaid] = record;
    if (!Beats(m_aFeeRecords[kEverPaid], nAmount, static_cast<int64_t>(m_nBankBalance) / 100 * m_byReputation))
        return;
    m_aFeeRecords[kEverPaid] = record;
    m_nAwardFlag = 1;
    m_pAwardClub = pOtherClub;
}

void CClubDatabase::NoteFeeOfSecondKind(const CPlayerDatabase* pPlayer, int32_t nAmount)
{
    if (!pPlayer || nAmount <= 0 || nAmount <= m_aFeeRecords[kSeasonReceived].nAmount)
        return;
    const CLUBFEERECORD record{static_cast<int32_t>(pPlayer->m_idPerson),
                               pPlayer->m_pClub ? pPlayer->m_pClub->m_wClubId : 0, nAmount};
    m_aFeeRecords[kSeasonReceived] = record;
    if (Beats(m_aFeeRecords[kEverReceived], nAmount, static_cast<int64_t>(m_nBankBalance) / 100 * m_byReputation))
        m_aFeeRecords[kEverReceived] = record;
}

CNewspaperStory* CClubDatabase::PostFeeRecordAward()
{
    if (!m_nAwardFlag)
        return nullptr;
    m_nAwardFlag = 0;
    const CLUBFEERECORD& record = m_aFeeRecords[kEverPaid];
    const CPlayerDatabase* pPlayer =
        m_pDatabaseHandler ? m_pDatabaseHandler->GetPlayerFromID(static_cast<ID_PLAYER>(record.idPlayer)) : nullptr;
    // A record player who has already moved on is no story.
    if (!pPlayer || pPlayer->m_pClub != this)
        return nullptr;
    CNewspaperStory* pStory = AddNewspaperStory(kStoryKindPlayer, kStoryRecordSigning);
    if (!pStory)
        return nullptr;
    pStory->SetParameterSlot(NEWS_SLOT_PERSON, pPlayer->m_idPerson);
    pStory->SetParameterSlot(NEWS_SLOT_CLUB_B, m_pAwardClub ? m_pAwardClub->m_wClubId : 0u);
    pStory->SetParameterSlot(NEWS_SLOT_VALUE, static_cast<uint32_t>(record.nAmount));
    return pStory;
}
