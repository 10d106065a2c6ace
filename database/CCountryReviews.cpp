// Clubs under review: a club looking for a manager is listed with the day
// the search began and the club's rating then, and looks again at the end of
// each search (event 45) until a candidate takes the job. The list is kept
// in the country's 8-byte season records, so it is saved with the country.
#include "database/CCountryDatabase.h"

#include <cstring>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"
#include "season/CSaveGame.h"

namespace {

constexpr uint8_t kEventClubReview = 45;
constexpr int kReviewClub = 4;
constexpr int kReviewValue = 6;
// The board greets the man its search found.
constexpr uint8_t kBoardNewManager = 10;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void WriteU16(uint8_t* p, uint16_t w)
{
    p[0] = static_cast<uint8_t>(w & 0xFF);
    p[1] = static_cast<uint8_t>(w >> 8);
}

}  // namespace

uint8_t* CCountryDatabase::FindClubReview(const CClubDatabase* pClub, LPXLISTNODE* ppNode) const
{
    for (LPXLISTNODE pNode = m_lstSmallRecords.GetHead(); pNode; pNode = pNode->pNext) {
        auto* pEntry = static_cast<uint8_t*>(pNode->pData);
        if (pClub && ReadU16(pEntry + kReviewClub) == pClub->m_wClubId) {
            if (ppNode)
                *ppNode = pNode;
            return pEntry;
        }
    }
    if (ppNode)
        *ppNode = nullptr;
    return nullptr;
}

std::vector<CCountryDatabase::MANAGERVACANCY> CCountryDatabase::GetManagerVacancies() const
{
    std::vector<MANAGERVACANCY> vacancies;
    if (!m_pDatabaseHandler)
        return vacancies;
    for (const uint8_t* pEntry : m_lstSmallRecords.Items<uint8_t>()) {
        const CDate date(ReadU16(pEntry), pEntry[2], pEntry[3]);
        CClubDatabase* pClub = m_pDatabaseHandler->GetClubFromID(ReadU16(pEntry + kReviewClub));
        // An entry whose date or club does not check out is not listed.
        if (pClub && date.IsValid())
            vacancies.push_back({date, pClub});
    }
    return vacancies;
}

void CCountryDatabase::AddClubReview(CClubDatabase* pClub)
{
    if (!pClub || !m_pDatabaseHandler)
        return;
    const uint16_t wValue = static_cast<uint16_t>(pClub->GetClubRating());
    if (uint8_t* pEntry = FindClubReview(pClub, nullptr)) {
        // Already looking: the entry follows the club's standing.
        WriteU16(pEntry + kReviewValue, wValue);
        return;
    }
    uint8_t abyEntry[RAW_RECORD_SMALL] = {};
    const CDate today = m_pDatabaseHandler->GetGameDate();
    WriteU16(abyEntry, static_cast<uint16_t>(today.GetYear()));
    abyEntry[2] = static_cast<uint8_t>(today.GetMonth());
    abyEntry[3] = static_cast<uint8_t>(today.GetDay());
    WriteU16(abyEntry + kReviewClub, pClub->m_wClubId);
    WriteU16(abyEntry + kReviewValue, wValue);
    AddSmallRecord(abyEntry);
    AddEvent(kEventClubReview, CDate(today.GetValue(), 7 * (1 + plat::rand() % 3)), pClub->m_wClubId);
}

bool CCountryDatabase::RemoveClubReview(uint8_t* pEntry, bool bNotify)
{
    LPXLISTNODE pNode = pEntry ? m_lstSmallRecords.Find(pEntry) : nullptr;
    if (!pNode)
        return false;
    const ID_CLUB idClub = ReadU16(pEntry + kReviewClub);
    m_lstSmallRecords.Remove(pNode);
    delete[] pEntry;
    // Humans who applied for the job hear no more of it.
    if (bNotify && m_pDatabaseHandler)
        if (const CClubDatabase* pClub = m_pDatabaseHandler->GetClubFromID(idClub))
            for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
                if (CSaveGame* pHuman = m_pDatabaseHandler->GetHumanSlot(nSlot))
                    if (pHuman->GetClub() != pClub)
                        if (JOBAPPLICATION* pApplication = pHuman->FindJobApplication(pClub))
                            pHuman->SetJobApplicationOutcome(pApplication, true);
    return true;
}

// ---- the club's side ----

void CClubDatabase::StartManagerSearch()
{
    if (m_pCountry && !IsClubHumanManaged(this))
        m_pCountry->AddClubReview(this);
}

void CClubDatabase::OnManagerSearchEvent()
{
    if (!m_pCountry || !m_pDatabaseHandler)
        return;
    if (uint8_t* pEntry = m_pCountry->FindClubReview(this, nullptr))
        m_pCountry->RemoveClubReview(pEntry, m_wManagerId == 0);
    if (m_wManagerId != 0 || IsClubHumanManaged(this))
        return;
    // The best-rated man of the pool who would take the job; none, and the
    // search goes on.
    if (CManagerDatabase* pManager = m_pDatabaseHandler->PickPoolManager(this)) {
        m_pDatabaseHandler->DoJoinManagerToClub(pManager->GetId(), this);
        UpdateBoardConfidence(kBoardNewManager, 0);
    }
    else
        StartManagerSearch();
}
