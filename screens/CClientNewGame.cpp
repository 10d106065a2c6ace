#include "screens/CClientNewGame.h"

#include "popups/CPopupClubDetails.h"
#include "platform/Messages.h"

#include "popups/CPopupMessageBox.h"
#include "popups/PopupLook.h"
#include "screens/CClientStartup.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTargetTable = 93;
constexpr int kWordsTable = 114;
constexpr int kNextManagerItem = 36;
constexpr int kKitSize = 24;
constexpr int kListTop = 40;
constexpr int kListBottom = 488;
constexpr uint8_t kBoardConfidence = 80;
constexpr COLORREF kRowColour = 0xFFFFFF;

const LISTCOLUMN kClubColumns[] = {
    {34, 250, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {250, 400, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {400, 520, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {520, 630, 2, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }
CDatabaseHandler* Database()
{
    CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

CXComboBox* AddBox(CGameClient& screen, uint32_t dwID, int x, int nWidth)
{
    auto* pBox = static_cast<CXComboBox*>(screen.AddControl(XCONTROL_COMBOBOX, x, 10, x + nWidth, 10 + 260, dwID, nullptr));
    if (!pBox)
        return nullptr;
    pBox->SetUp(18, 4, g_hNormalFont, 3, false, nullptr, true, nullptr, false, 2, false, false, true);
    pBox->SetUpColumns(x, 10, x + nWidth, 10 + 260, popup_look::TextColumn(nWidth), false, false, 18, false);
    pBox->SetAutoRedraw(true);
    return pBox;
}

}  // namespace

CClientNewGame& NewGameScreen()
{
    static CClientNewGame s_Screen;
    return s_Screen;
}

CClientNewGame::CClientNewGame() { m_wScreenID = SCREEN_NEW_GAME; }

CClientNewGame::~CClientNewGame() { FreeKitIcons(); }

void CClientNewGame::Restart()
{
    const CDatabaseHandler* pDatabase = Database();
    m_ucHumanIndex = kAllChosen;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
        if (pDatabase && pDatabase->GetHumanSlot(nSlot)) {
            m_ucHumanIndex = static_cast<uint8_t>(nSlot);
            break;
        }
    if (CDatabaseHandler* pChoosing = Database(); pChoosing && m_ucHumanIndex < kAllChosen)
        pChoosing->SetCurrentHumanIndex(m_ucHumanIndex);
    m_pSelectedClub = nullptr;
}

bool CClientNewGame::HasFurtherHuman(int nSlot) const
{
    const CDatabaseHandler* pDatabase = Database();
    for (int i = nSlot + 1; pDatabase && i < HUMAN_SLOTS; ++i)
        if (pDatabase->GetHumanSlot(i))
            return true;
    return false;
}

void CClientNewGame::FreeKitIcons()
{
    if (m_pClubList)
        for (int i = 0; i < m_pClubList->GetCount(); ++i)
            m_pClubList->RemoveRowGraphics(i);
    m_KitIcons.clear();
    delete m_pKitSurface;
    m_pKitSurface = nullptr;
}

bool CClientNewGame::OnInitDialog()
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(1);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(1);
    delete m_pBackground;
    m_pBackground = LoadMainArchiveBitmap("bgMain.bmp", false);
    CGameClient::OnInitDialog();

    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, ID_SCROLL_BAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 14, false, 0);
    m_pClubList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, kListTop, 640, kListBottom, ID_CLUB_LIST, nullptr));
    if (!m_pSelectionBar) {
        m_pSelectionBar = std::make_unique<CXSurface>();
        if (m_pSelectionBar->Create(640, kRowHeight, false, false))
            m_pSelectionBar->FillGradient(0, 0, 640, kRowHeight, plat::RGB(58, 111, 152), plat::RGB(31, 68, 102));
    }
    if (m_pClubList) {
        m_pClubList->SetUp(kRowHeight, 6, g_hNormalFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK,
                           true, pBar, true, m_pSelectionBar.get(), false, 0, false, true, false);
        m_pClubList->SetUpColumns(0, kListTop, 640, kListBottom, kClubColumns, false, false, kListBottom - kListTop,
                                  false);
        m_pClubList->SetAutoRedraw(true);
    }
    m_pCountryBox = AddBox(*this, ID_COUNTRY_BOX, 40, 200);
    m_pDivisionBox = AddBox(*this, ID_DIVISION_BOX, 260, 240);

    CDatabaseHandler* pDatabase = Database();
    CGame* pGame = Game();
    m_pCountry = nullptr;
    m_pDivision = nullptr;
    if (pDatabase) {
        int i = 0;
        const int nIndex = CClientStartup::LanguageCountryIndex(pGame ? pGame->GetOptions().GetLanguage() : "");
        for (CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
            if (m_pCountryBox) {
                const int nRow = m_pCountryBox->AddString(kRowColour, "%s", pCountry->GetName());
                m_pCountryBox->SetItemData(nRow, pCountry->GetID());
            }
            if (i++ == nIndex || !m_pCountry)
                m_pCountry = pCountry;
        }
    }
    CDivisionDatabase* pFirst = nullptr;
    if (m_pCountry)
        for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            pFirst = pDivision;
            break;
        }
    m_pClubDetails = std::make_unique<CPopupClubDetails>();
    m_pClubDetails->SetBrowse([this](bool bNext) { return bNext ? SelectNextClub() : SelectPreviousClub(); });
    ShowAllControls(true);
    ShowDivision(pFirst);
    UpdateStartButton();
    return true;
}

void CClientNewGame::OnDestroy()
{
    FreeKitIcons();
    if (m_pClubDetails && m_pClubDetails->IsOnStack())
        m_pClubDetails->Close();
    CGameClient::OnDestroy();
    m_pClubDetails.reset();
    m_pClubList = nullptr;
    m_pCountryBox = m_pDivisionBox = nullptr;
}

void CClientNewGame::FillDivisionBox()
{
    if (!m_pDivisionBox)
        return;
    m_pDivisionBox->ResetContent();
    if (!m_pCountry)
        return;
    for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>()) {
        const int nRow = m_pDivisionBox->AddString(kRowColour, "%s", pDivision->GetName());
        m_pDivisionBox->SetItemData(nRow, pDivision->m_byDivisionId);
    }
}

void CClientNewGame::ShowDivision(CDivisionDatabase* pDivision)
{
    m_pDivision = pDivision;
    if (pDivision && pDivision->m_pCountry)
        m_pCountry = pDivision->m_pCountry;
    if (m_pCountryBox && m_pCountry) {
        const int nRow = m_pCountryBox->FindItemData(m_pCountry->GetID());
        if (nRow >= 0 && nRow != m_pCountryBox->GetSelection())
            m_pCountryBox->ShowSelection(nRow);
    }
    FillDivisionBox();
    if (m_pDivisionBox && pDivision) {
        const int nRow = m_pDivisionBox->FindItemData(pDivision->m_byDivisionId);
        if (nRow >= 0)
            m_pDivisionBox->ShowSelection(nRow);
    }
    FillClubList();
}

void CClientNewGame::FillClubList()
{
    if (!m_pClubList)
        return;
    m_pClubList->Show(false, false);
    RestoreBackground(0, 10 + 30, 640, 505);
    FreeKitIcons();
    m_pClubList->ResetContent();
    m_pClubList->Move(0, kListTop, 640, kListBottom - kListTop, false);
    m_nSelectedRow = 0;
    const CDatabaseHandler* pDatabase = Database();
    if (!m_pDivision || !pDatabase) {
        m_pClubList->Show(true, true);
        return;
    }
    // The season's targets as the new season will set them, from the
    // clubs' standing.
    m_pDivision->SetClubTargetBands();
    const int nClubs = m_pDivision->GetClubCount();
    m_pKitSurface = new CXSurface;
    m_pKitSurface->Create(kKitSize, kKitSize * std::max(nClubs, 1), false, true);
    m_pKitSurface->Fill(0xFF00FF);
    bool bSelected = false;
    int nRow = 0;
    for (CClubDatabase* pClub : m_pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
        CGameTitlebar::DrawIcon(m_pKitSurface, 0, 0, kKitSize * nRow, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                                CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]), false);
        const CManagerDatabase* pManager = pClub->GetManager();
        const char* pszTarget = GetTableText(kTargetTable, pClub->m_byTargetKind);
        const int nAdded = m_pClubList->AddString(kRowColour, "%s\t%s\t%s\t%s", pClub->GetName(),
                                                  pManager ? pManager->GetShortName() : "",
                                                  pszTarget ? pszTarget : "",
                                                  FormatMoney(pClub->m_nBankBalance, 0, 0, 0, 0, 1));
        m_pClubList->SetItemData(nAdded, pClub->m_wClubId);
        auto pIcon = std::make_unique<CXAnimation>();
        pIcon->Setup(m_pKitSurface, kKitSize, kKitSize, 0, kKitSize * nRow, 1, 1);
        m_pClubList->AddGraphic(nAdded, pIcon.get(), 6, true);
        m_KitIcons.push_back(std::move(pIcon));
        // A club another human has taken cannot be chosen again.
        const bool bTaken = pDatabase->GetSaveGameForClub(pClub) != nullptr;
        m_pClubList->EnableRow(nAdded, !bTaken);
        if (!bTaken && !bSelected) {
            bSelected = true;
            m_pSelectedClub = pClub;
            m_nSelectedRow = nAdded;
        }
        ++nRow;
    }
    const int nHeight = std::min(nRow, kMaxRows) * kRowHeight;
    m_pClubList->Move(0, kListTop, 640, std::max(nHeight, kRowHeight), false);
    m_pClubList->SetSelection(bSelected ? m_nSelectedRow : -1);
    m_pClubList->Show(true, true);
    UpdateBars();
}

bool CClientNewGame::SelectClub(const CClubDatabase* pClub)
{
    if (!m_pClubList || !pClub)
        return false;
    const int nRow = m_pClubList->FindItemData(pClub->m_wClubId);
    if (nRow < 0 || !m_pClubList->IsRowEnabled(nRow))
        return false;
    m_pClubList->SetSelection(nRow);
    m_nSelectedRow = nRow;
    m_pSelectedClub = const_cast<CClubDatabase*>(pClub);
    return true;
}

void CClientNewGame::OnSelChange(uint32_t dwID)
{
    CGameClient::OnSelChange(dwID);
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    if (dwID == ID_COUNTRY_BOX && m_pCountryBox && m_pCountryBox->GetSelection() >= 0) {
        const auto idCountry = static_cast<ID_COUNTRY>(m_pCountryBox->GetItemData(m_pCountryBox->GetSelection()));
        CCountryDatabase* pCountry = pDatabase->GetCountryFromID(idCountry);
        if (!pCountry || pCountry == m_pCountry)
            return;
        m_pCountry = pCountry;
        CDivisionDatabase* pFirst = nullptr;
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            pFirst = pDivision;
            break;
        }
        ShowDivision(pFirst);
        OnClicked(ID_CLUB_LIST);
    } else if (dwID == ID_DIVISION_BOX && m_pDivisionBox && m_pDivisionBox->GetSelection() >= 0) {
        const auto byDivision = static_cast<uint8_t>(m_pDivisionBox->GetItemData(m_pDivisionBox->GetSelection()));
        CDivisionDatabase* pDivision = pDatabase->GetDivisionFromID(byDivision);
        if (pDivision && pDivision != m_pDivision) {
            ShowDivision(pDivision);
            OnClicked(ID_CLUB_LIST);
        }
    } else if (dwID == ID_CLUB_LIST) {
        OnClicked(ID_CLUB_LIST);
    }
}

void CClientNewGame::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID != ID_CLUB_LIST || !m_pClubList)
        return;
    const int nRow = m_pClubList->GetSelection();
    CDatabaseHandler* pDatabase = Database();
    if (nRow < 0 || !pDatabase || !m_pClubList->IsRowEnabled(nRow))
        return;
    if (CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_pClubList->GetItemData(nRow)))) {
        m_pSelectedClub = pClub;
        m_nSelectedRow = nRow;
    }
}

void CClientNewGame::OnDoubleClicked(uint32_t dwID)
{
    if (dwID != ID_CLUB_LIST)
        return;
    OnClicked(ID_CLUB_LIST);
    if (m_pClubDetails && m_pSelectedClub)
        m_pClubDetails->Show(m_pSelectedClub);
}

CClubDatabase* CClientNewGame::StepSelection(uint32_t dwKey)
{
    if (!m_pClubList)
        return nullptr;
    m_pClubList->OnKeyDown(dwKey, 1, 0);
    m_pClubList->OnKeyUp(dwKey, 1, 0);
    OnClicked(ID_CLUB_LIST);
    return m_pSelectedClub;
}

CClubDatabase* CClientNewGame::SelectPreviousClub() { return StepSelection(plat::VK_UP); }

CClubDatabase* CClientNewGame::SelectNextClub() { return StepSelection(plat::VK_DOWN); }

void CClientNewGame::OnSort(uint32_t /*dwID*/)
{
    if (m_pClubList)
        m_nSelectedRow = m_pClubList->GetSelection();
}

void CClientNewGame::UpdateStartButton()
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetStartContinueButton(HasFurtherHuman(m_ucHumanIndex) ? CGameNavigationBar::LOOK_NEXT_MANAGER
                                                                                 : CGameNavigationBar::LOOK_MATCH_GOES_ON);
}

bool CClientNewGame::ConfirmClub()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return false;
    if (m_ucHumanIndex >= kAllChosen)
        return true;
    CSaveGame* pHuman = pDatabase->GetHumanSlot(m_ucHumanIndex);
    // A club already managed by a human is never handed to another.
    if (!pHuman || !m_pSelectedClub || pDatabase->GetSaveGameForClub(m_pSelectedClub))
        return false;
    pHuman->TakeOverClub(m_pSelectedClub);
    m_pSelectedClub->m_nBoardConfidence = kBoardConfidence;

    int nNext = kAllChosen;
    for (int nSlot = m_ucHumanIndex + 1; nSlot < HUMAN_SLOTS; ++nSlot)
        if (pDatabase->GetHumanSlot(nSlot)) {
            nNext = nSlot;
            break;
        }
    m_ucHumanIndex = static_cast<uint8_t>(nNext);
    if (m_ucHumanIndex >= kAllChosen) {
        // The game begins with the first manager's turn.
        for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
            if (pDatabase->GetHumanSlot(nSlot)) {
                pDatabase->SetCurrentHumanIndex(static_cast<uint8_t>(nSlot));
                break;
            }
        return true;
    }
    // The title bar names the manager whose turn it is, and a message says so.
    pDatabase->SetCurrentHumanIndex(m_ucHumanIndex);
    if (pDatabase->GetHumanCount() > 1)
        if (auto* pBox = dynamic_cast<CPopupMessageBox*>(GetGameMessageBox())) {
            const CSaveGame* pNext = pDatabase->GetHumanSlot(m_ucHumanIndex);
            const CManagerDatabase* pManager = pNext ? pDatabase->GetManagerFromID(pNext->GetManagerID()) : nullptr;
            const char* pszTurn = GetTableText(kWordsTable, kNextManagerItem);
            char szText[160];
            std::snprintf(szText, sizeof szText, "%s: %s", pszTurn ? pszTurn : "",
                          pManager ? pManager->GetShortName() : "");
            pBox->SetText(szText);
            pBox->Show(CGameMessageBox::MODE_OK, 0);
        }
    UpdateStartButton();
    FillClubList();
    return false;
}
