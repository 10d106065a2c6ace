#include "screens/TrainingDelegation.h"

#include "database/CClubDatabase.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"

namespace training_delegation {

bool Delegate(CSaveGame* pHuman, uint8_t byPreference)
{
    if (!pHuman || byPreference < 1 || byPreference > 3)
        return false;
    pHuman->SetDelegation(SAVEGAME_DELEGATION_TRAINING, byPreference);
    return true;
}

uint8_t StyleOfChoice(int nChoice) { return nChoice >= 0 && nChoice < 3 ? static_cast<uint8_t>(3 - nChoice) : 0; }

void Update(CXClient& screen, uint32_t dwDelegateButton, CSaveGame* pHuman, const CClubDatabase* pClub,
            bool bChanged, const std::function<void()>& onDelegated)
{
    if (!pHuman)
        return;
    if (bChanged)
        pHuman->SetDelegation(SAVEGAME_DELEGATION_TRAINING, 0);
    auto* pButton = dynamic_cast<CXButton*>(screen.FindControl(dwDelegateButton));
    if (pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING) == 0) {
        // Only an assistant manager can take the job.
        const bool bAssistant = pClub && pClub->m_awStaffSlots[0][0] != 0;
        if (pButton) {
            pButton->Enable(!bAssistant);
            pButton->Show(bAssistant, true);
        }
    } else {
        onDelegated();
        if (pButton)
            pButton->Show(false, true);
    }
    pHuman->GetNotices().ClearResolvedNotices();
}

}  // namespace training_delegation
