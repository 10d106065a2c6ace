#include "popups/CPopupCredits.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <string>

namespace {

constexpr int kWidth = 550, kHeight = 400;
constexpr int kCaptionSet = 113, kTitleItem = 45;
constexpr int kHeaderTable = 49;
constexpr int kPictureX = 390, kPictureY = 74;
constexpr int kIconSize = 40;
constexpr COLORREF kWhite = plat::RGB(255, 255, 255);
constexpr COLORREF kCellFill = 0x70564C, kCellLight = 0xE7BFB3;

// The people who made the game: picture, name and part.
const CPopupCredits::CREDITRECORD kPeople[] = {
    {"crLead.bmp", "The Lead", "Design, reviews and every merge"},
    {"crWorld.bmp", "Perf", "The football world and its seasons"},
    {"crPlay.bmp", "Openplay", "The footballers' open play"},
    {"crCamera.bmp", "Camera", "Match camera, replays and radar"},
    {"crKits.bmp", "Kits", "Kits and the players' models"},
    {"crGround.bmp", "Groundpopup", "Ground development"},
    {"crView.bmp", "Groundview", "The ground in full 3-D"},
    {"crArchive.bmp", "Archive", "The season's archive and careers"},
    {"crScen.bmp", "Scenario", "Scenarios, help and these credits"},
    {"crSpons.bmp", "Sponsors", "Sponsors and hoardings"},
    {"crMatch.bmp", "Matchscreen", "The match screen"},
    {nullptr, nullptr, nullptr},
};
// The tools of the data kit and what each makes.
const CPopupCredits::CREDITRECORD kTools[] = {
    {"worldtool", "The starting world, its names and tables", nullptr},
    {"gfxkit", "Every picture, cursor and the intro movie", nullptr},
    {"textkit", "The captions, tables and help texts", nullptr},
    {"scriptkit", "The letters and the newspaper's stories", nullptr},
    {"soundkit", "The effects, the music and the spoken words", nullptr},
    {"meshkit", "The match's meshes, textures and animations", nullptr},
    {nullptr, nullptr, nullptr},
};
// The notices, each beside its icon.
const CPopupCredits::CREDITRECORD kNotices[] = {
    {"Invented", "Every club, player, manager and ground is made up.", nullptr},
    {"Football", "The game follows the laws of football as we play them.", nullptr},
    {"Home-made", "No picture, sound or name comes from anywhere else.", nullptr},
    {nullptr, nullptr, nullptr},
};

const LISTCOLUMN kPeopleColumns[] = {
    {0, 130, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {130, 344, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kToolColumns[] = {
    {0, 110, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {110, 510, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kNoticeColumns[] = {
    {0, 90, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {90, 140, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {140, 526, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

struct ListPlace {
    int nLeft, nTop, nRight, nBottom;
};
constexpr ListPlace kPeoplePlace{8, 90, 360, 362};
constexpr ListPlace kToolPlace{8, 116, 526, 358};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

void PlaceList(CXListBox* pList, const ListPlace& place, const LISTCOLUMN* pColumns, int nRowHeight)
{
    if (!pList)
        return;
    pList->Move(place.nLeft, place.nTop, place.nRight - place.nLeft, place.nBottom - place.nTop, false);
    pList->m_nRowHeight = nRowHeight;
    pList->SetUpColumns(place.nLeft, place.nTop, place.nRight, place.nBottom, pColumns, false, true,
                        place.nBottom - place.nTop, false);
}

}  // namespace

CPopupCredits::CPopupCredits()
{
    m_wScreenID = SCREEN_CREDITS_POPUP;
    SetPopupRect(205, 125, kWidth, kHeight);
}

CPopupCredits::~CPopupCredits() = default;

const CPopupCredits::CREDITRECORD* CPopupCredits::GetCredits(int nList)
{
    switch (nList) {
    case 0:
        return kPeople;
    case 1:
        return kTools;
    case 2:
        return kNotices;
    default:
        return nullptr;
    }
}

CXListBox* CPopupCredits::List(uint32_t dwID) const { return dynamic_cast<CXListBox*>(FindControl(dwID)); }

void CPopupCredits::ConstructScreen() { DrawCaptionFrame(-1); }

bool CPopupCredits::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    m_Archive.Close();
    m_Archive.Open("GFX\\Credits.BFS");
    m_pNotices.reset(popup_look::LoadArchiveBitmap(m_Archive, "Notices.bmp", true));
    for (size_t i = 0; i < m_Icons.size(); ++i) {
        m_Icons[i].reset();
        if (!m_pNotices)
            continue;
        m_Icons[i] = std::make_unique<CXAnimation>();
        m_Icons[i]->Setup(m_pNotices.get(), kIconSize, kIconSize, kIconSize * static_cast<int>(i), 0, 1, 1);
    }

    for (int nPage = 0; nPage < kPages; ++nPage)
        if (CXButton* pTab = AddButton(ID_FIRST_PAGE + static_cast<uint32_t>(nPage)))
            pTab->m_hFont = g_hSmallBoldFont;
    AddConfirmButton(kOkButtonID, CancelX());
    AddCloseButton(false, true);
    if (auto* pTitle = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 8, 32, kWidth - 54, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hMediumFont;
        pTitle->m_crText = popup_look::kLabelColour;
        pTitle->m_byAlignment = 6;
        pTitle->m_bShadow = 1;
        pTitle->m_bFrame = 0;
        pTitle->m_bClearBackground = 1;
        pTitle->SetText("%s", GetTableTextOrEmpty(kCaptionSet, kTitleItem));
    }
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, 901, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    if (auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, kPeoplePlace.nLeft, kPeoplePlace.nTop,
                                                         kPeoplePlace.nRight, kPeoplePlace.nBottom, ID_LIST, nullptr))) {
        pList->SetUp(16, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, false, 1, false,
                     true, false);
        pList->m_crCellFill = kCellFill;
        pList->m_crCellLight = kCellLight;
        pList->SetAutoRedraw(true);
    }
    popup_look::AddTextList(*this, ID_HEADER_TEXT, 903, 889, 8, 60, 526, 108);
    if (auto* pNotices = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 8, 70, 534, 322, ID_NOTICES, nullptr))) {
        pNotices->SetUp(42, 4, g_hSmallFont, 0, false, nullptr, true, nullptr, false, 0, false, false, false);
        pNotices->SetUpColumns(8, 70, 534, 322, kNoticeColumns, false, true, 322 - 70, false);
        pNotices->SetAutoRedraw(true);
    }
    popup_look::AddTextList(*this, ID_FREE_TEXT, 902, 887, 8, 70, 526, 358);
    ShowPage(0);
    return true;
}

void CPopupCredits::OnDestroy()
{
    m_Archive.Close();
    for (auto& pIcon : m_Icons)
        pIcon.reset();
    m_pNotices.reset();
    m_pszShownPicture = "";
    CGamePopup::OnDestroy();
}

void CPopupCredits::ShowPage(int nPage)
{
    if (nPage < 0 || nPage >= kPages)
        return;
    m_nPage = nPage;
    m_pszShownPicture = "";
    ShowAllControls(false);
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());
    std::vector<uint32_t> shown = {ID_TITLE, kOkButtonID, POPUP_HELP_BUTTON_ID, POPUP_CLOSE_BUTTON_ID};
    for (int i = 0; i < kPages; ++i)
        shown.push_back(ID_FIRST_PAGE + static_cast<uint32_t>(i));

    CXListBox* pList = List(ID_LIST);
    switch (nPage) {
    case 0:
    case 1:
        if (!pList)
            break;
        PlaceList(pList, nPage == 0 ? kPeoplePlace : kToolPlace, nPage == 0 ? kPeopleColumns : kToolColumns, 16);
        pList->SetAutoRedraw(false);
        pList->ResetContent();
        for (const CREDITRECORD* p = GetCredits(nPage); p && p->pszFirst; ++p) {
            const int nRow = nPage == 0 ? pList->AddString(kWhite, "%s\t%s", p->pszText, p->pszSecond)
                                        : pList->AddString(kWhite, "%s\t%s", p->pszFirst, p->pszText);
            pList->SetItemData(nRow, static_cast<uint32_t>(p - GetCredits(nPage)));
        }
        pList->SetAutoRedraw(true);
        if (nPage == 0)
            pList->SetSelection(0);
        pList->UpdateScrollBar();
        shown.insert(shown.end(), {ID_LIST, 901});
        if (nPage == 1) {
            const std::string header = std::string(GetTableTextOrEmpty(kHeaderTable, 0)) + "\t" +
                                       GetTableTextOrEmpty(kHeaderTable, 1);
            popup_look::SetListText(List(ID_HEADER_TEXT), header.c_str());
            shown.push_back(ID_HEADER_TEXT);
        }
        break;
    case 2:
        if (CXListBox* pNotices = List(ID_NOTICES)) {
            pNotices->SetAutoRedraw(false);
            pNotices->ResetContent();
            int i = 0;
            for (const CREDITRECORD* p = GetCredits(2); p && p->pszFirst; ++p, ++i) {
                const int nRow = pNotices->AddString(kWhite, "%s\t\t%s", p->pszFirst, p->pszText);
                if (*p->pszFirst && i < static_cast<int>(m_Icons.size()) && m_Icons[static_cast<size_t>(i)])
                    pNotices->AddAlignedColumnGraphic(nRow, m_Icons[static_cast<size_t>(i)].get(), 6, 1, true);
            }
            pNotices->SetAutoRedraw(true);
            shown.push_back(ID_NOTICES);
        }
        break;
    case 3:
        if (CXListBox* pText = List(ID_FREE_TEXT)) {
            CGame* pGame = Game();
            const std::string path =
                std::string("Help\\") + (pGame ? pGame->GetOptions().GetLanguage() : "English") + "\\CreditsKAVO.txt";
            pText->SetAutoRedraw(false);
            pText->ResetContent();
            pText->AddFile(path.c_str(), kWhite);
            pText->SetAutoRedraw(true);
            pText->UpdateScrollBar();
            shown.insert(shown.end(), {ID_FREE_TEXT, 902});
        }
        break;
    default:
        break;
    }
    for (uint32_t dwID : shown)
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    for (int i = 0; i < kPages; ++i)
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(ID_FIRST_PAGE + static_cast<uint32_t>(i))))
            pTab->Enable(i == nPage);
    if (nPage == 0)
        ShowPicture();
    for (uint32_t dwID : {ID_LIST, ID_HEADER_TEXT, ID_NOTICES, ID_FREE_TEXT})
        if (CXListBox* p = List(dwID); p && p->m_bVisible)
            p->Redraw();
}

void CPopupCredits::ShowPicture()
{
    const CXListBox* pList = List(ID_LIST);
    const int nRow = pList ? pList->GetSelection() : -1;
    const int nCount = static_cast<int>(std::size(kPeople)) - 1;
    if (m_nPage != 0 || nRow < 0 || nRow >= nCount)
        return;
    const CREDITRECORD& record = kPeople[nRow];
    std::unique_ptr<CXSurface> pPicture{popup_look::LoadArchiveBitmap(m_Archive, record.pszFirst, false)};
    if (!pPicture || !pPicture->m_pSurface || !m_pBackground || !m_pBackground->m_pSurface)
        return;
    const plat::Rect rc{0, 0, pPicture->GetWidth(), pPicture->GetHeight()};
    m_pBackground->m_pSurface->bltFast(kPictureX, kPictureY, *pPicture->m_pSurface, &rc, plat::BLTFAST_WAIT);
    RestoreBackground(kPictureX, kPictureY, pPicture->GetWidth(), pPicture->GetHeight());
    m_pszShownPicture = record.pszFirst;
}

void CPopupCredits::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    if (dwID == ID_LIST)
        ShowPicture();
}

void CPopupCredits::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID >= ID_FIRST_PAGE && dwID < ID_FIRST_PAGE + kPages)
        ShowPage(static_cast<int>(dwID - ID_FIRST_PAGE));
    else if (dwID == kOkButtonID)
        Close();
}
