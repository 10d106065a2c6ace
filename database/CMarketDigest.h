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

private:
    std::vector<Row> m_listed;
    std::vector<Row> m_loans;
};
