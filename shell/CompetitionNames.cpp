#include "shell/CompetitionNames.h"

#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

constexpr int kRoundNameSet = 143;
constexpr int kRoundStageSet = 144;
constexpr int kFinalItem = 0;
constexpr int kNumberedRoundItem = 3;
constexpr int kFriendlyItem = 4;
constexpr int kReplayItem = 0;
constexpr int kSecondReplayItem = 1;
constexpr int kGroupStageItem = 2;
// A group round of eight groups of four plays sixteen ties a match day.
constexpr int kTiesOfEightGroups = 16;

// Writes a table item used as a format with one number; a missing item
// writes an empty text.
void PutFormat(char* pszOutput, size_t nSize, int nSet, int nItem, int nNumber)
{
    const char* pszFormat = GetTableText(nSet, nItem);
    if (!pszFormat) {
        pszOutput[0] = '\0';
        return;
    }
    // The formats come from the language's texts: at most one %d is honoured.
    const char* pszNumber = std::strstr(pszFormat, "%d");
    if (!pszNumber || std::strchr(pszNumber + 2, '%') || std::strchr(pszFormat, '%') != pszNumber) {
        std::snprintf(pszOutput, nSize, "%s", pszFormat);
        return;
    }
    std::snprintf(pszOutput, nSize, "%.*s%d%s", static_cast<int>(pszNumber - pszFormat), pszFormat, nNumber,
                  pszNumber + 2);
}

}  // namespace

const ITEMCUPSTRUCTUREINFORMATION* FindCupDefinition(const CUP* pCup, const CDatabaseHandler* pDatabase)
{
    if (!pCup)
        return nullptr;
    const char* pszOwner = CUP_OWNER_EUROPEAN;
    if (pCup->byCountry != 0) {
        const CCountryDatabase* pCountry = pDatabase ? pDatabase->GetCountryFromID(pCup->byCountry) : nullptr;
        if (!pCountry)
            return nullptr;
        pszOwner = pCountry->GetName();
    }
    for (const ITEMCUPSTRUCTUREINFORMATION* pRow = GetCupStructureTable(); pRow->pszOwnerName; ++pRow)
        if (pRow->byKind == pCup->byKind && strcasecmp(pRow->pszOwnerName, pszOwner) == 0)
            return pRow;
    return nullptr;
}

void FormatCompetitionName(const CUP* pCup, const CDatabaseHandler* pDatabase, char* pszOutput, size_t nSize)
{
    if (nSize == 0)
        return;
    const ITEMCUPSTRUCTUREINFORMATION* pRow = FindCupDefinition(pCup, pDatabase);
    std::snprintf(pszOutput, nSize, "%s", pRow ? GetCompetitionDisplayName(pRow->byCupID - 1) : "");
}

void FormatCupRoundName(const CUP* pCup, const CDatabaseHandler* pDatabase, int nRound, char* pszOutput,
                        size_t nSize)
{
    if (nSize == 0)
        return;
    if (!pCup) {
        PutFormat(pszOutput, nSize, kRoundNameSet, kFriendlyItem, 0);
        return;
    }
    const int nLast = pCup->byRounds;
    if (nRound > nLast) {
        PutFormat(pszOutput, nSize, kRoundStageSet, nRound == nLast + 1 ? kReplayItem : kSecondReplayItem, 0);
        return;
    }
    const ITEMCUPSTRUCTUREINFORMATION* pRow = FindCupDefinition(pCup, pDatabase);
    const ITEMCUPROUNDINFORMATION* pRound = pRow ? GetDefinitionRound(pRow, nRound) : nullptr;
    if (pRound && pRound->byStage == CUP_STAGE_GROUP) {
        PutFormat(pszOutput, nSize, kRoundStageSet, kGroupStageItem, pRound->byTies == kTiesOfEightGroups ? 1 : 2);
        return;
    }
    const int nFromLast = nLast - nRound;
    if (nFromLast <= kNumberedRoundItem - 1 && nRound >= 1)
        PutFormat(pszOutput, nSize, kRoundNameSet, kFinalItem + nFromLast, 0);
    else
        PutFormat(pszOutput, nSize, kRoundNameSet, kNumberedRoundItem, nRound);
}
