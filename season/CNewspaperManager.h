#pragma once
// A human manager's news items: messages raised by number from the season
// code, waiting in the incoming list until he files them in his archive,
// where they stay until they expire. The screens turn the number and the
// parameters into words.
#include <cstdint>

#include "common/CDate.h"
#include "common/CXList.h"

class CBinaryReader;
class CBinaryWriter;
class CDatabaseHandler;

// Parameter slots that hold a record's identifier, and the common values.
enum {
    NEWS_SLOT_CLUB_A = 0,
    NEWS_SLOT_CLUB_B = 1,
    NEWS_SLOT_RECORD_A = 2,
    NEWS_SLOT_RECORD_B = 3,
    NEWS_SLOT_COUNTRY = 4,
    NEWS_SLOT_DIVISION = 5,
    NEWS_SLOT_VALUE = 6,  // the raiser's own value: an amount, an offer
    NEWS_SLOT_PERSON = 8,
    NEWS_SLOT_STAFF = 10,
    NEWS_SLOT_SUBTYPE = 11,
};

// The parameter block at creation: slots 0-10 zero, then -1 values, two
// -1.0 floats and the marker bytes the readers expect.
void SetNewsParameterDefaults(uint32_t* pdwSlots);

class CNewsItem {
public:
    static constexpr int PARAMETERS = 21;
    static constexpr int FILE_SIZE = 14 + PARAMETERS * 4;
    static constexpr uint16_t FILED_CATEGORY_KEEPS_PERSON = 7;

    CNewsItem(uint16_t wType, const CDate& date);

    uint16_t GetType() const { return m_wType; }
    uint16_t GetFiledCategory() const { return m_wFiledCategory; }
    uint16_t GetFiledValue() const { return m_wFiledValue; }
    uint32_t GetExtra() const { return m_dwExtra; }
    const CDate& GetDate() const { return m_Date; }
    // Filed items keep their read flag in bit 0 of the type word.
    bool IsRead() const { return (m_wType & 1) != 0; }
    void SetRead(bool bRead) { m_wType = static_cast<uint16_t>(bRead ? (m_wType | 1) : (m_wType & ~1u)); }
    uint32_t GetSlot(int nSlot) const { return nSlot >= 0 && nSlot < PARAMETERS ? m_adwParameters[nSlot] : 0; }
    void SetSlot(int nSlot, uint32_t dwValue)
    {
        if (nSlot >= 0 && nSlot < PARAMETERS)
            m_adwParameters[nSlot] = dwValue;
    }
    void File(uint16_t wCategory, uint16_t wValue);

    void Save(CBinaryWriter& writer) const;
    // One item; null (logged, reader failed) when it is cut short or its
    // date is not a date. Identifiers that name no record become 0.
    static CNewsItem* Load(CBinaryReader& reader, const CDatabaseHandler* pHandler);

private:
    CNewsItem() = default;

    uint16_t m_wType = 0;
    uint16_t m_wFiledCategory = 0;
    uint16_t m_wFiledValue = 0;
    uint32_t m_dwExtra = 0;
    CDate m_Date;
    uint32_t m_adwParameters[PARAMETERS] = {};
};

class CNewspaperManager {
public:
    CNewspaperManager() = default;
    ~CNewspaperManager() { RemoveAllNewsItems(); }
    CNewspaperManager(const CNewspaperManager&) = delete;
    CNewspaperManager& operator=(const CNewspaperManager&) = delete;

    // The class-wide root, for the game date and the lookups of a load.
    static void SetDatabaseHandler(const CDatabaseHandler* pHandler) { m_pHandler = pHandler; }

    // A new incoming item dated today; the caller fills its slots.
    CNewsItem* AddNewsItem(uint16_t wType);
    // Moves an incoming item to the archive; false when it is not incoming.
    bool FileNewsItem(uint8_t byCategory, CNewsItem* pItem, uint16_t wValue);
    bool DeleteNewsItem(CNewsItem* pItem);
    bool DeleteIncomingNewsItem(CNewsItem* pItem);
    void RemoveAllNewsItems();
    void RemoveAllIncomingNewsItems();
    // Frees every archived item whose date plus nDays lies before the date.
    void RemoveExpiredNewsItems(const CDate& date, int nDays);
    int CountUnreadNewsItems() const;
    // The mail folders: 0 the chairman (category 0), 1 the club's staff (1,
    // 2, 3, 4 and 9), 2 the bank (5), 3 the governing body (6), 4 the
    // players (7), 5 other chairmen (8).
    static constexpr int MAIL_FOLDERS = 6;
    static int GetFolderOfCategory(int nCategory);
    // The filed items of a folder, all of them or only the read ones; 0 for
    // a folder outside 0 to 5.
    int CountFolderItems(int nFolder, bool bAll) const;
    const CXList& GetArchive() const { return m_lstArchive; }
    const CXList& GetIncoming() const { return m_lstIncoming; }
    // The newest incoming item of a type, or null.
    CNewsItem* FindIncoming(uint16_t wType) const;
    // The newest incoming item of a type dated the day whose slot holds the
    // value, or null.
    CNewsItem* FindIncoming(uint16_t wType, const CDate& date, int nSlot, uint32_t dwValue) const;

    bool Save(CBinaryWriter& writer) const;
    // Replaces both lists with those read; false (logged, both lists empty)
    // when the section is cut short or damaged.
    bool Load(CBinaryReader& reader);

private:
    static const CDatabaseHandler* m_pHandler;
    CXList m_lstArchive;   // CNewsItem
    CXList m_lstIncoming;  // CNewsItem
};
