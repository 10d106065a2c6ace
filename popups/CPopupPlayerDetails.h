#pragma once
// The one view of a single player that every list of players opens: four
// pages (general with the scout's and trainer's reports, skills with their
// year of history, career with injuries and bans, contract with the offers
// for him) and below them the transfer and contract actions that fit his
// situation. Most actions open one of the child popups this popup owns; the
// others ask a question in the message box and act on the answer. The
// screen behind may let the user step through its list without closing it.
#include "shell/CGamePopup.h"
#include "shell/CFormScript.h"

#include <cstdint>
#include <memory>
#include <vector>

class CBuyOfferDatabase;
class CClubDatabase;
class CLoanOfferDatabase;
class CPlayerDatabase;
class CPopupApproachClubBuy;
class CPopupApproachClubLoan;
class CPopupBosman;
class CPopupDebugPlayer;
class CPopupExtendLoan;
class CPopupFreeTransfer;
class CPopupInsurance;
class CPopupNotForSale;
class CPopupPlayerNegotiation;
class CPopupSackPlayer;
class CPopupSellPlayer;
class CXGraph;
class CXListBox;
class CXSurface;
struct LISTCOLUMN;
struct PLAYERCONTRACT;

class CPopupPlayerDetails : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 71;
    enum : int { PAGE_GENERAL = 0, PAGE_SKILLS = 1, PAGE_HISTORY = 2, PAGE_CONTRACT = 3, PAGE_COUNT = 4 };
    enum : uint32_t {
        ID_APPROACH_BUY = 727,
        ID_TALK_FREE = 728,
        ID_TALK = 729,
        ID_SHORTLIST_ADD = 730,
        ID_SHORTLIST_REMOVE = 731,
        ID_NOT_FOR_SALE = 732,
        ID_FOR_SALE_AGAIN = 733,
        ID_INSURANCE = 734,
        ID_APPROACH_LOAN = 735,
        ID_OFFER_ON_LOAN = 736,
        ID_OFF_LOAN_LIST = 737,
        ID_EXTEND_LOAN = 738,
        ID_SELL = 739,
        ID_FREE_TRANSFER = 740,
        ID_WITHDRAW_BUY = 741,
        ID_WITHDRAW_LOAN = 742,
        ID_OFF_TRANSFER_LIST = 743,
        ID_TAB_GENERAL = 744,
        ID_TAB_CONTRACT = 747,
        ID_CONFIRM_TRANSFER = 748,
        ID_CONFIRM_LOAN = 749,
        ID_ACCEPT_BUY = 750,
        ID_ACCEPT_LOAN = 751,
        ID_REJECT_BUY = 752,
        ID_REJECT_LOAN = 753,
        ID_RECALL = 754,
        ID_NEXT = 720,
        ID_PREVIOUS = 721,
        ID_TITLE = 1056,
        ID_POSITION = 1119,
        // General page.
        ID_BIRTH = 1111,
        ID_AGE = 1112,
        ID_NATIONALITY = 1113,
        ID_ROLE = 1120,
        ID_MORALE = 1121,
        ID_RATING = 1114,
        ID_VALUE = 1085,
        ID_LISTING = 1122,
        ID_INJURY = 1123,
        ID_SUSPENSION = 1124,
        ID_SCOUT_REPORT = 719,
        ID_TRAINER_REPORT = 691,
        // Skills page.
        ID_GRAPH = 1046,
        // History page.
        ID_CAREER = 723,
        ID_INJURIES = 724,
        ID_SUSPENSIONS = 725,
        // Contract page.
        ID_OFFERS = 704,
        ID_TERMS = 757,
        ID_CONTRACT = 758,
        ID_CONTRACT_VALUE = 1127,
        ID_ASKING_PRICE = 1125,
        ID_INSURANCE_KINDS = 1126,
        ID_INSURANCE_PREMIUM = 1098,
    };
    // The questions asked in the message box, by message number.
    enum : int {
        MESSAGE_ADD_TO_SHORTLIST = 21,
        MESSAGE_TAKE_OFF_LIST = 22,
        MESSAGE_REMOVE_FROM_SHORTLIST = 23,
        MESSAGE_CONFIRM_TRANSFER = 55,
        MESSAGE_CONFIRM_LOAN = 56,
        MESSAGE_OFFER_ON_LOAN = 57,
        MESSAGE_RECALL = 59,
    };
    static constexpr int kSkillLines = 10;
    static const uint32_t kToggleIDs[kSkillLines];

    CPopupPlayerDetails();
    ~CPopupPlayerDetails() override;

    // Opens the popup on the player at a page (0 to 3); with bBrowse the
    // arrows step through the list of the screen behind.
    bool Show(CPlayerDatabase* pPlayer, int nStartPage, bool bBrowse);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnPrint() override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;

    // Command 1 opens the insurance popup; any other is logged and dropped.
    void DoStartupCommand(uint8_t byCommand);

    CPlayerDatabase* GetPlayer() const { return m_pPlayer; }
    int GetPage() const { return m_nPage; }
    // A page given as 0 to 3 or as its tab id; anything else does nothing.
    void SetPage(uint32_t dwPage);
    // The action buttons the player's situation offers, in placement order.
    std::vector<uint32_t> GetActionButtons() const;
    CXGraph* Graph() const;
    CXListBox* List(uint32_t dwID) const;
    CPopupInsurance* Insurance() const { return m_pInsurance.get(); }
    CXPopup* ChildPopup(uint32_t dwActionID) const;

    // Table 142's entry for an offer's flags and answers.
    static int OfferStateItem(uint16_t wFlags, uint32_t dwClubReply, uint32_t dwPlayerReply, bool bBuyOffer);
    // The monthly premium of the covers he holds.
    int32_t InsurancePremium() const;
    // The skill values the bars and toggles show: his own for the human's
    // players, the last weeks of the graph (as the scout saw them) for others.
    void GetSkillValues(int anValues[kSkillLines]) const;
    // Whether a player of another club has a scout report of the human's.
    bool HasScoutReport() const;

private:
    struct OfferRow {
        uint8_t byKind;  // 0 buy offer, 1 loan offer
        void* pOffer;
    };
    static CDatabaseHandler* Database();
    static class CSaveGame* Human();
    static CClubDatabase* HumanClub();
    void ResolvePlayer();
    bool IsOwnPlayer() const;
    bool IsRetired() const;

    void AddControls();
    // Hides everything, draws the frame with the page's tab marked and the
    // title; the page then draws its own part and shows its controls.
    void BeginPage(int nPage);
    void EndPage(const uint32_t* pIDs, size_t nCount);
    void DrawTitle();
    void Redraw() { SetPage(static_cast<uint32_t>(m_nPage)); }
    void UpdateActionButtons();
    void PlaceButton(uint32_t dwID);
    void Browse(bool bNext);
    class CGameClient* Owner() const;
    void AfterChange();

    // General page.
    void ShowGeneralPage();
    void FillReports();
    // Skills page.
    void SetUpGraph();
    void ShowSkillsPage();
    void DrawSkillBar(COLORREF crColour, int x, int y, int nValue, int nLowest, int nHighest);
    // History page.
    void ShowHistoryPage();
    void FillCareerList();
    void FillInjuryAndSuspensionLists();
    // Contract page.
    void ShowContractPage();
    void FillOfferList();
    void FreeOfferRows();
    void FillTermsAndContractLists();
    void FillContractList(const PLAYERCONTRACT* pContract);
    void FillTransferTermsList(const uint32_t* pTerms);
    void FillLoanTermsList(const CLoanOfferDatabase& offer);
    void UpdateInsurance();
    void UpdateOfferAnswerButtons();
    void UpdateConfirmButtons();
    const OfferRow* SelectedOfferRow() const;
    void AnswerOffer(uint32_t dwID);
    void Confirm(bool bLoan);
    void Recall();
    bool LoanOfferCanRecall() const;

    CPlayerDatabase* m_pPlayer = nullptr;
    // A retired player's record lives in the database's small cache of
    // loaded retired records, which later loads reuse: he is looked up again
    // by his id before each use.
    uint32_t m_idPlayer = 0;
    CClubDatabase* m_pClub = nullptr;
    uint32_t m_dwHistoryFilter = 7;
    uint8_t m_byStartupCommand = 0;
    int m_nStartPage = 0;
    int m_nPage = 0;
    bool m_bBrowse = false;
    bool m_bHumanIsBidder = false;
    CBuyOfferDatabase* m_pOfferToConfirm = nullptr;
    CLoanOfferDatabase* m_pLoanOfferToConfirm = nullptr;
    std::vector<OfferRow> m_OfferRows;
    int m_nButtonRow = 1;
    int m_nButtonColumn = 0;
    CFormScript m_PlayerReport;
    CFormScript m_TrainerReport;
    std::unique_ptr<CXSurface> m_pBarMarker;
    std::unique_ptr<CXSurface> m_pSmallFaces;
    // The icons of his position (by the title) and role (on the general page).
    std::unique_ptr<class CXAnimation> m_pPositionIcon;
    std::unique_ptr<class CXAnimation> m_pRoleIcon;

    std::unique_ptr<CPopupPlayerNegotiation> m_pNegotiation;
    std::unique_ptr<CPopupInsurance> m_pInsurance;
    std::unique_ptr<CPopupApproachClubBuy> m_pApproachBuy;
    std::unique_ptr<CPopupApproachClubLoan> m_pApproachLoan;
    std::unique_ptr<CPopupBosman> m_pBosman;
    std::unique_ptr<CPopupExtendLoan> m_pExtendLoan;
    std::unique_ptr<CPopupFreeTransfer> m_pFreeTransfer;
    std::unique_ptr<CPopupNotForSale> m_pNotForSale;
    std::unique_ptr<CPopupSackPlayer> m_pSackPlayer;
    std::unique_ptr<CPopupSellPlayer> m_pSellPlayer;
    std::unique_ptr<CPopupDebugPlayer> m_pDebugPlayer;
};

// The game's one player details popup.
CPopupPlayerDetails& GetPlayerDetailsPopup();
// Opens it over the current screen or popup on the player with this id at
// the general page, browsing the list behind; false when it cannot open.
bool ShowPlayerDetails(uint32_t idPlayer, bool bBrowse = true);
