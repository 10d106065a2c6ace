#include "popups/PopupLook.h"

#include "shell/CGame.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenDrawing.h"
#include "shell/CTableText.h"
#include "shell/CFileManager.h"
#include "shell/CFormScript.h"
#include "shell/FormattingFunctions.h"
#include "shell/PlayerRowIcons.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"

#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace popup_look {

namespace {

constexpr COLORREF kValueColour = plat::RGB(242, 242, 234);
constexpr COLORREF kNoClubColour = 0x9d37;

}  // namespace

CSaveGame* CurrentHuman()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

void DrawClubColourBoxes(CGamePopup& popup)
{
    const CSaveGame* pHuman = CurrentHuman();
    DrawClubColourBoxes(popup, pHuman ? pHuman->GetClub() : nullptr);
}

void DrawClubColourBoxes(CGamePopup& popup, const CClubDatabase* pClub)
{
    if (!pClub) {
        DrawColourBoxes(popup.m_pBackground, kNoClubColour, 0xffffff);
        return;
    }
    DrawColourBoxes(popup.m_pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                    CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
}

uint8_t WagePeriod()
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    const int nOption = pGame ? pGame->GetOptions().m_nContractsSalaries : 0;
    return nOption == 1 ? MONEY_PER_MONTH : nOption == 2 ? MONEY_AS_STORED : MONEY_PER_WEEK;
}

void DrawFrameBelowTabs(CGamePopup& popup, int nTabStrip)
{
    popup.DrawCaptionFrame(-1);
    CXSurface* pBackground = popup.m_pBackground;
    if (!pBackground || !pBackground->m_pSurface)
        return;
    const int nWidth = popup.Width(), nHeight = popup.Height();
    CXSurface frame;
    if (!frame.Create(nWidth, nHeight, false, true) || !frame.m_pSurface)
        return;
    const plat::Rect rcAll{0, 0, nWidth, nHeight};
    frame.m_pSurface->bltFast(0, 0, *pBackground->m_pSurface, &rcAll, plat::BLTFAST_NOCOLORKEY);
    pBackground->Fill(0xFF00FF);
    constexpr int kEdge = 8;
    const plat::Rect rcBody{0, 0, nWidth, nHeight - nTabStrip - kEdge};
    const plat::Rect rcEdge{0, nHeight - kEdge, nWidth, nHeight};
    pBackground->m_pSurface->bltFast(0, nTabStrip, *frame.m_pSurface, &rcBody, plat::BLTFAST_NOCOLORKEY);
    pBackground->m_pSurface->bltFast(0, nHeight - kEdge, *frame.m_pSurface, &rcEdge, plat::BLTFAST_NOCOLORKEY);
}

CXStatic* AddValueLabel(CXClient& popup, uint32_t dwID, int x, int y, int nWidth, uint8_t byAlignment)
{
    auto* pLabel = static_cast<CXStatic*>(popup.AddControlXYWH(XCONTROL_STATIC, x, y, nWidth, 18, dwID, nullptr));
    if (pLabel) {
        pLabel->m_byAlignment = byAlignment;
        pLabel->m_hFont = g_hSmallFont;
        pLabel->m_crText = kValueColour;
        pLabel->m_bFrame = 0;
        // Figures change while the popup is open.
        pLabel->m_bClearBackground = 1;
    }
    return pLabel;
}

CXEdit* AddNumberEdit(CXClient& popup, uint32_t dwID, int x, int y, int nWidth, bool bMoney, int nMaxLength,
                      uint32_t dwUpID, uint32_t dwDownID, int nStep, int nMinimum, int nMaximum)
{
    auto* pEdit = static_cast<CXEdit*>(popup.AddControlXYWH(XCONTROL_EDIT, x, y, nWidth, 18, dwID, nullptr));
    if (!pEdit)
        return nullptr;
    pEdit->m_hFont = g_hSmallFont;
    pEdit->m_bAllowLetters = 0;
    pEdit->m_bAllowOthers = 0;
    pEdit->m_bMoney = bMoney ? 1 : 0;
    pEdit->SetMaxLength(nMaxLength);
    pEdit->SetNumericRange(true, nMinimum, nMaximum);
    pEdit->AddSpinButtons(dwUpID, dwDownID, nStep);
    return pEdit;
}

int32_t ReadMoney(const CXEdit* pEdit)
{
    if (!pEdit || !pEdit->Text())
        return 0;
    const double dAmount = MoneyValueFromText(pEdit->Text(), 0);
    return dAmount >= 2147483647.0 ? 2147483647 : dAmount <= 0.0 ? 0 : static_cast<int32_t>(dAmount);
}

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

void AddBrowseArrows(CXClient& popup, uint32_t dwPreviousID, uint32_t dwNextID, CXSurface* pFaces)
{
    constexpr int kKeyRepeatDelay = 250;
    for (uint32_t dwID : {dwPreviousID, dwNextID})
        if (auto* pArrow = static_cast<CXButton*>(
                popup.AddControlXYWH(XCONTROL_BUTTON, dwID == dwPreviousID ? 8 : 26, 34, 16, 16, dwID, nullptr))) {
            pArrow->SetBitmap(pFaces, dwID == dwPreviousID ? 0 : 32, 0, false, true);
            pArrow->m_dwRepeatDelay = kKeyRepeatDelay;
        }
}

CXStatic* AddDetailsTitle(CXClient& popup, uint32_t dwTitleID, uint32_t dwSideID, int nPopupWidth,
                          COLORREF crTitle)
{
    if (auto* pTitle = static_cast<CXStatic*>(popup.AddControlXYWH(XCONTROL_STATIC, 46, 32, 306, 18, dwTitleID, nullptr))) {
        pTitle->m_hFont = g_hMediumFont;
        pTitle->m_crText = crTitle;
        pTitle->m_bFrame = 0;
        pTitle->m_bClearBackground = 1;
    }
    auto* pSide = static_cast<CXStatic*>(
        popup.AddControlXYWH(XCONTROL_STATIC, 354, 32, nPopupWidth - 400, 18, dwSideID, nullptr));
    if (pSide) {
        pSide->m_hFont = g_hSmallFont;
        pSide->m_byAlignment = 6;
        pSide->m_bFrame = 0;
        pSide->m_bClearBackground = 1;
    }
    return pSide;
}

plat::Rect DrawCarriedRow(const CXListBoxEx& list, int nRow, COLORREF crText, int nNameColumn, int nPictureColumn,
                          CXSurface& image, CXSurface& screen, int x, int y)
{
    constexpr COLORREF kCell = plat::RGB(0, 82, 183);
    constexpr COLORREF kKey = plat::RGB(255, 0, 255);
    constexpr int kDisplayWidth = 800, kDisplayHeight = 600;
    if (!image.m_pSurface || !screen.m_pSurface || nRow < 0 || nRow >= list.GetCount())
        return plat::Rect{0, 0, 0, 0};
    const int nHeight = image.m_nHeight;
    image.Fill(kKey);
    plat::DeviceContext* pDC = image.m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallFont);
    pDC->setTextColor(crText);
    const LISTCOLUMN* pColumns = list.GetColumns();
    int nWidth = 0;
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    for (int c = 0; pColumns && pColumns[c].nLeft != LISTCOLUMN_END; ++c) {
        DrawFilledRect(pDC, pColumns[c].nLeft, 0, pColumns[c].nRight - 1, nHeight - 1, kCell);
        nWidth = pColumns[c].nRight;
        if (c == nPictureColumn)
            continue;
        list.GetColumnText(nRow, c, szCell);
        plat::Rect rc{pColumns[c].nLeft + 3, 0, pColumns[c].nRight - 3, nHeight};
        pDC->drawText(szCell, -1, &rc, (c == nNameColumn ? plat::DT_LEFT : plat::DT_RIGHT) | plat::DT_SINGLELINE);
    }
    image.m_pSurface->releaseDC(pDC);

    const int nLeftCut = std::max(0, -x), nTopCut = std::max(0, -y);
    const int nRight = std::min({nWidth, image.m_nWidth, kDisplayWidth - x, screen.m_nWidth - x});
    const int nBottom = std::min({nHeight, kDisplayHeight - y, screen.m_nHeight - y});
    if (nRight <= nLeftCut || nBottom <= nTopCut)
        return plat::Rect{0, 0, 0, 0};
    const plat::Rect rcSource{nLeftCut, nTopCut, nRight, nBottom};
    screen.m_pSurface->bltFast(x + nLeftCut, y + nTopCut, *image.m_pSurface, &rcSource, plat::BLTFAST_SRCCOLORKEY);
    return plat::Rect{x + nLeftCut, y + nTopCut, x + nRight, y + nBottom};
}

void AddAnswerButtons(CGamePopup& popup)
{
    popup.AddConfirmButton(CGamePopup::kOkButtonID, popup.ConfirmX());
    popup.AddConfirmButton(CGamePopup::kCancelButtonID, popup.CancelX());
}

CXComboBox* AddDropDown(CXClient& popup, uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom)
{
    return AddDropDown(popup, dwID, nLeft, nTop, nRight, nBottom, TextColumn(nRight - nLeft));
}

CXComboBox* AddDropDown(CXClient& popup, uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom,
                        const LISTCOLUMN* pColumns, CXScrollBar* pScrollBar)
{
    auto* pBox = static_cast<CXComboBox*>(popup.AddControl(XCONTROL_COMBOBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pBox)
        return nullptr;
    pBox->SetUp(16, 4, g_hSmallFont, 3, false, pScrollBar, true, nullptr, false, 2, false, false, true);
    pBox->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, 16, false);
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

void AddNationRows(CXComboBox* pBox)
{
    constexpr int kNationTable = 92, kNations = 101;
    if (!pBox)
        return;
    std::vector<std::pair<std::string, uint8_t>> nations;
    for (int i = 1; i <= kNations; ++i)
        if (const char* pszNation = GetTableText(kNationTable, i); pszNation && *pszNation)
            nations.emplace_back(pszNation, static_cast<uint8_t>(i));
    std::sort(nations.begin(), nations.end());
    for (const auto& [name, byNation] : nations) {
        AddTextRow(pBox, name.c_str(), byNation);
        if (CXAnimation* pFlag = PlayerRowIcons::NationFlag(byNation))
            pBox->AddAlignedColumnGraphic(pBox->GetCount() - 1, pFlag, 2, 0, true);
    }
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

CXListBox* AddTextList(CXClient& popup, uint32_t dwID, uint32_t dwBarID, uint32_t dwUpID, int nLeft, int nTop,
                       int nRight, int nBottom)
{
    constexpr int kRowHeight = 16;
    auto* pBar = static_cast<CXScrollBar*>(popup.AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwUpID, dwUpID + 1, kRowHeight, false, 0);
    auto* pList = static_cast<CXListBox*>(popup.AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(kRowHeight, 4, g_hSmallFont, 0, false, pBar, false, nullptr, false, 0, false, false, false);
    pList->SetUpColumns(nLeft, nTop, nRight, nBottom, TextColumn(nRight - nLeft - 8), false, false, nBottom - nTop,
                        false);
    pList->SetAutoRedraw(true);
    return pList;
}

CXListBox* AddDetailsList(CXClient& popup, uint32_t dwID, uint32_t dwBarID, uint32_t dwUpID, int nLeft, int nTop,
                          int nRight, int nBottom, const LISTCOLUMN* pColumns, bool bCentred, bool bDates)
{
    auto* pBar = static_cast<CXScrollBar*>(popup.AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwUpID, dwUpID + 1, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(popup.AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(16, 6, g_hSmallFont, 0, true, pBar, true, nullptr, true, 0, false, false, false);
    pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, bCentred, false, nBottom - nTop, false);
    pList->SetAutoRedraw(true);
    pList->m_crCellFill = 0x70564C;
    pList->m_crCellLight = 0xE7BFB3;
    if (auto* pGame = dynamic_cast<CGame*>(g_pGame); pGame && bDates)
        pList->SetDateOrder(pGame->GetOptions().m_nDate);
    return pList;
}

void SetListText(CXListBox* pList, const char* pszText)
{
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    const std::string text = pszText ? pszText : "";
    for (size_t nStart = 0; nStart <= text.size();) {
        size_t nEnd = text.find_first_of("\t\n", nStart);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        const std::string line = text.substr(nStart, nEnd - nStart);
        if (line.empty())
            pList->AddString(plat::RGB(255, 255, 255), "%s", "");
        else
            pList->AddWrappedString(line.c_str(), plat::RGB(255, 255, 255), g_hSmallFont, 0);
        nStart = nEnd + 1;
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

CXSurface* LoadSmallFacesWithPrint(CXClient& popup, std::unique_ptr<CXSurface>& pFaces)
{
    constexpr int kPrintFaceX = 64;
    pFaces.reset(LoadMainArchiveBitmap("btnArrw.bmp", true));
    if (auto* pPrint = dynamic_cast<CXButton*>(popup.FindControl(CGamePopup::kPrintButtonID)))
        pPrint->SetBitmap(pFaces.get(), kPrintFaceX, 0, false, false);
    return pFaces.get();
}

CXSurface* LoadArchiveBitmap(CFileManager& archive, const char* pszName, bool bColorKey)
{
    bool bFound = false;
    long nSize = 0;
    FILE* pFile = archive.m_pFile ? archive.Get(pszName, &nSize, &bFound) : nullptr;
    if (!bFound || !pFile)
        return nullptr;
    auto* pSurface = new CXSurface;
    if (!pSurface->CreateFromBitmap(pFile, true, bColorKey, nSize)) {
        delete pSurface;
        return nullptr;
    }
    return pSurface;
}

CXSurface* SharedFace(const char* pszName)
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetBitmap(pszName) : nullptr;
}

void ShowPosition(CXStatic* pPosition, uint8_t byPosition, std::unique_ptr<CXAnimation>& pIcon)
{
    constexpr int kPositionSet = 117, kPositionIcons = 4;
    if (!pPosition)
        return;
    pPosition->SetText("%s", GetTableTextOrEmpty(kPositionSet, byPosition));
    pPosition->RemoveAllImages();
    CXSurface* pIcons = SharedFace("icnPos.bmp");
    if (pIcons && byPosition < kPositionIcons) {
        pIcon = std::make_unique<CXAnimation>();
        pIcon->Setup(pIcons, 20, 13, 20 * byPosition, 0, 1, 1);
        pPosition->AddImage(pIcon.get(), 0, 2);
    }
}

void LoadReports(CFormScript& scout, CFormScript& trainer)
{
    const char* pszLanguage = "English";
    if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
        pszLanguage = pGame->GetOptions().GetLanguage();
    scout.Load(pszLanguage, "ReportPlayer.fmc", true);
    trainer.Load(pszLanguage, "ReportTrainer.fmc", true);
}

void AddPersonValues(CXClient& popup, const PERSONVALUES& ids)
{
    AddValueLabel(popup, ids.dwBirth, 90, 90, 80);
    AddValueLabel(popup, ids.dwAge, 190, 90, 30, 6);
    AddValueLabel(popup, ids.dwNationality, 90, 124, 150);
    AddValueLabel(popup, ids.dwRole, 90, 158, 150);
    AddValueLabel(popup, ids.dwMorale, 90, 192, 30);
    AddValueLabel(popup, ids.dwRating, 190, 192, 30);
}

}  // namespace popup_look
