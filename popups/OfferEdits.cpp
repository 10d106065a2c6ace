#include "popups/OfferEdits.h"

#include "popups/PopupLook.h"

#include "shell/CGame.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"

#include <cmath>
#include <limits>
#include <vector>

namespace offer_edits {

namespace {

constexpr COLORREF kNoClubColour = 0x009D37;
constexpr COLORREF kNoClubSecondColour = 0xFFFFFF;

}  // namespace

CXEdit* AddSpinEdit(CGamePopup& popup, uint32_t dwID, int x, int y, int nWidth, int nMinimum, int nMaximum,
                    int nChars, int nStep, uint32_t dwUpID)
{
    return popup_look::AddNumberEdit(popup, dwID, x, y, nWidth, false, nChars, dwUpID, dwUpID + 1, nStep, nMinimum,
                                     nMaximum);
}

void ChainTabs(CGamePopup& popup, const uint32_t* pdwIDs, int nCount)
{
    std::vector<CXControl*> chain;
    for (int i = 0; i < nCount; ++i)
        if (CXControl* pControl = popup.FindControl(pdwIDs[i]))
            chain.push_back(pControl);
    for (size_t i = 0; i < chain.size(); ++i)
        chain[i]->m_dwTabTargetID = chain[(i + 1) % chain.size()]->m_dwID;
}

void SetNumber(CXEdit* pEdit, int64_t nValue)
{
    if (pEdit)
        pEdit->SetText("%s", FormatThousands(static_cast<int32_t>(
                                 std::clamp<int64_t>(nValue, std::numeric_limits<int32_t>::min(), INT32_MAX))));
}

int ReadNumber(const CXEdit* pEdit) { return pEdit ? pEdit->ReadNumber() : 0; }

void SetMoney(CXEdit* pEdit, int64_t nAmount) { SetNumber(pEdit, std::llround(ConvertCurrency(static_cast<double>(nAmount)))); }

int32_t ReadMoney(const CXEdit* pEdit)
{
    const double dAmount = std::trunc(ConvertCurrencyBack(ReadNumber(pEdit)));
    return static_cast<int32_t>(std::clamp<double>(dAmount, 0, INT32_MAX));
}

void SetQuietly(CXEdit* pEdit, void (*pfnSet)(CXEdit*, int64_t), int64_t nValue)
{
    if (!pEdit)
        return;
    const uint8_t bNotify = pEdit->m_bNotify;
    pEdit->m_bNotify = 0;
    pfnSet(pEdit, nValue);
    pEdit->m_bNotify = bNotify;
}

void DrawClubColours(CXSurface* pBackground, const CPlayerDatabase* pPlayer)
{
    const CClubDatabase* pClub = pPlayer ? pPlayer->m_pClub : nullptr;
    if (pClub)
        DrawColourBoxes(pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(pBackground, kNoClubColour, kNoClubSecondColour);
}

CDatabaseHandler* Database()
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetDatabase() : nullptr;
}

CClubDatabase* HumanClub()
{
    CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    return pHuman ? pHuman->GetClub() : nullptr;
}

}  // namespace offer_edits
