#include "shell/CFormScript.h"

#include "shell/CTableText.h"
#include "shell/CompetitionNames.h"
#include "shell/FormattingFunctions.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/ScriptTokens.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "platform/Files.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"

#include <cstdio>
#include <cstring>

CDatabaseHandler* CFormScript::s_pDatabase = nullptr;

namespace {

// Writes into a caller's buffer and never past it.
class BoundedText {
public:
    BoundedText(char* pszOutput, size_t nSize) : m_pszOutput(pszOutput), m_nSize(nSize)
    {
        if (m_nSize)
            m_pszOutput[0] = '\0';
    }
    void Put(char c)
    {
        if (m_nLength + 1 < m_nSize) {
            m_pszOutput[m_nLength++] = c;
            m_pszOutput[m_nLength] = '\0';
        } else {
            m_bCut = true;
        }
    }
    void Put(const char* pszText)
    {
        for (; pszText && *pszText; ++pszText)
            Put(*pszText);
    }
    bool IsCut() const { return m_bCut; }

private:
    char* m_pszOutput;
    size_t m_nSize;
    size_t m_nLength = 0;
    bool m_bCut = false;
};

// The ranges of event tokens that hold when they are the current event.
bool IsEventToken(uint16_t wToken)
{
    static const uint16_t kRanges[][2] = {{2, 2},     {5, 10},    {15, 76},   {79, 90},   {93, 174},  {177, 212},
                                          {215, 230}, {233, 242}, {245, 273}, {276, 280}, {284, 321}};
    for (const auto& range : kRanges)
        if (wToken >= range[0] && wToken <= range[1])
            return true;
    return false;
}

const char* TableItem(int nSet, int nItem)
{
    return nItem >= 0 ? GetTableText(nSet, nItem) : nullptr;
}

const char* CountryName(int nCountryID) { return nCountryID > 0 ? TableItem(92, nCountryID) : nullptr; }

bool HasDate(const DATERECORD& date) { return date.wYear != 0; }

DATERECORD DateFromSlot(uint32_t dwSlot)
{
    DATERECORD date;
    date.wYear = static_cast<uint16_t>(dwSlot >> 16);
    date.byMonth = static_cast<uint8_t>(dwSlot >> 8);
    date.byDay = static_cast<uint8_t>(dwSlot);
    return date;
}

float FloatFromSlot(uint32_t dwSlot)
{
    float fValue = 0;
    std::memcpy(&fValue, &dwSlot, sizeof fValue);
    return fValue;
}

// The text of one code, into szValue; nothing for a value that is "none".
void ValueText(CDatabaseHandler* pDatabase, const ITEMTEXTPARAMETERS& p, int nCode, char* szValue, size_t nSize)
{
    szValue[0] = '\0';
    auto put = [&](const char* pszText) {
        if (pszText)
            std::snprintf(szValue, nSize, "%s", pszText);
    };
    auto money = [&](int32_t nAmount) {
        if (nAmount != -1)
            put(FormatMoney(static_cast<double>(nAmount), 0, 0, 255, 0, 1));
    };
    auto decimal = [&](float fValue) {
        if (fValue != -1.0f)
            std::snprintf(szValue, nSize, "%.2f", static_cast<double>(fValue));
    };
    auto date = [&](const DATERECORD& record) {
        if (HasDate(record))
            put(FormatDateRecord(record));
    };
    auto player = [&](int64_t nID) -> const CPlayerDatabase* {
        return pDatabase && nID > 0 ? pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(nID)) : nullptr;
    };
    const CStaffDatabase* pStaff =
        pDatabase && p.idStaff ? pDatabase->GetStaffFromID(static_cast<ID_STAFF>(p.idStaff)) : nullptr;
    const CClubDatabase* pA = p.pClubA;
    const CClubDatabase* pB = p.pClubB;
    switch (nCode) {
    case 0:
        put("{ #255 }");
        break;
    case 1:
    case 2:
    case 3:
    case 8:
    case 9:
        if (const CPlayerDatabase* pPlayer = player(p.idPlayer))
            put(pPlayer->GetShortName());
        break;
    case 4:
    case 5:
        if (const CPlayerDatabase* pPlayer = player(p.nSecondPlayer))
            put(pPlayer->GetShortName());
        break;
    case 10:
    case 19:
    case 55:
    case 61:
    case 65:
    case 68:
        date(p.Date2);
        break;
    case 11:
    case 12:
        if (pA && pA->m_pGround)
            put(pA->m_pGround->GetName());
        break;
    case 13:
        if (pA && pA->m_pGround)
            std::snprintf(szValue, nSize, "%d", pA->m_pGround->GetCapacity());
        break;
    case 14:
        if (const CPlayerDatabase* pPlayer = player(p.idPlayer))
            std::snprintf(szValue, nSize, "%d", pPlayer->m_byRating);
        break;
    case 15:
        put(TableItem(195, p.nValue));
        break;
    case 16:
    case 38:
    case 56:
    case 57:
        money(p.nValue);
        break;
    case 17:
        put(TableItem(115, p.nValue));
        break;
    case 18:
    case 24:
    case 32:
    case 54:
    case 62:
        date(p.Date1);
        break;
    case 20:
        if (p.nValue != -1)
            std::snprintf(szValue, nSize, "%d", p.nValue);
        break;
    case 21:
        put(TableItem(230, p.nSecondPlayer));
        break;
    case 25:
        if (p.byTextIndex != 255) {
            const char* pszFirst = TableItem(101, p.byTextIndex);
            const char* pszSecond = TableItem(30, p.nValue);
            std::snprintf(szValue, nSize, "%s %s", pszFirst ? pszFirst : "", pszSecond ? pszSecond : "");
        } else {
            put(TableItem(30, p.nValue));
        }
        break;
    case 26:
    case 27:
        if (const CManagerDatabase* pManager =
                pDatabase && p.idManager ? pDatabase->GetManagerFromID(static_cast<ID_MANAGER>(p.idManager)) : nullptr)
            put(pManager->GetShortName());
        break;
    case 28:
    case 29:
        if (pA)
            put(pA->GetShortName());
        break;
    case 30:
    case 31:
        put(CountryName(p.nValue));
        break;
    case 33:
    case 39:
    case 50:
    case 51:
        if (pA)
            put(pA->GetName());
        break;
    case 34:
    case 40:
    case 52:
    case 53:
        if (pB)
            put(pB->GetName());
        break;
    case 35:
    case 36: {
        const bool bFirstHalf = p.nValue >= 0 && p.nValue <= 5;
        const bool bSecondHalf = p.nValue >= 6 && p.nValue <= 11;
        const CClubDatabase* pClub = nCode == 35 ? (bFirstHalf ? pA : bSecondHalf ? pB : nullptr)
                                                 : (bFirstHalf ? pB : bSecondHalf ? pA : nullptr);
        if (pClub)
            put(pClub->GetName());
        break;
    }
    case 22:
    case 49:
        if (p.byCupNumber != 255 && pDatabase)
            FormatCompetitionName(pDatabase->GetCupFromCupNumber(p.byCupNumber), pDatabase, szValue, nSize);
        break;
    case 23:
        if (p.byCupNumber != 255 && p.byCupRound != 255 && pDatabase)
            if (const CUP* pCup = pDatabase->GetCupFromCupNumber(p.byCupNumber))
                FormatCupRoundName(pCup, pDatabase, p.byCupRound, szValue, nSize);
        break;
    case 37:
        FormatScoreWithKind(szValue, nSize, p.byGoalsFirst, p.byGoalsSecond, p.nValue);
        break;
    case 41:
    case 43:
        if (pA && pA->GetCountry())
            put(CountryName(pA->GetCountry()->GetID()));
        break;
    case 42:
    case 44:
        if (pB && pB->GetCountry())
            put(CountryName(pB->GetCountry()->GetID()));
        break;
    case 45:
        if (const CPlayerDatabase* pPlayer = player(p.idPlayer))
            put(CountryName(pPlayer->m_byNationality));
        break;
    case 47:
        if (p.nValue != -1)
            std::snprintf(szValue, nSize, "%.2f", p.nValue * 0.01);
        break;
    case 48:
        if (p.byTextIndex != 255)
            put(TableItem(101, p.byTextIndex));
        break;
    case 58:
        put(TableItem(121, pStaff ? pStaff->m_byKind : p.nValue));
        break;
    case 59:
        if (pStaff)
            put(pStaff->GetShortName());
        break;
    case 60:
        if (p.pCountry)
            put(CountryName(p.pCountry->GetID()));
        break;
    case 63:
        money(p.nAmount2);
        break;
    case 66:
        money(p.nAmount3);
        break;
    case 67:
        money(p.nAmount4);
        break;
    case 64:
        decimal(p.fDecimal1);
        break;
    case 69:
        decimal(p.fDecimal2);
        break;
    case 70:
        decimal(p.fDecimal3);
        break;
    default:
        // 6, 7 and 46 (the player's category texts) have no player fields
        // to come from yet.
        if (nCode < 0 || nCode > 70)
            put("{ #NC }");
        break;
    }
}

}  // namespace

int GetMailCategory(uint16_t wType)
{
    struct Sender {
        uint16_t wFirst, wLast;
        int nCategory;
    };
    static const Sender kSenders[] = {
        {2, 2, 4},     {5, 10, 9},    {15, 76, 7},   {79, 90, 1},   {93, 174, 0},
        {177, 212, 8}, {215, 230, 5}, {233, 242, 3}, {245, 273, 6}, {276, 280, 2},
    };
    for (const Sender& sender : kSenders)
        if (wType >= sender.wFirst && wType <= sender.wLast)
            return sender.nCategory;
    return -1;
}

const char* GetMailScriptFile(int nCategory)
{
    static const char* const kScripts[MAIL_CATEGORIES] = {
        "PendingMailChairman.fmc", "PendingMailTrainer.fmc",   "PendingMailPhysio.fmc",
        "PendingMailAccountant.fmc", "PendingMailScout.fmc",   "PendingMailBank.fmc",
        "PendingMailGovernBody.fmc", "PendingMailPlayer.fmc",  "PendingMailOtherChairman.fmc",
        "PendingMailStaff.fmc",
    };
    return nCategory >= 0 && nCategory < MAIL_CATEGORIES ? kScripts[nCategory] : nullptr;
}

const char* GetMailScriptName(uint16_t wType) { return GetMailScriptFile(GetMailCategory(wType)); }

ITEMTEXTPARAMETERS ITEMTEXTPARAMETERS::FromNewsItem(const CNewsItem& item, const CDatabaseHandler* pDatabase)
{
    ITEMTEXTPARAMETERS p;
    if (pDatabase) {
        if (item.GetSlot(NEWS_SLOT_CLUB_A))
            p.pClubA = pDatabase->GetClubFromID(static_cast<ID_CLUB>(item.GetSlot(NEWS_SLOT_CLUB_A)));
        if (item.GetSlot(NEWS_SLOT_CLUB_B))
            p.pClubB = pDatabase->GetClubFromID(static_cast<ID_CLUB>(item.GetSlot(NEWS_SLOT_CLUB_B)));
        if (item.GetSlot(NEWS_SLOT_COUNTRY))
            p.pCountry = pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(item.GetSlot(NEWS_SLOT_COUNTRY)));
    }
    p.Date1 = DateFromSlot(item.GetSlot(6));
    p.Date2 = DateFromSlot(item.GetSlot(7));
    p.idPlayer = item.GetSlot(NEWS_SLOT_PERSON);
    p.idManager = static_cast<uint16_t>(item.GetSlot(9));
    p.idStaff = static_cast<uint16_t>(item.GetSlot(NEWS_SLOT_STAFF));
    p.nValue = static_cast<int32_t>(item.GetSlot(NEWS_SLOT_SUBTYPE));
    p.nAmount2 = static_cast<int32_t>(item.GetSlot(12));
    p.nAmount3 = static_cast<int32_t>(item.GetSlot(13));
    p.nAmount4 = static_cast<int32_t>(item.GetSlot(14));
    p.fDecimal1 = FloatFromSlot(item.GetSlot(15));
    p.fDecimal2 = FloatFromSlot(item.GetSlot(16));
    p.fDecimal3 = FloatFromSlot(item.GetSlot(17));
    p.nSecondPlayer = static_cast<int32_t>(item.GetSlot(18));
    const uint32_t dwBytes = item.GetSlot(19);
    p.byTextIndex = static_cast<uint8_t>(dwBytes);
    p.byGoalsFirst = static_cast<uint8_t>(dwBytes >> 8);
    p.byGoalsSecond = static_cast<uint8_t>(dwBytes >> 16);
    p.byCupNumber = static_cast<uint8_t>(dwBytes >> 24);
    p.byCupRound = static_cast<uint8_t>(item.GetSlot(20));
    p.byManagerCondition = static_cast<uint8_t>(item.GetSlot(20) >> 8);
    return p;
}

bool CFormScript::Load(const char* pszLanguage, const char* pszFileName, bool bLoadText)
{
    Free();
    const std::string path = std::string("Scripts\\") + (pszLanguage ? pszLanguage : "") + "\\" +
                             (pszFileName ? pszFileName : "");
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(path, bytes)) {
        DebugLog(0, "[CFormScript::Load] Couldn't open '%s'", path.c_str());
        return false;
    }
    std::string error;
    if (!LoadFromBytes(bytes, bLoadText, error)) {
        DebugLog(0, "[CFormScript::Load] '%s' is refused: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

bool CFormScript::LoadFromBytes(const std::vector<uint8_t>& bytes, bool bLoadText, std::string& error)
{
    Free();
    auto refuse = [this, &error](const char* pszReason) {
        Free();
        error = pszReason;
        return false;
    };
    CBinaryReader reader(bytes);
    uint32_t dwMark = 0, dwTextBytes = 0;
    uint16_t wCount = 0, wPad = 0, wPad2 = 0;
    uint8_t bHeadlines = 0, bPictures = 0;
    reader.ReadU32(dwMark);
    reader.ReadU16(wCount);
    reader.ReadU16(wPad);
    reader.ReadU32(dwTextBytes);
    reader.ReadU8(bHeadlines);
    reader.ReadU8(bPictures);
    reader.ReadU16(wPad2);
    if (reader.Failed() || dwMark != FORMSCRIPT_MARK)
        return refuse("not a compiled form script");
    if (bHeadlines > 1 || bPictures > 1)
        return refuse("the header's flags are damaged");
    if (dwTextBytes > bytes.size())
        return refuse("the text block is larger than the file");
    m_Entries.resize(wCount);
    for (Entry& entry : m_Entries) {
        for (uint16_t& wCondition : entry.awConditions)
            reader.ReadU16(wCondition);
        uint16_t wVariants = 0;
        reader.ReadU16(entry.wTarget);
        reader.ReadU16(wVariants);
        if (bPictures)
            reader.ReadBytes(entry.abyPictures, FORMSCRIPT_PICTURES);
        const size_t nTables = bHeadlines ? 2 : 1;
        if (reader.Failed() || !reader.CheckCount(wVariants, 4 * nTables))
            return refuse("an entry runs past the end of the file");
        if (entry.wTarget > FORMSCRIPT_LAST_TARGET)
            return refuse("an entry's target is not a target");
        entry.bodies.resize(wVariants);
        entry.headlines.assign(wVariants, 0);
        for (uint32_t& dwOffset : entry.bodies)
            reader.ReadU32(dwOffset);
        if (bHeadlines)
            for (uint32_t& dwOffset : entry.headlines)
                reader.ReadU32(dwOffset);
        for (size_t i = 0; i < entry.bodies.size(); ++i)
            if (entry.bodies[i] >= dwTextBytes || entry.headlines[i] >= std::max<uint32_t>(dwTextBytes, 1))
                return refuse("a text offset lies past the text block");
    }
    if (reader.Failed() || reader.Remaining() != dwTextBytes)
        return refuse("the text block does not fill the rest of the file");
    const size_t nTextStart = bytes.size() - dwTextBytes;
    if (dwTextBytes > 0 && bytes.back() != 0)
        return refuse("the last text of the block is not ended");
    m_dwTextBytes = dwTextBytes;
    if (bLoadText)
        m_Text.assign(bytes.begin() + static_cast<std::ptrdiff_t>(nTextStart), bytes.end());
    return true;
}

void CFormScript::Free()
{
    m_Entries.clear();
    m_Text.clear();
    m_dwTextBytes = 0;
}

const CFormScript::Entry* CFormScript::GetEntry(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetEntryCount() ? &m_Entries[static_cast<size_t>(nIndex)] : nullptr;
}

int CFormScript::FindEntryIndex() const
{
    for (size_t i = 0; i < m_Entries.size(); ++i)
        if (m_Entries[i].awConditions[0] == m_wEventToken)
            return static_cast<int>(i);
    return -1;
}

bool CFormScript::IsTokenAvailable(const ITEMTEXTPARAMETERS& params, uint16_t wToken) const
{
    if (wToken == 0 || (IsEventToken(wToken) && wToken == m_wEventToken))
        return true;
    // Then the records the text speaks of, club, player and staff in turn.
    if (params.pClubA && ClubAcceptsScriptToken(*params.pClubA, wToken))
        return true;
    if (const CPlayerDatabase* pPlayer = s_pDatabase && params.idPlayer
                                             ? s_pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(params.idPlayer))
                                             : nullptr;
        pPlayer && PlayerAcceptsScriptToken(*pPlayer, wToken))
        return true;
    const CStaffDatabase* pStaff =
        s_pDatabase && params.idStaff ? s_pDatabase->GetStaffFromID(static_cast<ID_STAFF>(params.idStaff)) : nullptr;
    return pStaff && StaffAcceptsScriptToken(*pStaff, wToken);
}

uint16_t CFormScript::FindMatchingEntry(const ITEMTEXTPARAMETERS& params) const
{
    for (size_t i = 0; i < m_Entries.size() && i < 0xFFFF; ++i) {
        const Entry& entry = m_Entries[i];
        if (entry.awConditions[0] == 0)
            continue;
        bool bAll = true;
        for (uint16_t wToken : entry.awConditions) {
            if (wToken == 0)
                break;
            if (!IsTokenAvailable(params, wToken)) {
                bAll = false;
                break;
            }
        }
        if (bAll)
            return static_cast<uint16_t>(i);
    }
    return 0xFFFF;
}

const char* CFormScript::TextAt(uint32_t dwOffset) const
{
    return dwOffset < m_Text.size() ? m_Text.data() + dwOffset : nullptr;
}

void CFormScript::ExpandWording(const std::vector<uint32_t> Entry::*pTable, char* pszOutput, size_t nOutputSize,
                                int nEntry, int nVariant, const ITEMTEXTPARAMETERS& params) const
{
    if (nOutputSize)
        pszOutput[0] = '\0';
    const Entry* pEntry = GetEntry(nEntry);
    if (!pEntry || (pEntry->*pTable).empty() || nVariant < 0)
        return;
    const std::vector<uint32_t>& table = pEntry->*pTable;
    if (const char* pszText = TextAt(table[static_cast<size_t>(nVariant) % table.size()]))
        ExpandTokens(params, pszText, pszOutput, nOutputSize);
}

void CFormScript::GetEntryText(char* pszOutput, size_t nOutputSize, int nEntry, int nVariant,
                               const ITEMTEXTPARAMETERS& params) const
{
    ExpandWording(&Entry::bodies, pszOutput, nOutputSize, nEntry, nVariant, params);
}

void CFormScript::GetEntryHeadline(char* pszOutput, size_t nOutputSize, int nEntry, int nVariant,
                                   const ITEMTEXTPARAMETERS& params) const
{
    ExpandWording(&Entry::headlines, pszOutput, nOutputSize, nEntry, nVariant, params);
}

bool CFormScript::ExpandEntryIfAvailable(const ITEMTEXTPARAMETERS& params, int nEntry, char* pszOutput,
                                         size_t nOutputSize, int nVariant) const
{
    const Entry* pEntry = GetEntry(nEntry);
    if (!pEntry || pEntry->awConditions[0] == 0)
        return false;
    for (uint16_t wToken : pEntry->awConditions) {
        if (wToken == 0)
            break;
        if (!IsTokenAvailable(params, wToken))
            return false;
    }
    if (nOutputSize < 3)
        return false;
    std::snprintf(pszOutput, nOutputSize, "* ");
    GetEntryText(pszOutput + 2, nOutputSize - 2, nEntry, nVariant, params);
    return true;
}

uint8_t CFormScript::ExpandItem(const CNewsItem& item, const CDatabaseHandler* pDatabase, char* pszBody,
                                size_t nBodySize, char* pszHeadline, size_t nHeadlineSize, int nPictureSlot) const
{
    // A filed item keeps its entry in its filed value (its type word then
    // holds only the read flag); an incoming one is picked by its type.
    const int nEntry = (item.GetType() & ~1u) == 0 ? item.GetFiledValue() : item.GetType();
    const ITEMTEXTPARAMETERS params = ITEMTEXTPARAMETERS::FromNewsItem(item, pDatabase);
    const auto nVariant = static_cast<int>(item.GetExtra() & 0x7FFFFFFF);
    if (pszHeadline)
        GetEntryHeadline(pszHeadline, nHeadlineSize, nEntry, nVariant, params);
    if (pszBody)
        GetEntryText(pszBody, nBodySize, nEntry, nVariant, params);
    const Entry* pEntry = GetEntry(nEntry);
    if (!pEntry)
        return 0;
    for (int nSlot = std::min(nPictureSlot, FORMSCRIPT_PICTURES - 1); nSlot >= 0; --nSlot)
        if (pEntry->abyPictures[nSlot])
            return pEntry->abyPictures[nSlot];
    return 0;
}

bool CFormScript::ExpandTokens(const ITEMTEXTPARAMETERS& params, const char* pszSource, char* pszOutput,
                               size_t nOutputSize)
{
    BoundedText out(pszOutput, nOutputSize);
    for (const char* p = pszSource; p && *p; ++p) {
        if (static_cast<uint8_t>(*p) != FORMSCRIPT_TOKEN_MARK) {
            out.Put(*p);
            continue;
        }
        // A mark at the very end has no code byte: the text ends there.
        if (p[1] == '\0')
            break;
        ++p;
        char szValue[256];
        ValueText(s_pDatabase, params, static_cast<signed char>(*p), szValue, sizeof szValue);
        out.Put(szValue);
    }
    return !out.IsCut();
}
