#pragma once
// Lays players' records out again in a given order: after a season of
// transfers a squad's records lie scattered over the pool, and every walk
// over a squad (side selection, training, the weekly history) waits on
// memory for each of them. The records exchange places among the places
// they held between them, so that the pool's free places stay as they were;
// each holder of a player pointer then asks for the record's new place.
#include <cstddef>
#include <utility>
#include <vector>

class CPlayerDatabase;
class CXList;

class CPlayerRelocation {
public:
    // Moves the records of `order` (each player once) so that they follow
    // one another in that order by address.
    explicit CPlayerRelocation(const std::vector<CPlayerDatabase*>& order);

    // Where the record that lay at pPlayer lies now: pPlayer itself when it
    // did not move (or is null).
    CPlayerDatabase* NewPlace(CPlayerDatabase* pPlayer) const;
    // Points every element of a list of players at the record's new place.
    void UpdateList(CXList& list) const;
    // Records that changed place.
    int GetMovedCount() const { return m_nMoved; }

private:
    std::vector<std::pair<CPlayerDatabase*, CPlayerDatabase*>> m_places;  // old place, new place; by old place
    int m_nMoved = 0;
};
