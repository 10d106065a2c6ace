#pragma once
// The managers table (screen 12): the clubs of a division in league order
// with each club's manager, his rating and ability, and the fans'
// confidence in the club; the holder of the division's manager award is
// starred. Places and moves come from the clubs' own league positions.
#include "screens/CClientTablesStaticsLeague.h"

class CClientTablesStaticsManagers : public CClientTablesStaticsLeague {
public:
    enum : uint32_t { ID_MANAGER_HEADER = 169, ID_CLUB_HEADER = 938 };

    CClientTablesStaticsManagers();

    void FillTable() override;
    // A double click on a manager opens his details, on a club its screen;
    // the other columns as in the league table.
    void OnDoubleClicked(uint32_t dwID) override;
    // The details popup's browse: the row above or below is selected (the
    // ends stay) and the id of its club's manager answered, 0 for none.
    uint32_t GetPreviousManager() override { return MoveSelection(-1); }
    uint32_t GetNextManager() override { return MoveSelection(1); }
    // The move arrow of a club from its previous and current league
    // position (1 up, -1 down, 0 the same, 2 none without a previous one).
    static int MoveFromPositions(int nPrevious, int nCurrent);

    // The row starred for the division's manager award, -1 for none.
    int GetStarredRow() const { return m_nStarredRow; }

private:
    uint32_t MoveSelection(int nStep);

    int m_nStarredRow = -1;
};
