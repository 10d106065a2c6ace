#pragma once
// The advertising hoardings around a human manager's pitch: 42 boards in
// four rows, advertisers' offers of a sum per payment for a number of boards
// over a number of weekly payments, the contracts that run, and the history
// file "Temp%d.hhs" of what each step earned. Computer clubs receive a fixed
// hoardings income from the same table (Data\Tables\Hoard.TXT).
#include <cstdint>

#include "common/CDate.h"
#include "common/CXList.h"

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CRangeTable;
class CSaveGame;

enum {
    HOARDINGS_0 = 0,  // 9 boards
    HOARDINGS_1 = 1,  // 9 boards
    HOARDINGS_2 = 2,  // 12 boards
    HOARDINGS_3 = 3,  // 12 boards
};

struct HOARDING {
    uint32_t dwAmount = 0;
    uint8_t byAdvertiser = 255;  // 255: empty
    uint8_t byPaymentsLeft = 0;
    uint8_t byStarted = 0;
};

struct ADVERTISER {
    uint8_t byId = 0;  // 1-49
    uint8_t byPayments = 0;
    uint8_t byBoardsWanted = 0;
    uint8_t byBoardsPlaced = 0;
    int8_t nMinimumBoards = 1;
    uint32_t dwAmount = 0;
    uint8_t byShortRows = 0;  // may take boards of directions 0 and 1
    uint8_t byLongRows = 0;   // may take boards of directions 2 and 3
    uint16_t wEndYear = 0;
    uint8_t byEndMonth = 0;
    uint8_t byEndDay = 0;
};

class CHoardingsManager {
public:
    static constexpr int SHORT_ROW = 9;
    static constexpr int LONG_ROW = 12;
    static constexpr int BOARDS = 2 * SHORT_ROW + 2 * LONG_ROW;
    static constexpr uint8_t EMPTY = 255;
    static constexpr int HIGHEST_ID = 49;
    static constexpr int CATEGORY = 45;
    static constexpr int ADVERTISER_BYTES = 20;
    static constexpr int BOARD_BYTES = 8;
    static constexpr int HISTORY_BYTES = 8;

    explicit CHoardingsManager(CSaveGame* pSaveGame);
    ~CHoardingsManager() { RemoveAll(); }
    CHoardingsManager(const CHoardingsManager&) = delete;
    CHoardingsManager& operator=(const CHoardingsManager&) = delete;

    // The hoardings table, read again; false (logged) when it is refused.
    static bool LoadTable();
    static const CRangeTable& GetTable();

    void RemoveAll();
    void Reset();
    bool Save(CBinaryWriter& writer) const;
    // Replaces everything with what is read; false (logged, manager emptied)
    // when the section is cut short or damaged.
    bool Load(CBinaryReader& reader);

    HOARDING* GetHoardings(int nDirection, int nIndex);
    int CountEmptyBoards(int nMask) const;
    int32_t GetTotalIncome() const;
    bool IsAdvertiserPlaced(uint8_t byId) const;
    ADVERTISER* FindOffer(uint8_t byId) const;
    ADVERTISER* FindContract(uint8_t byId) const;
    ADVERTISER* FindBestOffer(int nFree, int nMask) const;
    bool PlaceAdvertiser(ADVERTISER* pOffer, int nMask);
    void AutoFill();
    void StartContracts();
    int32_t CollectIncome(int* pnBoardsPaid);
    void RemoveExpiredContracts();
    void GenerateOffers();
    void DailyStep();
    const char* GetHistoryFileName() const;

    static void AddComputerClubHoardingsIncome(CClubDatabase* pClub);

    const CXList& GetOffers() const { return m_lstOffers; }
    const CXList& GetContracts() const { return m_lstContracts; }
    // Offers are owned by the manager; the hoardings screen adds through here.
    void AddOffer(const ADVERTISER& offer) { m_lstOffers.AddTail(new ADVERTISER(offer)); }

private:
    CClubDatabase* GetClub() const;
    HOARDING* Board(int nDirection, int nIndex);
    const HOARDING* Board(int nDirection, int nIndex) const;

    // Directions 0, 1, 3, 2: also their order on file.
    HOARDING m_aDirection0[SHORT_ROW];
    HOARDING m_aDirection1[SHORT_ROW];
    HOARDING m_aDirection3[LONG_ROW];
    HOARDING m_aDirection2[LONG_ROW];
    CSaveGame* m_pSaveGame;
    CXList m_lstOffers;     // ADVERTISER
    CXList m_lstContracts;  // ADVERTISER
};
