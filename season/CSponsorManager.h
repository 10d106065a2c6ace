#pragma once
// The sponsorship of a human manager's club: offers of three kinds (kit,
// shirt, advertising board), the kit and shirt sponsors signed and waiting
// to start, the ones in place, and six board slots each with a queue of
// waiting sponsors. Computer clubs get a fixed sponsor income from the same
// tables (Data\Tables\Kit.TXT, Shirt.TXT and Advert.TXT).
#include <cstdint>

#include "common/CXList.h"

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CSaveGame;
class CRangeTable;

enum {
    SPONSORFOR_KIT = 0,
    SPONSORFOR_SHIRT = 1,
    SPONSORFOR_BOARD = 2,
};

struct SPONSOR {
    uint8_t byId = 0;   // 1-49; id / 10 picks the money column
    int8_t nTerm = 0;   // years of a kit or shirt contract, payments of a board
    uint32_t dwAmount = 0;
};

class CSponsorManager {
public:
    static constexpr int TYPES = 3;
    static constexpr int BOARD_SLOTS = 6;
    static constexpr int QUEUE_PLACES = 3;
    static constexpr int SPONSOR_BYTES = 8;
    static constexpr int HIGHEST_ID = 49;
    // Finance categories of the three kinds of sponsor money.
    static constexpr int CATEGORY_BOARDS = 46;
    static constexpr int CATEGORY_KIT = 53;
    static constexpr int CATEGORY_SHIRT = 54;
    // Country events that mark a year of a shirt or kit contract.
    static constexpr uint8_t EVENT_SHIRT_YEAR = 1;
    static constexpr uint8_t EVENT_KIT_YEAR = 2;

    explicit CSponsorManager(CSaveGame* pSaveGame);
    ~CSponsorManager() { RemoveAll(); }
    CSponsorManager(const CSponsorManager&) = delete;
    CSponsorManager& operator=(const CSponsorManager&) = delete;

    // The three tables, read again; false (logged) when any is refused.
    static bool LoadTables();
    static const CRangeTable& GetTable(int nType);

    void RemoveAll();
    bool Save(CBinaryWriter& writer) const;
    // Replaces everything with what is read; false (logged, manager empty)
    // when the section is cut short or holds a damaged sponsor.
    bool Load(CBinaryReader& reader);

    int GetNewSponsorsAvailable(int nType) const;
    void GenerateOffers(int nType);
    void ResetOffers();
    void AcceptSponsorOffer(SPONSOR* pSponsor, int nType, int nSlot);
    void CancelSponsor(SPONSOR* pSponsor, int nType, int nSlot);
    void ReplaceSponsor(int nType, int nSlot, SPONSOR* pA, SPONSOR* pB);
    void FillEmptySponsorPlaces();
    int GetKitState() const { return m_pCurrentKit ? 3 : 0; }
    int GetShirtState() const { return m_pCurrentShirt ? 3 : 1; }
    int GetBoardState() const;
    bool CanFillEmptyPlace() const;
    int32_t GetProjectedIncoming(int nType, int nMonth, int nYear) const;
    // A year of the shirt (1) or kit (2) contract has passed.
    void ContractYearElapsed(uint32_t dwParameter);
    // The managed club's daily sponsor step and the periodic offer renewal.
    void DailyStep();
    void RenewOffers();

    static void AddComputerClubSponsorIncome(CClubDatabase* pClub);

    const CXList& GetOffers(int nType) const { return m_alstOffers[nType]; }
    const CXList& GetBoardQueue(int nSlot) const { return m_alstBoardQueues[nSlot]; }
    const SPONSOR* GetAcceptedKit() const { return m_pAcceptedKit; }
    const SPONSOR* GetAcceptedShirt() const { return m_pAcceptedShirt; }
    const SPONSOR* GetCurrentKit() const { return m_pCurrentKit; }
    const SPONSOR* GetCurrentShirt() const { return m_pCurrentShirt; }
    const SPONSOR* GetCurrentBoard(int nSlot) const { return m_apCurrentBoards[nSlot]; }

private:
    int GetRatingBand() const;
    CClubDatabase* GetClub() const;
    void StartContract(SPONSOR*& pCurrent, SPONSOR*& pAccepted, int nCategory, uint8_t byEvent);

    CXList m_alstOffers[TYPES];             // SPONSOR
    CXList m_alstBoardQueues[BOARD_SLOTS];  // SPONSOR
    SPONSOR* m_pAcceptedKit = nullptr;
    SPONSOR* m_pAcceptedShirt = nullptr;
    SPONSOR* m_pCurrentShirt = nullptr;
    SPONSOR* m_pCurrentKit = nullptr;
    SPONSOR* m_apCurrentBoards[BOARD_SLOTS] = {};
    CSaveGame* m_pSaveGame;
};
