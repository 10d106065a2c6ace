#pragma once
// The matches of one league division on one match date (screen 11): its
// league fixtures and the friendlies of its clubs, each row with both
// clubs' shirts and the score, or the totals over both legs of a play-off
// tie. It is also a screen of the match-day sequence: then it shows the
// day's results and its continue leads on to the next queued screen.
#include "screens/FixtureScreenParts.h"
#include "shell/CGameClient.h"

#include "common/CDate.h"

#include <memory>
#include <string>
#include <vector>

class CCountryDatabase;
class CDivisionDatabase;
class CDivisionFixturesDatabase;
class CDatabaseHandler;
class CXListBox;

class CClientTablesStaticsFixtures : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 1036,
        ID_SCROLLBAR = 901,
        ID_COUNTRY_CHOICE = 1138,
        ID_DIVISION_CHOICE = 1139,
        ID_DATE_CHOICE = 1142,
        ID_HOME_HEADER = 1159,
        ID_SCORE_HEADER = 1157,
        ID_AWAY_HEADER = 1160,
    };
    static constexpr int kMaxRows = 16;

    CClientTablesStaticsFixtures();
    ~CClientTablesStaticsFixtures() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnPrint() override;
    void ConstructScreen() override;
    int32_t GetPreviousFixture() override;
    int32_t GetNextFixture() override;

    // The date the screen opens on: the division's next match date from
    // today on (a match day shows its own results); without one, before the
    // country's season change its last fixture's date, else its season start.
    static CDate DefaultViewDate(const CDatabaseHandler& database, const CDivisionDatabase& division);
    // The score text of a league fixture: "-" unplayed; a play-off second
    // leg "(home total) score (away total)" once its first leg is played;
    // a play-off's own score with its extra-time or penalty wording from
    // the match history; otherwise the plain score.
    static std::string LeagueScore(CDatabaseHandler& database, const CDivisionDatabase& division,
                                   const CDivisionFixturesDatabase& fixture);

    void FillTable();
    void ShowDate(const CDate& date);
    CDivisionDatabase* GetDivision() const { return m_pDivision; }
    const CDate& GetViewDate() const { return m_dateView; }
    bool IsMatchDay() const { return m_bMatchDay; }
    CXListBox* GetList() const;
    // The row behind a list row (its item data), null for none.
    const FixtureKitRow* GetRow(int nListRow) const;

private:
    void TakeSelectedDivision();
    void SelectViewDate();

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CDate m_dateView;
    bool m_bMatchDay = false;
    fixture_screens::KitRows m_Rows;
};
