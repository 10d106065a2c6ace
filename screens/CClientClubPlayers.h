#pragma once
// The players of one club (screen 26): the first-team squad, then its
// players out on loan, in three views (contracts and money, the season's
// statistics, skills), and for the human's own club two views of the youth
// squad. The list is sorted by any column and narrowed by a filter mask.
// For the human's club a grid of squad numbers 1-50 lies under the list: a
// number dragged onto a player is his, the player who wore it takes the
// dragged player's old one; or the program numbers the squad by itself from
// then on. The change parameter holds the club id in bits 0-15 and the view
// in bits 16-23.
#include "shell/PlayerRowIcons.h"
#include "shell/CGameClient.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CPersonDatabase;
class CPlayerDatabase;
class CXAnimation;
class CXListBox;
class CXStatic;

class CClientClubPlayers : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 289,
        ID_SCROLLBAR = 901,
        ID_AUTOMATIC_NUMBERS = 303,
        ID_CLUB_CHOICE = 1140,
        ID_MODE_CHOICE = 1144,
        ID_FIRST_NUMBER = 80000,
        ID_FILTER = 981,
    };
    enum : int {
        MODE_SQUAD_OVERVIEW = 0,
        MODE_SQUAD_STATISTICS = 1,
        MODE_SQUAD_SKILLS = 2,
        MODE_YOUTH_OVERVIEW = 3,
        MODE_YOUTH_SKILLS = 4,
        MODE_COUNT = 5,
    };
    static constexpr int kNumberCount = 50;
    static constexpr uint32_t kInitialSquadFilter = 0xFF1;
    static constexpr uint32_t kInitialYouthFilter = 0x3F;
    static constexpr int kAutomaticNumbersMessage = 47;
    // The filter panel's choices of the squad views and of the youth views.
    static constexpr int kSquadFilterTextSet = 19;
    static constexpr int kYouthFilterTextSet = 111;

    // Squad filter bits: competitions 0-3 counted, with or without an
    // appearance in them, the human's nationality or another, positions 0-3.
    enum : uint32_t {
        FILTER_WITH_APPEARANCE = 0x10,
        FILTER_WITHOUT_APPEARANCE = 0x20,
        FILTER_OWN_NATIONALITY = 0x40,
        FILTER_OTHER_NATIONALITY = 0x80,
        FILTER_FIRST_POSITION = 0x100,
    };

    // The change parameter for a club and a view.
    static uint32_t MakeParameter(uint16_t wClubID, int nMode)
    {
        return wClubID | (static_cast<uint32_t>(nMode & 0xFF) << 16);
    }

    // The figures a squad row shows for its statistics: starts, substitute
    // appearances, goals, match awards, bookings and the second card kind;
    // bHasInformation when a counted competition holds a block for him.
    struct STATISTICS {
        int nStarts = 0;
        int nSubstitute = 0;
        int nGoals = 0;
        int nAwards = 0;
        int nBookings = 0;
        int nSecondCards = 0;
        bool bHasInformation = false;
    };
    // The counted competitions' sums of a squad player.
    static STATISTICS CountStatistics(const CPlayerDatabase& player, uint32_t dwMask);
    // The list of matches behind a player's figure (the column double-clicked
    // in a list whose rows hold players), over the mask's competitions;
    // false when the column is no such figure.
    static bool OpenPlayerMatches(const CXListBox& list, uint32_t dwMask);
    // Whether a squad player is listed under the mask, for the human's
    // nationality.
    static bool PassesSquadFilter(const CPlayerDatabase& player, uint32_t dwMask, uint8_t byHumanNationality);

    CClientClubPlayers();
    ~CClientClubPlayers() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnControlLButtonDown(uint32_t dwID, int x, int y) override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    void OnPrint() override;
    void UpdateBars() override;
    void OnEndMessageBoxPopup() override;
    // A season figure of a squad row opens the matches behind it, any other
    // column the player's details.
    void OnDoubleClicked(uint32_t dwID) override;
    // The list shows what the player's details changed.
    void OnEndPopup(CXPopup* pPopup) override;
    void ConstructScreen() override;

    // The row above or below the selected one is selected, as the arrow keys
    // do; the player's or youth's id of the new row (0 when none).
    uint32_t GetPreviousPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextPlayer() override { return MoveSelection(1); }
    uint32_t GetPreviousListPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextListPlayer() override { return MoveSelection(1); }
    // The selected row's player, his row redrawn (a popup may have changed him).
    uint32_t GetCurrentListPlayer() override;

    void Refresh();
    void FillSquadList();
    void FillYouthList();
    void FillModeSelector();
    // Numbers everyone of the squad without a number, then shows it again.
    void ApplyAutomaticNumbers();

    // One drop of a number on a player.
    struct ITEMSQUADNUMBERCHANGE {
        CPlayerDatabase* pPlayer = nullptr;
        CPlayerDatabase* pPreviousHolder = nullptr;
        int nTargetLabel = -1;
        int nOldLabel = -1;
        uint8_t byNewNumber = 0;
        uint8_t byOldNumber = 0;
    };
    // Number n dropped on the player: n's holder (if any) takes the player's
    // old number. False when the number or the player cannot take part.
    bool DropNumber(int nNumber, CPlayerDatabase* pPlayer);
    void ApplyNumberChange(const ITEMSQUADNUMBERCHANGE& change);

    // A new filter mask for the current group of views (from the filter
    // popup); the list is refilled when it changed.
    void SetFilterMask(uint32_t dwMask);
    uint32_t GetFilterMask() const { return m_nMode < MODE_YOUTH_OVERVIEW ? m_dwSquadFilter : m_dwYouthFilter; }

    CClubDatabase* GetClub() const { return m_pClub; }
    int GetMode() const { return m_nMode; }
    bool IsNumberGridUsable() const;
    CXListBox* GetList() const;
    // The holder of number n (1-50) as the grid shows it.
    const CPlayerDatabase* GetNumberHolder(int nNumber) const;

private:
    bool IsHumanClub() const;
    int YouthCount() const;
    uint32_t MoveSelection(int nStep);
    void AddSquadRow(CPlayerDatabase* pPlayer, bool bLoanedOut, uint8_t byNationality);
    // The youth rows pass no player: they show only an injury.
    void AddRowIcons(int nRow, const CPersonDatabase& person, const CPlayerDatabase* pPlayer, int nNameColumn,
                     int nPositionColumn);
    void UpdateNumberCell(const CPlayerDatabase* pPlayer);
    void DrawNumberGrid();
    void DrawDraggedNumber(int x, int y);
    void ChangeClubOrMode(uint16_t wClubID, int nMode);
    int RowOf(const CPlayerDatabase* pPlayer) const;
    // The rating columns as the Ratings option asks.
    void ApplyRatingsOption();

    CClubDatabase* m_pClub = nullptr;
    int m_nMode = MODE_SQUAD_OVERVIEW;
    uint32_t m_dwSquadFilter = kInitialSquadFilter;
    uint32_t m_dwYouthFilter = kInitialYouthFilter;
    bool m_bSquadNumbersUsed = false;
    bool m_bFilling = false;
    std::array<CPlayerDatabase*, kNumberCount> m_apHolders{};
    std::unique_ptr<CXSurface> m_pDragImage;
    std::unique_ptr<CXSurface> m_pFilterFace;
    bool m_bDragging = false;
    int m_nDragNumber = 0;
    int m_nDragOffsetX = 0;
    int m_nDragOffsetY = 0;
    PlayerRowIcons m_RowIcons;
};

CClientClubPlayers& GetClubPlayersScreen();
