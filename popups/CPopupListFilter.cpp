#include "popups/CPopupListFilter.h"

#include "shell/CGame.h"
#include "shell/CSharedBitmaps.h"
#include "shell/CTableText.h"

#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "xframework/CXListBox.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTickColumn = 1;
constexpr COLORREF kRowColour = 0xFFFFFF;
// The panel's navy body, its bevel and its dark edge.
constexpr COLORREF kPanelTop = plat::RGB(0x1f, 0x44, 0x66);
constexpr COLORREF kPanelBottom = plat::RGB(0x18, 0x38, 0x50);
constexpr COLORREF kBevelLight = plat::RGB(0x3a, 0x6f, 0x98);
constexpr COLORREF kBevelDark = plat::RGB(0x0a, 0x18, 0x26);
constexpr COLORREF kEdge = plat::RGB(0x05, 0x0c, 0x14);
// The frame the panel must stay inside, or the pointer could never reach
// what hangs outside it.
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// The text and the tick of a criterion row.
const LISTCOLUMN kColumns[] = {
    {0, 176, 0, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {176, 196, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CXAnimation* Tick()
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite("icnTick.bmp") : nullptr;
}

bool IsHeading(const std::string& entry) { return !entry.empty() && entry[0] == '"'; }

}  // namespace

CPopupListFilter::CPopupListFilter()
{
    m_wScreenID = kScreenID;
    SetPopupRect(0, 0, kWidth, HeightFor({}));
}

std::vector<std::string> CPopupListFilter::TableEntries(int nSet)
{
    std::vector<std::string> entries;
    int nCount = 0;
    const char* const* ppItems = GetTableTextSet(nSet, &nCount);
    for (int i = 0; ppItems && i < nCount && ppItems[i]; ++i)
        entries.emplace_back(ppItems[i]);
    return entries;
}

std::vector<std::vector<CPopupListFilter::Criterion>> CPopupListFilter::SplitIntoGroups(
    const std::vector<std::string>& entries)
{
    std::vector<std::vector<Criterion>> groups(1);
    int nBit = 0;
    for (const std::string& entry : entries) {
        if (IsHeading(entry)) {
            // Headings past the last group add their criteria to it.
            if (static_cast<int>(groups.size()) < kMaxGroups)
                groups.emplace_back();
            continue;
        }
        if (nBit >= kMaxCriteria) {
            DebugLog(0, "[CPopupListFilter] More than %d criteria; \"%s\" left out", kMaxCriteria, entry.c_str());
            continue;
        }
        groups.back().push_back({entry, nBit++});
    }
    return groups;
}

int CPopupListFilter::HeightFor(const std::vector<std::string>& entries)
{
    const auto groups = SplitIntoGroups(entries);
    int nRows = 0;
    for (const auto& group : groups)
        nRows += static_cast<int>(group.size());
    return 2 * kMargin + kRowHeight * nRows + kGroupGap * (static_cast<int>(groups.size()) - 1);
}

bool CPopupListFilter::ShowBesideControl(const std::vector<std::string>& entries, const CXControl* pControl,
                                         uint32_t dwMask)
{
    if (!pControl)
        return false;
    return Show(entries, pControl->m_nRight + 16, pControl->m_nTop - 16, dwMask);
}

bool CPopupListFilter::Show(const std::vector<std::string>& entries, int x, int y, uint32_t dwMask)
{
    if (IsOnStack())
        return false;
    m_Entries = entries;
    m_Groups = SplitIntoGroups(m_Entries);
    m_dwMask = dwMask;
    const CXClient* pOwner = CXPopup::TopPopup();
    if (!pOwner)
        pOwner = g_pCurrentClient;
    const int nOwnerLeft = pOwner ? pOwner->m_nLeft : 0, nOwnerTop = pOwner ? pOwner->m_nTop : 0;
    const int nHeight = HeightFor(m_Entries);
    const int nLeft = std::clamp(nOwnerLeft + x - kWidth, 0, kFrameWidth - kWidth);
    const int nTop = std::clamp(nOwnerTop + y, 0, std::max(0, kFrameHeight - nHeight));
    SetPopupRect(nLeft, nTop, kWidth, nHeight);
    return Open();
}

void CPopupListFilter::ConstructScreen()
{
    // A plain framed panel: the shared popup picture's title band has no
    // place on a panel without a caption.
    delete m_pBackground;
    m_pBackground = new CXSurface;
    const int w = Width(), h = Height();
    if (!m_pBackground->Create(w, h, false, true)) {
        delete m_pBackground;
        m_pBackground = nullptr;
        return;
    }
    m_pBackground->Fill(0xFF00FF);
    m_pBackground->FillGradient(0, 0, w, h, kPanelTop, kPanelBottom);
    const auto line = [this](int x, int y, int nWidth, int nHeight, COLORREF crColour) {
        m_pBackground->FillGradient(x, y, nWidth, nHeight, crColour, crColour);
    };
    line(1, 1, w - 2, 1, kBevelLight);
    line(1, 1, 1, h - 2, kBevelLight);
    line(1, h - 2, w - 2, 1, kBevelDark);
    line(w - 2, 1, 1, h - 2, kBevelDark);
    line(0, 0, w, 1, kEdge);
    line(0, h - 1, w, 1, kEdge);
    line(0, 0, 1, h, kEdge);
    line(w - 1, 0, 1, h, kEdge);
}

CXListBox* CPopupListFilter::GroupList(int nGroup) const
{
    return dynamic_cast<CXListBox*>(FindControl(kFirstGroupID + static_cast<uint32_t>(nGroup)));
}

bool CPopupListFilter::OnInitDialog()
{
    m_wScreenID = kScreenID;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    int y = kMargin;
    for (size_t g = 0; g < m_Groups.size(); ++g) {
        const int nHeight = kRowHeight * static_cast<int>(m_Groups[g].size());
        if (nHeight > 0) {
            const uint32_t dwID = kFirstGroupID + static_cast<uint32_t>(g);
            auto* pList = static_cast<CXListBox*>(
                AddControl(XCONTROL_LISTBOX, kMargin, y, Width() - 2, y + nHeight, dwID, nullptr));
            if (pList) {
                pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, true, nullptr, true, nullptr, false, 0, false, false,
                             false);
                pList->SetUpColumns(kMargin, y, Width() - 2, y + nHeight, kColumns, false, false, nHeight, false);
                pList->SetAutoRedraw(false);
                for (const Criterion& criterion : m_Groups[g]) {
                    const int nRow = pList->AddString(kRowColour, "%s\t", criterion.text.c_str());
                    pList->SetItemData(nRow, static_cast<uint32_t>(criterion.nBit));
                    SetRowTick(pList, nRow);
                }
                pList->SetAutoRedraw(true);
            }
        }
        y += nHeight + kGroupGap;
    }
    ShowAllControls(true);
    for (int g = 0; g < GetGroupCount(); ++g)
        if (CXListBox* pList = GroupList(g))
            pList->Redraw();
    return true;
}

void CPopupListFilter::SetRowTick(CXListBox* pList, int nRow)
{
    pList->DeleteColumnGraphics(nRow, kTickColumn);
    const int nBit = static_cast<int>(pList->GetItemData(nRow));
    if (nBit >= 0 && nBit < kMaxCriteria && (m_dwMask >> nBit & 1))
        if (CXAnimation* pTick = Tick())
            pList->AddAlignedColumnGraphic(nRow, pTick, 6, kTickColumn, true);
}

void CPopupListFilter::ToggleCriterion(int nCriterion)
{
    for (int g = 0; g < GetGroupCount(); ++g) {
        const auto& group = m_Groups[static_cast<size_t>(g)];
        for (size_t r = 0; r < group.size(); ++r) {
            if (group[r].nBit != nCriterion)
                continue;
            const uint32_t dwBit = 1u << nCriterion;
            if (m_dwMask & dwBit) {
                // Each group keeps at least one criterion ticked.
                const bool bOtherTicked = std::any_of(group.begin(), group.end(), [&](const Criterion& other) {
                    return other.nBit != nCriterion && (m_dwMask >> other.nBit & 1);
                });
                if (!bOtherTicked)
                    return;
                m_dwMask &= ~dwBit;
            } else {
                m_dwMask |= dwBit;
            }
            if (CXListBox* pList = GroupList(g)) {
                SetRowTick(pList, static_cast<int>(r));
                pList->RedrawRow(static_cast<int>(r), true);
            }
            return;
        }
    }
}

void CPopupListFilter::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID < kFirstGroupID || dwID >= kFirstGroupID + static_cast<uint32_t>(GetGroupCount()))
        return;
    CXListBox* pList = GroupList(static_cast<int>(dwID - kFirstGroupID));
    if (!pList || pList->GetSelection() < 0)
        return;
    ToggleCriterion(static_cast<int>(pList->GetItemData(pList->GetSelection())));
}

void CPopupListFilter::OnMouseMove(uint32_t flags, int x, int y)
{
    CGamePopup::OnMouseMove(flags, x, y);
    if (m_bDragging || !IsOnStack())
        return;
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        Close();
}

void CPopupListFilter::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    if (dwID < kFirstGroupID || dwID >= kFirstGroupID + static_cast<uint32_t>(GetGroupCount()))
        return;
    if (const char* pszTip = GetTableText(kToolTipSet, kToolTipItem))
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", pszTip);
}

CPopupListFilter& GetListFilterPopup()
{
    static CPopupListFilter s_Popup;
    return s_Popup;
}
