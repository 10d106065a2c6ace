#pragma once
// Every player of a division's clubs, or of all the league divisions of a
// country (screen 13), with his season's statistics or his contract,
// ordered by surname and narrowed by a filter mask over the competitions
// summed, appearances, nationality and position. The change parameter
// holds the division in its low byte and the kind of list from bit 9 on.
#include "screens/CClientTablesStaticsList.h"

#include "shell/PlayerRowIcons.h"

#include <cstdint>

class CPlayerDatabase;
class CXListBox;

class CClientTablesStaticsPlayers : public CClientTablesStaticsList {
public:
    enum : uint32_t { ID_KIND_CHOICE = 1144 };
    enum : int { KIND_STATISTICS = 0, KIND_CONTRACTS = 1 };
    static constexpr uint32_t kInitialFilter = 0xFF1;

    static uint32_t MakeParameter(uint8_t byDivisionID, int nKind)
    {
        return byDivisionID | (static_cast<uint32_t>(nKind) << 9);
    }

    CClientTablesStaticsPlayers();

    bool OnInitDialog() override;
    void OnDestroy() override;
    // A figure of a row opens the matches behind it, any other column the
    // player's details.
    void OnDoubleClicked(uint32_t dwID) override;
    void UpdateBars() override;
    uint32_t GetPreviousListPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextListPlayer() override { return MoveSelection(1); }
    uint32_t GetCurrentListPlayer() override;

    void FillTable() override;
    int GetKind() const { return m_nKind; }

protected:
    void FillOwnSelectors() override;
    const LISTCOLUMN* Columns() const override;
    int ListBottom() const override { return 476; }
    // The club players screen's squad filter choices.
    int FilterTextSet() const override { return 19; }
    bool TakeSelectors(uint32_t dwID) override;

private:
    void AddPlayerRow(CXListBox& list, COLORREF crClub, const CPlayerDatabase& player, int nHumanNationality);
    uint32_t MoveSelection(int nStep);

    int m_nKind = KIND_STATISTICS;
    int m_nLaidOutKind = KIND_STATISTICS;
    PlayerRowIcons m_RowIcons;
};
