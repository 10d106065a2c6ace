#pragma once
// What a club's ground is made of (screen 34): in one view its stands with
// value, yearly running cost, capacity and the seats filled at the last home
// match, in the other its facilities and pitch features with value and
// yearly cost; work in hand is listed beside the finished parts with where
// it stands, and totals stand under the money and seat columns. The title
// bar chooses the club and the view. The change parameter holds the club id
// in bits 0-15 and the view above them.
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CComponentDatabase;
class CComponentScheduleDatabase;
class CXAnimation;
class CXListBox;
class CXSurface;
struct HOMEMATCHSTANDS;

class CClientGroundGeneral : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 374,
        ID_TOTAL_VALUE = 377,
        ID_TOTAL_YEARLY = 378,
        ID_TOTAL_CAPACITY = 379,
        ID_TOTAL_FILLED = 380,
        ID_VIEW_SELECTOR = 805,
        ID_SCROLLBAR = 901,
    };
    enum { VIEW_STANDS = 0, VIEW_FACILITIES = 1 };
    static constexpr int kViewSelector = 24;
    // The list's columns: name, state, value, yearly cost, capacity, filled.
    enum { COLUMN_NAME, COLUMN_STATE, COLUMN_VALUE, COLUMN_YEARLY, COLUMN_CAPACITY, COLUMN_FILLED };

    static constexpr uint32_t Parameter(uint16_t wClub, int nView)
    {
        return wClub | static_cast<uint32_t>(nView) << 16;
    }

    CClientGroundGeneral();
    ~CClientGroundGeneral() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnPrint() override;

    void ShowView();
    void FillStadiumList();
    void FillFacilityList();

    // The seats of a stand filled at a home match: the crowd of its ticket
    // sections when the record keeps them; otherwise its seats times the
    // crowd's share of the capacity, with the season-ticket holders of the
    // human's own club (at a league match, or before any) added, never more
    // than the stand holds. No match: the holders alone.
    static int GetStandSeatsFilled(const CComponentDatabase& stand, const HOMEMATCHSTANDS* pMatch, int nHolders);
    // Frames of the three icon sheets (-1 for a component of another kind).
    static int GetStandIconFrame(int nSubType, int nSize);
    static int GetFacilityIconFrame(int nSubType, int nSize);
    static int GetFeatureIconFrame(int nSubType);

    const CClubDatabase* GetClub() const { return m_pClub; }
    int GetView() const { return m_byView; }
    CXListBox* GetList() const { return m_pList; }
    int64_t GetTotalValue() const { return m_nTotalValue; }
    int64_t GetTotalYearly() const { return m_nTotalYearly; }
    int64_t GetTotalCapacity() const { return m_nTotalCapacity; }
    int64_t GetTotalFilled() const { return m_nTotalFilled; }

private:
    struct ICONSHEET {
        std::unique_ptr<CXSurface> pSheet;
        std::vector<std::unique_ptr<CXAnimation>> Frames;
    };
    void LoadIcons(ICONSHEET& sheet, const char* pszName, int nFrames);
    void AddIcon(int nRow, ICONSHEET& sheet, int nFrame);
    void FillViewSelector();
    void SetTotals();
    // Running work on the component: its schedules not yet done.
    bool IsUnderWork(const CComponentDatabase& component) const;
    const char* StateOfSchedule(const CComponentScheduleDatabase& schedule) const;

    const CClubDatabase* m_pClub = nullptr;
    uint8_t m_byView = VIEW_STANDS;
    CXListBox* m_pList = nullptr;
    ICONSHEET m_Stands, m_Facilities, m_Features;
    int64_t m_nTotalValue = 0, m_nTotalYearly = 0, m_nTotalCapacity = 0, m_nTotalFilled = 0;
    bool m_bQuiet = false;
};

CClientGroundGeneral& GetGroundGeneralScreen();
