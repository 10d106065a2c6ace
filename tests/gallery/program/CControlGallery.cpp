#include "CControlGallery.h"

#include "shell/CGame.h"

#include "xframework/CXEditPopup.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include "common/CDate.h"

#include <string>

namespace {

constexpr COLORREF kBackground = plat::RGB(24, 56, 80);
constexpr COLORREF kHeading = plat::RGB(240, 180, 0);
constexpr COLORREF kLineText = plat::RGB(242, 242, 234);
constexpr COLORREF kPlayerText = plat::RGB(210, 222, 232);

// Control ids: below 1175 the captions come from the control texts.
enum : uint32_t {
    kNewGame = 809,
    kContinueMatch = 831,
    kRepeat = 884,
    kCredits = 813,
    kPause = 848,
    kMainMenu = 819,
    kSave = 815,
    kCompare = 854,
    kPlay = 849,
    kReplay = 858,
    kScrollUp = 885,
    kScrollDown = 886,
    kYesNo = 10001,
    kTick = 10002,
    kList = 10004,
    kScrollBar = 10005,
    kSlider = 10006,
    kTree = 10007,
    kMoneyEdit = 10008,
    kDragLeft = 10009,
    kDragRight = 10010,
    kCombo = 10011,
    kDateCombo = 10012,
    kLineGraph = 10013,
    kBarGraph = 10014,
    kIncomeToggle = 10015,
    kCostsToggle = 10016,
    kLabelBase = 10100,
};

// The list's headers; their captions are the gallery's own.
enum : uint16_t { kNameHeader = 10200, kAgeHeader, kValueHeader, kJoinedHeader };

// The value cells open the edit popup on a double click.
const LISTCELLEDIT kPlayerCellEdits[] = {
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},
    {1, 9, 0, 0, 0},
    {0, 0, 0, 0, 0},
};

const LISTCOLUMN kPlayerColumns[] = {
    {0, 92, 2, 0, 0, 0, kNameHeader, LISTSORT_TEXT, 1},
    {92, 124, 4, 0, 2, 0, kAgeHeader, LISTSORT_NUMBER, 0},
    {124, 184, 4, 0, 2, 0, kValueHeader, LISTSORT_NUMBER, 0},
    {184, 256, 2, 0, 0, 0, kJoinedHeader, LISTSORT_DATE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

ControlCaptionLookup s_pfnGameCaptions = nullptr;

const char* GalleryCaption(uint32_t dwID)
{
    switch (dwID) {
    case kNameHeader:
        return "Name";
    case kAgeHeader:
        return "Age";
    case kValueHeader:
        return "Value";
    case kJoinedHeader:
        return "Joined";
    case kIncomeToggle:
        return "Income";
    case kCostsToggle:
        return "Costs";
    default:
        return s_pfnGameCaptions ? s_pfnGameCaptions(dwID) : nullptr;
    }
}

// 200 made-up players; the names mix the case of their first letters so
// that the sort shows it reads them case-blind.
void FillPlayers(CXListBox* pList)
{
    static const char* const kFirst[] = {"Ada", "ben", "Cole", "dara", "Eli", "fern", "Gus", "hana", "Ivo", "jon"};
    static const char* const kLast[] = {"Amber", "Brook", "Crane", "Dale", "Ember", "Frost", "Glen", "Hale",
                                        "Irons", "Jett", "Kerr", "Lowe", "Marsh", "North", "Oakes", "Pike",
                                        "Quinn", "Reed", "Stone", "Tate"};
    pList->SetAutoRedraw(false);
    for (int i = 0; i < 200; ++i) {
        const int nValue = (i * 7919) % 3000 * 250 + 5000;
        pList->AddString(kPlayerText, "%s %s\t%d\t%d,%03d\t%d/%d/%02d", kFirst[i % 10], kLast[(i * 7) % 20],
                         17 + (i * 13) % 20, nValue / 1000, nValue % 1000, 1 + (i * 5) % 28, 1 + (i * 11) % 12,
                         (90 + i) % 100);
        pList->SetItemData(pList->GetCount() - 1, static_cast<uint32_t>(i));
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
}

// "1234567" as "1,234,567".
std::string Grouped(long long nValue)
{
    std::string digits = std::to_string(nValue < 0 ? -nValue : nValue);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<size_t>(i), ",");
    return nValue < 0 ? "-" + digits : digits;
}

CXSurface* Shared(const char* pszName) { return g_pfnSharedBitmap ? g_pfnSharedBitmap(pszName) : nullptr; }

CXAnimation* Sprite(const char* pszName)
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

}  // namespace

CGalleryPopup::CGalleryPopup()
{
    SetClientRect(300, 170, 200, 120);
    m_rcTitle = {0, 0, 200, 30};
}

bool CGalleryPopup::OnInitDialog()
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (m_pBackground->Create(Width(), Height(), false, false)) {
        m_pBackground->Fill(plat::RGB(31, 68, 102));
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        DrawRectOutline(pDC, 0, 0, Width(), Height(), plat::RGB(5, 12, 20), 1);
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(g_hSmallBoldFont);
        DrawTextF(pDC, 10, 9, kLineText, "A popup");
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    CXPopup::OnInitDialog();
    AddCloseButton(true, false);
    return true;
}

void CGalleryPopup::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    if (dwID == POPUP_CLOSE_BUTTON_ID)
        Close();
}

CControlGallery::CControlGallery() { SetClientRect(0, 0, 800, 600); }

CXButton* CControlGallery::AddButton(uint32_t dwID, int x, int y, int nWidth, int nHeight)
{
    return static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, x, y, nWidth, nHeight, dwID, nullptr));
}

CXStatic* CControlGallery::AddLabel(uint32_t dwID, int x, int y, int nWidth, int nHeight, const char* pszText)
{
    auto* pLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, x, y, nWidth, nHeight, dwID, nullptr));
    pLabel->m_hFont = g_hSmallFont;
    pLabel->m_bClearBackground = 1;
    pLabel->SetText("%s", pszText);
    return pLabel;
}

bool CControlGallery::OnInitDialog()
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (m_pBackground->Create(Width(), Height(), false, false)) {
        m_pBackground->Fill(kBackground);
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(g_hSmallBoldFont);
        DrawTextF(pDC, 20, 12, kHeading, "Buttons");
        DrawTextF(pDC, 20, 202, kHeading, "Labels");
        DrawTextF(pDC, 20, 294, kHeading, "List, scroll bar and slider");
        DrawTextF(pDC, 600, 12, kHeading, "Tree");
        DrawTextF(pDC, 680, 202, kHeading, "Money edit");
        DrawTextF(pDC, 540, 294, kHeading, "Drag and drop");
        DrawTextF(pDC, 300, 418, kHeading, "Drop-downs");
        DrawTextF(pDC, 20, 506, kHeading, "Graphs");
        // The slider's track.
        DrawFilledRect(pDC, 300, 367, 500, 371, plat::RGB(10, 24, 38));
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    // The tall face of two-line captions: released at x 0, pressed at x 84.
    m_pTallFace = std::make_unique<CXSurface>();
    if (m_pTallFace->Create(168, 40, false, true)) {
        plat::DeviceContext* pDC = m_pTallFace->m_pSurface->getDC();
        DrawFilledRectFramed(pDC, 0, 0, 84, 40, plat::RGB(42, 82, 122), 0, plat::RGB(5, 12, 20));
        DrawLine(pDC, 1, 1, 82, 1, plat::RGB(90, 138, 180), 1, 0);
        DrawLine(pDC, 1, 1, 1, 38, plat::RGB(90, 138, 180), 1, 0);
        DrawFilledRectFramed(pDC, 84, 0, 168, 40, plat::RGB(23, 52, 82), 0, plat::RGB(5, 12, 20));
        DrawLine(pDC, 85, 1, 166, 1, plat::RGB(12, 29, 48), 1, 0);
        DrawLine(pDC, 85, 1, 85, 38, plat::RGB(12, 29, 48), 1, 0);
        m_pTallFace->m_pSurface->releaseDC(pDC);
    }
    CXClient::OnInitDialog();
    m_nRepeats = 0;

    CXSurface* pCaptionFace = Shared("btnTog.bmp");
    CXSurface* pToggleFace = Shared("btnTog2.bmp");
    AddButton(kNewGame, 20, 36, 84, 26)->SetTextID(pCaptionFace, 0);
    AddButton(kContinueMatch, 120, 36, 84, 40)->SetTextID(m_pTallFace.get(), 0);
    CXButton* pRepeat = AddButton(kRepeat, 220, 36, 84, 26);
    pRepeat->m_dwRepeatDelay = 250;
    pRepeat->m_dwRepeatStep = 20;
    pRepeat->SetTextID(pCaptionFace, 0);
    m_pRepeats = AddLabel(kLabelBase, 316, 40, 150, 18, "Repeats: 0");
    m_pRepeats->m_bFrame = 0;
    CXButton* pCredits = AddButton(kCredits, 490, 36, 84, 26);
    pCredits->SetTextID(pCaptionFace, 0);
    pCredits->Enable(true);

    AddButton(kPause, 20, 96, 84, 26)->SetToggleTextID(pToggleFace, 0, 0);
    for (const auto& radio : {std::pair{kMainMenu, 120}, std::pair{kSave, 220}, std::pair{kCompare, 320}})
        AddButton(radio.first, radio.second, 96, 84, 26)->SetToggleTextID(pToggleFace, 0, 1);
    CXButton* pPlay = AddButton(kPlay, 440, 96, 84, 26);
    CXButton* pReplay = AddButton(kReplay, 440, 96, 84, 26);
    pPlay->m_dwSwapID = kReplay;
    pReplay->m_dwSwapID = kPlay;
    pPlay->SetTextID(pCaptionFace, 0);
    pReplay->SetTextID(pCaptionFace, 0);

    AddButton(kYesNo, 20, 140, 44, 26)->SetBitmap(Shared("btnYesNo.bmp"), 0, 0, false, true);
    CXButton* pTick = AddButton(kTick, 80, 145, 16, 16);
    if (CXAnimation* pTickSprite = Sprite("icnTick.bmp")) {
        pTick->m_pIcon = pTickSprite->m_pSource;
        pTick->m_rcIconSource = {0, 0, 12, 13};
        pTick->m_nIconX = 2;
        pTick->m_nIconY = 1;
        pTick->Draw();
    }
    m_pClicked = AddLabel(kLabelBase + 1, 200, 144, 220, 18, "Clicked: none");

    AddLabel(kLabelBase + 2, 20, 226, 200, 18, "Left aligned");
    CXStatic* pRight = AddLabel(kLabelBase + 3, 240, 226, 200, 18, "");
    pRight->m_byAlignment = 2;
    pRight->SetText("Right aligned %d", 42);
    CXStatic* pCentred = AddLabel(kLabelBase + 4, 460, 226, 200, 18, "");
    pCentred->m_byAlignment = 6;
    pCentred->m_bShadow = 1;
    pCentred->m_crText = kHeading;
    pCentred->SetText("Centred with a shadow");
    AddLabel(kLabelBase + 5, 20, 256, 100, 18, "A text much wider than its label");
    CXStatic* pHot = AddLabel(kLabelBase + 6, 140, 256, 160, 18, "Click me");
    pHot->m_bClickable = 1;
    pHot->m_bPointer = 1;
    CXStatic* pStar = AddLabel(kLabelBase + 7, 320, 256, 160, 24, "With a star");
    if (CXAnimation* pStarSprite = Sprite("icnStar.bmp"))
        pStar->SetAlignedImage(pStarSprite, 2);
    pStar->Draw();

    if (g_pfnControlCaptionText != &GalleryCaption) {
        s_pfnGameCaptions = g_pfnControlCaptionText;
        g_pfnControlCaptionText = &GalleryCaption;
    }
    // The bar is placed at the list's right by the list.
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, kScrollBar, nullptr));
    pBar->Create(kScrollUp, kScrollDown, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 20, 336, 276, 496, kList, nullptr));
    pList->SetUp(16, 0, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 0, false, true,
                 false);
    pList->SetUpColumns(20, 336, 276, 496, kPlayerColumns, false, false, 160, true);
    pList->SetCellEditTable(kPlayerCellEdits);
    FillPlayers(pList);
    m_pPlayers = pList;

    m_pSlider = static_cast<CXSlider*>(AddControl(XCONTROL_SLIDER, 300, 360, 500, 378, kSlider, nullptr));
    m_pSlider->SetUp(Sprite("sldTrain.bmp"));
    m_pSlider->SetRange(0, 20);
    m_pSlider->SetPos(5);
    m_pSliderValue = AddLabel(kLabelBase + 8, 300, 392, 200, 18, "Value: 5");
    AddTree();
    AddMoneyEdit();
    AddDragLists();
    AddDropDowns();
    AddGraphs();
    // Labels draw their frames when shown; the disabled button, the arrows
    // and the linked bar stay as they are.
    ShowAllControls(true);
    // Of the swapping pair only the first shows.
    FindControl(kReplay)->Show(false, true);
    FindControl(kPlay)->Show(true, true);
    return true;
}

void CControlGallery::AddTree()
{
    auto* pTree = static_cast<CXTreeView*>(AddControl(XCONTROL_TREEVIEW, 600, 36, 780, 180, kTree, nullptr));
    pTree->SetUp(16, 2, g_hSmallFont, TREESTYLE_NOTIFY_SELECTION, 1, nullptr, 1, 0, nullptr);
    const int nFirst = pTree->AddItem(-1, kLineText, nullptr, "First team");
    for (const char* pszName : {"Goalkeepers", "Defenders", "Forwards"})
        pTree->AddItem(nFirst, kPlayerText, nullptr, "%s", pszName);
    const int nYouth = pTree->AddItem(-1, kLineText, nullptr, "Youth team");
    const int nUnder18 = pTree->AddItem(nYouth, kPlayerText, nullptr, "Under 18");
    pTree->AddItem(nUnder18, kPlayerText, nullptr, "Trialists");
    pTree->AddItem(-1, kLineText, nullptr, "Reserves");
    pTree->ExpandItem(nFirst, true, false, false);
}

void CControlGallery::AddMoneyEdit()
{
    auto* pMoney = static_cast<CXEdit*>(AddControlXYWH(XCONTROL_EDIT, 680, 226, 100, 18, kMoneyEdit, nullptr));
    pMoney->m_hFont = g_hSmallFont;
    pMoney->m_bAllowLetters = 0;
    pMoney->m_bAllowOthers = 0;
    pMoney->m_bMoney = 1;
    pMoney->SetMaxLength(12);
    pMoney->SetText("250000");
}

void CControlGallery::AddDragLists()
{
    static const LISTCOLUMN kSquadColumns[] = {
        {0, 110, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
        {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    const struct {
        uint32_t dwID;
        int x;
        const char* const* ppszNames;
    } lists[] = {
        {kDragLeft, 540, (const char* const[]){"1 Keeper", "2 Back", "3 Back", "4 Midfield", "5 Forward", nullptr}},
        {kDragRight, 670, (const char* const[]){"12 Keeper", "13 Back", "14 Midfield", "15 Forward", nullptr}},
    };
    for (const auto& entry : lists) {
        auto* pList = static_cast<CXListBoxEx*>(
            AddControl(XCONTROL_LISTBOXEX, entry.x, 318, entry.x + 110, 414, entry.dwID, nullptr));
        pList->SetUp(16, 0, g_hSmallFont, 0, true, nullptr, true, nullptr, false, 0, false, false, false);
        pList->SetUpColumns(entry.x, 318, entry.x + 110, 414, kSquadColumns, false, false, 96, false);
        pList->SetAutoRedraw(false);
        for (const char* const* pp = entry.ppszNames; *pp; ++pp)
            pList->AddString(kPlayerText, "%s", *pp);
        pList->SetAutoRedraw(true);
    }
    // A row that stays where it is: it neither starts a drag nor takes one.
    static_cast<CXListBoxEx*>(FindControl(kDragRight))->EnableRow(3, false);
}

void CControlGallery::AddDropDowns()
{
    static const LISTCOLUMN kChoiceColumns[] = {
        {0, 120, 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
        {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    static const LISTCOLUMN kDateColumns[] = {
        {0, 100, 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
        {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    auto* pCombo = static_cast<CXComboBox*>(AddControl(XCONTROL_COMBOBOX, 300, 440, 420, 536, kCombo, nullptr));
    pCombo->SetUp(16, 6, g_hSmallFont, 3, false, nullptr, true, nullptr, false, 2, false, false, true);
    pCombo->SetUpColumns(300, 440, 420, 536, kChoiceColumns, false, false, 16, false);
    pCombo->SetAutoRedraw(false);
    for (const char* pszFormation : {"4-4-2", "4-3-3", "3-5-2", "5-3-2", "4-5-1"})
        pCombo->AddString(kPlayerText, "%s", pszFormation);
    pCombo->EnableRow(3, false);
    pCombo->SetAutoRedraw(true);

    // Match days of April and May 2001; the popup shows the chosen row's month.
    auto* pDates = static_cast<CXComboList*>(AddControl(XCONTROL_COMBOLIST, 444, 440, 544, 570, kDateCombo, nullptr));
    pDates->SetUp(16, 6, g_hSmallFont, 3, false, nullptr, true, nullptr, false, 2, false, false, true);
    pDates->SetUpColumns(444, 440, 544, 570, kDateColumns, false, false, 16, false);
    pDates->SetAutoRedraw(false);
    for (int nDay : {7, 14, 21, 25, 28}) {
        const CDate date(2001, 4, nDay);
        pDates->AddString(kPlayerText, "%d/%d/%d", nDay, 4, 2001);
        pDates->SetItemData(pDates->GetCount() - 1, date.GetValue());
    }
    pDates->AddString(kPlayerText, "5/5/2001");
    pDates->SetItemData(pDates->GetCount() - 1, CDate(2001, 5, 5).GetValue());
    pDates->SetAutoRedraw(true);
}

void CControlGallery::AddGraphs()
{
    constexpr COLORREF kAxis = plat::RGB(200, 200, 200), kLabel = plat::RGB(220, 220, 220);
    constexpr COLORREF kZero = plat::RGB(240, 180, 0);
    auto* pLine = static_cast<CXGraph*>(AddControl(XCONTROL_GRAPH, 110, 524, 320, 566, kLineGraph, nullptr));
    pLine->SetUp(GRAPH_LEFT_AUTOMATIC | GRAPH_LEFT_ZERO_LINE, kAxis, kLabel, 0.0, kZero, kZero);
    pLine->SetYRange(0, 100, 0, 100, false, true, false);
    pLine->SetXAxis(6, 3, 0, 10);
    std::snprintf(pLine->m_szLeftCaption, GRAPH_CAPTION_SIZE, "Balance");
    pLine->SetUpLine(0, 0, 2, plat::RGB(90, 200, 250), GRAPH_LINE_WITH_POINTS, true, true, 0.0, 0);
    for (double dValue : {1200000.0, 1500000.0, 900000.0, -300000.0, 400000.0, 1800000.0})
        pLine->AddValue(0, dValue);

    auto* pBars = static_cast<CXGraph*>(AddControl(XCONTROL_GRAPH, 420, 576 - 52, 640, 566, kBarGraph, nullptr));
    pBars->SetUp(GRAPH_LEFT_AUTOMATIC | GRAPH_ITEM_LABELS, kAxis, kLabel, 55.0, kZero, kZero);
    pBars->SetYRange(0, 100, 0, 100, false, true, false);
    pBars->SetXAxis(4, 3, 0, 0);
    for (int i = 0; i < 4; ++i)
        pBars->SetItemLabel(i, ("Q" + std::to_string(i + 1)).c_str());
    std::snprintf(pBars->m_szLeftCaption, GRAPH_CAPTION_SIZE, "Money");
    pBars->SetUpLine(0, 0, 1, plat::RGB(60, 190, 90), GRAPH_BARS, true, true, 0.0, 0);
    pBars->SetUpLine(0, 1, 1, plat::RGB(220, 70, 60), GRAPH_BARS, true, true, 0.0, 0);
    for (double dValue : {420000.0, 610000.0, 380000.0, 550000.0})
        pBars->AddValue(0, dValue);
    for (double dValue : {350000.0, 480000.0, 520000.0, 300000.0})
        pBars->AddValue(1, dValue);

    // Each toggle shows or hides one series of the bar graph.
    CXSurface* pToggleFace = Shared("btnTog2.bmp");
    AddButton(kIncomeToggle, 690, 520, 84, 26)->SetToggleTextID(pToggleFace, 0, pBars, 0, 0);
    AddButton(kCostsToggle, 690, 552, 84, 26)->SetToggleTextID(pToggleFace, 0, pBars, 1, 0);
    for (uint32_t dwID : {kIncomeToggle, kCostsToggle})
        static_cast<CXButton*>(FindControl(dwID))->SetChecked(1);
    for (uint32_t dwID : {kIncomeToggle, kCostsToggle})
        static_cast<CXButton*>(FindControl(dwID))->SetPressed(1);
}

void CControlGallery::OnListNotify(uint32_t dwScreenID)
{
    CXEditPopup* pPopup = m_pPlayers ? m_pPlayers->CellEditPopup() : nullptr;
    if (dwScreenID != EDIT_POPUP_SCREEN_ID || !pPopup)
        return;
    m_pPlayers->SetColumnText(pPopup->m_nRow, pPopup->m_nColumn,
                              Grouped(static_cast<long long>(pPopup->m_dValue)).c_str());
}

void CControlGallery::OnDestroy()
{
    m_pClicked = m_pRepeats = m_pSliderValue = nullptr;
    m_pSlider = nullptr;
    m_pPlayers = nullptr;
    CXClient::OnDestroy();
    m_pTallFace.reset();
}

void CControlGallery::OnClicked(uint32_t dwID)
{
    CXClient::OnClicked(dwID);
    if (dwID == kNewGame)
        m_Popup.Open();
    if (dwID == kRepeat && m_pRepeats)
        m_pRepeats->SetText("Repeats: %d", ++m_nRepeats);
    if (m_pClicked)
        m_pClicked->SetText("Clicked: %u", dwID);
}

void CControlGallery::OnScroll(uint32_t dwID)
{
    if (dwID == kSlider && m_pSlider && m_pSliderValue)
        m_pSliderValue->SetText("Value: %d", m_pSlider->GetValue());
}

void CControlGallery::OnEndScroll(uint32_t dwID) { OnScroll(dwID); }
