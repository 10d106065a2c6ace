#pragma once
// Newspaper stories of a country (and of a human manager's scrapbook):
// stories waiting to be printed and the printed ones, which are saved.
#include <cstdint>
#include <vector>

#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CCountryDatabase;
class CDatabaseHandler;
class CDivisionDatabase;

// Story kinds: 0-5 plain stories with a parameter block, then the awards.
enum {
    STORY_KIND_PLAIN_LAST = 5,
    STORY_KIND_PLAYER_AWARDS = 6,
    STORY_KIND_MANAGER_AWARDS = 7,
    STORY_KIND_BEST_ELEVEN = 8,
};

// One award line: per division the person (player or manager) and his club.
struct STORYAWARDENTRY {
    uint32_t dwDivision = 0;
    uint32_t dwPerson = 0;
    uint32_t dwClub = 0;
};

class CNewspaperStory {
public:
    static constexpr int PARAMETERS = 21;
    static constexpr int BEST_ELEVEN = 11;
    static constexpr int HEADER_FILE_SIZE = 17;

    // A new story of the game date: layout and count drawn at random, the
    // parameter block at its defaults.
    CNewspaperStory(uint8_t byKind, uint16_t wParameter, const CDate& date);
    ~CNewspaperStory();
    CNewspaperStory(const CNewspaperStory&) = delete;
    CNewspaperStory& operator=(const CNewspaperStory&) = delete;
    // Reads one story; null (logged) when it is cut short or damaged.
    static CNewspaperStory* Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;
    CNewspaperStory* Copy() const;

    uint8_t GetKind() const { return m_byKind; }
    const CDate& GetDate() const { return m_Date; }
    uint32_t GetCount() const { return m_dwCount; }
    // Kind 8 keeps its division's id byte here.
    void SetCount(uint32_t dwCount)
    {
        if (m_byKind == STORY_KIND_BEST_ELEVEN)
            m_dwCount = dwCount;
    }
    uint8_t GetReadMask() const { return m_byReadMask; }
    void SetReadMask(uint8_t byMask) { m_byReadMask = byMask; }
    uint16_t GetParameter() const { return m_wParameter; }
    uint8_t GetLayoutVariant() const { return m_byLayoutVariant; }
    // Kinds 0-5: the value given when the story was printed.
    uint32_t GetFirstField() const { return m_dwFirstField; }
    void SetFirstField(uint32_t dwValue) { m_dwFirstField = dwValue; }
    // Parameter slots 0-20 of kinds 0-5; slots 0-5 hold identifiers (clubs
    // A and B, two records, country, division).
    uint32_t GetParameterSlot(int nSlot) const;
    void SetParameterSlot(int nSlot, uint32_t dwValue);
    // Award entries of kinds 6 and 7.
    const STORYAWARDENTRY* GetAwardEntry(int nIndex) const;
    void SetAwardEntries(const STORYAWARDENTRY* pEntries, int nCount);
    // Kind 8: the eleven clubs and players.
    uint32_t GetBestElevenClub(int nIndex) const;
    uint32_t GetBestElevenPlayer(int nIndex) const;
    void SetBestEleven(int nIndex, uint32_t dwClub, uint32_t dwPlayer);

    // After the world is loaded: the identifiers of slots 0, 1, 4 and 5
    // become records, the two record slots are cleared.
    void SetupPointers(CDatabaseHandler* pHandler);
    CClubDatabase* GetClubA() const { return m_pClubA; }
    CClubDatabase* GetClubB() const { return m_pClubB; }
    CCountryDatabase* GetStoryCountry() const { return m_pCountry; }
    CDivisionDatabase* GetStoryDivision() const { return m_pDivision; }

    // The month and year the story reports on: the month before its date.
    int GetReportMonth() const { return m_Date.GetMonth() == 1 ? 12 : m_Date.GetMonth() - 1; }
    int GetReportYear() const { return m_Date.GetMonth() == 1 ? m_Date.GetYear() - 1 : m_Date.GetYear(); }

private:
    CNewspaperStory() = default;
    void SetDefaultParameters();
    void FreeData();

    uint32_t m_dwFirstField = 0;          // kinds 0-5
    STORYAWARDENTRY* m_pAwards = nullptr;  // kinds 6 and 7, m_dwCount long
    uint32_t* m_pBestEleven = nullptr;     // kind 8: 11 clubs then 11 players
    CDate m_Date;
    uint8_t m_byKind = 0;
    uint32_t m_dwCount = 0;
    uint8_t m_byReadMask = 0;
    uint16_t m_wParameter = 0;
    uint8_t m_byLayoutVariant = 0;
    uint32_t m_adwParameters[PARAMETERS] = {};
    CClubDatabase* m_pClubA = nullptr;
    CClubDatabase* m_pClubB = nullptr;
    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
};

class CNewspaperStoryList {
public:
    CNewspaperStoryList() = default;
    ~CNewspaperStoryList();
    CNewspaperStoryList(const CNewspaperStoryList&) = delete;
    CNewspaperStoryList& operator=(const CNewspaperStoryList&) = delete;

    // The class-wide root, for the game date and the lookups after a load.
    static void SetDatabaseHandler(CDatabaseHandler* pHandler) { m_pDatabaseHandler = pHandler; }

    CNewspaperStory* AddPendingStory(uint8_t byKind, uint16_t wParameter);
    // Moves a pending story to the printed list with its first field; false
    // when it is not pending.
    bool PublishStory(CNewspaperStory* pStory, uint32_t dwFirstField);
    void AddStory(CNewspaperStory* pStory) { m_lstPrinted.AddTail(pStory); }
    // Unlinks a printed story without freeing it; false when absent.
    bool RemoveStory(CNewspaperStory* pStory);
    bool DeleteStory(CNewspaperStory* pStory);
    bool DeletePendingStory(CNewspaperStory* pStory);
    // Frees the printed stories whose date plus nDays lies before today.
    void RemoveOldStories(int nDays);
    // Printed stories the human in the slot has not read.
    int CountUnreadStories(int nSlot) const;

    // The month's award stories, printed at once; null (nothing printed)
    // when no league is in its season or no award winner is found. The
    // winners' human clubs are told.
    CNewspaperStory* AddPlayerAwards(const CCountryDatabase& country);
    CNewspaperStory* AddManagerAwards(const CCountryDatabase& country);
    // Null unless all eleven players are found.
    CNewspaperStory* AddBestElevenStory(const CDivisionDatabase& division);
    const CXList& GetPrintedStories() const { return m_lstPrinted; }
    const CXList& GetPendingStories() const { return m_lstPending; }
    void RemoveAll();

    // The printed stories only: u32 count, then each story.
    bool Save(CBinaryWriter& writer) const;
    // Replaces the printed stories with those read; false (logged, nothing
    // kept) on a cut or damaged list.
    bool Load(CBinaryReader& reader);
    void SetupPointers();

private:
    CNewspaperStory* AddAwardStory(uint8_t byKind, const std::vector<STORYAWARDENTRY>& entries);

    static CDatabaseHandler* m_pDatabaseHandler;

    CXList m_lstPrinted;  // CNewspaperStory
    CXList m_lstPending;  // CNewspaperStory, never saved
};
