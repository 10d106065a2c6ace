#pragma once
// One club's matches of one season in date order (screen 27): league and
// play-off fixtures, domestic and European cup ties and friendlies, with
// venue, opponent (derbies and competitions marked), result, score and
// crowd; a filter narrows the competitions. For the human's own club in
// the running season the days still free for a friendly or a camp are
// listed in grey and the days of his booked camps with their mark; its
// bottom buttons arrange a friendly and book a camp through the popups the
// screen owns, and a double click on a friendly or a camp day offers to
// cancel it. A played match opens its details, whose arrows step through
// the list. Finished seasons come from the season history files. The
// change parameter is the club screens': the club in bits 0-15, the season
// index plus one from bit 16 (0 for the running season).
#include "shell/CGameClient.h"

#include "popups/CPopupTrainingCamp.h"
#include "screens/CPopupArrangeFriendly.h"

#include "common/CDate.h"
#include "common/Identifiers.h"

#include <cstdint>
#include <memory>

class CClubDatabase;
class CCountryDatabase;
class CCupFixturesDatabase;
class CDivisionDatabase;
class CDivisionFixturesDatabase;
class CSaveGame;
class CXAnimation;
class CXListBox;
class CXSurface;

class CClientClubSchedule : public CGameClient {
public:
    static constexpr uint16_t kScreenID = 27;
    enum : uint32_t {
        ID_ARRANGE_FRIENDLY = 308,
        ID_BOOK_CAMP = 309,
        ID_LIST = 310,
        ID_SCROLLBAR = 901,
        ID_FILTER = 981,
    };
    // The competition mask: which kinds of match the list shows.
    enum : uint32_t {
        SHOW_LEAGUE = 1,
        SHOW_DOMESTIC_CUPS = 2,
        SHOW_EUROPEAN_CUPS = 4,
        SHOW_FRIENDLIES = 8,
        SHOW_ALL = 15,
    };
    // Row data: a fixture's id, bit 31 once it is played; a camp day the
    // camp's index in the human's list with ROW_CAMP; a free day ROW_FREE_DAY.
    static constexpr uint32_t ROW_PLAYED = 0x80000000u;
    static constexpr uint32_t ROW_FREE_DAY = 0x40000000u;
    static constexpr uint32_t ROW_CAMP = 0x20000000u;
    static constexpr uint32_t ROW_VALUE_MASK = 0x1FFFFFFFu;
    // Silver, set apart from the white match rows yet legible over the
    // pitch lines behind the list (a free day can be booked, it is not
    // disabled).
    static constexpr COLORREF kFreeDayColour = 0xD4CCC4;
    // Message numbers of the two cancelling questions and of a friendly
    // whose date was taken before it could be booked.
    enum : int { MESSAGE_CANCEL_FRIENDLY = 34, MESSAGE_CANCEL_CAMP = 35 };
    // Days before and after a match that are not free.
    static constexpr int kClearDays = 2;

    CClientClubSchedule();
    ~CClientClubSchedule() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnPrint() override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;
    int32_t GetPreviousFixture() override;
    int32_t GetNextFixture() override;

    void Refresh(bool bRefillSeasons);

    const CClubDatabase* GetClub() const { return m_pClub; }
    int GetCurrentSeason() const { return m_nCurrentSeason; }
    int GetSelectedSeason() const { return m_nSelectedSeason; }
    uint32_t GetMask() const { return m_dwMask; }
    CXListBox* GetList() const;
    CPopupArrangeFriendly& GetFriendlyPopup() { return m_FriendlyPopup; }
    CPopupTrainingCamp& GetCampPopup() { return m_CampPopup; }

private:
    bool IsCurrentSeason() const { return m_nSelectedSeason >= m_nCurrentSeason; }
    bool IsHumanClub() const;
    CSaveGame* Human() const;
    void AddLeagueFixtureRow(const CDivisionFixturesDatabase& fixture);
    void AddCupFixtureRow(const CCupFixturesDatabase& fixture, bool bDomestic);
    void AddRow(const CDate& date, uint32_t dwFixtureID, bool bPlayed, ID_CLUB idHome, ID_CLUB idAway,
                ID_GROUND idGround, int nHomeGoals, int nAwayGoals, uint8_t byResultKind, CXAnimation* pKindIcon);
    void AddFreeDays();
    void AddCampDays();
    void BookFriendly();
    void CancelFriendly(uint32_t dwFixtureID);
    void CancelCamp(int nIndex);
    int32_t StepFixture(bool bDown);

    CClubDatabase* m_pClub = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CCountryDatabase* m_pCountry = nullptr;
    int m_nCurrentSeason = 0;
    int m_nSelectedSeason = 0;
    uint32_t m_dwMask = SHOW_ALL;
    // The row a cancelling question is about.
    uint32_t m_dwQuestionRow = 0;
    CPopupArrangeFriendly m_FriendlyPopup;
    CPopupTrainingCamp m_CampPopup;
    std::unique_ptr<CXSurface> m_pFilterFace;
    std::unique_ptr<CXSurface> m_pDerbySurface;
    std::unique_ptr<CXSurface> m_pNearDerbySurface;
    std::unique_ptr<CXSurface> m_pCampSurface;
    std::unique_ptr<CXAnimation> m_pDerbyIcon;
    std::unique_ptr<CXAnimation> m_pNearDerbyIcon;
    std::unique_ptr<CXAnimation> m_pCampIcon;
};

CClientClubSchedule& GetClubScheduleScreen();
