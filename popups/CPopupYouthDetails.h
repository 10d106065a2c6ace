#pragma once
// One youth player on two pages: his details (position, birth, nation,
// role, morale, rating, wage, the reports on him and his injuries) and his
// skills (the ten skills as bars and over the last year as a graph). The
// human manager promotes a youth of his own club into the squad or releases
// him, or signs a youth without a club, each after a question; the arrows
// step through the list of the screen behind.
#include "shell/CFormScript.h"
#include "shell/CGamePopup.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CDatabaseHandler;
class CSaveGame;
class CXAnimation;
class CXGraph;
class CXListBox;
class CXSurface;
class CYouthDatabase;

class CPopupYouthDetails : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 49;
    static constexpr int kSkillLines = 10;
    enum : uint32_t {
        ID_PAGE_DETAILS = 516,
        ID_PAGE_SKILLS = 517,
        ID_PREVIOUS = 513,
        ID_NEXT = 512,
        ID_TITLE = 1056,
        ID_POSITION = 1119,
        ID_BIRTH = 1111,
        ID_AGE = 1112,
        ID_NATIONALITY = 1113,
        ID_ROLE = 1120,
        ID_MORALE = 1121,
        ID_RATING = 1114,
        ID_WAGE = 1085,
        ID_GRAPH = 1046,
        ID_HISTORY = 515,
        ID_PLAYER_REPORT = 511,
        ID_TRAINER_REPORT = 495,
        ID_SIGN = 520,
        ID_PROMOTE = 519,
        ID_RELEASE = 521,
    };
    // The questions and notices of the message box, by message number.
    enum : int {
        MESSAGE_RELEASE = 20,
        MESSAGE_PROMOTE = 58,
        MESSAGE_SIGN = 60,
        MESSAGE_SQUAD_FULL = 440,
        MESSAGE_NOT_SIGNED = 441,
    };
    static const uint32_t kToggleIDs[kSkillLines];

    CPopupYouthDetails();
    ~CPopupYouthDetails() override;

    // Opens the popup on the youth at the details page; false when there is
    // no youth or the popup is open already.
    bool Show(CYouthDatabase* pYouth);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;

    // The page given by its selector's id; any other id does nothing.
    void SelectPage(uint32_t dwPage);
    uint32_t GetPage() const { return m_dwPage; }
    // The youth shown; null once he is no longer a youth (promoted, or gone
    // from the game).
    CYouthDatabase* GetYouth() const;
    // The action buttons shown, left to right.
    std::vector<uint32_t> GetActionButtons() const;
    // The values the skill bars and their toggles show: his own for the
    // human's youths, else the graph's last week.
    void GetSkillValues(int anValues[kSkillLines]) const;
    CXGraph* Graph() const;
    CXListBox* List(uint32_t dwID) const;

private:
    static CDatabaseHandler* Database();
    static CSaveGame* Human();
    static CClubDatabase* HumanClub();
    bool IsOwnYouth() const;
    // A youth without a club the human may treat as his own.
    bool TreatsUnattachedAsOwn() const;

    void AddControls();
    void BeginPage();
    void EndPage(const uint32_t* pIDs, size_t nCount);
    void DrawTitle();
    void ShowDetailsPage();
    void ShowSkillsPage();
    void SetUpGraph();
    void FillHistoryList();
    void FillReports();
    void ShowActionButtons();
    void ShowOwnClubActions();
    void ShowUnattachedActions();
    void Browse(bool bNext);
    // The promotion the human confirmed; false (with a notice) when his
    // squad has no room.
    bool Promote(CYouthDatabase& youth);
    static bool SquadHasRoom();
    // A notice of a message number over the closing question.
    static void Tell(int nMessage);

    uint32_t m_idYouth = 0;
    CClubDatabase* m_pClub = nullptr;
    uint32_t m_dwPage = ID_PAGE_DETAILS;
    CFormScript m_PlayerReport;
    CFormScript m_TrainerReport;
    std::unique_ptr<CXSurface> m_pBarMarker;
    std::unique_ptr<CXSurface> m_pSmallFaces;
    std::unique_ptr<CXAnimation> m_pPositionIcon;
    std::unique_ptr<CXAnimation> m_pRoleIcon;
};

CPopupYouthDetails& GetYouthDetailsPopup();
// Opens the youth details on the youth of that id; false when none.
bool ShowYouthDetails(uint32_t idYouth);
