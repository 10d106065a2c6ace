#pragma once
// The choice of a friendly for the human's club (screen id 45): the
// opponent through a country, one of its leagues and one of that league's
// clubs (never his own), the venue, and a date on which neither club plays
// within two days and no camp of his is booked. OK checks the date once
// more and refuses a date that is no longer free with a message; the club
// schedule screen that owns the popup then books the match.
#include "shell/CGamePopup.h"

#include "common/CDate.h"

#include <cstdint>
#include <vector>

class CClubDatabase;
class CCountryDatabase;
class CDatabaseHandler;
class CDivisionDatabase;
class CSaveGame;
class CXComboBox;

class CPopupArrangeFriendly : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 45;
    enum : uint32_t {
        ID_COUNTRY = 479,
        ID_DIVISION = 480,
        ID_CLUB = 481,
        ID_DATE = 482,
        ID_VENUE = 483,
        ID_CLUB_BAR = 901,
        ID_DATE_BAR = 902,
    };
    enum : uint8_t { VENUE_HOME = 0, VENUE_AWAY = 1 };
    // No date within this many days of a match of either club.
    static constexpr int kClearDays = 2;
    static constexpr int kNoticeDays = 7;
    // The last days of the season take no friendly.
    static constexpr int kSeasonEndDays = 3;
    // Messages: the date is no longer free; no date is free at all.
    static constexpr int kMessageDateTaken = 90;
    static constexpr int kMessageNoDate = 91;

    CPopupArrangeFriendly();

    // Whether the human's club and the opponent can both play on the day.
    static bool IsDateFree(const CDatabaseHandler& database, const CSaveGame& human, const CClubDatabase& opponent,
                           const CDate& date);
    // The dates on offer from a week on to three days before the season's
    // end; bNoDaysLeft says that the season has no such days left.
    static std::vector<CDate> FreeDates(const CDatabaseHandler& database, const CSaveGame& human,
                                        const CClubDatabase& opponent, bool* pbNoDaysLeft);

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;

    CXComboBox* Box(uint32_t dwID) const;
    CClubDatabase* GetOpponent() const { return m_pOpponent; }
    CCountryDatabase* GetCountry() const { return m_pCountry; }
    CDivisionDatabase* GetDivision() const { return m_pDivision; }
    const CDate& GetDate() const { return m_Date; }
    uint8_t GetVenue() const { return m_byVenue; }
    bool HasFreeDates() const { return m_bFreeDates; }

private:
    void FillCountries();
    void FillDivisions();
    void FillClubs();
    void FillVenues();
    void FillDates(uint32_t dwKeep);
    void TakeDivision();
    void TakeOpponent();

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CClubDatabase* m_pOpponent = nullptr;
    CDate m_Date;
    uint8_t m_byVenue = VENUE_HOME;
    bool m_bFreeDates = false;
    bool m_bFilling = false;
};
