#pragma once
// The transfer history (screen 19): the completed transfers, or loans, of
// all the divisions of one country in one season, the running season's
// from the divisions' records and a closed one's from their archives,
// narrowed by the transfer market's filter masks. The change parameter
// holds a division (whose country is shown) in bits 0-7, the kind in bits
// 8-15 and the season index plus one in bits 16 and up (0: the running
// season).
#include "shell/CGameClient.h"

#include "database/CHistoryEntries.h"
#include "shell/PlayerRowIcons.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCountryDatabase;
class CXListBox;

class CClientTransferHistory : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 199,
        ID_SCROLLBAR = 901,
        ID_FILTER = 981,
        ID_COUNTRY_CHOICE = 1138,
        ID_KIND_CHOICE = 802,
        ID_SEASON_CHOICE = 1141,
    };
    enum : int { KIND_TRANSFERS = 0, KIND_LOANS = 1 };
    // Season index 0 is the season 1999 / 2000.
    static constexpr int kFirstSeasonYear = 1999;

    static uint32_t MakeParameter(uint8_t byDivisionID, int nKind, int nSeasonIndex)
    {
        return byDivisionID | static_cast<uint32_t>(nKind & 0xFF) << 8 | static_cast<uint32_t>(nSeasonIndex + 1)
                                                                             << 16;
    }
    // The oldest season the archives keep with the running one and the
    // seasons kept.
    static int FirstSeason(int nCurrentSeason, int nSeasonsKept)
    {
        return nCurrentSeason > nSeasonsKept ? nCurrentSeason - nSeasonsKept : 0;
    }
    // Whether a record passes the shown kind's mask. Transfers: bits 0-1 a
    // move for a fee / a free one (or in exchange), bits 2-3 the human's
    // nationality / another, bits 4-7 position. Loans: bits 0-1 nationality,
    // bits 2-5 position. The market's bits of the last visit do not count.
    static bool PassesTransferMask(uint32_t dwMask, uint8_t byListingType, bool bHomeNationality, int nPosition);
    static bool PassesLoanMask(uint32_t dwMask, bool bHomeNationality, int nPosition);

    CClientTransferHistory();
    ~CClientTransferHistory() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnPrint() override;
    void UpdateBars() override;
    void ConstructScreen() override;
    uint32_t GetPreviousListPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextListPlayer() override { return MoveSelection(1); }
    uint32_t GetCurrentListPlayer() override { return MoveSelection(0); }

    void ShowCountry(CCountryDatabase* pCountry);
    void ShowKind(int nKind);
    void ShowSeason(int nSeasonIndex);
    // A new mask for the shown kind; the list is filled again when it changed.
    void SetFilter(uint32_t dwMask);
    // The filter panel's choices: the transfer market's, without the group
    // of when a player was listed, which a completed move does not have.
    static std::vector<std::string> FilterEntries(int nKind);
    uint32_t GetFilter() const { return m_nKind == KIND_LOANS ? m_nLoanFilter : m_nTransferFilter; }

    CXListBox* GetList() const;
    const CCountryDatabase* GetCountry() const { return m_pCountry; }
    int GetKind() const { return m_nKind; }
    int GetSeason() const { return m_nSeason; }
    int GetCurrentSeason() const { return m_nCurrentSeason; }
    const std::vector<TRANSFERHISTORYVALUES>& GetTransfers() const { return m_Transfers; }
    const std::vector<LOANHISTORYVALUES>& GetLoans() const { return m_Loans; }

private:
    void DrawPanel();
    void LoadTransfers();
    void LoadLoans();
    void FillSeasonSelector();
    void FillKindSelector();
    void FreeRecords();
    // Shows the row of a title-bar choice without telling the screen.
    void ShowChoice(int nSelector, uint32_t dwData);
    int SeasonsKept() const;
    uint32_t MoveSelection(int nStep);
    // The player a row of the list names.
    uint32_t PlayerOfRecord(size_t nRecord) const;

    CCountryDatabase* m_pCountry = nullptr;
    int m_nKind = KIND_TRANSFERS;
    uint32_t m_nTransferFilter = 1023;
    uint32_t m_nLoanFilter = 255;
    int m_nCurrentSeason = 0;
    int m_nSeason = 0;
    bool m_bFilling = false;
    std::vector<TRANSFERHISTORYVALUES> m_Transfers;
    std::vector<LOANHISTORYVALUES> m_Loans;
    PlayerRowIcons m_RowIcons;
    std::unique_ptr<CXSurface> m_pFilterFace;
};
