#pragma once
// A club's records (screen 25): above, who holds the squad's best figures
// (goals, rating, appearances, awards, cards, the youngest and oldest, the
// fees, the most valuable and best paid) with the figure; below, the club's
// biggest wins and defeats at home and away, its longest runs, its
// highest-scoring match and its highest, average and lowest crowds. The
// title bar chooses the club and what the records cover: the current
// season, a finished one (read from the division's season summaries) or
// all time. The change parameter holds the club id in bits 0-15 and in bits
// 16-23 the season index plus one (0 for the current season); the season
// after the current one is all time.
#include "shell/CGameClient.h"

#include "database/CClubDatabase.h"

#include <cstdint>
#include <string>

class CXListBox;

class CClientClubRecords : public CGameClient {
public:
    enum : uint32_t {
        ID_PLAYER_LIST = 284,
        ID_CLUB_LIST = 285,
        ID_CLUB_BAR = 901,
        ID_PLAYER_BAR = 902,
    };
    static constexpr int kSeasonBase = 1999;
    static constexpr int kSeasonSelector = 6;
    // The message of a retired record holder.
    static constexpr int kRetiredMessage = 442;

    // The player record rows in the order of their labels (table-text set
    // 26): the record slot each shows, or one of the two fee records, and
    // how it shows its figure.
    enum class Shown { Count, Birth, Money };
    struct PLAYERROW {
        int nSlot;
        Shown shown;
    };
    static constexpr int kFeeReceived = -1, kFeePaid = -2;
    static constexpr int kPlayerRowCount = 12;
    static const PLAYERROW kPlayerRows[kPlayerRowCount];

    // What one choice of the season covers.
    struct RECORDS {
        CLUBRECORDENTRY aSlots[CLUB_RECORD_SLOTS] = {};
        CLUBFEERECORD Paid;
        CLUBFEERECORD Received;
        uint8_t abyMatches[CLUBMATCHRECORD::kEntries * CLUBMATCHRECORD::kBytes] = {};
        int32_t nHighestClubs = 0;  // home id, away id << 16
        uint16_t wHighestGoals = 0; // home goals, away goals << 8
        // The longest runs of all, home and away matches: lost, won, drawn.
        uint8_t abyRuns[3][3] = {};
        CLUBATTENDANCE Attendance;
    };

    static uint32_t MakeParameter(uint16_t wClubID, int nSeason)
    {
        return wClubID | (static_cast<uint32_t>((nSeason + 1) & 0xFF) << 16);
    }
    // The records of a finished season out of the club's 364-byte summary.
    static bool ReadSummary(const uint8_t* pRecord, size_t nBytes, RECORDS& records);

    CClientClubRecords();
    ~CClientClubRecords() override;

    bool OnInitDialog() override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnPrint() override;
    void ConstructScreen() override;

    void Refresh(bool bRefillSeasons);
    // The records of the selected season; false (the last ones kept) when a
    // finished season's summary is not found.
    bool UpdateSeasonData();
    void FillSeasonSelector();
    void FillPlayerRecords();
    void FillClubRecords();
    // A match of the shown club: the opponent's short name and the score
    // from the club's side; both empty when neither club is the shown one.
    void FormatMatchRecord(const CLUBMATCHRECORD& record, std::string& opponent, std::string& score) const;
    void FormatHighestScoringMatch(std::string& opponent, std::string& score) const;
    // The runs of a group as words with their lengths; empty without any.
    std::string FormatCompetitionRecord(int nGroup) const;

    const CClubDatabase* GetClub() const { return m_pClub; }
    int GetSelectedSeason() const { return m_nSelectedSeason; }
    int GetCurrentSeason() const { return m_nCurrentSeason; }
    bool IsAllTime() const { return m_nSelectedSeason > m_nCurrentSeason; }
    const RECORDS& GetRecords() const { return m_Records; }
    CXListBox* GetPlayerList() const;
    CXListBox* GetClubList() const;

private:
    const CClubDatabase* m_pClub = nullptr;
    int m_nSelectedSeason = 0;
    int m_nCurrentSeason = 0;
    RECORDS m_Records;
};

CClientClubRecords& GetClubRecordsScreen();
