#include "popups/CPopupPlayerMatchOrders.h"

#include "popups/MatchOrderRows.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "xframework/CXSlider.h"

#include <algorithm>

namespace {

constexpr int kCaptionItem = 41;
constexpr int kLabels = 34;
constexpr int kTrackCaptionSet = 220;

CXAnimation* TeamMarker()
{
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite("icnTVal.bmp") : nullptr;
}

}  // namespace

CPopupPlayerMatchOrders::CPopupPlayerMatchOrders()
{
    m_wScreenID = kScreenID;
    SetPopupRect(252, 117, 456, 416);
}

int CPopupPlayerMatchOrders::OffsetToSlider(int nOffset)
{
    const int nLimit = SAVEGAME_ORDER_ADJUSTMENT_LIMIT;
    return (std::clamp(nOffset, -nLimit, nLimit) + nLimit) * 100 / (2 * nLimit);
}

int CPopupPlayerMatchOrders::SliderToOffset(int nPosition)
{
    const int nLimit = SAVEGAME_ORDER_ADJUSTMENT_LIMIT;
    // Half a step up before the division: 52 (shown for +1) reads +1 again.
    return (std::clamp(nPosition, 0, 100) * 2 * nLimit + 50) / 100 - nLimit;
}

int CPopupPlayerMatchOrders::TeamMarkerX(int nTeamValue, int nMarkerWidth)
{
    return kTeamTrackLeft + std::clamp(nTeamValue, 0, 100) * match_orders::kTrackWidth / 100 - nMarkerWidth / 2;
}

bool CPopupPlayerMatchOrders::Show(int8_t* pValues)
{
    if (!pValues) {
        DebugLog(0, "[CPopupPlayerMatchOrders::Show] No orders to edit");
        return false;
    }
    m_pValues = pValues;
    return Open();
}

CXSlider* CPopupPlayerMatchOrders::GetSlider(int nOrder) const
{
    return nOrder >= 0 && nOrder < SAVEGAME_TEAM_ORDERS
               ? dynamic_cast<CXSlider*>(FindControl(ID_FIRST_SLIDER + static_cast<uint32_t>(nOrder)))
               : nullptr;
}

void CPopupPlayerMatchOrders::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i) {
        const int y = kFirstRowTop + kRowStep * i;
        match_orders::DrawTrack(m_pBackground, "TrainBar.bmp", kTeamTrackLeft, y);
        match_orders::DrawTrack(m_pBackground, "PlayBar.bmp", kPlayerTrackLeft, y);
    }
    popup_look::DrawLabels(m_pBackground, kLabels);
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, kTeamTrackLeft, kFirstRowTop - 20, match_orders::kTrackWidth},
                               {2, 1, 0, kPlayerTrackLeft, kFirstRowTop - 20, match_orders::kTrackWidth},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kTrackCaptionSet, tabs);
    // The team's values do not change while the popup is up: their markers
    // belong to the background.
    DrawTeamMarkers();
}

void CPopupPlayerMatchOrders::DrawTeamMarkers()
{
    CXAnimation* pMarker = TeamMarker();
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    if (!pMarker || !m_pBackground)
        return;
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i) {
        const int nTeamValue = pHuman ? pHuman->GetTeamOrderValue(i) : SAVEGAME_ORDER_STANDARD;
        pMarker->DrawFrame(m_pBackground, TeamMarkerX(nTeamValue, pMarker->m_nFrameWidth), kFirstRowTop + kRowStep * i,
                           0, true);
    }
}

bool CPopupPlayerMatchOrders::OnInitDialog()
{
    m_wScreenID = kScreenID;
    m_dwResultID = 0;
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this);
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddButton(ID_RESET);
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        if (CXSlider* pSlider = match_orders::AddSlider(*this, ID_FIRST_SLIDER + static_cast<uint32_t>(i),
                                                        kPlayerTrackLeft, kFirstRowTop + kRowStep * i))
            pSlider->SetPos(OffsetToSlider(m_pValues ? m_pValues[i] : 0));
    ShowAllControls(true);
    AddCloseButton(false, true);
    return true;
}

void CPopupPlayerMatchOrders::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == ID_RESET) {
        // The sliders alone: the values change on OK.
        for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
            if (CXSlider* pSlider = GetSlider(i))
                pSlider->SetPos(OffsetToSlider(0));
    } else if (dwID == kOkButtonID && IsOnStack()) {
        for (int i = 0; m_pValues && i < SAVEGAME_TEAM_ORDERS; ++i)
            if (const CXSlider* pSlider = GetSlider(i))
                m_pValues[i] = static_cast<int8_t>(SliderToOffset(pSlider->GetValue()));
        m_dwResultID = kOkButtonID;
        Close();
    } else if (dwID == kCancelButtonID && IsOnStack()) {
        m_dwResultID = kCancelButtonID;
        Close();
    }
}
