#include "screens/CClientArchivesMail.h"

#include "shell/CGame.h"
#include "shell/CGameDay.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CStaffDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <cstdio>

namespace {

constexpr int kSenderSet = 39;
constexpr int kCaptionSet = 3;
constexpr int kStaffRoleSet = 121;
constexpr int kWordSet = 114;
constexpr int kClosingItem = 25;
constexpr int kStaffCategory = 9;
constexpr int kIconWidth = 13;
constexpr int kIconHeight = 12;
constexpr int kRowHeight = 16;
constexpr COLORREF kRowColour = plat::RGB(242, 242, 234);
constexpr uint32_t kLettersBar = 901, kLetterBar = 902;

const LISTCOLUMN kLetterColumns[] = {
    {0, 50, 0, 0, 0, 0, 1017, LISTSORT_NONE, 0},
    {50, 196, 6, 0, 0, 0, 420, LISTSORT_NONE, 0},
    {196, 530, 6, 0, 0, 0, 421, LISTSORT_NONE, 0},
    {530, 608, 8, 0, 6, 0, 422, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

// The categories whose letters a member of the staff signs.
bool IsStaffCategory(int nCategory) { return nCategory == 1 || nCategory == 2 || nCategory == 3 || nCategory == 9; }

}  // namespace

CClientArchivesMail& GetArchivesMailScreen()
{
    static CClientArchivesMail s_Screen;
    return s_Screen;
}

CClientArchivesMail::CClientArchivesMail() { m_wScreenID = SCREEN_ARCHIVES_MAIL; }

CClientArchivesMail::~CClientArchivesMail() = default;

int CClientArchivesMail::GetTargetScreen(int nCode)
{
    if (nCode >= 1 && nCode <= 5) {
        static const int kFirst[] = {0, 4, 5, 7, 6};
        return kFirst[nCode - 1];
    }
    if (nCode >= 6 && nCode <= 12)
        return nCode + 2;
    if (nCode == 13 || nCode == 14)
        return 15;
    if (nCode == 15 || nCode == 16)
        return 16;
    if (nCode == 17 || nCode == 18)
        return 17;
    if (nCode == 19 || nCode == 20)
        return 19;
    if (nCode == 21)
        return 20;
    if (nCode >= 22 && nCode <= 25)
        return nCode - 1;
    if (nCode == 26)
        return 18;
    if (nCode == 27)
        return 25;
    if (nCode == 28 || nCode == 29)
        return 26;
    if (nCode == 30)
        return 27;
    if (nCode >= 33 && nCode <= 42)
        return nCode - 5;
    if (nCode >= 43 && nCode <= 45)
        return nCode - 4;
    return -1;
}

const CFormScript* CClientArchivesMail::ScriptOf(const CNewsItem& item) const
{
    const int nCategory = item.GetFiledCategory();
    return nCategory >= 0 && nCategory < MAIL_CATEGORIES ? &m_aScripts[nCategory] : nullptr;
}

std::string CClientArchivesMail::SenderName(const CNewsItem& item) const
{
    const int nCategory = item.GetFiledCategory();
    if (nCategory == kStaffCategory && item.GetSlot(NEWS_SLOT_STAFF)) {
        CDatabaseHandler* pDatabase = Database();
        const CStaffDatabase* pStaff =
            pDatabase ? pDatabase->GetStaffFromID(static_cast<ID_STAFF>(item.GetSlot(NEWS_SLOT_STAFF))) : nullptr;
        if (pStaff)
            return Text(kStaffRoleSet, pStaff->m_byKind);
    }
    return Text(kSenderSet, nCategory);
}

std::vector<std::string> CClientArchivesMail::BuildLetter(const CNewsItem& item) const
{
    std::vector<std::string> lines;
    const CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = Database();
    const CManagerDatabase* pManager =
        pHuman && pDatabase ? pDatabase->GetManagerFromID(pHuman->GetManagerID()) : nullptr;
    char szLine[FORMSCRIPT_TEXT_BYTES];
    std::snprintf(szLine, sizeof szLine, "%s,", pManager ? pManager->GetShortName() : "");
    lines.push_back(szLine);
    lines.emplace_back();
    szLine[0] = '\0';
    if (const CFormScript* pScript = ScriptOf(item))
        pScript->ExpandItem(item, pDatabase, szLine, sizeof szLine, nullptr, 0, 0);
    lines.push_back(szLine);
    lines.emplace_back();
    lines.push_back(Text(kWordSet, kClosingItem));
    const int nCategory = item.GetFiledCategory();
    if (IsStaffCategory(nCategory)) {
        const ID_STAFF idStaff = static_cast<ID_STAFF>(item.GetSlot(NEWS_SLOT_STAFF));
        const CStaffDatabase* pStaff = idStaff && pDatabase ? pDatabase->GetStaffFromID(idStaff) : nullptr;
        // A staff letter that names nobody is signed by the post.
        lines.push_back(pStaff ? pStaff->GetShortName() : Text(kSenderSet, nCategory));
    } else {
        lines.push_back(Text(kSenderSet, nCategory));
    }
    return lines;
}

bool CClientArchivesMail::OnInitDialog()
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    if (SetBackgroundBitmap("bgMain.bmp")) {
        delete m_pBackground;
        m_pBackground = new CXSurface;
        if (m_pBackground->Create(Width(), Height(), false, false)) {
            CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
            static const CAPTIONTAB kTabs[] = {{2, 6, 0, 0, 26, 200}, {2, 7, 0, 20, 286, 200}, {0, 0, 0, 0, 0, 0}};
            CGame* pGame = Game();
            if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr)
                DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
        }
    }
    CGameClient::OnInitDialog();
    for (int i = 0; i < MAIL_CATEGORIES; ++i) {
        const CGame* pGame = Game();
        m_aScripts[i].Load(pGame ? pGame->GetOptions().GetLanguage() : "English", GetMailScriptFile(i), true);
    }
    m_pMailIcons.reset(LoadMainArchiveBitmap("icnMail.bmp", true));
    for (int i = 0; i < 2; ++i) {
        m_apMailIcons[i] = std::make_unique<CXAnimation>();
        if (m_pMailIcons)
            m_apMailIcons[i]->Setup(m_pMailIcons.get(), kIconWidth, kIconHeight, 0, i * kIconHeight, 1, 1);
    }

    auto addList = [this](uint32_t dwID, uint32_t dwBarID, int nLeft, int nTop, int nRight, int nBottom,
                          const LISTCOLUMN* pColumns) {
        auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
        if (pBar)
            pBar->Create(dwBarID == kLettersBar ? 885 : 887, dwBarID == kLettersBar ? 886 : 888, 16, false, 0);
        auto* pList =
            static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
        if (!pList)
            return pList;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, pColumns != nullptr, pBar,
                     pColumns != nullptr, nullptr, pColumns != nullptr, 0, false, pColumns != nullptr, false);
        if (pColumns)
            pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, nBottom - nTop, false);
        pList->SetAutoRedraw(true);
        return pList;
    };
    m_pLetters = addList(ID_LETTERS, kLettersBar, 0, 60, 624, 284, kLetterColumns);
    m_pLetter = addList(ID_LETTER, kLetterBar, 20, 304, 604, 464, nullptr);
    if (m_pLetters)
        if (const CGame* pGame = Game())
            m_pLetters->SetDateOrder(pGame->GetOptions().m_nDate);
    AddBottomButton(ID_DELETE_ALL);
    AddBottomButton(ID_DELETE);
    AddBottomButton(ID_GO_TO);
    m_byFilter = SHOW_READ | SHOW_UNREAD;
    ShowAllControls(true);
    FillMailList();
    UpdateBars();
    return true;
}

void CClientArchivesMail::OnDestroy()
{
    if (CSaveGame* pHuman = Human(); pHuman && pHuman->GetNews().CountUnreadNewsItems() == 0)
        pHuman->SetNavigationAlert(MAIL_NAVIGATION_ALERT, 0);
    CGameClient::OnDestroy();
    m_pLetters = m_pLetter = nullptr;
    m_RowLetters.clear();
    for (CFormScript& script : m_aScripts)
        script.Free();
    for (auto& pIcon : m_apMailIcons)
        pIcon.reset();
    m_pMailIcons.reset();
}

void CClientArchivesMail::FillMailList()
{
    if (!m_pLetters)
        return;
    m_pLetters->ResetContent();
    m_RowLetters.clear();
    const CSaveGame* pHuman = Human();
    if (pHuman) {
        char szSubject[FORMSCRIPT_TEXT_BYTES];
        for (CNewsItem* pItem : pHuman->GetNews().GetArchive().Items<CNewsItem>()) {
            const bool bRead = pItem->IsRead();
            if (!(m_byFilter & (bRead ? SHOW_READ : SHOW_UNREAD)))
                continue;
            szSubject[0] = '\0';
            if (const CFormScript* pScript = ScriptOf(*pItem))
                pScript->ExpandItem(*pItem, Database(), nullptr, 0, szSubject, sizeof szSubject, 0);
            const CDate& date = pItem->GetDate();
            const int nRow = m_pLetters->AddString(kRowColour, "\t%s\t%s\t%s", SenderName(*pItem).c_str(), szSubject,
                                                   FormatDate(date.GetDay(), date.GetMonth(), date.GetYear()));
            if (nRow < 0)
                continue;
            m_pLetters->SetItemData(nRow, static_cast<uint32_t>(m_RowLetters.size()));
            m_RowLetters.push_back(pItem);
            m_pLetters->SetRowFont(nRow, bRead ? g_hSmallFont : g_hSmallBoldFont);
            if (const auto& pIcon = m_apMailIcons[bRead ? 1 : 0])
                m_pLetters->AddAlignedColumnGraphic(nRow, pIcon.get(), 6, 0, true);
        }
    }
    if (m_pLetters->GetCount() > 0)
        m_pLetters->SetSelection(0);
    OnSelChange(ID_LETTERS);
}

CNewsItem* CClientArchivesMail::GetSelectedLetter() const
{
    const CSaveGame* pHuman = Human();
    if (!m_pLetters || !pHuman || m_pLetters->GetSelection() < 0)
        return nullptr;
    const int64_t nData = m_pLetters->GetItemData(m_pLetters->GetSelection());
    if (nData < 0 || nData >= static_cast<int64_t>(m_RowLetters.size()))
        return nullptr;
    // Only a letter still filed counts.
    CNewsItem* pLetter = m_RowLetters[static_cast<size_t>(nData)];
    for (CNewsItem* pItem : pHuman->GetNews().GetArchive().Items<CNewsItem>())
        if (pItem == pLetter)
            return pItem;
    return nullptr;
}

void CClientArchivesMail::EnableButtons(bool bGoTo, bool bDelete)
{
    for (uint32_t dwID : {ID_GO_TO, ID_DELETE, ID_DELETE_ALL})
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID)))
            pButton->Enable(!(dwID == ID_GO_TO ? bGoTo : bDelete));
}

void CClientArchivesMail::ShowLetter(CNewsItem* pItem)
{
    if (!m_pLetter)
        return;
    m_pLetter->ResetContent();
    if (!pItem)
        return;
    for (const std::string& line : BuildLetter(*pItem)) {
        if (line.empty())
            m_pLetter->AddString(kRowColour, " ");
        else
            m_pLetter->AddWrappedString(line.c_str(), kRowColour, nullptr, 0);
    }
    pItem->SetRead(true);
}

void CClientArchivesMail::OnSelChange(uint32_t dwID)
{
    if (dwID != ID_LETTERS)
        return;
    CNewsItem* pItem = GetSelectedLetter();
    if (!pItem) {
        ShowLetter(nullptr);
        EnableButtons(false, false);
        return;
    }
    ShowLetter(pItem);
    const CFormScript* pScript = ScriptOf(*pItem);
    const CFormScript::Entry* pEntry = pScript ? pScript->GetEntry(pItem->GetFiledValue()) : nullptr;
    EnableButtons(pEntry && GetTargetScreen(pEntry->wTarget) >= 0, true);
    const int nRow = m_pLetters->GetSelection();
    m_pLetters->SetRowFont(nRow, g_hSmallFont);
    m_pLetters->DeleteColumnGraphics(nRow, 0);
    if (const auto& pIcon = m_apMailIcons[1])
        m_pLetters->AddAlignedColumnGraphic(nRow, pIcon.get(), 6, 0, true);
    m_pLetters->RedrawRow(nRow, true);
}

void CClientArchivesMail::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    switch (dwID) {
    case ID_DELETE:
        if (GetSelectedLetter())
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, ASK_DELETE);
        break;
    case ID_DELETE_ALL:
        if (m_pLetters && m_pLetters->GetCount() > 0)
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, ASK_DELETE_ALL);
        break;
    case ID_GO_TO: {
        const CNewsItem* pItem = GetSelectedLetter();
        const CFormScript* pScript = pItem ? ScriptOf(*pItem) : nullptr;
        const CFormScript::Entry* pEntry = pScript ? pScript->GetEntry(pItem->GetFiledValue()) : nullptr;
        const int nScreen = pEntry ? GetTargetScreen(pEntry->wTarget) : -1;
        if (nScreen == SCREEN_TRANSFER_SCOUT && g_pNavigationBar)
            g_pNavigationBar->OpenScoutReport();
        else if (nScreen >= 0 && g_pNavigationBar)
            g_pNavigationBar->OnClientChange(nScreen, false);
        break;
    }
    default:
        break;
    }
}

void CClientArchivesMail::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    CSaveGame* pHuman = Human();
    if (!pBox || pBox->m_dwResultID != 884 || !pHuman) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    if (pBox->GetTextItem() == ASK_DELETE) {
        if (CNewsItem* pItem = GetSelectedLetter())
            pHuman->GetNews().DeleteNewsItem(pItem);
    } else if (pBox->GetTextItem() == ASK_DELETE_ALL) {
        pHuman->GetNews().RemoveAllNewsItems();
    } else {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    FillMailList();
}

void CClientArchivesMail::OnPrint() { PrintControl(ID_LETTER); }
