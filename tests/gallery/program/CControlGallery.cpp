#include "CControlGallery.h"

#include "shell/CGame.h"

#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

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
    kLabelBase = 10100,
};

// The list's headers; their captions are the gallery's own.
enum : uint16_t { kNameHeader = 10200, kAgeHeader, kValueHeader, kJoinedHeader };

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

CXSurface* Shared(const char* pszName) { return g_pfnSharedBitmap ? g_pfnSharedBitmap(pszName) : nullptr; }

CXAnimation* Sprite(const char* pszName)
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

}  // namespace

CGalleryPopup::CGalleryPopup()
{
    SetClientRect(560, 420, 200, 120);
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
    FillPlayers(pList);

    m_pSlider = static_cast<CXSlider*>(AddControl(XCONTROL_SLIDER, 300, 360, 500, 378, kSlider, nullptr));
    m_pSlider->SetUp(Sprite("sldTrain.bmp"));
    m_pSlider->SetRange(0, 20);
    m_pSlider->SetPos(5);
    m_pSliderValue = AddLabel(kLabelBase + 8, 300, 392, 200, 18, "Value: 5");
    // Labels draw their frames when shown; the disabled button, the arrows
    // and the linked bar stay as they are.
    ShowAllControls(true);
    // Of the swapping pair only the first shows.
    FindControl(kReplay)->Show(false, true);
    FindControl(kPlay)->Show(true, true);
    return true;
}

void CControlGallery::OnDestroy()
{
    m_pClicked = m_pRepeats = m_pSliderValue = nullptr;
    m_pSlider = nullptr;
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
