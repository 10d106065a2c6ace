#pragma once
// The running state of one cup (domestic or European): its ties, the clubs
// waiting for a round and the record of one cup inside the whole-database
// file, shared by the domestic cup sets and the European competitions.
#include <cstdint>
#include <functional>

#include "common/CPointerArray.h"
#include "common/CXList.h"
#include "common/Identifiers.h"
#include "database/CClubDatabase.h"
#include "season/CupStructureTable.h"

class CBinaryReader;
class CBinaryWriter;
class CCupFixturesDatabase;

// Why a club is entered for a round; callers pass it, nothing stores it.
// REASON_EUROPEAN_CUP (2) and REASON_LOAD (5) come with the club record.
constexpr uint8_t REASON_LEAGUE = 0;
constexpr uint8_t REASON_DOMESTIC_CUP = 1;
constexpr uint8_t REASON_KNOCKED_OUT = 3;
constexpr uint8_t REASON_PREV_WINNER = 4;
constexpr uint8_t REASON_NOT_ENOUGH_CLUBS = 6;

constexpr uint8_t CUP_MARK_UNSET = 255;

struct CUPTIE {
    uint8_t byWinner = 0;  // 0 home club, 1 away club
    uint8_t byHomeMark = CUP_MARK_UNSET;
    uint8_t byAwayMark = CUP_MARK_UNSET;
    uint8_t byPad = 0;
    ID_CLUB wHomeClub = 0;
    ID_CLUB wAwayClub = 0;
    uint32_t dwFirstMatch = 0;
    uint32_t dwSecondMatch = 0;  // 0 when the round has one match

    void Clear() { *this = CUPTIE(); }
};

// A replay of a level tie, kept from the settlement of its round to the
// day it is played.
enum {
    CUPEXTRA_STATE = 0,
    CUPEXTRA_TIE = 1,   // the next round's tie where the winner goes; CUPEXTRA_NO_TIE until drawn
    CUPEXTRA_INDEX = 2, // its own place in the table
    CUPEXTRA_PAID = 3,  // the winner is paid the round's prize
};
constexpr uint8_t CUPEXTRA_NO_TIE = 255;
struct CUPEXTRA {
    uint8_t abyValues[4] = {};
    uint16_t wValue1 = 0;  // home club of the replay
    uint16_t wValue2 = 0;  // away club
    uint32_t dwValue = 0;  // the replay's match identifier
};

// A club waiting for a round (pending) or one that took part this season
// (listed): club identifier and the 1-based round.
struct CUPENTRY {
    uint32_t dwClub = 0;
    uint8_t byRound = 0;
};

struct CUP {
    // A fresh cup of the definition at round 1, owned by a country (0 for
    // the European competitions); the ties are allocated empty.
    CUP(const ITEMCUPSTRUCTUREINFORMATION& definition, uint8_t byCountry);
    ~CUP();
    CUP(const CUP&) = delete;
    CUP& operator=(const CUP&) = delete;

    CUPTIE* GetTie(int nIndex) const { return static_cast<CUPTIE*>(ties.GetAt(nIndex)); }
    // Ties holding at least one drawn club; an odd count leaves the last tie
    // with a home club only.
    int GetTiesInUse() const { return (wClubsDrawn + 1) / 2; }
    CUPEXTRA* GetExtra(int nIndex) const { return pExtra ? static_cast<CUPEXTRA*>(pExtra->GetAt(nIndex)) : nullptr; }
    // After a draw: each replay record learns the tie where its stand-in
    // club (a draw position whose mark names the record) was drawn.
    void NoteReplayPlaces();
    // Back to round 1: every tie cleared, nothing drawn.
    void Reset(const ITEMCUPSTRUCTUREINFORMATION& definition);
    void FreeExtras();

    uint16_t wTieSlots = 0;
    uint16_t wClubsDrawn = 0;
    uint8_t byRound = 1;
    uint8_t byLegs = 0;
    uint8_t byKind = 0;
    uint8_t byEntryCount = 0;
    uint8_t byEntrantCount = 0;
    uint8_t byCountry = 0;
    uint8_t byRounds = 0;
    uint8_t byExtraCount = 0;
    CPointerArray ties;               // CUPTIE, wTieSlots long
    CPointerArray* pExtra = nullptr;  // CUPEXTRA, only for definitions with the extra flag
};

// Slot of a kind in the four per-kind lists of a domestic cup set (kind 1,
// 0, 3, 5 in that order); -1 for any other kind.
int GetDomesticCupListIndex(int nKind);
// The definition's round (1-based) or null.
const ITEMCUPROUNDINFORMATION* GetDefinitionRound(const ITEMCUPSTRUCTUREINFORMATION* pDefinition, int nRound);
const ITEMCUPENTRYRULE* GetDefinitionEntryRule(const ITEMCUPSTRUCTUREINFORMATION* pDefinition, int nRound);

void FreeCupEntries(CXList& list);
bool IsClubInEntries(const CXList& list, uint32_t dwClub);
void AppendCupEntry(CXList& list, uint32_t dwClub, int nRound);

// The record of one cup kind on file: a 10-byte header, the ties in use,
// the pending entries and the extra records. A kind without a running cup
// writes a header of zeros with only its kind byte set.
bool SaveCupRecord(CBinaryWriter& writer, int nKind, const CUP* pCup, const CXList* pPending, const char* pszOwner);

// Reads what SaveCupRecord wrote. With round 0 in the header there is no
// cup (pCup null, true). Otherwise the cup is rebuilt from the definition
// and its pending entries appended to pPending. False (logged, with nothing
// kept) when the record is cut short or does not fit the definition.
bool LoadCupRecord(CBinaryReader& reader, int nKind, const ITEMCUPSTRUCTUREINFORMATION* pDefinition,
                   uint8_t byCountry, CXList* pPending, const char* pszOwner, CUP*& pCup);

using CupFixtureFinder = std::function<CCupFixturesDatabase*(uint32_t dwMatchID)>;
// Each tie's fixtures, found by match identifier, are linked to the cup and
// the first leg to the second. A fixture that is gone (a draw may remove a
// clashing one) is logged and stays unlinked.
void LinkCupFixtures(CUP* pCup, const CupFixtureFinder& findFixture, const char* pszOwner);

// Entries written as u32 club, u8 round and three zero bytes.
constexpr int CUP_ENTRY_FILE_SIZE = 8;
constexpr int CUP_HEADER_FILE_SIZE = 10;
constexpr int CUP_TIE_FILE_SIZE = 16;
constexpr int CUP_EXTRA_FILE_SIZE = 12;
bool SaveCupEntry(CBinaryWriter& writer, const CUPENTRY& entry);
bool LoadCupEntry(CBinaryReader& reader, CUPENTRY& entry);

class CDatabaseHandler;
// Moves the pending entries of a round into its draw: while the round has room
// (nFree places) each entry goes to addToDraw; entries beyond the room are
// dropped with a log line; an entry whose club no longer exists keeps its
// place in the list, unused. The first nByes entries of the round are not
// drawn: they wait for the next round instead.
void TakePendingIntoDraw(CXList& pending, int nRound, int nFree, const CDatabaseHandler* pHandler,
                         const std::function<void(uint32_t dwClub)>& addToDraw, int nByes = 0);
