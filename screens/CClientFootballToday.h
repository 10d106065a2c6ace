#pragma once
// The home screen (screen 0) of the current human manager: a calendar of
// the month with the days that hold something marked, the diary of the
// chosen day with his notices under it, the summary of his mail folders,
// and either the league position and finance graphs of his club or, without
// a club, the list of clubs looking for a manager. The day itself is run by
// CGameDay (the continue command's road); this screen shows its outcome.
#include "shell/CGameClient.h"

#include "common/CDate.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDatabaseHandler;
class CSaveGame;
class CXAnimation;
class CXCalendar;
class CXGraph;
class CXListBox;
class CXStatic;
class CXSurface;

class CClientFootballToday : public CGameClient {
public:
    enum : uint32_t {
        ID_CALENDAR = 8,
        ID_DIARY = 9,
        ID_POSITION_LINE = 11,
        ID_POINTS_LINE = 12,
        ID_MANAGER = 13,
        ID_PREVIOUS_MONTH = 16,
        ID_NEXT_MONTH = 17,
        ID_MAIL = 19,
        ID_POSITION_GRAPH = 23,
        ID_FINANCE_GRAPH = 24,
        ID_BALANCE_LINE = 25,
        ID_PROJECTION_LINE = 26,
        ID_VACANCIES = 27,
        ID_MONTH_LABEL = 1016,
    };
    // The icons of the diary list, by frame of the calendar icon strip.
    enum : int { ICON_DIARY = 0, ICON_NOTICE_UNREAD = 1, ICON_NOTICE_READ = 2, ICON_NOTICE_MARKED = 3 };
    // The state byte of a notice: 0 unread, 1-127 read, bit 7 marked.
    static constexpr uint8_t NOTICE_MARKED = 0x80;

    CClientFootballToday();
    ~CClientFootballToday() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnPrint() override;
    // The end of a scenario's message box returns to the start-up screen.
    void OnEndMessageBoxPopup() override;
    void OnEndPopup(CXPopup* pPopup) override;

    // The diary of a day for the human: his country's season start and end,
    // his club's fixture, the country's events that concern the club and the
    // squad's contracts that end, each a "\t"-led row.
    static std::vector<std::string> BuildDiaryRows(CDatabaseHandler& database, const CSaveGame& human,
                                                   const CDate& date);
    // Bit d set for each day d of the month (of the date given) whose diary
    // holds something.
    static uint32_t BuildMonthMarks(CDatabaseHandler& database, const CSaveGame& human, const CDate& month);
    // The screen a notice code opens; -1 for none.
    static int GetNoticeScreen(int nCode);
    // The icon of a notice by its state byte.
    static int GetNoticeIcon(uint8_t byState);
    // A click in the icon column: an unread notice becomes marked, a marked
    // one loses the mark, a read one stays.
    static uint8_t ToggleNoticeMark(uint8_t byState);

    // The navigation bar's request to continue once the screen is shown.
    uint8_t m_bContinueOnShow = 0;
    // Set when the scenario has ended: the screen hands over to the start-up
    // screen instead of building itself.
    uint8_t m_bReturnToStartup = 0;
    // The scenario popup shows how the scenario ended; its closing ends the game.
    uint8_t m_bScenarioOutcomeShown = 0;
    void ShowScenarioOutcome(bool bAchieved);

    CXCalendar* GetCalendar() const { return m_pCalendar; }
    CXListBox* GetDiaryList() const { return m_pDiaryList; }
    CXListBox* GetMailSummaryList() const { return m_pMailSummaryList; }
    CXListBox* GetVacancyList() const { return m_pVacancyList; }
    CXGraph* GetPositionGraph() const { return m_pPositionGraph; }
    CXGraph* GetFinanceGraph() const { return m_pFinanceGraph; }

    void FillDayDiary();
    void AddNoticeRows();
    void FillMailSummary();
    void MarkCalendarMonth();
    void FillVacancyList();
    void FillLeaguePositionGraph();
    void FillFinanceGraph();

private:
    void BuildBackground(bool bHasClub);
    CXListBox* AddList(uint32_t dwID, uint32_t dwBarID, uint32_t dwUpID, uint32_t dwDownID, int nLeft, int nTop,
                       int nRight, int nBottom, const struct LISTCOLUMN* pColumns);
    void AddGraphButtons();
    void UpdateMonthLabel();
    void FreeIcons();

    std::unique_ptr<CXSurface> m_pCalendarIcons;
    std::unique_ptr<CXSurface> m_pMonthButtons;
    std::unique_ptr<CXAnimation> m_apDiaryIcons[4];
    CXListBox* m_pDiaryList = nullptr;
    CXListBox* m_pMailSummaryList = nullptr;
    CXListBox* m_pVacancyList = nullptr;
    CXCalendar* m_pCalendar = nullptr;
    CXStatic* m_pMonthLabel = nullptr;
    CXGraph* m_pPositionGraph = nullptr;
    CXGraph* m_pFinanceGraph = nullptr;
};

// The one home screen object.
CClientFootballToday& GetFootballTodayScreen();
