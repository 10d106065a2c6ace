#pragma once
// A compiled text-form script: the news, mail and report sentences of one
// kind. A table of entries, each with up to six condition tokens, its
// wording variants (a body and a headline each) and up to six picture
// numbers, and one block of texts in which the at sign followed by a code
// byte marks a value to insert from a parameter block and the database.
//
// File (little-endian): 16-byte header (u32 mark "FMC1", u16 entry count,
// u16 0, u32 text block size, u8 headline table present, u8 picture bytes
// present, u16 0); each entry: six u16 condition tokens (the list ends at the
// first 0), u16 target (what a letter leads to, 0 none), u16 variant count n, 6 picture bytes when present,
// n u32 body offsets, n u32 headline offsets when present; then the text
// block of zero-terminated texts addressed by those offsets.
//
// Everything read is checked before it is used: a script whose counts,
// offsets or texts do not fit its file is refused whole and leaves the
// script empty, and no expansion writes past the buffer it is given.
#include "common/CDate.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CClubDatabase;
class CCountryDatabase;
class CDatabaseHandler;
class CNewsItem;

constexpr uint32_t FORMSCRIPT_MARK = 0x31434D46;  // "FMC1"
constexpr int FORMSCRIPT_HEADER_BYTES = 16;
constexpr int FORMSCRIPT_CONDITIONS = 6;
constexpr int FORMSCRIPT_PICTURES = 6;
constexpr uint8_t FORMSCRIPT_TOKEN_MARK = 0x40;
// Targets of a letter: 1 to 65 (the mail archive's go-to codes).
constexpr uint16_t FORMSCRIPT_LAST_TARGET = 65;
// The expansion buffer of the screens that list scripted texts.
constexpr size_t FORMSCRIPT_TEXT_BYTES = 1024;

// The values a text may insert; "none" values are left out of the text.
struct ITEMTEXTPARAMETERS {
    const CClubDatabase* pClubA = nullptr;
    const CClubDatabase* pClubB = nullptr;
    const CCountryDatabase* pCountry = nullptr;
    DATERECORD Date1;  // year 0: none
    DATERECORD Date2;
    uint32_t idPlayer = 0;
    uint16_t idManager = 0;
    uint16_t idStaff = 0;
    int32_t nValue = -1;
    int32_t nAmount2 = -1;
    int32_t nAmount3 = -1;
    int32_t nAmount4 = -1;
    float fDecimal1 = -1.0f;
    float fDecimal2 = -1.0f;
    float fDecimal3 = -1.0f;
    int32_t nSecondPlayer = -1;
    uint8_t byTextIndex = 255;
    uint8_t byGoalsFirst = 0;
    uint8_t byGoalsSecond = 0;
    uint8_t byCupNumber = 255;
    uint8_t byCupRound = 255;
    uint8_t byManagerCondition = 0;

    // A news item's parameter slots, its identifiers looked up in the world:
    // clubs 0 and 1, country 4, date 1 slot 6, date 2 slot 7, player 8,
    // manager 9, staff 10, value 11, amounts 12 to 14, decimals 15 to 17,
    // second player 18, then the text index, goals, cup number, cup round
    // and manager-condition bytes of slots 19 and 20.
    static ITEMTEXTPARAMETERS FromNewsItem(const CNewsItem& item, const CDatabaseHandler* pDatabase);
};

// The mail senders, by the category a filed item keeps: 0 the chairman, 1
// the trainer, 2 the physio, 3 the accountant, 4 the scout, 5 the bank, 6
// the governing body, 7 a player, 8 another chairman, 9 the staff.
constexpr int MAIL_CATEGORIES = 10;
// The category of a news item type; -1 for a type no letter carries.
int GetMailCategory(uint16_t wType);
// The script of a category; null outside 0 to 9.
const char* GetMailScriptFile(int nCategory);
// The mail script that carries a news item of this type, by the sender the
// type belongs to; null for a type no letter carries.
const char* GetMailScriptName(uint16_t wType);

class CFormScript {
public:
    struct Entry {
        uint16_t awConditions[FORMSCRIPT_CONDITIONS] = {};
        uint16_t wTarget = 0;
        std::vector<uint32_t> bodies;
        std::vector<uint32_t> headlines;  // all 0 when the file has none
        uint8_t abyPictures[FORMSCRIPT_PICTURES] = {};
    };

    // "Scripts\<language>\<file>"; the texts only with bLoadText. False (and
    // an empty script) when the file is missing or refused.
    bool Load(const char* pszLanguage, const char* pszFileName, bool bLoadText);
    bool LoadFromBytes(const std::vector<uint8_t>& bytes, bool bLoadText, std::string& error);
    void Free();

    int GetEntryCount() const { return static_cast<int>(m_Entries.size()); }
    const Entry* GetEntry(int nIndex) const;
    bool HasText() const { return !m_Text.empty(); }
    void SetEventToken(uint16_t wToken) { m_wEventToken = wToken; }

    // The first entry whose first condition is the event token; -1 when none.
    int FindEntryIndex() const;
    // The first entry with conditions that all hold; 0xFFFF when none.
    uint16_t FindMatchingEntry(const ITEMTEXTPARAMETERS& params) const;
    bool IsTokenAvailable(const ITEMTEXTPARAMETERS& params, uint16_t wToken) const;

    // The body (or headline) of variant (variant mod n), expanded into the
    // buffer; an empty string for an entry or variant that does not exist.
    void GetEntryText(char* pszOutput, size_t nOutputSize, int nEntry, int nVariant,
                      const ITEMTEXTPARAMETERS& params) const;
    void GetEntryHeadline(char* pszOutput, size_t nOutputSize, int nEntry, int nVariant,
                          const ITEMTEXTPARAMETERS& params) const;
    // "* " and the expanded body when every condition of the entry holds.
    bool ExpandEntryIfAvailable(const ITEMTEXTPARAMETERS& params, int nEntry, char* pszOutput, size_t nOutputSize,
                                int nVariant) const;
    // The item's type picks the entry and its random number the variant;
    // answers the picture of the slot, or of the nearest lower slot with one,
    // 0 when none.
    uint8_t ExpandItem(const CNewsItem& item, const CDatabaseHandler* pDatabase, char* pszBody, size_t nBodySize,
                       char* pszHeadline, size_t nHeadlineSize, int nPictureSlot) const;

    // Copies the source to the output, each at sign and code byte replaced by
    // its value's text; the output ends with a 0 and never passes
    // nOutputSize. Answers false when the text had to be cut.
    static bool ExpandTokens(const ITEMTEXTPARAMETERS& params, const char* pszSource, char* pszOutput,
                             size_t nOutputSize);
    // The database the values are looked up in (the game's, or a test's).
    static void SetDatabase(CDatabaseHandler* pDatabase) { s_pDatabase = pDatabase; }

private:
    const char* TextAt(uint32_t dwOffset) const;
    void ExpandWording(const std::vector<uint32_t> Entry::*pTable, char* pszOutput, size_t nOutputSize, int nEntry,
                       int nVariant, const ITEMTEXTPARAMETERS& params) const;

    std::vector<Entry> m_Entries;
    std::vector<char> m_Text;
    uint32_t m_dwTextBytes = 0;
    uint16_t m_wEventToken = 0;
    static CDatabaseHandler* s_pDatabase;
};
