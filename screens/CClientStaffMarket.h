#pragma once
// The staff market (screen 21): the staff members free to be hired, in the
// order of the database's unattached staff pool and narrowed by a filter of
// nationality and staff kind, above the human manager's open staff
// negotiations with the state of each.
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>

class CSaveGame;
class CStaffDatabase;
class CXListBox;

class CClientStaffMarket : public CGameClient {
public:
    enum : uint32_t {
        ID_MARKET_LIST = 238,
        ID_NEGOTIATIONS = 239,
        ID_MARKET_BAR = 901,
        ID_NEGOTIATIONS_BAR = 902,
        ID_FILTER = 981,
    };
    // Filter bits: bit 0 the human's own country, bit 1 abroad; then one bit
    // per staff kind.
    enum : uint8_t { FILTER_HOME = 1, FILTER_FOREIGN = 2 };
    static constexpr uint8_t kWholeFilter = 0xFF;
    // The filter panel's choices, in filter-bit order.
    static constexpr int kFilterTextSet = 22;

    CClientStaffMarket();
    ~CClientStaffMarket() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void ConstructScreen() override;
    void OnClicked(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void UpdateBars() override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    uint32_t GetPreviousStaff() override { return StepLastList(-1); }
    uint32_t GetNextStaff() override { return StepLastList(1); }
    uint32_t GetCurrentStaff() override { return StepLastList(0); }

    // The filter bit of a staff kind (0 outside the kinds).
    static uint8_t KindFilterBit(int nKind);
    // Whether a staff member of the kind, from home or abroad, passes the filter.
    static bool PassesFilter(uint8_t byFilter, bool bHomeNationality, int nKind);

    // The free staff that pass the filter, in the pool's order.
    void AddMarketToListBox();
    // The human's staff negotiations in the order they were begun.
    void FillNegotiations();
    // Takes a filter and fills the market again when it changed.
    void SetFilter(uint8_t byFilter);
    uint8_t GetFilter() const { return m_byFilter; }
    CXListBox* GetMarketList() const;
    CXListBox* GetNegotiationList() const;

private:
    void AddStaffRow(CXListBox* pList, const CStaffDatabase& staff, uint32_t dwDate, const char* pszLast);
    uint32_t StepLastList(int nStep);
    CSaveGame* Human() const;

    uint8_t m_byFilter = kWholeFilter;
    CXListBox* m_pLastList = nullptr;
    std::unique_ptr<CXSurface> m_pFilterFace;
};

CClientStaffMarket& GetStaffMarketScreen();
