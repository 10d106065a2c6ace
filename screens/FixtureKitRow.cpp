#include "screens/FixtureKitRow.h"

#include "popups/CPopupAdvancedMatchDetails.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/KitClash.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXListBox.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kTransparent = 0xFF00FF;
constexpr int kClubNotShown = 66;

COLORREF ClubColour(const CDatabaseHandler& database, const CClubDatabase* pClub)
{
    const CSaveGame* pHuman = database.GetSaveGameForClub(pClub);
    return pHuman ? pHuman->GetColourForClub() : kWhite;
}

}  // namespace

FixtureKitRow::FixtureKitRow(uint32_t dwMatchID, const CClubDatabase* pHome, const CClubDatabase* pAway)
    : m_dwMatchID(dwMatchID), m_pHome(pHome), m_pAway(pAway)
{
    m_bAwayKit = ShouldWearAwayKit(pHome, pAway);
    m_pKitSurface = std::make_unique<CXSurface>();
    if (!m_pKitSurface->Create(2 * kShirtSize, kShirtSize, false, true)) {
        m_pKitSurface.reset();
        return;
    }
    m_pKitSurface->Fill(kTransparent);
    if (pHome)
        CGameTitlebar::DrawIcon(m_pKitSurface.get(), 0, 0, 0, CGameTitlebar::GetKitColour(pHome->m_abyAttributes[0]),
                                CGameTitlebar::GetKitColour(pHome->m_abyAttributes[1]), false);
    if (pAway) {
        const int nKit = m_bAwayKit ? 2 : 0;
        CGameTitlebar::DrawIcon(m_pKitSurface.get(), 0, kShirtSize, 0,
                                CGameTitlebar::GetKitColour(pAway->m_abyAttributes[nKit]),
                                CGameTitlebar::GetKitColour(pAway->m_abyAttributes[nKit + 1]), false);
    }
    m_pHomeShirt = std::make_unique<CXAnimation>();
    m_pHomeShirt->Setup(m_pKitSurface.get(), kShirtSize, kShirtSize, 0, 0, 1, 1);
    m_pAwayShirt = std::make_unique<CXAnimation>();
    m_pAwayShirt->Setup(m_pKitSurface.get(), kShirtSize, kShirtSize, kShirtSize, 0, 1, 1);
}

FixtureKitRow::~FixtureKitRow() = default;

int FixtureKitRow::AddTo(CXListBox& list, const CDatabaseHandler& database, const char* pszScore, uint32_t dwItemData)
{
    const int nRow = list.AddString(kWhite, "%s\t%s\t%s", m_pHome ? m_pHome->GetName() : "", pszScore,
                                    m_pAway ? m_pAway->GetName() : "");
    if (nRow < 0)
        return nRow;
    list.AddColumnColour(nRow, 0, ClubColour(database, m_pHome));
    list.AddColumnColour(nRow, 2, ClubColour(database, m_pAway));
    list.SetItemData(nRow, dwItemData);
    if (m_pHomeShirt)
        list.AddAlignedColumnGraphic(nRow, m_pHomeShirt.get(), 0, 0, true);
    if (m_pAwayShirt)
        list.AddAlignedColumnGraphic(nRow, m_pAwayShirt.get(), 2, 2, true);
    return nRow;
}

bool FixtureKitRow::ExplainClubOfColumn(int nColumn) const
{
    const CClubDatabase* pClub = nColumn == 0 ? m_pHome : nColumn == 2 ? m_pAway : nullptr;
    if (!pClub || (pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_LEAGUE))
        return false;
    ShowGameMessageBox(CGameMessageBox::MODE_OK, kClubNotShown);
    return true;
}

void FixtureKitRow::OnDoubleClick(int nColumn, bool bMatchDay) const
{
    if (nColumn == 1) {
        if (m_bPlayed)
            GetAdvancedMatchDetailsPopup().Show(m_dwMatchID, true);
    } else if (!bMatchDay) {
        ExplainClubOfColumn(nColumn);
    }
}
