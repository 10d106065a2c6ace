#include "screens/NewspaperPage.h"

#include "shell/CFileManager.h"
#include "shell/CFormScript.h"
#include "shell/CGame.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/DeviceContext.h"
#include "platform/Font.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kStripWidth = 454;
constexpr int kStripHeight = 28;
constexpr int kStripX = 93;
constexpr int kStripY = 232;
constexpr plat::Rect kColumnOne{102, 266, 310, 458};
constexpr plat::Rect kColumnTwo{322, 266, 538, 458};
constexpr int kPictureHeight = 160;
constexpr int kPictureClearance = 32;
constexpr int kShortLines = 13;
constexpr int kLongLines = 19;
constexpr float kStripBlend = 0.66f;
constexpr float kPictureBlend = 0.6f;
constexpr size_t kBodyBytes = 2048;
constexpr uint32_t kTextFormat = plat::DT_WORDBREAK | plat::DT_NOPREFIX;

// Table pages of the monthly awards.
constexpr int kTableX = 102;
constexpr int kTableY = 272;
constexpr int kTableColumn = 153;
constexpr int kAwardHeadlineSet = 94;
constexpr int kAwardHeaderSet = 91;
constexpr int kSelectorSet = 89;
constexpr int kMonthNameSet = 128;

// The page's own fonts (height, weight), made when first needed.
struct PageFonts {
    std::unique_ptr<plat::Font> body{plat::Font::create(15, 400, "Arial")};
    std::unique_ptr<plat::Font> smallBody{plat::Font::create(14, 100, "Arial")};
    std::unique_ptr<plat::Font> headlines[4]{
        std::unique_ptr<plat::Font>(plat::Font::create(24, 900, "Arial")),
        std::unique_ptr<plat::Font>(plat::Font::create(18, 700, "Arial")),
        std::unique_ptr<plat::Font>(plat::Font::create(14, 700, "Arial")),
        std::unique_ptr<plat::Font>(plat::Font::create(12, 100, "Arial")),
    };
    std::unique_ptr<plat::Font> tableHeader{plat::Font::create(14, 700, "Arial")};
};

PageFonts& Fonts()
{
    static PageFonts s_fonts;
    return s_fonts;
}

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

// The height a text takes when broken into lines of the width.
int MeasureText(CXSurface* pSurface, plat::Font* pFont, const std::string& text, int nWidth)
{
    if (!pSurface || !pSurface->m_pSurface || text.empty())
        return 0;
    plat::DeviceContext* pDC = pSurface->m_pSurface->getDC();
    pDC->selectFont(pFont);
    plat::Rect rc{0, 0, nWidth, 0};
    const int nHeight =
        pDC->drawText(text.c_str(), static_cast<int>(text.size()), &rc, kTextFormat | plat::DT_CALCRECT);
    pSurface->m_pSurface->releaseDC(pDC);
    return nHeight;
}

void DrawTextIn(CXSurface* pSurface, plat::Font* pFont, const std::string& text, plat::Rect rc, COLORREF crColour)
{
    if (!pSurface || !pSurface->m_pSurface || text.empty())
        return;
    plat::DeviceContext* pDC = pSurface->m_pSurface->getDC();
    pDC->selectFont(pFont);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextColor(crColour);
    pDC->drawText(text.c_str(), static_cast<int>(text.size()), &rc, kTextFormat);
    pSurface->m_pSurface->releaseDC(pDC);
}

void DrawHeadline(CXSurface* pDestination, const std::string& text, bool bOdd)
{
    CXSurface strip;
    if (!strip.Create(kStripWidth, kStripHeight, true, false))
        return;
    const COLORREF crStrip = bOdd ? plat::RGB(255, 0, 0) : plat::RGB(0, 0, 0);
    strip.Fill(crStrip);
    plat::Font* pFont = nullptr;
    for (auto& pCandidate : Fonts().headlines) {
        pFont = pCandidate.get();
        if (MeasureText(&strip, pFont, text, kStripWidth) <= kStripHeight)
            break;
    }
    plat::DeviceContext* pDC = strip.m_pSurface->getDC();
    pDC->selectFont(pFont);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextColor(plat::RGB(255, 0, 255));
    plat::Rect rc{0, 0, kStripWidth, kStripHeight};
    pDC->drawText(text.c_str(), static_cast<int>(text.size()), &rc,
                  plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    strip.m_pSurface->releaseDC(pDC);
    pDestination->BlendBltKeyed(pDestination, &strip, kStripX, kStripY, 0, 0, kStripX, kStripY, kStripWidth,
                                kStripHeight, kStripBlend);
}

void DrawNewsPicture(CXSurface* pDestination, int x, int y, int nPicture)
{
    char szName[32];
    std::snprintf(szName, sizeof szName, "News%d.bmp", nPicture);
    CFileManager archive;
    if (!archive.Open("GFX\\Newspaper.BFS"))
        return;
    bool bFound = false;
    long nSize = 0;
    FILE* pFile = archive.Get(szName, &nSize, &bFound);
    auto pPicture = std::make_unique<CXSurface>();
    if (!bFound || !pFile || !pPicture->CreateFromBitmap(pFile, true, false, nSize))
        return;
    pDestination->BlendBlt(pDestination, pPicture.get(), x, y, 0, 0, x, y, pPicture->GetWidth(),
                           pPicture->GetHeight(), kPictureBlend);
}

int Width(const plat::Rect& rc) { return rc.right - rc.left; }

// Column one's part and the rest for column two; false when the rest does
// not fit column two.
bool DrawColumns(CXSurface* pDestination, plat::Font* pFont, const std::string& body, plat::Rect one, plat::Rect two)
{
    auto measure = [&](const std::string& text) { return MeasureText(pDestination, pFont, text, Width(one)); };
    size_t nRest = 0;
    const size_t nKept = FitNewsColumn(body, one.bottom - one.top, measure, &nRest);
    const std::string first = body.substr(0, nKept);
    const std::string rest = nRest < body.size() ? body.substr(nRest) : std::string();
    if (MeasureText(pDestination, pFont, rest, Width(two)) > two.bottom - two.top)
        return false;
    DrawTextIn(pDestination, pFont, first, one, plat::RGB(0, 0, 0));
    DrawTextIn(pDestination, pFont, rest, two, plat::RGB(0, 0, 0));
    return true;
}

void DrawTwoColumnStory(CXSurface* pDestination, const std::string& headline, const std::string& body, bool bSmall)
{
    DrawHeadline(pDestination, headline, !headline.empty() && (static_cast<uint8_t>(headline[0]) & 1));
    plat::Font* pFont = bSmall ? Fonts().smallBody.get() : Fonts().body.get();
    int nHeight = MeasureText(pDestination, pFont, body, Width(kColumnTwo));
    if (nHeight & 1)
        nHeight += kPictureClearance;
    const int nHalf = nHeight / 2;
    if (kColumnOne.top + nHalf <= kColumnOne.bottom) {
        plat::Rect one = kColumnOne, two = kColumnTwo;
        one.bottom = one.top + std::max(nHalf, NEWSPAGE_LINE_HEIGHT);
        two.bottom = kColumnTwo.bottom;
        if (DrawColumns(pDestination, pFont, body, one, two))
            return;
    }
    if (!bSmall) {
        // The page again from its background would lose the headline: the
        // small font's attempt draws over the same strip.
        DrawTwoColumnStory(pDestination, headline, body, true);
    }
}

void DrawShortStory(CXSurface* pDestination, const std::string& headline, const std::string& body, int nPicture)
{
    const bool bOdd = nPicture & 1;
    DrawHeadline(pDestination, headline, bOdd);
    const plat::Rect& text = bOdd ? kColumnTwo : kColumnOne;
    const plat::Rect& picture = bOdd ? kColumnOne : kColumnTwo;
    DrawTextIn(pDestination, Fonts().body.get(), body, text, plat::RGB(0, 0, 0));
    DrawNewsPicture(pDestination, picture.left, picture.top, nPicture);
}

bool DrawStoryWithPicture(CXSurface* pDestination, const std::string& headline, const std::string& body,
                          int nPicture)
{
    plat::Font* pFont = Fonts().body.get();
    const int nLines = MeasureText(pDestination, pFont, body, Width(kColumnTwo)) / NEWSPAGE_LINE_HEIGHT;
    switch (ChooseNewsLayout(nLines)) {
    case NewsLayout::Short:
        DrawShortStory(pDestination, headline, body, nPicture);
        return true;
    case NewsLayout::TwoColumns:
        DrawTwoColumnStory(pDestination, headline, body, false);
        return true;
    case NewsLayout::WithPicture:
        break;
    }
    plat::Rect one = kColumnOne, two = kColumnTwo;
    int nPictureX = one.left, nPictureY = one.top;
    switch (nPicture % 4) {
    case 0:
        one.top += kPictureHeight;
        break;
    case 1:
        two.top += kPictureHeight;
        nPictureX = two.left;
        break;
    case 2:
        one.bottom = one.top + kPictureClearance;
        nPictureY = kColumnOne.bottom - kPictureHeight;
        break;
    default:
        two.bottom = two.top + kPictureClearance;
        nPictureX = two.left;
        nPictureY = kColumnTwo.bottom - kPictureHeight;
        break;
    }
    if (!DrawColumns(pDestination, pFont, body, one, two))
        return false;
    DrawHeadline(pDestination, headline, nPicture & 1);
    DrawNewsPicture(pDestination, nPictureX, nPictureY, nPicture);
    return true;
}

// The monthly award winners: one row per division with the winner, his
// club and the division.
void DrawAwardTablePage(CXSurface* pDestination, const CNewspaperStory& story, CDatabaseHandler* pDatabase,
                        bool bManagers)
{
    char szHeadline[128];
    std::snprintf(szHeadline, sizeof szHeadline, "%s (%s %d)", Text(kAwardHeadlineSet, bManagers ? 7 : 6),
                  Text(kMonthNameSet, story.GetReportMonth()), story.GetReportYear());
    DrawHeadline(pDestination, szHeadline, false);
    const char* const apszHeaders[] = {Text(kAwardHeaderSet, bManagers ? 19 : 90), Text(kSelectorSet, 3),
                                       Text(kSelectorSet, 2)};
    for (int i = 0; i < 3; ++i)
        DrawTextIn(pDestination, Fonts().tableHeader.get(), apszHeaders[i],
                   {kTableX + i * kTableColumn, kTableY, kTableX + (i + 1) * kTableColumn - (i ? 16 : 0),
                    kTableY + NEWSPAGE_LINE_HEIGHT},
                   plat::RGB(0, 0, 0));
    for (uint32_t i = 0; i < story.GetCount(); ++i) {
        const STORYAWARDENTRY* pEntry = story.GetAwardEntry(static_cast<int>(i));
        if (!pEntry || !pDatabase)
            continue;
        const char* pszWinner = "";
        if (bManagers) {
            const auto idManager = static_cast<ID_MANAGER>(pEntry->dwPerson);
            if (const CManagerDatabase* pManager = pDatabase->GetManagerFromID(idManager))
                pszWinner = pManager->GetShortName();
        } else if (const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(pEntry->dwPerson)) {
            pszWinner = pPlayer->GetShortName();
        }
        const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(pEntry->dwClub));
        const CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : nullptr;
        const char* const apszCells[] = {pszWinner, pClub ? pClub->GetName() : "",
                                         pDivision ? pDivision->GetName() : ""};
        const int y = kTableY + 32 + static_cast<int>(i) * 32;
        if (y + NEWSPAGE_LINE_HEIGHT > NEWSPAGE_TOP + 240)
            break;
        for (int c = 0; c < 3; ++c)
            DrawTextIn(pDestination, Fonts().body.get(), apszCells[c],
                       {kTableX + c * kTableColumn, y, kTableX + (c + 1) * kTableColumn - (c ? 16 : 0),
                        y + NEWSPAGE_LINE_HEIGHT},
                       plat::RGB(0, 0, 0));
    }
}

// The team of the month: eleven shirts in their clubs' colours on a pitch,
// each with its player's name.
void DrawAwardPicturePage(CXSurface* pDestination, const CNewspaperStory& story, CDatabaseHandler* pDatabase)
{
    char szHeadline[128];
    std::snprintf(szHeadline, sizeof szHeadline, "%s (%s %d)", Text(kAwardHeadlineSet, 8),
                  Text(kMonthNameSet, story.GetReportMonth()), story.GetReportYear());
    DrawHeadline(pDestination, szHeadline, false);
    if (std::unique_ptr<CXSurface> pPitch{LoadMainArchiveBitmap("PTAwards.bmp", false)})
        CXSurface::Blit(pDestination, pPitch.get(), kStripX, kStripY + kStripHeight + 2);
    static const plat::Point kPlaces[CNewspaperStory::BEST_ELEVEN] = {
        {220, 0},  {60, 50},  {160, 50},  {260, 50},  {360, 50},  {60, 100},
        {160, 100}, {260, 100}, {360, 100}, {160, 150}, {260, 150},
    };
    // Ten pixels lower than the tables, so that the top shirt clears the strip.
    constexpr int kTeamX = 112, kTeamY = 282, kShirtSize = 24, kNameWidth = 96;
    for (int i = 0; i < CNewspaperStory::BEST_ELEVEN && pDatabase; ++i) {
        const int x = kTeamX + kPlaces[i].x, y = kTeamY + kPlaces[i].y;
        const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(story.GetBestElevenClub(i)));
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(story.GetBestElevenPlayer(i));
        if (pClub)
            CGameTitlebar::DrawIcon(pDestination, 0, x - kShirtSize / 2, y - 20,
                                    CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                                    CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]), true);
        if (!pPlayer || !pDestination->m_pSurface)
            continue;
        plat::DeviceContext* pDC = pDestination->m_pSurface->getDC();
        pDC->selectFont(Fonts().smallBody.get());
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->setTextColor(plat::RGB(255, 255, 255));
        plat::Rect rc{x - kNameWidth / 2, y + 6, x + kNameWidth / 2, y + 6 + NEWSPAGE_LINE_HEIGHT};
        pDC->drawText(pPlayer->GetShortName(), -1, &rc, plat::DT_CENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
        pDestination->m_pSurface->releaseDC(pDC);
    }
}

}  // namespace

NewsLayout ChooseNewsLayout(int nLines)
{
    if (nLines < kShortLines)
        return NewsLayout::Short;
    if (nLines > kLongLines)
        return NewsLayout::TwoColumns;
    return NewsLayout::WithPicture;
}

size_t FitNewsColumn(const std::string& text, int nHeight, const std::function<int(const std::string&)>& measure,
                     size_t* pnRest)
{
    size_t nKept = text.size();
    *pnRest = text.size();
    while (nKept > 0 && measure(text.substr(0, nKept)) > nHeight) {
        // Back from the last character kept to a sentence end or a space.
        size_t nCut = nKept;
        while (nCut > 0 && !std::strchr(".!? ", text[nCut - 1]))
            --nCut;
        if (nCut == 0) {
            nKept = 0;
            *pnRest = 0;
            break;
        }
        // A sentence keeps its full stop; a space between words is dropped.
        const bool bSentenceEnd = text[nCut - 1] != ' ';
        nKept = bSentenceEnd ? nCut : nCut - 1;
        *pnRest = bSentenceEnd && nCut < text.size() && text[nCut] == ' ' ? nCut + 1 : nCut;
        if (bSentenceEnd && measure(text.substr(0, nKept)) > nHeight)
            nKept = nCut - 1;  // the stop itself does not fit: cut before it
    }
    return nKept;
}

namespace {

// A scripted story's headline and body (either may be left out), with the
// story's values as a news item carries them.
void ExpandScriptedStory(const CNewspaperStory& story, const CFormScript& script, CDatabaseHandler* pDatabase,
                         char* pszHeadline, size_t nHeadlineBytes, char* pszBody, size_t nBodyBytes)
{
    CNewsItem values(0, story.GetDate());
    for (int i = 0; i < CNewsItem::PARAMETERS; ++i)
        values.SetSlot(i, story.GetParameterSlot(i));
    const ITEMTEXTPARAMETERS params = ITEMTEXTPARAMETERS::FromNewsItem(values, pDatabase);
    const int nEntry = static_cast<int>(story.GetFirstField());
    if (pszBody)
        script.GetEntryText(pszBody, nBodyBytes, nEntry, story.GetLayoutVariant(), params);
    if (pszHeadline)
        script.GetEntryHeadline(pszHeadline, nHeadlineBytes, nEntry, story.GetLayoutVariant(), params);
}

}  // namespace

std::string GetStoryHeadline(const CNewspaperStory& story, const CFormScript& script, CDatabaseHandler* pDatabase)
{
    char szHeadline[256] = {};
    const uint8_t byKind = story.GetKind();
    if (byKind <= STORY_KIND_PLAIN_LAST) {
        ExpandScriptedStory(story, script, pDatabase, szHeadline, sizeof szHeadline, nullptr, 0);
    } else if (byKind == STORY_KIND_PLAYER_AWARDS || byKind == STORY_KIND_MANAGER_AWARDS) {
        std::snprintf(szHeadline, sizeof szHeadline, "%s %d", Text(kMonthNameSet, story.GetReportMonth()),
                      story.GetReportYear());
    } else if (byKind == STORY_KIND_BEST_ELEVEN) {
        // The team of the month is a division's.
        const CDivisionDatabase* pDivision =
            pDatabase ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(story.GetCount())) : nullptr;
        std::snprintf(szHeadline, sizeof szHeadline, "%s (%s %d)", pDivision ? pDivision->GetName() : "",
                      Text(kMonthNameSet, story.GetReportMonth()), story.GetReportYear());
    }
    return szHeadline;
}

void ClearNewspaperPage(CXSurface* pDestination, CXSurface* pPage)
{
    if (pDestination && pPage)
        CXSurface::Blit(pDestination, pPage, NEWSPAGE_LEFT, NEWSPAGE_TOP);
}

void DrawNewspaperStory(const CNewspaperStory& story, CXSurface* pDestination, CXSurface* pPage,
                        const CFormScript& script, CDatabaseHandler* pDatabase)
{
    if (!pDestination || !pDestination->m_pSurface)
        return;
    ClearNewspaperPage(pDestination, pPage);
    const uint8_t byKind = story.GetKind();
    if (byKind <= STORY_KIND_PLAIN_LAST) {
        char szBody[kBodyBytes] = {}, szHeadline[256] = {};
        ExpandScriptedStory(story, script, pDatabase, szHeadline, sizeof szHeadline, szBody, sizeof szBody);
        const CFormScript::Entry* pEntry = script.GetEntry(static_cast<int>(story.GetFirstField()));
        const int nPicture = pEntry ? pEntry->abyPictures[0] : 0;
        if (nPicture == 0 || !DrawStoryWithPicture(pDestination, szHeadline, szBody, nPicture))
            DrawTwoColumnStory(pDestination, szHeadline, szBody, false);
        return;
    }
    if (byKind == STORY_KIND_PLAYER_AWARDS || byKind == STORY_KIND_MANAGER_AWARDS)
        DrawAwardTablePage(pDestination, story, pDatabase, byKind == STORY_KIND_MANAGER_AWARDS);
    else if (byKind == STORY_KIND_BEST_ELEVEN)
        DrawAwardPicturePage(pDestination, story, pDatabase);
    else
        DebugLog(2, "[DrawNewspaperStory] Story kind %d is drawn as an empty page", byKind);
}
