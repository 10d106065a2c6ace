#include "screens/SponsorScreenParts.h"

#include "shell/CGame.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenDrawing.h"

#include "database/CClubDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"

#include <algorithm>

namespace sponsor_parts {

namespace {

constexpr COLORREF kNoClubFirst = 0x9D37, kNoClubSecond = 0xFFFFFF;
constexpr int kCommercialKind = 3;

}  // namespace

bool Logos::Load()
{
    Free();
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    m_pSheet.reset(GetHoardingBitmap(pGame ? pGame->GetOptions().GetLanguage() : nullptr));
    if (!m_pSheet || !m_pSheet->m_pSurface)
        return false;
    m_pSheet->m_pSurface->setColorKey(static_cast<uint16_t>(m_pSheet->ColorMatch(0xFF00FF)));
    for (int i = 0; i < kCount; ++i) {
        const int x = (i % kPerRow) * kWidth, y = (i / kPerRow) * kHeight;
        if (x + kWidth > m_pSheet->m_nWidth || y + kHeight > m_pSheet->m_nHeight)
            continue;
        auto pLogo = std::make_unique<CXAnimation>();
        pLogo->Setup(m_pSheet.get(), kWidth, kHeight, x, y, 1, 1);
        m_apLogo[static_cast<size_t>(i)] = std::move(pLogo);
    }
    return true;
}

void Logos::Free()
{
    for (auto& pLogo : m_apLogo)
        pLogo.reset();
    m_pSheet.reset();
}

CXAnimation* Logos::Get(int nIndex) const
{
    return nIndex >= 0 && nIndex < kCount ? m_apLogo[static_cast<size_t>(nIndex)].get() : nullptr;
}

void Logos::DrawKeyed(CXSurface* pTarget, int nIndex, int x, int y) const
{
    const CXAnimation* pLogo = Get(nIndex);
    if (pLogo)
        BlitKeyedClipped(pTarget, pLogo->m_pSource, pLogo->m_nFirstX, pLogo->m_nFirstY, kWidth, kHeight, x, y);
}

void BlitKeyedClipped(CXSurface* pTarget, CXSurface* pSource, int nSourceX, int nSourceY, int nWidth, int nHeight,
                      int x, int y)
{
    if (!pTarget || !pTarget->m_pSurface || !pSource || !pSource->m_pSurface)
        return;
    const int nCutLeft = std::max(0, -x), nCutTop = std::max(0, -y);
    const int nRight = std::min(x + nWidth, pTarget->m_nWidth), nBottom = std::min(y + nHeight, pTarget->m_nHeight);
    if (x + nCutLeft >= nRight || y + nCutTop >= nBottom)
        return;
    const plat::Rect rc{nSourceX + nCutLeft, nSourceY + nCutTop, nSourceX + (nRight - x), nSourceY + (nBottom - y)};
    pTarget->m_pSurface->bltFast(x + nCutLeft, y + nCutTop, *pSource->m_pSurface, &rc,
                                 plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

void ShadePanel(CXClient& client, CXSurface* pBackground, int x1, int y1, int x2, int y2)
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    if (CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr)
        ShadeRectangle(pBackground, pShading, x1, y1, x2, y2);
    else
        client.ShadeRect(x1, y1, x2 - x1, y2 - y1);
}

void ShowButton(CXClient& client, uint32_t dwID, bool bShown)
{
    auto* pButton = dynamic_cast<CXButton*>(client.FindControl(dwID));
    if (!pButton)
        return;
    pButton->Enable(!bShown);  // the toolkit's argument says "disable"
    if (bShown)
        pButton->Show(true, true);
    else {
        pButton->Show(false, false);
        client.RestoreBackground(pButton->m_nLeft, pButton->m_nTop, pButton->Width(), pButton->Height());
    }
}

bool HasCommercialManager(const CClubDatabase* pClub)
{
    return pClub && pClub->m_awStaffSlots[kCommercialKind][0] != 0;
}

void DrawClubColourBoxes(CXSurface* pTarget, const CClubDatabase* pClub)
{
    if (pClub)
        DrawColourBoxes(pTarget, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(pTarget, kNoClubFirst, kNoClubSecond);
}

void AnswerQuestion(CSaveGame& human, uint8_t byDelegation, int nDelegateText, int nUndoAllText,
                    const std::function<void()>& onDelegated, const std::function<void()>& onUndoAll)
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->m_dwResultID != CGamePopup::kOkButtonID)
        return;
    if (pBox->GetTextItem() == nDelegateText) {
        human.SetDelegation(byDelegation, 1);
        onDelegated();
    }
    else if (pBox->GetTextItem() == nUndoAllText)
        onUndoAll();
}

bool OnBottomButton(uint32_t dwID, const BottomButtons& buttons, const std::function<void()>& onUndoLast)
{
    if (dwID == buttons.dwAutomatic)
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, buttons.nDelegateText);
    else if (dwID == buttons.dwUndo)
        onUndoLast();
    else if (dwID == buttons.dwUndoAll)
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, buttons.nUndoAllText);
    else
        return false;
    return true;
}

}  // namespace sponsor_parts
