#pragma once
// The transfer and loan lists as the computer clubs' monthly searches read
// them: each entry's node and asking price beside the facts of its player
// that decide whether a club may want him, side by side in list order. Every
// club's search walks both lists, and without the digest each entry costs a
// look-up and a read of a player's record lying anywhere in memory: over a
// month's searches the lists are read once a club, their players once.
// Made for one round of searches, during which neither the lists nor the
// players change; a search still checks in full every entry the digest
// lets through.
#include "common/CXList.h"
#include "database/CClubDatabase.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class CDatabaseHandler;

class CMarketDigest {
public:
    struct Row {
        LPXLISTNODE pNode = nullptr;
        bool bEntry = false;   // the node holds an entry
        bool bFacts = false;   // a player in memory: the facts below are his
        uint32_t dwAskingPrice = 0;
        CClubDatabase::TargetFacts facts;
    };

    explicit CMarketDigest(CDatabaseHandler& root);

    const std::vector<Row>& GetListed() const { return m_listed; }
    const std::vector<Row>& GetLoans() const { return m_loans; }
    // Whether the digest still describes the lists: the same counts and ends.
    bool Describes(const CXList& listed, const CXList& loans) const;

    // Hands visit the rows of a list a search may take, from the row at
    // nStart round to the one before it, while visit answers true: the rows
    // whose players are of the area (CClubDatabase::GetRoleArea) asked for,
    // of any country for a search of every country, else of the country
    // asked for, and those left to the full check. Rows without an entry are
    // never handed over: a search passes over them anyway.
    template <typename Visit>
    void Walk(bool bLoans, int nStart, bool bEveryCountry, const CCountryDatabase* pCountry, int nArea,
              Visit visit) const
    {
        const std::vector<Row>& rows = bLoans ? m_loans : m_listed;
        if (rows.empty())
            return;
        const Index& index = bLoans ? m_loanIndex : m_listedIndex;
        const std::vector<int>& candidates = bEveryCountry ? index.OfEveryCountry(nArea) : index.Of(pCountry, nArea);
        const auto first = std::lower_bound(candidates.begin(), candidates.end(), nStart);
        for (auto it = first; it != candidates.end(); ++it)
            if (!visit(rows[static_cast<size_t>(*it)]))
                return;
        for (auto it = candidates.begin(); it != first; ++it)
            if (!visit(rows[static_cast<size_t>(*it)]))
                return;
    }

private:
    // A list's rows by the country and area of their players, and by the
    // area alone, in list order; the rows left to the full check are in
    // every one.
    struct Index {
        static constexpr int kAreas = 8;
        std::vector<int> anSlots = std::vector<int>(256 * kAreas, -1);  // country id * 8 + area
        std::vector<std::vector<int>> buckets;
        std::vector<std::vector<int>> areaBuckets = std::vector<std::vector<int>>(kAreas);
        std::vector<int> fullCheck;
        void Build(const std::vector<Row>& rows);
        const std::vector<int>& Of(const CCountryDatabase* pCountry, int nArea) const;
        const std::vector<int>& OfEveryCountry(int nArea) const;
    };

    std::vector<Row> m_listed;
    std::vector<Row> m_loans;
    Index m_listedIndex;
    Index m_loanIndex;
};
