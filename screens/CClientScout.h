#pragma once
// The scout screen (screen 20): the human manager sets each of his club's
// scouts' search criteria, searches the football world with them, picks up
// to 50 of the players found and sends the scout to watch them, for a cost
// in days and money; when the scout is back his reports are read here. The
// criteria live in the manager's scout slots, so they outlast the visit and
// go with the saved game.
#include "shell/CGameClient.h"
#include "shell/PlayerRowIcons.h"

#include "common/Identifiers.h"

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

class CClubDatabase;
class CCountryDatabase;
class CPlayerDatabase;
class CSaveGame;
class CScoutPlayerQuery;
class CStaffDatabase;
class CXAnimation;
class CXListBox;
struct SCOUTSLOT;

class CClientScout : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 202,
        ID_TICK_HEADER = 203,
        ID_FIRST_MINIMUM_SLIDER = 204,
        ID_FIRST_MAXIMUM_SLIDER = 213,
        ID_SEARCH = 222,
        ID_SEND = 223,
        ID_RECALL = 224,
        ID_REGION = 226,
        ID_AVAILABILITY = 227,
        ID_POSITION = 228,
        ID_ROLE = 229,
        ID_AGE_MINIMUM = 230,
        ID_AGE_MAXIMUM = 231,
        ID_VALUE_MINIMUM = 232,
        ID_VALUE_MAXIMUM = 233,
        ID_FIRST_RANGE = 1023,
        ID_COST = 1032,
        ID_DAYS = 1033,
        ID_FOUND = 1034,
        ID_SCROLLBAR = 901,
        ID_SCOUT_SELECTOR = 803,
        ID_MODE_SELECTOR = 804,
    };
    enum : int { MODE_SEARCH = 0, MODE_REPORTS = 1, MODE_YOUTH_REPORTS = 3 };
    // Criteria values that test nothing.
    enum : uint8_t { REGION_HOME = 0, REGION_ABROAD = 1, REGION_ANY = 2 };
    enum : uint8_t { AVAILABLE_ANY = 0, AVAILABLE_OUT_OF_CONTRACT = 1, AVAILABLE_TRANSFER = 2, AVAILABLE_LOAN = 3 };
    static constexpr uint8_t kAnyPosition = 4;
    static constexpr uint8_t kAnyRole = 16;
    static constexpr int kRatingRows = 9;
    static constexpr int kMostTicks = 50;
    static constexpr int kMostMatches = 1001;
    static constexpr int kYoungest = 14, kOldest = 45;

    CClientScout();
    ~CClientScout() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnScroll(uint32_t dwID) override;
    void OnEndScroll(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void ConstructScreen() override;
    void UpdateBars() override;
    void OnPrint() override { PrintControl(ID_LIST); }
    bool CanReturnTo() override { return IsScoutEmployed(); }
    uint32_t GetPreviousListPlayer() override { return StepList(-1); }
    uint32_t GetNextListPlayer() override { return StepList(1); }
    uint32_t GetPreviousPlayer() override { return StepList(-1); }
    uint32_t GetNextPlayer() override { return StepList(1); }

    // Whether the current human's club has a scout in its first scout place.
    static bool IsScoutEmployed();

    // Whether a player meets a scout's criteria; the region compares the
    // country he plays in with the manager's club's.
    static bool MatchesCriteria(const SCOUTSLOT& criteria, const CPlayerDatabase& player,
                                const CCountryDatabase* pHomeCountry);
    // Days and money to watch one player at home or abroad.
    static double ScoutingDays(bool bHome) { return bHome ? 1.0 : 3.0; }
    static int32_t ScoutingCost(bool bHome) { return bHome ? 200 : 1200; }
    // The player's potential as the scout judges it: off by his want of
    // judgement, up or down at random.
    static int GetScoutedRating(const CPlayerDatabase& player, const CStaffDatabase* pScout);

    // Reads the controls back into the selected scout's criteria, each range
    // stored in order.
    void ReadCriteria();
    // Lists the players of the world who meet the criteria (at most 1001).
    void Search();
    // Picks or drops the player of a row; false when the pick is refused.
    bool ToggleTick(int nRow);
    // Sends the selected scout to watch the picked players; false (logged)
    // when none are picked or he cannot go.
    bool StoreScoutPlayerQuery();
    // Calls the selected scout back; what he cost stays paid.
    bool RemoveScoutPlayerQuery();
    // Shows the scout of that row of the scout selector.
    void SelectScout(int nRow);
    void SetMode(int nMode);

    int GetMode() const { return m_nMode; }
    bool IsQueryRunning() const { return m_bQueryRunning; }
    int GetTickedCount() const { return static_cast<int>(m_Ticked.size()); }
    double GetDays() const { return m_fDays; }
    int32_t GetCost() const { return m_nCost; }
    SCOUTSLOT* GetCriteria() const { return m_pCriteria; }
    CXListBox* GetList() const;
    // The scout selected, or null.
    CStaffDatabase* SelectedScout() const;

private:
    void CreateControls();
    void DrawPanel();
    void FillSelectors();
    void FillChoices();
    void UpdateScoutDetails();
    void LoadCriteriaControls();
    void ShowQueryPlayers();
    void ShowReports(bool bYouth);
    void SetUpList(bool bSearch);
    void AddPlayerRow(const CPlayerDatabase& player, int nRating, bool bTicked);
    void FinishList();
    void ShowTotals(int nFound);
    void ShowRange(int nRow);
    void ClearTicks();
    void ShowButton(uint32_t dwID, bool bShown, bool bUsable);
    bool IsHome(const CPlayerDatabase& player) const;
    uint32_t StepList(int nStep);
    CSaveGame* Human() const;

    ID_STAFF m_idReportScout = 0;
    bool m_bYouthReport = false;
    int m_nMode = MODE_SEARCH;
    bool m_bHasScouts = false;
    bool m_bQueryRunning = false;
    bool m_bFilling = false;
    SCOUTSLOT* m_pCriteria = nullptr;
    double m_fDays = 0;
    int32_t m_nCost = 0;
    std::set<ID_PLAYER> m_Ticked;
    PlayerRowIcons m_RowIcons;
    std::unique_ptr<CXAnimation> m_pThumb;
};
