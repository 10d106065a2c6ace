// A youth player promoted into the squad becomes a player record.
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Random.h"

CPlayerDatabase::CPlayerDatabase(CYouthDatabase* pYouth)
{
    if (!pYouth)
        return;
    m_pCountry = pYouth->m_pCountry;
    m_pDivision = pYouth->m_pDivision;
    m_pClub = pYouth->m_pClub;
    m_idPerson = pYouth->m_idPerson;
    m_nHistorySlot = pYouth->m_nHistorySlot;
    m_dwValue = pYouth->m_dwValue;
    m_dwAskingPrice = pYouth->m_dwValue;
    SetNameOffsets(pYouth->m_dwFirstNameOffset, pYouth->m_dwLastNameOffset);
    m_byRecordStatus = pYouth->m_byRecordStatus;
    for (int i = 0; i < PLAYER_ATTRIBUTE_COUNT; ++i)
        m_awAttributes[i] = pYouth->m_awAttributes[i];
    m_wClubId = pYouth->m_wClubId;
    m_DateOfBirth = pYouth->m_DateOfBirth;
    m_wInjuryDays = pYouth->m_wInjuryDays;
    m_byInjuryType = pYouth->m_byInjuryType;
    m_byNationality = pYouth->m_byNationality;
    m_byPosition = pYouth->m_byPosition;
    m_wRoleMask = pYouth->m_wRoleMask;
    m_byRole = pYouth->m_byRole;
    m_byRoleCopy = m_byRole;
    m_byAppearanceType = pYouth->m_byAppearanceType;
    m_byAppearanceVariant = pYouth->m_byAppearanceVariant;
    m_byValueBand = pYouth->m_byValueBand;
    m_byRating = pYouth->m_byRating;

    // A first contract of a few months at the youth's wage.
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    m_Contract = PLAYERCONTRACT();
    m_Contract.dwStartDate = today.GetValue();
    m_Contract.dwEndDate = CDate(today.GetValue(), (12 + plat::rand() % 4) * 7).GetValue();
    m_Contract.dwYearlyWage = pYouth->m_dwYearlyWage;

    m_dwFlags = pYouth->m_dwFlags;
    for (PLAYERCAREERENTRY* pEntry : pYouth->m_Career.Items<PLAYERCAREERENTRY>()) {
        m_Career.AddTail(pEntry);
        ++m_byCareerCount;
    }
    pYouth->EmptyCareerWithoutFreeing();

    UpdateRatingAndValue(true);
    if (m_pDatabaseHandler) {
        // The youth's entry becomes the player's.
        if (LPITEMPLAYERINFORMATION pEntry = m_pDatabaseHandler->GetPlayerInformation(m_idPerson);
            pEntry && pEntry->pYouth == pYouth)
            m_pDatabaseHandler->RemovePlayerFromIDTable(true, m_idPerson, false);
        m_pDatabaseHandler->AddPlayerToIDTable(m_idPerson, this, true);
        m_byRegistered = 1;
    }
    m_bLoaded = true;
}
