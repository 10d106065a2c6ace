#pragma once
// Every player of a division's clubs, or of all the league divisions of a
// country (screen 13), with his season's statistics or his contract,
// ordered by surname and narrowed by a filter mask over the competitions
// summed, appearances, nationality and position. The change parameter
// holds the division in its low byte and the kind of list from bit 9 on.
#include "shell/CGameClient.h"

#include "screens/PlayerRowIcons.h"

#include <cstdint>

class CCountryDatabase;
class CDivisionDatabase;
class CPlayerDatabase;
class CXListBox;

class CClientTablesStaticsPlayers : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 1036,
        ID_SCROLLBAR = 901,
        ID_COUNTRY_CHOICE = 1138,
        ID_DIVISION_CHOICE = 1139,
        ID_KIND_CHOICE = 1144,
    };
    enum : int { KIND_STATISTICS = 0, KIND_CONTRACTS = 1 };
    static constexpr uint32_t kInitialFilter = 0xFF1;

    static uint32_t MakeParameter(uint8_t byDivisionID, int nKind)
    {
        return byDivisionID | (static_cast<uint32_t>(nKind) << 9);
    }

    CClientTablesStaticsPlayers();

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    // A row opens the player's details.
    void OnDoubleClicked(uint32_t dwID) override;
    void OnPrint() override;
    void UpdateBars() override;
    void ConstructScreen() override;
    uint32_t GetPreviousListPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextListPlayer() override { return MoveSelection(1); }
    uint32_t GetCurrentListPlayer() override;

    void Refresh();
    void FillTable();
    // A new filter mask; the list is filled again when it changed.
    void SetFilter(uint32_t dwMask);
    uint32_t GetFilter() const { return m_nFilter; }
    int GetKind() const { return m_nKind; }
    // The division shown, null for all the league divisions of the country.
    const CDivisionDatabase* GetDivision() const { return m_pDivision; }
    const CCountryDatabase* GetCountry() const { return m_pCountry; }
    CXListBox* GetList() const;

private:
    void FillKindSelector();
    void AddPlayerRow(CXListBox& list, COLORREF crClub, const CPlayerDatabase& player, int nHumanNationality);
    uint32_t MoveSelection(int nStep);
    void TakeSelectors();

    int m_nKind = KIND_STATISTICS;
    int m_nLaidOutKind = KIND_STATISTICS;
    uint32_t m_nFilter = kInitialFilter;
    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    bool m_bFilling = false;
    PlayerRowIcons m_RowIcons;
};
