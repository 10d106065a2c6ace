#include "screens/CClientTablesStaticsReferees.h"

#include "shell/CGame.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CRefereeDatabase.h"
#include "season/CSaveGame.h"
#include "season/MatchRecords.h"
#include "xframework/CXListBox.h"

#include <algorithm>

namespace {

constexpr int kRowHeight = 16;
constexpr int kListTop = 60;
constexpr int kCaptionSet = 166;
// "Nothing to show yet".
constexpr int kEmptyTextSet = 114, kEmptyTextItem = 26;
constexpr COLORREF kText = 0xFFFFFF;
constexpr int kBookings = 0, kSendingsOff = 1, kFouls = 2, kPenalties = 3;

#define COLUMN(l, r, align, header, sort) {l, r, 4, 0, align, 0, header, sort, 0}
const LISTCOLUMN kColumns[] = {
    COLUMN(0, 176, 0, 175, LISTSORT_AFTER_BLANK), COLUMN(176, 214, 6, 176, LISTSORT_NUMBER),
    COLUMN(214, 238, 6, 975, LISTSORT_NUMBER),    COLUMN(238, 262, 6, 978, LISTSORT_NUMBER),
    COLUMN(262, 300, 6, 173, LISTSORT_NUMBER),    COLUMN(300, 338, 6, 174, LISTSORT_NUMBER),
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
#undef COLUMN

}  // namespace

CClientTablesStaticsReferees::CClientTablesStaticsReferees() { m_wScreenID = SCREEN_TABLES_REFEREES; }

const LISTCOLUMN* CClientTablesStaticsReferees::Columns() const { return kColumns; }

int CClientTablesStaticsReferees::ListBottom() const { return kListTop + kRowHeight * m_nListRows; }

bool CClientTablesStaticsReferees::OnInitDialog()
{
    m_nListRows = 1;
    return OpenList({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION}, ParameterDivision(), false,
                    kInitialFilter);
}

void CClientTablesStaticsReferees::AddRefereeMatch(std::vector<REFEREETOTALS>& totals,
                                                   const MATCHHISTORYHEADER& header)
{
    auto found = std::find_if(totals.begin(), totals.end(),
                              [&](const REFEREETOTALS& entry) { return entry.wRefereeID == header.wRefereeID; });
    if (found == totals.end()) {
        totals.push_back(REFEREETOTALS());
        found = totals.end() - 1;
        found->wRefereeID = header.wRefereeID;
    }
    const uint8_t* pFigures = header.Result.abyRefereeStatistics;
    ++found->nMatches;
    found->nBookings += pFigures[kBookings];
    found->nSendingsOff += pFigures[kSendingsOff];
    found->nFouls += pFigures[kFouls];
    found->nPenalties += pFigures[kPenalties];
}

void CClientTablesStaticsReferees::FillTable()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pList || !pDatabase)
        return;
    ClearList(*pList);
    m_Totals.clear();
    auto ofDivision = [&](ID_CLUB idClub) {
        const CClubDatabase* pClub = pDatabase->GetClubFromID(idClub);
        return pClub && m_pDivision && pClub->m_pDivision == m_pDivision;
    };
    pDatabase->ReadAllMatchHeaders([&](const MATCHHISTORYHEADER& header) {
        if (header.byMatchKind < 32 && (m_nFilter >> header.byMatchKind & 1u) &&
            (ofDivision(header.wHomeClub) || ofDivision(header.wAwayClub)))
            AddRefereeMatch(m_Totals, header);
    });
    // The list stands as high as its rows.
    m_nListRows = ListRows(static_cast<int>(m_Totals.size()));
    pList->SetUpColumns(0, kListTop, 640, ListBottom(), kColumns, true, false, ListBottom() - kListTop, false);
    for (const REFEREETOTALS& entry : m_Totals) {
        const CRefereeDatabase* pReferee = pDatabase->FindReferee(entry.wRefereeID);
        const int nRow = pList->AddString(kText, "%s\t%d\t%d\t%d\t%d\t%d", pReferee ? pReferee->GetName() : "?",
                                          entry.nMatches, entry.nBookings, entry.nSendingsOff, entry.nFouls,
                                          entry.nPenalties);
        if (nRow >= 0)
            pList->SetItemData(nRow, entry.wRefereeID);
    }
    // Before the first match there is no referee to list: the empty list says
    // so, as the game's other empty lists do.
    if (m_Totals.empty())
        pList->AddString(kText, "%s", GetTableTextOrEmpty(kEmptyTextSet, kEmptyTextItem));
    EndFill(*pList, kCaptionSet);
}
