#pragma once
// The texts every screen shows money, numbers, dates and scores with, in the
// form the player's options ask for. Each text helper writes into its own
// small ring of static buffers and returns a pointer into it: a result stays
// valid until that helper has been called as many more times as it has
// buffers (10 for money, 4 for the others).
#include "common/CDate.h"

#include <cstddef>
#include <cstdint>

class COptions;
class CXStatic;

// The options the helpers follow (currency, date order); the game installs
// its own when it loads them. Without one the defaults apply (currency 0,
// day/month/year).
void InstallFormattingOptions(const COptions* pOptions);
// A competition's display name by its slot (0-18) as the installed options
// hold it; the built-in names without options; an empty text outside them.
const char* GetCompetitionDisplayName(int nSlot);

// Period values of FormatMoney.
constexpr uint8_t MONEY_PER_WEEK = 0;
constexpr uint8_t MONEY_PER_MONTH = 1;
constexpr uint8_t MONEY_AS_STORED = 255;

// An amount in the current currency: with bHundredths the amount is in
// hundredths; with bConvert it is taken from the stored unit by the currency's
// factor and divisor; per week or per month divides a yearly sum. The fifth
// argument is not read; it stands where callers pass it. A currency outside
// the table is read as currency 0; amounts beyond a million million million
// show as that limit, and a value that is not a number as 0.
const char* FormatMoney(double dAmount, uint8_t bHundredths, uint8_t bDecimals, uint8_t nPeriod, uint8_t byUnused,
                        uint8_t bConvert);
double ConvertCurrency(double dAmount);
double ConvertCurrencyBack(double dAmount);
// The amount a money text typed by the player stands for, in the stored unit
// (in hundredths with bHundredths): the separators of the currency are
// removed, and its divisor and factor undone. Text that does not start with
// a number reads as 0.
double MoneyValueFromText(const char* pszText, uint8_t bHundredths);
// The label shows FormatMoney (amount, no hundredths, decimals, period, converted).
void SetMoneyText(CXStatic* pText, double dAmount, uint8_t nPeriod);

// The value with a comma between each group of three digits.
const char* FormatThousands(int32_t nValue);

// "dd/mm/yy" in the order of the Date option (0 day/month/year, 1
// month/day/year, 2 year/month/day; any other order reads as 0); the year
// is shown mod 100.
const char* FormatDate(int nDay, int nMonth, int nYear);
const char* FormatDateRecord(const DATERECORD& date);
// year << 16 | month << 8 | day
const char* FormatPackedDate(uint32_t dwDate);

// Writes "a - b" (at most nSize bytes with the NUL) and gives the word for
// the first side's result: table 114's win, draw or loss.
const char* FormatScore(char* pszOutput, size_t nSize, int nGoalsA, int nGoalsB);
// Writes the score of a result kind (0-11): extra time, penalties, aggregate
// and away goals get their word of table 114 before (kinds 1-4) or after
// (kinds 7-10) the goals; a kind outside 0-11 writes an empty text.
void FormatScoreWithKind(char* pszOutput, size_t nSize, int nHomeGoals, int nAwayGoals, int nResultKind);
// A fixture's or a match record's score with its result kind, and the word
// for the side (0 home, 1 away): kind 1 is always the home side's win and
// kind 7 always the away side's; other kinds follow the goals.
const char* FormatFixtureScore(int nSide, char* pszOutput, size_t nSize, int8_t cHomeGoals, int8_t cAwayGoals,
                               uint8_t byResultKind);
