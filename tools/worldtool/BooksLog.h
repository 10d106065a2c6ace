#pragma once
// The money a run moves: every club's bookings summed by finance category,
// for a person checking what the season pays and charges.
#include <array>
#include <cstdint>
#include <cstdio>

#include "database/CClubDatabase.h"

namespace tools {

class BooksLog : public CClubDatabase::FINANCEOBSERVER {
public:
    static constexpr int CATEGORIES = 103;

    // Watches every club's bookings from now until destroyed.
    BooksLog();
    ~BooksLog() override;
    BooksLog(const BooksLog&) = delete;
    BooksLog& operator=(const BooksLog&) = delete;

    void OnTransaction(const CClubDatabase& club, int nCategory, int32_t nIncome, int32_t nExpense) override;
    void OnBalanceSet(const CClubDatabase&, int32_t, int32_t) override {}
    void OnBanked(const CClubDatabase&) override {}

    // One line a category that moved money: "category C income I expense E".
    void write(std::FILE* pFile) const;

private:
    std::array<int64_t, CATEGORIES> m_anIncome{};
    std::array<int64_t, CATEGORIES> m_anExpense{};
    CClubDatabase::FINANCEOBSERVER* m_pPrevious;
};

}  // namespace tools
