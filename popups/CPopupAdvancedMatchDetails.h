#pragma once
// One played match from its history record on three pages: the two
// line-ups with their substitutes, the match's figures side by side as
// shares of a bar in the clubs' colours, and the events of each side with
// the facts of the day (ground, crowd, referee, player of the match). Opened
// from a list of matches, its arrows step through that list without
// closing; a human club's home match opens its match-day money.
#include "popups/CPopupMatchdayFinance.h"
#include "shell/CGamePopup.h"
#include "shell/PlayerRowIcons.h"

#include "database/MatchHistory.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CXAnimation;
class CXListBox;
class CXSurface;

// A popup listing matches, which the match details step through with
// their arrows: the previous or next row's match, -1 past the list's end.
class CMatchListPopup : public CGamePopup {
public:
    virtual int32_t GetPreviousMatch() = 0;
    virtual int32_t GetNextMatch() = 0;
};

class CPopupAdvancedMatchDetails : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 42;
    enum : uint32_t {
        ID_LINEUPS_PAGE = 455,
        ID_STATISTICS_PAGE = 456,
        ID_EVENTS_PAGE = 457,
        ID_FINANCE = 458,
        ID_PREVIOUS = 451,
        ID_NEXT = 450,
        ID_TITLE = 1056,
        ID_HOME_ELEVEN = 447,
        ID_AWAY_ELEVEN = 448,
        ID_HOME_BENCH = 452,
        ID_AWAY_BENCH = 449,
        ID_HOME_EVENTS = 453,
        ID_AWAY_EVENTS = 454,
        ID_GROUND_NAME = 942,
        ID_ATTENDANCE = 1081,
        ID_REFEREE = 1079,
        ID_AWARD = 1082,
        // Home and away value of each figure, in pairs.
        ID_FIRST_FIGURE = 1059,
    };
    enum : int { PAGE_LINEUPS, PAGE_STATISTICS, PAGE_EVENTS };

    // One figure of the match for both sides; as a percentage or a count.
    struct FIGURE {
        int nTitle;
        int nHome;
        int nAway;
        bool bPercent;
    };
    // The figures a record gives: the header's shares of possession and of
    // the play, and the events counted by side.
    static std::vector<FIGURE> GetFigures(const MATCHHISTORYHEADER& header, const MATCHRECORDBODY& body);
    // A side's events as its list shows them: its own, less its own goals,
    // with the other side's own goals, by minute.
    static std::vector<MATCHEVENT> GetListedEvents(const MATCHRECORDBODY& body, bool bHome);

    CPopupAdvancedMatchDetails();
    ~CPopupAdvancedMatchDetails() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    // A player's row of a line-up or of the events opens his details.
    void OnDoubleClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // Opens the popup over the top popup or the screen. From a list, the
    // arrows ask the opener for its previous and next match.
    bool Show(uint32_t dwMatchID, bool bFromList);
    void ShowPage(int nPage);

    int GetPage() const { return m_nPage; }
    uint32_t GetMatchID() const { return m_dwMatchID; }
    bool IsRecordFound() const { return m_bRecordFound; }
    const MATCHHISTORYHEADER& GetHeader() const { return m_Header; }
    CPopupMatchdayFinance& GetFinancePopup() { return m_FinancePopup; }

private:
    bool LoadMatch();
    void StepMatch(bool bNext);
    CXListBox* AddList(uint32_t dwID, uint32_t dwBarID, int nLeft, int nTop, int nRight, int nBottom,
                       const struct LISTCOLUMN* pColumns);
    void FillLineUp(CXListBox* pList, const std::vector<MATCHPLAYERENTRY>& entries, int nFirst, int nLast);
    void FillEvents(CXListBox* pList, bool bHome);
    void FillFacts();
    void DrawLineUpMarks();
    void DrawFigureBars();
    CXAnimation* EventIcon(const MATCHEVENT& event) const;
    void LoadIcons();

    uint32_t m_dwMatchID = 0;
    bool m_bFromList = false;
    // The screen or popup the popup was opened over.
    class CXClient* m_pOpener = nullptr;
    int m_nPage = PAGE_LINEUPS;
    bool m_bRecordFound = false;
    MATCHHISTORYHEADER m_Header;
    MATCHRECORDBODY m_Body;
    const CClubDatabase* m_pHome = nullptr;
    const CClubDatabase* m_pAway = nullptr;
    CPopupMatchdayFinance m_FinancePopup;
    // The icons of the event kinds, the arrows' faces, the position and
    // role pictures: owned here.
    std::vector<std::unique_ptr<CXAnimation>> m_Icons;
    PlayerRowIcons m_RowIcons;
    std::unique_ptr<CXSurface> m_pArrows;
};

// The one match details popup of the game.
CPopupAdvancedMatchDetails& GetAdvancedMatchDetailsPopup();
