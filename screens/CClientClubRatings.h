#pragma once
// A club's ten ratings (screen 18): a graph of their weekly history over
// the last year with the present value as each line's last point, and a bar
// for each present value marked with the lowest and highest of its line.
// A toggle per rating, captioned with its value, shows or hides its line;
// the title bar's selectors choose the club.
#include "shell/CGameClient.h"

#include <array>
#include <cstdint>
#include <memory>

class CClubDatabase;
class CCountryDatabase;
class CDivisionDatabase;
class CXGraph;
class CXSurface;

class CClientClubRatings : public CGameClient {
public:
    static constexpr int kRatings = 10;
    enum : uint32_t { ID_FIRST_TOGGLE = 262, ID_GRAPH = 272 };

    CClientClubRatings();
    ~CClientClubRatings() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;

    void FillGraph();
    void DrawRatings();
    void DrawRatingBar(COLORREF crColour, int x, int y, int nValue, int nLow, int nHigh);

    // The present value of graph line k (0 for the manager's line without a
    // manager).
    static int GetRating(const CClubDatabase& club, int nLine);
    // The graph line of each byte of the weekly history record.
    static int LineOfRecordByte(int nByte);

    const CClubDatabase* GetClub() const { return m_pClub; }
    CXGraph* GetGraph() const { return m_pGraph; }

private:
    const CClubDatabase* m_pClub = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    const CCountryDatabase* m_pCountry = nullptr;
    CXGraph* m_pGraph = nullptr;
    std::unique_ptr<CXSurface> m_pMarkers;
    // The toggles as they were when the screen last closed, given back when
    // it opens again for another club.
    std::array<uint8_t, kRatings> m_abyKeptChecked{};
    bool m_bRestore = false;
};

CClientClubRatings& GetClubRatingsScreen();
