// File forms of the fixtures and the small records: each record written and
// read back gives the same bytes, and a short or damaged record is refused.
#include <gtest/gtest.h>

#include "RecordBytes.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CHistoryEntries.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CShortlistEntry.h"

namespace {

// Saves, loads into a fresh record, saves again: the file size and both byte
// images must agree; every cut of the image must be refused.
template <class T, class Loader>
void CheckFileForm(const T& record, size_t nFileSize, Loader load)
{
    const std::vector<uint8_t> bytes = SaveBytes(record);
    ASSERT_EQ(bytes.size(), nFileSize);
    T copy;
    ASSERT_TRUE(LoadBytes(copy, bytes, load));
    EXPECT_EQ(SaveBytes(copy), bytes);
    for (size_t nCut = 0; nCut < bytes.size(); ++nCut) {
        T cut;
        EXPECT_FALSE(LoadBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + nCut), load))
            << "cut at " << nCut;
    }
}

auto LoadPlain = [](auto& record, CBinaryReader& reader) { return record.Load(reader); };

CCupFixturesDatabase MakeCupFixture(CUP_NUMBER byCup)
{
    CCupFixturesDatabase fixture;
    fixture.Set(1, CDate(2024, 11, 16), 12, 34, 901, 902, (34u << 16) + 12u, byCup, 7);
    fixture.SetReferee(0x00050003);
    fixture.SetLeg(1);
    return fixture;
}

} // namespace

TEST(SmallRecords, DivisionFixtureFileForm)
{
    CDivisionFixturesDatabase fixture(77, CDate(2024, 8, 17), 3, 9, 0x00010002, 4, 5);
    CheckFileForm(fixture, CDivisionFixturesDatabase::FILE_SIZE, LoadPlain);
    // Unplayed goals stay 255 on file; the reserved bytes are zero.
    const std::vector<uint8_t> bytes = SaveBytes(fixture);
    EXPECT_EQ(bytes[22], 255);
    EXPECT_EQ(bytes[23], 255);
    EXPECT_EQ(bytes[24], 4);
    EXPECT_EQ(bytes[26], 0);
    EXPECT_EQ(bytes[27], 0);

    fixture.SetGoals(2, 1);
    fixture.SetResultValue(0x12345678);
    CheckFileForm(fixture, CDivisionFixturesDatabase::FILE_SIZE, LoadPlain);
    CDivisionFixturesDatabase copy;
    ASSERT_TRUE(LoadBytes(copy, SaveBytes(fixture), LoadPlain));
    EXPECT_EQ(copy.GetHomeGoals(), 2);
    EXPECT_EQ(copy.GetResultValue(), 0x12345678u);
    EXPECT_EQ(copy.GetRefereeID(), 2);
    EXPECT_TRUE(copy.IsClubInvolved(9));
    EXPECT_FALSE(copy.IsClubInvolved(0));
}

TEST(SmallRecords, CupFixtureFileForm)
{
    CheckFileForm(MakeCupFixture(23), CCupFixturesDatabase::FILE_SIZE, LoadPlain);
    const std::vector<uint8_t> bytes = SaveBytes(MakeCupFixture(23));
    EXPECT_EQ(bytes[29], 23);  // cup byte
    EXPECT_EQ(bytes[31], 0);   // reserved

    // A friendly (no cup) loads with no cup and unplayed goals.
    CCupFixturesDatabase friendly;
    ASSERT_TRUE(LoadBytes(friendly, SaveBytes(MakeCupFixture(CUP_NUMBER_NONE)), LoadPlain));
    EXPECT_TRUE(friendly.IsFriendly());
    EXPECT_EQ(friendly.GetCup(), nullptr);
    EXPECT_EQ(friendly.GetOtherLeg(), nullptr);
    EXPECT_FALSE(friendly.IsPlayed());
    EXPECT_EQ(friendly.GetClubPair(), (34u << 16) + 12u);
}

TEST(SmallRecords, DamagedFixturesAreRefused)
{
    struct Case {
        const char* pszWhat;
        size_t nOffset;
        uint32_t dwValue;
    };
    // Cup fixtures: cup numbers of kinds no owner holds, no club, a bad date.
    const Case cupCases[] = {
        {"cup kind 2", 29, 47},    {"cup kind 4", 29, 80},      {"cup kind 12", 29, 254},
        {"no home club", 20, 0},   {"date 31 April", 0, CDate::Pack(2024, 4, 31)},
    };
    for (const Case& c : cupCases) {
        std::vector<uint8_t> bytes = SaveBytes(MakeCupFixture(3));
        if (c.nOffset == 29)
            bytes[29] = static_cast<uint8_t>(c.dwValue);
        else if (c.nOffset == 20)
            bytes[20] = bytes[21] = 0;
        else
            PutU32(bytes, c.nOffset, c.dwValue);
        CCupFixturesDatabase fixture;
        EXPECT_FALSE(LoadBytes(fixture, bytes, LoadPlain)) << c.pszWhat;
    }
    // Every kind that owners hold loads, European (country 0) and domestic.
    for (uint8_t byCup : {0, 3, 20, 23, 60, 65, 100, 119}) {
        CCupFixturesDatabase fixture;
        EXPECT_TRUE(LoadBytes(fixture, SaveBytes(MakeCupFixture(byCup)), LoadPlain)) << int(byCup);
    }

    std::vector<uint8_t> league = SaveBytes(CDivisionFixturesDatabase(1, CDate(2024, 8, 17), 3, 9, 1, 1, 5));
    league[18] = league[19] = 0;  // away club
    CDivisionFixturesDatabase fixture;
    EXPECT_FALSE(LoadBytes(fixture, league, LoadPlain));
}

TEST(SmallRecords, BuyOfferFileForm)
{
    CBuyOfferDatabase offer;
    // A new offer: countdown 0, flags 0, contract from 1970 to 1972.
    EXPECT_EQ(offer.GetCountdown(), 0);
    EXPECT_EQ(offer.GetFlags(), 0);
    EXPECT_EQ(offer.GetContractWord(CBuyOfferDatabase::CONTRACT_START), CDate(1970, 1, 1).GetValue());
    EXPECT_EQ(offer.GetContractWord(CBuyOfferDatabase::CONTRACT_END), CDate(1972, 1, 1).GetValue());

    for (int i = 0; i < CBuyOfferDatabase::TERMS; ++i)
        offer.SetTerm(i, 1000u * static_cast<uint32_t>(i + 1));
    offer.SetOfferID(41);
    offer.SetPlayerID(1234);
    offer.SetBiddingClubID(17);
    offer.SetSecondParty(3);
    offer.SetDaysWaited(9);
    offer.SetFlags(0x23);
    offer.SetByte(2, 8);
    offer.SetCountdown(CBuyOfferDatabase::COUNTDOWN_AWAITING_ANSWER);
    offer.SetFinished(true);
    CheckFileForm(offer, CBuyOfferDatabase::FILE_SIZE, LoadPlain);

    CBuyOfferDatabase copy;
    ASSERT_TRUE(LoadBytes(copy, SaveBytes(offer), LoadPlain));
    EXPECT_EQ(copy.GetCountdown(), CBuyOfferDatabase::COUNTDOWN_AWAITING_ANSWER);
    EXPECT_EQ(copy.GetFlags(), 0x23);
    EXPECT_FALSE(copy.IsFinished());  // not stored: starts clear after a load
    const std::vector<uint8_t> bytes = SaveBytes(offer);
    EXPECT_EQ(bytes[104], 0xD2);  // player 1234 at offset 104
    EXPECT_EQ(bytes[131], 127);

    std::vector<uint8_t> noPlayer = bytes;
    PutU32(noPlayer, 104, 0);
    EXPECT_FALSE(LoadBytes(copy, noPlayer, LoadPlain));
}

TEST(SmallRecords, OtherSmallRecordsFileForms)
{
    CLoanOfferDatabase loan;
    loan.SetOfferID(5);
    loan.SetPlayerID(77);
    loan.SetClubID(12);
    loan.SetKind(2);
    loan.SetWord(2, 99);
    loan.SetHalf(1, 7);
    loan.SetByte(2, 4);
    CheckFileForm(loan, CLoanOfferDatabase::FILE_SIZE, LoadPlain);
    const std::vector<uint8_t> loanBytes = SaveBytes(loan);
    EXPECT_EQ(loanBytes[22], 12);  // club
    EXPECT_EQ(loanBytes[28], 2);   // kind
    EXPECT_EQ(loanBytes[31], 0);
    EXPECT_EQ(loanBytes[32], 4);

    CheckFileForm(CListMarketEntry(250000, 88, 3, 1), CListMarketEntry::FILE_SIZE, LoadPlain);
    CheckFileForm(CLoanMarketEntry(88, 6), CLoanMarketEntry::FILE_SIZE, LoadPlain);

    CShortlistEntry shortlist(321);
    shortlist.Set(321, CDate(2025, 2, 3), 1);
    CheckFileForm(shortlist, CShortlistEntry::FILE_SIZE, LoadPlain);

    CTransferHistoryEntry transfer;
    TRANSFERHISTORYVALUES values;
    values.dwValue0 = 500000;
    values.dwValue1 = 44;
    values.wValue0 = 3;
    values.wValue1 = 8;
    values.date = CDate(2024, 7, 30);
    values.byValue = 2;
    transfer.Set(values);
    CheckFileForm(transfer, CTransferHistoryEntry::FILE_SIZE, LoadPlain);

    CLoanHistoryEntry loanHistory;
    LOANHISTORYVALUES loanValues;
    loanValues.dwValue = 61;
    loanValues.awValues[3] = 9;
    loanValues.abyValues[1] = 5;
    loanHistory.Set(loanValues);
    CheckFileForm(loanHistory, CLoanHistoryEntry::FILE_SIZE, LoadPlain);
}

TEST(SmallRecords, MarketEntryIgnoresReservedBytes)
{
    std::vector<uint8_t> bytes = SaveBytes(CListMarketEntry(1000, 5, 2, 1));
    bytes[11] = 0xEE;
    CListMarketEntry entry;
    ASSERT_TRUE(LoadBytes(entry, bytes, LoadPlain));
    EXPECT_EQ(entry.GetPlayerID(), 5u);
    EXPECT_EQ(SaveBytes(entry)[11], 0);
}
