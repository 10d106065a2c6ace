#pragma once
// The transfer market (screen 16): the players that clubs have put on the
// transfer list or on the loan list, by country and by the filter mask,
// above the human manager's shortlist. Leaving the screen stamps the visit,
// so that listings newer than the last visit can be told apart.
#include "shell/CGameClient.h"
#include "shell/PlayerRowIcons.h"

#include "common/CDate.h"

#include <cstdint>
#include <memory>
#include <vector>

class CCountryDatabase;
class CPlayerDatabase;
class CSaveGame;
class CXAnimation;
class CXComboBox;
class CXListBox;

class CClientTransferMarket : public CGameClient {
public:
    enum : uint32_t {
        ID_MARKET_LIST = 194,
        ID_SHORTLIST = 195,
        ID_MARKET_BAR = 901,
        ID_SHORTLIST_BAR = 902,
        ID_FILTER = 981,
        ID_KIND_CHOICE = 802,
        ID_COUNTRY_CHOICE = 1138,
    };
    enum : int { LIST_TRANSFER = 0, LIST_LOAN = 1 };
    // Every bit of each filter group set.
    static constexpr uint32_t kAllTransferFilters = 1023;
    static constexpr uint32_t kAllLoanFilters = 255;
    // The filter panel's choices of each list, in filter-bit order.
    static constexpr int kTransferFilterTextSet = 109;
    static constexpr int kLoanFilterTextSet = 110;

    CClientTransferMarket();
    ~CClientTransferMarket() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnClicked(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    // The lists show what the player's details changed (his shortlisting).
    void OnEndPopup(CXPopup* pPopup) override;
    void ConstructScreen() override;
    uint32_t GetPreviousListPlayer() override { return StepLastList(-1); }
    uint32_t GetNextListPlayer() override { return StepLastList(1); }
    uint32_t GetCurrentListPlayer() override { return StepLastList(0); }

    // The screen's parameter: a country id (0 every country) and a list kind.
    static uint32_t MakeParameter(int nCountryID, int nListKind)
    {
        return static_cast<uint32_t>(nCountryID & 0xFFFF) | static_cast<uint32_t>(nListKind & 0xFFFF) << 16;
    }

    // Whether a listing passes a mask: every group needs one enabled bit
    // that matches. Transfer groups: bits 0-1 listing type 1 / 4, bits 2-3
    // the human's nationality / another, bits 4-7 position 0-3, bits 8-9
    // listed before / on or after the last visit. Loan groups: bits 0-1 plays
    // in the human's country / another, bits 2-5 position, bits 6-7 visit.
    static bool PassesTransferFilter(uint32_t dwMask, uint8_t byListingType, bool bHomeNationality, int nPosition,
                                     bool bNewSinceVisit);
    static bool PassesLoanFilter(uint32_t dwMask, bool bHomeCountry, int nPosition, bool bNewSinceVisit);

    // Shows the transfer list (0) or the loan list (1).
    void ShowList(int nListKind);
    // Limits the upper list to one country (null: every country).
    void ShowCountry(CCountryDatabase* pCountry);
    // Takes a filter mask for the shown list and refills it when it changed.
    void SetFilter(uint32_t dwMask);
    uint32_t GetFilter() const { return m_nListKind == LIST_LOAN ? m_dwLoanFilter : m_dwTransferFilter; }
    int GetListKind() const { return m_nListKind; }
    CCountryDatabase* GetCountry() const { return m_pCountry; }
    CXListBox* GetMarketList() const;
    CXListBox* GetShortlist() const;
    // The day a listed player went on the list.
    static CDate ListingDate(const CDate& today, const CPlayerDatabase& player);

private:
    void DrawPanel();
    void FillTransferList();
    void FillLoanList();
    void FillShortlist();
    void FillChoices();
    // Adds a player row (with the contract column, and the price when one is
    // given), its colour, position icon and player id.
    void AddPlayerRow(CXListBox* pList, COLORREF crRow, const CPlayerDatabase& player, const CDate& date,
                      bool bContract, const char* pszPrice);
    uint32_t StepLastList(int nStep);
    CSaveGame* Human() const;

    CXListBox* m_pLastList = nullptr;
    int m_nShortlistSel = -1;
    uint32_t m_dwTransferFilter = kAllTransferFilters;
    uint32_t m_dwLoanFilter = kAllLoanFilters;
    CCountryDatabase* m_pCountry = nullptr;
    int m_nListKind = LIST_TRANSFER;
    bool m_bFilling = false;
    PlayerRowIcons m_RowIcons;
    std::unique_ptr<CXSurface> m_pFilterFace;
};
