// Two seasons of the starting world watched day by day: every player who
// changes clubs or goes on loan is found in the season records of his
// divisions, either still in the season's lists or in the archive files the
// season turn wrote; and the market moves as football's does.
#include "../dayloop/DayLoopSupport.h"

#include "common/CBinaryFile.h"
#include "database/CHistoryEntries.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace markets_test {
namespace {

using dayloop_test::DayLoopWorld;

// player, from club, to club, date
using Move = std::tuple<ID_PLAYER, ID_CLUB, ID_CLUB, uint32_t>;

class TwoSeasonsOfMoves : public DayLoopWorld {
protected:
    struct Where {
        ID_CLUB idClub = 0;
        ID_CLUB idLoanClub = 0;
    };
    std::vector<Where> Snapshot()
    {
        std::vector<Where> where;
        for (CDivisionDatabase* pDivision : Divisions())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                    if (where.size() <= p->m_idPerson)
                        where.resize(p->m_idPerson + 1);
                    where[p->m_idPerson] = {pClub->GetID(), p->m_wLoanClubId};
                }
        return where;
    }
    // Every counted block of a division's archive file.
    template <typename Entry, typename Add>
    static void ReadArchive(const std::string& name, int nEntryBytes, Add add)
    {
        const std::string bytes = ReadFile(name);
        CBinaryReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        uint32_t dwCount = 0;
        while (reader.Remaining() > 0) {
            ASSERT_TRUE(reader.ReadU32(dwCount)) << name;
            ASSERT_LE(static_cast<int64_t>(dwCount) * nEntryBytes, reader.Remaining()) << name;
            for (uint32_t i = 0; i < dwCount; ++i) {
                Entry entry;
                ASSERT_TRUE(entry.Load(reader)) << name;
                add(entry.Get());
            }
        }
    }
};

TEST_F(TwoSeasonsOfMoves, EveryTransferAndLoanReachesTheSeasonRecordsAndTheArchives)
{
    // A move seen after a day's run is dated that day or the day before it.
    std::set<Move> transfers, loans;
    int nDays = 0;
    std::vector<Where> before = Snapshot();
    // Two seasons and the second season's turn.
    while (H().GetGameDate() < CDate(2001, 7, 10)) {
        const uint32_t dwToday = H().GetGameDate().GetValue();
        RunDays(1);
        ++nDays;
        const std::vector<Where> after = Snapshot();
        for (size_t id = 0; id < std::min(before.size(), after.size()); ++id) {
            const Where& a = before[id];
            const Where& b = after[id];
            if (a.idClub && b.idClub && a.idClub != b.idClub)
                transfers.emplace(static_cast<ID_PLAYER>(id), a.idClub, b.idClub, dwToday);
            if (b.idLoanClub && b.idLoanClub != a.idLoanClub)
                loans.emplace(static_cast<ID_PLAYER>(id), b.idClub, b.idLoanClub, dwToday);
        }
        before = after;
    }
    ASSERT_GT(nDays, 700);

    std::set<Move> recordedTransfers, recordedLoans;
    // Fee over the player's value now, of the moves for a fee; free moves.
    std::vector<double> feeOverValue;
    std::set<Move> freeMoves;
    const auto addTransfer = [&](const TRANSFERHISTORYVALUES& v) {
        const Move move(v.dwValue0, v.wValue0, v.wValue1, v.date.GetValue());
        if (!recordedTransfers.insert(move).second)
            return;
        const CPlayerDatabase* pPlayer = H().GetPlayerFromID(v.dwValue0);
        if (v.dwValue1 == 0)
            freeMoves.insert(move);
        else if (pPlayer && pPlayer->m_dwValue > 0)
            feeOverValue.push_back(static_cast<double>(v.dwValue1) / pPlayer->m_dwValue);
    };
    const auto addLoan = [&](const LOANHISTORYVALUES& v) {
        recordedLoans.emplace(v.dwValue, v.awValues[0], v.awValues[1],
                              CDate(v.awValues[3], v.abyValues[1], v.abyValues[0]).GetValue());
    };
    size_t nArchived = 0;
    for (CDivisionDatabase* pDivision : Divisions()) {
        for (const CTransferHistoryEntry* p : pDivision->m_lstSeasonTransfers.Items<CTransferHistoryEntry>())
            addTransfer(p->Get());
        for (const CLoanHistoryEntry* p : pDivision->m_lstSeasonLoans.Items<CLoanHistoryEntry>())
            addLoan(p->Get());
        const std::string id = std::to_string(pDivision->m_byDivisionId);
        const size_t nBefore = recordedTransfers.size() + recordedLoans.size();
        ReadArchive<CTransferHistoryEntry>("temp" + id + ".ths", CTransferHistoryEntry::FILE_SIZE, addTransfer);
        ReadArchive<CLoanHistoryEntry>("temp" + id + ".lhs", CLoanHistoryEntry::FILE_SIZE, addLoan);
        nArchived += recordedTransfers.size() + recordedLoans.size() - nBefore;
    }
    EXPECT_GT(nArchived, 0u) << "the season turns archived moves";
    const auto recorded = [](const std::set<Move>& records, const Move& move) {
        const auto [id, from, to, dwDay] = move;
        return records.count(move) || records.count(Move(id, from, to, CDate(dwDay, 1).GetValue()));
    };
    for (const Move& move : transfers)
        EXPECT_TRUE(recorded(recordedTransfers, move)) << "transfer of player " << std::get<0>(move);
    for (const Move& move : loans)
        EXPECT_TRUE(recorded(recordedLoans, move)) << "loan of player " << std::get<0>(move);

    // Football's market: a few permanent moves and loans a season per club.
    int nClubs = 0;
    for (CDivisionDatabase* pDivision : Divisions())
        nClubs += pDivision->GetClubCount();
    const double dClubSeasons = 2.0 * nClubs;
    const double dTransfers = static_cast<double>(transfers.size()) / dClubSeasons;
    const double dLoans = static_cast<double>(loans.size()) / dClubSeasons;
    RecordProperty("transfers_per_club_season", std::to_string(dTransfers));
    RecordProperty("loans_per_club_season", std::to_string(dLoans));
    // Twice the volume of a market whose clubs never listed a player.
    EXPECT_GE(dTransfers, 0.8);
    EXPECT_LE(dTransfers, 8.0);
    EXPECT_GE(dLoans, 0.5);
    EXPECT_LE(dLoans, 8.0);
    EXPECT_GT(freeMoves.size(), 0u) << "released players find new clubs";
    RecordProperty("free_transfers", static_cast<int>(freeMoves.size()));
    // Fees follow the players' values: the middle fee lies near the value.
    ASSERT_FALSE(feeOverValue.empty());
    std::sort(feeOverValue.begin(), feeOverValue.end());
    const double dMedian = feeOverValue[feeOverValue.size() / 2];
    RecordProperty("median_fee_over_value", std::to_string(dMedian));
    RecordProperty("quartile_fee_over_value", std::to_string(feeOverValue[feeOverValue.size() / 4]) + " " +
                                                  std::to_string(feeOverValue[feeOverValue.size() * 3 / 4]));
    EXPECT_GE(dMedian, 0.5);
    EXPECT_LE(dMedian, 2.5);
}

}  // namespace
}  // namespace markets_test
