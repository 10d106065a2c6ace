#pragma once
// The end-of-season archive (screen 41): what a finished season left in the
// archives, for a division (its record holders of the season, the player
// and the manager of the season, the clubs promoted and relegated, and the
// eleven of the season on the awards pitch) or for a whole country (the
// finalists of its seven competitions, the clubs waiting for the two
// European cups, its five top scorers and its five largest fees paid and
// received). The title bar chooses the country, the division (its "all" row
// is the country's view) and the season. The change parameter holds a
// division id in bits 0-7, or a country id with bit 8 set, and the season
// index (0 for 1999 / 2000) in bits 9-16. Opened in July 2024, after the
// last season, it queues the end of the career.
#include "shell/CGameClient.h"

#include "database/SeasonArchiveRecords.h"

#include <cstdint>

class CCountryDatabase;
class CDivisionDatabase;
class CXListBox;

class CClientArchivesEndOfSeason : public CGameClient {
public:
    enum : uint32_t {
        ID_RECORDS = 433,
        ID_PROMOTED = 434,
        ID_RELEGATED = 435,
        ID_AWARDS = 436,
        ID_COMPETITIONS = 437,
        ID_FIRST_CUP_CLUBS = 438,
        ID_SECOND_CUP_CLUBS = 439,
        ID_TOP_SCORERS = 440,
        ID_FEES_PAID = 441,
        ID_FEES_RECEIVED = 442,
        ID_RECORDS_BAR = 901,
        ID_COMPETITIONS_BAR = 902,
        ID_COUNTRY_CHOICE = 1138,
        ID_DIVISION_CHOICE = 1139,
        ID_SEASON_CHOICE = 1141,
    };
    static constexpr int kFirstSeasonYear = 1999;
    static constexpr int kSeasonSelector = 6;
    static constexpr uint32_t kCountryBit = 0x100;
    // The season whose archive closes the career: 2023 / 2024, seen in July 2024.
    static constexpr int kLastYear = 2024;
    static constexpr int kLastMonth = 7;

    static uint32_t MakeDivisionParameter(uint8_t byDivision, int nSeason)
    {
        return byDivision | static_cast<uint32_t>(nSeason & 0xFF) << 9;
    }
    static uint32_t MakeCountryParameter(uint8_t byCountry, int nSeason)
    {
        return byCountry | kCountryBit | static_cast<uint32_t>(nSeason & 0xFF) << 9;
    }

    CClientArchivesEndOfSeason();
    ~CClientArchivesEndOfSeason() override;

    bool OnInitDialog() override;
    void OnSelChange(uint32_t dwID) override;
    void OnPrint() override;
    void ConstructScreen() override;

    // The season rows on the title bar: the finished seasons the country's
    // archives still hold, oldest first, each with its season index.
    void FillSeasonSelector();
    void ShowDivisionArchive();
    void ShowCountryArchive();
    void FillDivisionRecords(const DIVISIONSEASONARCHIVE& archive);
    void FillAwards(const DIVISIONSEASONARCHIVE& archive);
    void FillFirstClubList(const DIVISIONSEASONARCHIVE& archive);
    void FillSecondClubList(const DIVISIONSEASONARCHIVE& archive);
    // The eleven on the awards pitch whose top left corner is at (x, y):
    // shirts in the clubs' colours with each player's and club's names.
    void DrawSeasonEleven(CXSurface* pSurface, int x, int y, const DIVISIONSEASONARCHIVE& archive);

    // How a record row reads: 0 label, player, figure and club; 1 player,
    // figure and club; 2 label, player and club.
    enum RowForm : int { FORM_LABELLED = 0, FORM_PLAIN = 1, FORM_NO_FIGURE = 2 };
    // A row for a {club, player, value} entry; none when the player id is 0.
    void AddPlayerRecordRow(CXListBox* pList, const PERSONREFERENCE& entry, const char* pszLabel, bool bMoney,
                            RowForm form);
    // The same for a {player, club, amount} entry, the amount as money.
    void AddAmountRecordRow(CXListBox* pList, const PERSONREFERENCE& entry, const char* pszLabel, RowForm form);

    const CCountryDatabase* GetCountry() const { return m_pCountry; }
    const CDivisionDatabase* GetDivision() const { return m_pDivision; }
    int GetSeason() const { return m_nSeason; }
    int GetCurrentSeason() const { return m_nCurrentSeason; }
    bool HasArchive() const { return m_bHasArchive; }
    CXListBox* GetList(uint32_t dwID) const;

private:
    void TakeParameter();
    void SetUpTitlebar();
    void SetUpList(uint32_t dwID, uint32_t dwBar, uint32_t dwUp);
    // Clears every list and sets up the view's lists when a record is
    // shown; without one the note says there is nothing yet. Answers
    // whether a record is shown.
    bool PlaceLists(bool bDivision, bool bWithRecord);
    void FillClubList(CXListBox* pList, const uint16_t* pwClubs, int nCount);
    void DrawTabs(int nTableSet, const uint32_t* pIDs, const int* pItems, int nCount);

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    int m_nSeason = 0;
    int m_nCurrentSeason = 0;
    bool m_bHasArchive = false;
    bool m_bFilling = false;
};

CClientArchivesEndOfSeason& GetArchivesEndOfSeasonScreen();
