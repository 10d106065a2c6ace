#pragma once
// The ticket prices screen (screen 36): four prices (friendly, league, cup,
// season ticket) for every section of every stand of the human's ground,
// with each section's seats, season tickets and crowd at the last home
// match; a plan of the ground in which each section is a coloured band to
// click; step-by-step undo; a pricing policy left to the commercial manager;
// and a graph of the chosen section's (or the whole ground's) takings and
// crowd at this season's home matches.
#include "shell/CGameClient.h"

#include "database/MatchHistory.h"

#include <cstdint>
#include <memory>
#include <vector>

class CComponentDatabase;
class CSaveGame;
class CXAnimation;
class CXGraph;
class CXListBox;
class CXSurface;

class CClientTicketPrices : public CGameClient {
public:
    enum : uint32_t {
        ID_GRAPH = 391,
        ID_SECTIONS = 392,
        ID_POLICY = 394,
        ID_SHOW_TAKINGS = 396,
        ID_SHOW_CROWD = 397,
        ID_TOTAL_CAPACITY = 400,
        ID_TOTAL_SEASON = 401,
        ID_TOTAL_FILLED = 402,
        ID_SCROLLBAR = 901,
        ID_UNDO = 1170,
        ID_UNDO_ALL = 1171,
        // The message box's answers: the three policies, and yes.
        ID_POLICY_RAISE = 1167,
        ID_POLICY_STANDARD = 1168,
        ID_POLICY_LOWER = 1169,
        ID_CONFIRM = 884,
    };
    enum { MESSAGE_UNDO_ALL = 5, MESSAGE_POLICY = 44 };
    enum { LINE_TAKINGS = 0, LINE_CROWD = 1 };
    enum { POLICY_MANUAL = 0, POLICY_RAISE = 1, POLICY_STANDARD = 2, POLICY_LOWER = 3 };
    // The list's first price column (friendly); the season ticket is the last.
    static constexpr int kFirstPriceColumn = 7;
    static constexpr int kPriceKinds = 4;
    static constexpr uint8_t kNoPosition = 0xFF;
    // The ground plan: its surface, where it stands on the screen, and the
    // whole-ground area in its middle.
    static constexpr int kPlanWidth = 264, kPlanHeight = 233;
    static constexpr int kPlanX = 360, kPlanY = 240;
    static constexpr int kPitchLeft = 428, kPitchTop = 308, kPitchRight = 556, kPitchBottom = 405;

    CClientTicketPrices();

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnSelChange(uint32_t dwID) override;
    void OnListNotify(uint32_t dwID) override;
    void OnClicked(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;
    void OnPrint() override;

    // The list rows, totals and the ground plan from the human's ground.
    void FillSections();
    // Chooses a section (position kNoPosition: none), first keeping the
    // choice before it for undo when asked.
    void SelectSection(int nPosition, int nSection, bool bUndo);
    // A price typed into a row's price column becomes the section's price of
    // that kind; the change can be undone.
    void SetPrice(int nRow, int nColumn, int nPrice);
    void Undo();
    void UndoAll();
    // With bReset the policy turns back to manual; a policy other than
    // manual sets the prices and ends the undo history.
    void UpdateButtons(bool bReset);
    void SetupGraph();

    CXListBox* GetSections() const { return m_pSections; }
    CXGraph* GetGraph() const { return m_pGraph; }
    int GetSelectedPosition() const { return m_nSelPosition; }
    int GetSelectedSection() const { return m_nSelSection; }
    bool IsWholeGround() const { return m_bWholeGround; }
    size_t GetUndoCount() const { return m_Undo.size(); }
    // The graph's points: takings and crowd of each home match shown.
    const std::vector<double>& GetTakingsPoints() const { return m_TakingsPoints; }
    const std::vector<double>& GetCrowdPoints() const { return m_CrowdPoints; }
    // The screen rectangle of a drawn section (empty when it is not drawn).
    plat::Rect GetSectionRect(int nPosition, int nSection) const;

private:
    struct UNDOENTRY {
        enum : uint8_t { SELECTION = 0, PRICE = 1 } byKind;
        uint32_t dwValue;  // selection: position << 16 | section; price: column << 16 | price
    };

    void PushUndo(uint8_t byKind, uint32_t dwValue);
    void ShowUndoButtons();
    void DrawPlan();
    void DrawBand(int nPosition, int nFromSection, int nToSection, COLORREF crColour, bool bRow);
    void AddSectionRow(int nPosition, int nSection, const CComponentDatabase& stand);
    void DrawOutline();
    CSaveGame* Human() const;

    CXListBox* m_pSections = nullptr;
    CXGraph* m_pGraph = nullptr;
    std::unique_ptr<CXSurface> m_pPlan;
    std::unique_ptr<CXSurface> m_pRoofSurface;
    std::unique_ptr<CXAnimation> m_pRoofIcon;
    std::unique_ptr<CXAnimation> m_pOpenIcon;
    int m_nSelPosition = kNoPosition;
    int m_nSelSection = 0;
    bool m_bWholeGround = false;
    bool m_bFilling = false;
    const CComponentDatabase* m_apSectionRecord[32] = {};
    plat::Rect m_arcSection[32] = {};
    // The season's home matches, read when the sections are filled.
    std::vector<HOMEMATCHSTANDS> m_HomeMatches;
    const HOMEMATCHSTANDS* m_pLastMatch = nullptr;
    int64_t m_nTotalCapacity = 0, m_nTotalSeason = 0, m_nTotalFilled = 0;
    std::vector<UNDOENTRY> m_Undo;  // newest last
    std::vector<double> m_TakingsPoints, m_CrowdPoints;
};

CClientTicketPrices& GetTicketPricesScreen();
