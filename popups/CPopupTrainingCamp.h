#pragma once
// The booking of a training camp for the human's club (screen id 46): its
// length, the kind of camp (the longer kinds need more days), the lodgings
// and an extra, and a start date on which the whole camp meets no fixture
// of the club and no camp already booked; the end date and the price (the
// daily rates times the squad's size and the days) follow the choices. OK
// stores the booking with the human's training manager and marks its first
// and last day in the country's events; the season's work pays for it and
// trains by it. The screens that book camps each own one.
#include "shell/CGamePopup.h"

#include "common/CDate.h"

#include <array>
#include <cstdint>
#include <vector>

class CClubDatabase;
class CDatabaseHandler;
class CSaveGame;
class CXComboBox;

class CPopupTrainingCamp : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 46;
    enum : uint32_t {
        ID_FIRST_CHOICE = 484,
        ID_START = 485,
        ID_LENGTH = 486,
        ID_SECOND_CHOICE = 487,
        ID_THIRD_CHOICE = 488,
        ID_START_BAR = 901,
        ID_END = 1136,
        ID_PRICE = 1137,
    };
    static constexpr std::array<int, 4> kLengths = {3, 7, 10, 14};
    // By row: the fewest days of the camp kind, its daily rate a player and
    // the daily rate of the lodgings of the same row.
    struct RATE {
        int nMinimumDays;
        int nFirstRate;
        int nSecondRate;
    };
    static constexpr std::array<RATE, 3> kRates = {{{3, 150, 25}, {7, 300, 50}, {10, 600, 75}}};
    // A camp starts a week from today at the earliest.
    static constexpr int kNoticeDays = 7;
    // Messages: the date chosen is no longer free.
    static constexpr int kMessageDateTaken = 92;

    CPopupTrainingCamp();

    // The camp kinds a camp of these days may be.
    static std::vector<int> FirstChoicesFor(int nDays);
    static int32_t Price(int nFirstChoice, int nSecondChoice, int nSquadSize, int nDays);
    // Whether a camp of the days from the start meets a fixture of the club
    // or a camp the human has booked.
    static bool IsStartFree(const CDatabaseHandler& database, const CSaveGame& human, const CDate& start, int nDays);
    // The start dates on offer: from a week on, every day whose camp ends
    // before the season does and is free; bNoDaysLeft says that the season
    // has too few days left for the camp at all.
    static std::vector<CDate> StartDates(const CDatabaseHandler& database, const CSaveGame& human, int nDays,
                                         bool* pbNoDaysLeft);

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;

    CXComboBox* Box(uint32_t dwID) const;
    int GetDays() const;
    CDate GetStart() const;
    // The index in the human's camp list of the camp OK booked, -1 before.
    int GetBookedIndex() const { return m_nBookedIndex; }

private:
    void FillLengths();
    void FillFirstChoices();
    void FillStartDates();
    void ShowEndDate();
    void ShowPrice();
    bool Book();
    CSaveGame* Human() const;
    const CClubDatabase* Club() const;

    bool m_bFilling = false;
    int m_nBookedIndex = -1;
};
