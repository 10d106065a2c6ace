#include "popups/PopupLook.h"

#include "shell/CGame.h"
#include "shell/CGamePopup.h"
#include "shell/CTableText.h"

#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/DrawingFunctions.h"

#include <array>
#include <map>

namespace popup_look {

const LISTCOLUMN* TextColumn(int nWidth)
{
    // One table for each width asked for, kept for the program's life as
    // the lists need.
    static std::map<int, std::array<LISTCOLUMN, 2>> s_Tables;
    auto [it, bNew] = s_Tables.try_emplace(nWidth);
    if (bNew)
        it->second = {LISTCOLUMN{0, static_cast<int16_t>(nWidth), 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
                      LISTCOLUMN{LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    return it->second.data();
}

void DrawLabels(CXSurface* pPanel, int nDescription) { DrawSurfaceText(g_hMediumFont, pPanel, nDescription, kLabelColour); }

void AddAnswerButtons(CGamePopup& popup)
{
    popup.AddConfirmButton(CGamePopup::kOkButtonID, popup.ConfirmX());
    popup.AddConfirmButton(CGamePopup::kCancelButtonID, popup.CancelX());
}

CXComboBox* AddDropDown(CXClient& popup, uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom)
{
    auto* pBox = static_cast<CXComboBox*>(popup.AddControl(XCONTROL_COMBOBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pBox)
        return nullptr;
    pBox->SetUp(16, 4, g_hSmallFont, 3, false, nullptr, true, nullptr, false, 2, false, false, true);
    pBox->SetUpColumns(nLeft, nTop, nRight, nBottom, TextColumn(nRight - nLeft), false, false, 16, false);
    pBox->SetAutoRedraw(true);
    return pBox;
}

void AddTextRow(CXComboBox* pBox, const char* pszText, uint32_t dwValue)
{
    if (!pBox)
        return;
    const int nRow = pBox->AddString(plat::RGB(255, 255, 255), "%s", pszText ? pszText : "");
    pBox->SetItemData(nRow, dwValue);
}

void AddRow(CXComboBox* pBox, int nTable, int nItem, uint32_t dwValue) { AddTextRow(pBox, GetTableText(nTable, nItem), dwValue); }

bool SelectValue(CXComboBox* pBox, uint32_t dwValue)
{
    const int nRow = pBox ? pBox->FindItemData(dwValue) : -1;
    if (nRow < 0)
        return false;
    pBox->SetCurSel(nRow);
    return true;
}

uint32_t SelectedValue(const CXComboBox* pBox, uint32_t dwFallback)
{
    const int nRow = pBox ? pBox->GetSelection() : -1;
    return nRow >= 0 ? static_cast<uint32_t>(pBox->GetItemData(nRow)) : dwFallback;
}

}  // namespace popup_look
