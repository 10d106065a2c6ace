#pragma once
// The title bar along the top of every game screen (screen id 84): by its
// display mode the manager's name, or the next fixture with both managers,
// the bank balance, the next match date and today's date, or the four
// information blocks; screens clear its per-screen state on entry.
#include "xframework/CXClient.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CXAnimation;
class CXStatic;
class CXSurface;

class CGameTitlebar : public CXClient {
public:
    static constexpr int kLabelCount = 13;

    CGameTitlebar();
    ~CGameTitlebar() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void ConstructScreen() override;

    // Hides every label; a new mode loads its background ("Toolbar0.bmp" for
    // 0, "Toolbar1.bmp" for 1 to 6, "Toolbar2.bmp" for 7); shows the mode's
    // labels and redraws the blocks.
    void SetMode(int nMode);
    int GetMode() const { return m_nMode; }
    // Redraws the blocks of the mode; nothing without a current human
    // manager or outside modes 1 to 6.
    void Update();
    // 0 date, 1 and 2 bank, 3 fixture, 4 manager; any other kind nothing.
    void SetBlock(int nKind);
    // The per-screen state that every game screen clears on entry.
    void ClearScreenState()
    {
        m_bDivisionAddAll = 0;
        m_bCountryAddAll = 0;
    }
    CXStatic* GetLabel(uint32_t dwID) const;
    // One kit from the kit strip: the cell's white in the first colour, its
    // red in the second, shaded by the kit mask, copied to (x, y) of the
    // target (keyed or plain). A cell beyond the strip draws cell 0.
    static void DrawIcon(CXSurface* pTarget, int nCell, int x, int y, COLORREF crFirst, COLORREF crSecond,
                         bool bKeyed);
    // The colour of a kit colour index, as the world gives its clubs.
    static COLORREF GetKitColour(int nIndex);

    uint8_t m_bDivisionAddAll = 0;
    uint8_t m_bCountryAddAll = 0;

private:
    void DrawManagerLabel();
    void DrawFixtureBlock();
    void DrawKits(const CClubDatabase* pHome, const CClubDatabase* pAway);
    void DrawNextMatchDate();
    void DrawBank();
    void DrawDate();
    void DrawWeather();
    void ShowLabels(const uint32_t* pIDs);

    int m_nMode = -1;
    // The weather icons: three skies, six kinds of rain or snow, three winds.
    CXSurface* m_pWeatherStrip = nullptr;
    std::vector<std::unique_ptr<CXAnimation>> m_WeatherIcons;
};

extern CGameTitlebar* g_pTitlebar;
