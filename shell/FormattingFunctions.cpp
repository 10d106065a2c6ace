#include "shell/FormattingFunctions.h"

#include "shell/COptions.h"
#include "shell/CTableText.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kBufferSize = 35;
constexpr int kWordSet = 114;
constexpr int kWinItem = 2;
constexpr int kDrawItem = 3;
constexpr int kLossItem = 4;
// The largest magnitude FormatMoney shows; its text with separators,
// decimals, sign and suffix stays well inside a buffer.
constexpr double kLargestMoney = 1e18;

const COptions* g_pFormattingOptions = nullptr;

int CurrentCurrency()
{
    return g_pFormattingOptions ? g_pFormattingOptions->m_nCurrency : 0;
}

// A ring of buffers; each call hands out the next one.
template <int Count>
struct BufferRing {
    char* Next()
    {
        m_nIndex = (m_nIndex + 1) % Count;
        return m_Buffers[m_nIndex];
    }
    char m_Buffers[Count][kBufferSize] = {};
    int m_nIndex = 0;
};

BufferRing<10> g_MoneyBuffers;
BufferRing<4> g_ThousandsBuffers;
BufferRing<4> g_DateBuffers;
BufferRing<4> g_DateRecordBuffers;
BufferRing<4> g_PackedDateBuffers;

// Inserts cThousands after every third digit from the right of the leading
// run of digits. pszText holds only digits and at most one decimal part.
void InsertThousands(char* pszText, size_t nSize, char cThousands)
{
    size_t nDigits = 0;
    while (pszText[nDigits] >= '0' && pszText[nDigits] <= '9')
        ++nDigits;
    const size_t nLength = std::strlen(pszText);
    const size_t nSeparators = nDigits > 0 ? (nDigits - 1) / 3 : 0;
    if (nLength + nSeparators + 1 > nSize)
        return;
    // Walk from the end, moving each character to its final place.
    char* pszOut = pszText + nLength + nSeparators;
    for (const char* pszIn = pszText + nLength; pszIn >= pszText + nDigits; --pszIn)
        *pszOut-- = *pszIn;
    for (size_t i = 0; i < nDigits; ++i) {
        if (i > 0 && i % 3 == 0)
            *pszOut-- = cThousands;
        *pszOut-- = pszText[nDigits - 1 - i];
    }
}

// Sign, digits and suffix into a buffer, cut at its end.
void JoinInto(char* pszBuffer, bool bMinus, const char* pszDigits, char cSuffix)
{
    size_t n = 0;
    if (bMinus)
        pszBuffer[n++] = '-';
    for (const char* p = pszDigits; *p && n < kBufferSize - 2; ++p)
        pszBuffer[n++] = *p;
    if (cSuffix)
        pszBuffer[n++] = cSuffix;
    pszBuffer[n] = '\0';
}

const char* FormatDateInto(char* pszBuffer, int nDay, int nMonth, int nYear)
{
    const int nOrder = g_pFormattingOptions ? g_pFormattingOptions->m_nDate : 0;
    const int nShortYear = ((nYear % 100) + 100) % 100;
    switch (nOrder) {
    case 1:
        std::snprintf(pszBuffer, kBufferSize, "%02d/%02d/%02d", nMonth, nDay, nShortYear);
        break;
    case 2:
        std::snprintf(pszBuffer, kBufferSize, "%02d/%02d/%02d", nShortYear, nMonth, nDay);
        break;
    default:
        std::snprintf(pszBuffer, kBufferSize, "%02d/%02d/%02d", nDay, nMonth, nShortYear);
        break;
    }
    return pszBuffer;
}

const char* Word(int nItem)
{
    const char* pszWord = GetTableText(kWordSet, nItem);
    return pszWord ? pszWord : "";
}

const char* ResultWord(int nOwnGoals, int nOtherGoals)
{
    if (nOwnGoals > nOtherGoals)
        return Word(kWinItem);
    return Word(nOwnGoals == nOtherGoals ? kDrawItem : kLossItem);
}

}  // namespace

void InstallFormattingOptions(const COptions* pOptions)
{
    g_pFormattingOptions = pOptions;
}

const char* GetCompetitionDisplayName(int nSlot)
{
    static const COptions s_builtIn;
    return (g_pFormattingOptions ? g_pFormattingOptions : &s_builtIn)->GetCompetitionName(nSlot);
}

double ConvertCurrency(double dAmount)
{
    return dAmount * GetCurrencyFactor(CurrentCurrency());
}

double ConvertCurrencyBack(double dAmount)
{
    return dAmount / GetCurrencyFactor(CurrentCurrency());
}

const char* FormatMoney(double dAmount, uint8_t bHundredths, uint8_t bDecimals, uint8_t nPeriod, uint8_t,
                        uint8_t bConvert)
{
    const int nCurrency = CurrentCurrency();
    if (bHundredths)
        dAmount *= 0.01;
    if (bConvert)
        dAmount = ConvertCurrency(dAmount);
    const CURRENCYRULES rules = GetCurrencyRules(nCurrency, bHundredths != 0, bDecimals != 0);
    if (bConvert)
        dAmount /= rules.dDivisor;
    if (nPeriod == MONEY_PER_WEEK)
        dAmount *= 1.0 / 52.0;
    else if (nPeriod == MONEY_PER_MONTH)
        dAmount *= 1.0 / 12.0;

    if (std::isnan(dAmount))
        dAmount = 0.0;
    const bool bNegative = dAmount < 0.0;
    dAmount = std::fmin(std::fabs(dAmount), kLargestMoney);

    char szNumber[kBufferSize];
    std::snprintf(szNumber, sizeof(szNumber), "%.*f", rules.nDecimals, dAmount);
    char cThousands = ',';
    char cDecimal = '.';
    GetNumberSeparators(&cThousands, &cDecimal);
    if (cDecimal != '.')
        if (char* pcPoint = std::strchr(szNumber, '.'))
            *pcPoint = cDecimal;
    InsertThousands(szNumber, sizeof(szNumber), cThousands);

    char* pszBuffer = g_MoneyBuffers.Next();
    // Rounding may turn a tiny negative amount into zero; it shows no sign.
    const bool bShowSign = bNegative && std::strpbrk(szNumber, "123456789") != nullptr;
    JoinInto(pszBuffer, bShowSign, szNumber, rules.bSuffix ? rules.cSuffix : '\0');
    return pszBuffer;
}

double MoneyValueFromText(const char* pszText, uint8_t bHundredths)
{
    char szText[64];
    std::snprintf(szText, sizeof(szText), "%s", pszText ? pszText : "");
    NormaliseNumberText(szText);
    double dValue = std::strtod(szText, nullptr);
    if (!std::isfinite(dValue))
        dValue = 0.0;
    const CURRENCYRULES rules = GetCurrencyRules(CurrentCurrency(), bHundredths != 0, true);
    dValue = ConvertCurrencyBack(dValue * rules.dDivisor);
    return bHundredths ? dValue * 100.0 : dValue;
}

void SetMoneyText(CXStatic* pText, double dAmount, uint8_t nPeriod)
{
    if (pText)
        pText->SetText("%s", FormatMoney(dAmount, 0, 1, nPeriod, 0, 1));
}

const char* FormatThousands(int32_t nValue)
{
    char szDigits[kBufferSize];
    std::snprintf(szDigits, sizeof(szDigits), "%lld", std::llabs(static_cast<long long>(nValue)));
    InsertThousands(szDigits, sizeof(szDigits), ',');
    char* pszBuffer = g_ThousandsBuffers.Next();
    JoinInto(pszBuffer, nValue < 0, szDigits, '\0');
    return pszBuffer;
}

const char* FormatDate(int nDay, int nMonth, int nYear)
{
    return FormatDateInto(g_DateBuffers.Next(), nDay, nMonth, nYear);
}

const char* FormatDateRecord(const DATERECORD& date)
{
    return FormatDateInto(g_DateRecordBuffers.Next(), date.byDay, date.byMonth, date.wYear);
}

const char* FormatPackedDate(uint32_t dwDate)
{
    const CDate date(dwDate);
    return FormatDateInto(g_PackedDateBuffers.Next(), date.GetDay(), date.GetMonth(), date.GetYear());
}

const char* FormatScore(char* pszOutput, size_t nSize, int nGoalsA, int nGoalsB)
{
    if (pszOutput && nSize > 0)
        std::snprintf(pszOutput, nSize, "%d - %d", nGoalsA, nGoalsB);
    return ResultWord(nGoalsA, nGoalsB);
}

void FormatScoreWithKind(char* pszOutput, size_t nSize, int nHomeGoals, int nAwayGoals, int nResultKind)
{
    if (!pszOutput || nSize == 0)
        return;
    // Extra time, aggregate, away goals, penalties: kinds 1-4 before the goals, 7-10 after.
    static const int kKindWords[4] = {28, 30, 31, 29};
    switch (nResultKind) {
    case 0:
    case 5:
    case 6:
    case 11:
        std::snprintf(pszOutput, nSize, "%d - %d", nHomeGoals, nAwayGoals);
        break;
    case 1:
    case 2:
    case 3:
    case 4:
        std::snprintf(pszOutput, nSize, "%s %d - %d", Word(kKindWords[nResultKind - 1]), nHomeGoals, nAwayGoals);
        break;
    case 7:
    case 8:
    case 9:
    case 10:
        std::snprintf(pszOutput, nSize, "%d - %d %s", nHomeGoals, nAwayGoals, Word(kKindWords[nResultKind - 7]));
        break;
    default:
        *pszOutput = '\0';
        break;
    }
}

const char* FormatFixtureScore(int nSide, char* pszOutput, size_t nSize, int8_t cHomeGoals, int8_t cAwayGoals,
                               uint8_t byResultKind)
{
    FormatScoreWithKind(pszOutput, nSize, cHomeGoals, cAwayGoals, byResultKind);
    const bool bHome = nSide == 0;
    if (byResultKind == 1)
        return Word(bHome ? kWinItem : kLossItem);
    if (byResultKind == 7)
        return Word(bHome ? kLossItem : kWinItem);
    return bHome ? ResultWord(cHomeGoals, cAwayGoals) : ResultWord(cAwayGoals, cHomeGoals);
}
