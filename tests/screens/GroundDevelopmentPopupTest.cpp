// The ground development popup over a running game, opened from the ground
// development screen: a stand planned at a free place shows its cost and
// weeks and goes into the ground's work with its payments; closing without
// acting changes nothing; work not begun is called off from the list, work
// begun is not; work marked unwanted on the schedule page leaves the ground
// when the popup closes; and the figures, sizes and facility places follow
// the tables.
#include "PressButton.h"
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/StadiumTables.h"
#include "popups/CPopupGroundDevelopment.h"
#include "render3d/C3DEngine.h"
#include "screens/CClientGroundDevelopment.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "shell/CGamePopup.h"
#include "shell/COptions.h"
#include "shell/FormattingFunctions.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <filesystem>
#include <initializer_list>
#include <string>

namespace {

namespace fs = std::filesystem;
using Popup = CPopupGroundDevelopment;
using Screen = CClientGroundDevelopment;

class GroundPopup : public ScreenGame {
protected:
    CClubDatabase& Club() { return *Human().GetClub(); }
    CGroundDatabase& Ground() { return *Club().m_pGround; }
    Screen& OpenScreen()
    {
        g_pNavigationBar->SetNextClient(&GetGroundDevelopmentScreen(), Club().GetID());
        m_game.Update();
        m_game.Update();
        EXPECT_EQ(g_pCurrentClient, &GetGroundDevelopmentScreen());
        return GetGroundDevelopmentScreen();
    }
    static bool Visible(const CXClient& owner, uint32_t dwID)
    {
        const CXControl* p = owner.FindControl(dwID);
        return p && p->m_bVisible;
    }
    static std::string Text(const CXClient& owner, uint32_t dwID)
    {
        const auto* p = dynamic_cast<const CXStatic*>(owner.FindControl(dwID));
        return p && p->Text() ? p->Text() : "";
    }
    // Position 0 left empty: its stand taken down.
    void ClearNorthEnd()
    {
        if (CComponentDatabase* pStand = Ground().GetStandOnSide(0))
            pStand->SetDemolished(true);
    }
    // The ground's work as (id, kind) pairs.
    std::vector<std::pair<uint32_t, int>> Work()
    {
        std::vector<std::pair<uint32_t, int>> work;
        for (const CComponentScheduleDatabase* p : Ground().GetSchedules().Items<CComponentScheduleDatabase>())
            work.emplace_back(p->GetID(), p->GetKind());
        return work;
    }
    static int RowOf(const CXListBox& list, const CGroundDatabase& ground, const CComponentScheduleDatabase* pWanted)
    {
        for (int nRow = 0; nRow < list.GetCount(); ++nRow) {
            int nIndex = 0;
            for (const CComponentScheduleDatabase* p : ground.GetSchedules().Items<CComponentScheduleDatabase>()) {
                if (nIndex++ == list.GetItemData(nRow) && p == pWanted)
                    return nRow;
            }
        }
        return -1;
    }
};

TEST_F(GroundPopup, AStandPlannedAtAFreePlaceIsBookedWithItsCostAndPayments)
{
    ClearNorthEnd();
    Screen& screen = OpenScreen();
    const int nSchedules = Ground().GetScheduleCount();
    const int nComponents = Ground().GetComponentCount();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    ASSERT_TRUE(popup.IsOnStack());
    // Nothing chosen: the three building pages and the schedule page.
    EXPECT_EQ(popup.GetPages(), 15);
    EXPECT_EQ(popup.GetPage(), Popup::PAGE_STAND);
    CXComboBox* pPosition = popup.Box(Popup::ID_CHOICE);
    pPosition->SetCurSel(pPosition->FindItemData(0));
    CXComboBox* pKind = popup.Box(Popup::ID_STAND_KIND);
    pKind->SetCurSel(pKind->FindItemData(1));
    CXComboBox* pSize = popup.Box(Popup::ID_SIZE);
    pSize->SetCurSel(pSize->FindItemData(2));
    EXPECT_EQ(popup.GetAreaFlags(), 0);
    ASSERT_TRUE(Visible(popup, Popup::ID_BUILD));
    EXPECT_FALSE(Visible(popup, Popup::ID_DEMOLISH));

    Popup::STANDCHOICE choice;
    choice.nPosition = 0, choice.nKind = 1, choice.nSize = 2;
    const STANDPARTTABLERECORD* pPart = m_pWorld->GetStandPartTableRecord(0, 1, 2, 0);
    choice.anParts[0] = pPart ? pPart->byMinimumCount : 0;
    for (int i = 1; i < 3; ++i)
        if (const STANDPARTTABLERECORD* p = m_pWorld->GetStandPartTableRecord(0, 1, 2, i))
            choice.anParts[i] = p->byMinimumCount;
    const Popup::FIGURES f = Popup::NewStandFigures(*m_pWorld, choice);
    ASSERT_GT(f.nCost, 0);
    EXPECT_EQ(Text(popup, Popup::ID_COST), FormatMoney(static_cast<double>(f.nCost), 0, 0, MONEY_AS_STORED, 0, 1));
    EXPECT_EQ(Text(popup, Popup::ID_WEEKS), std::to_string(f.nWeeks));
    EXPECT_EQ(Text(popup, Popup::ID_NEW_CAPACITY), FormatThousands(f.nCapacity));
    Shoot("ground_popup_stand");

    PressButton(popup, Popup::ID_BUILD);
    ASSERT_EQ(Ground().GetScheduleCount(), nSchedules + 1);
    EXPECT_EQ(Ground().GetComponentCount(), nComponents + 1);
    const auto* pNew = static_cast<const CComponentScheduleDatabase*>(Ground().GetSchedules().GetTail()->pData);
    EXPECT_EQ(pNew->GetKind(), SCHEDULE_BUILD);
    EXPECT_EQ(pNew->GetStartDate(), CDate(m_pWorld->GetGameDate().GetValue(), 7));
    EXPECT_EQ(pNew->GetDuration(), f.nWeeks);
    const Popup::PAYMENTS p = Popup::Payments(f.nCost, f.nWeeks);
    EXPECT_EQ(pNew->GetComponentInitialCost(), p.dwInitial);
    EXPECT_EQ(pNew->GetComponentMonthlyCost(), p.dwMonthly);
    EXPECT_EQ(pNew->GetExtraCost(), p.dwFinal);
    EXPECT_EQ(pNew->GetComponentSubType(), 1);
    EXPECT_EQ(pNew->GetComponentData()[STAND_SIDE], 0);
    ASSERT_NE(pNew->GetComponent(), nullptr);
    EXPECT_FALSE(pNew->GetComponent()->IsFinished());
    EXPECT_TRUE(pNew->IsActive());
    // The work is in hand now: it may be changed while it has not begun, not built twice.
    EXPECT_EQ(popup.GetAreaFlags(), Popup::AREA_SCHEDULE | Popup::AREA_BUILD);
    EXPECT_NE(Club().m_pCountry->FindEvent(30, pNew->GetID()), nullptr);
    EXPECT_GE(RowOf(*popup.ScheduleList(), Ground(), pNew), 0);
    Shoot("ground_popup_planned");

    PressButton(popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(Ground().GetScheduleCount(), nSchedules + 1);
}

TEST_F(GroundPopup, ClosingWithoutBuildingChangesNothing)
{
    ClearNorthEnd();
    Screen& screen = OpenScreen();
    const auto work = Work();
    const int nComponents = Ground().GetComponentCount();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    for (uint32_t dwPage : {Popup::ID_FACILITY_PAGE, Popup::ID_FEATURE_PAGE, Popup::ID_SCHEDULE_PAGE,
                            Popup::ID_STAND_PAGE}) {
        PressButton(popup, dwPage);
        EXPECT_EQ(popup.GetPage(), static_cast<int>(dwPage - Popup::ID_STAND_PAGE));
        if (dwPage == Popup::ID_FACILITY_PAGE)
            Shoot("ground_popup_facility");
        if (dwPage == Popup::ID_FEATURE_PAGE)
            Shoot("ground_popup_feature");
    }
    popup.Box(Popup::ID_STAND_KIND)->SetCurSel(3);
    popup.OnKeyUp(plat::VK_ESCAPE, 0, 0);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(Work(), work);
    EXPECT_EQ(Ground().GetComponentCount(), nComponents);
}

TEST_F(GroundPopup, WorkNotBegunIsCalledOffAndUnwantedWorkGoesOnClosing)
{
    ClearNorthEnd();
    Screen& screen = OpenScreen();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    const int nComponents = Ground().GetComponentCount();
    PressButton(popup, Popup::ID_BUILD);  // a stand at the free north end
    PressButton(popup, Popup::ID_FACILITY_PAGE);
    PressButton(popup, Popup::ID_BUILD);  // a facility at the first free place
    const auto* pStand = static_cast<CComponentScheduleDatabase*>(Ground().GetSchedules().GetTail()->pPrev->pData);
    const auto* pFacility = static_cast<CComponentScheduleDatabase*>(Ground().GetSchedules().GetTail()->pData);
    ASSERT_EQ(pFacility->GetComponentMainType(), COMPONENT_FACILITY);
    ASSERT_EQ(pStand->GetComponentMainType(), COMPONENT_STAND);
    EXPECT_EQ(Ground().GetComponentCount(), nComponents + 2);

    // The facility is called off from the list, with the component it was to build.
    CXListBox* pList = popup.ScheduleList();
    const uint32_t dwFacility = pFacility->GetID();
    pList->SetSelection(RowOf(*pList, Ground(), pFacility));
    popup.OnSelChange(Popup::ID_SCHEDULES);
    PressButton(popup, Popup::ID_CANCEL_WORK);
    EXPECT_EQ(Ground().FindComponentSchedule(dwFacility), nullptr);
    EXPECT_EQ(Ground().GetComponentCount(), nComponents + 1);

    // Marked unwanted on the schedule page, the stand goes when the popup closes.
    PressButton(popup, Popup::ID_SCHEDULE_PAGE);
    Shoot("ground_popup_schedule");
    const uint32_t dwStand = pStand->GetID();
    pList = popup.ScheduleList();
    const int nRow = RowOf(*pList, Ground(), pStand);
    ASSERT_GE(nRow, 0);
    pList->SetSelection(nRow);
    pList->m_nClickedColumn = 9;
    popup.OnSelChange(Popup::ID_SCHEDULES);
    EXPECT_FALSE(pStand->IsActive());
    PressButton(popup, CGamePopup::kOkButtonID);
    EXPECT_EQ(Ground().FindComponentSchedule(dwStand), nullptr);
    EXPECT_EQ(Ground().GetComponentCount(), nComponents);
}

TEST_F(GroundPopup, WorkBegunCannotBeCalledOffOrUnwanted)
{
    Screen& screen = OpenScreen();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    PressButton(popup, Popup::ID_FACILITY_PAGE);
    PressButton(popup, Popup::ID_BUILD);
    auto* pWork = static_cast<CComponentScheduleDatabase*>(Ground().GetSchedules().GetTail()->pData);
    pWork->SetStartDate(CDate(m_pWorld->GetGameDate().GetValue(), -3));
    PressButton(popup, Popup::ID_SCHEDULE_PAGE);
    CXListBox* pList = popup.ScheduleList();
    pList->SetSelection(RowOf(*pList, Ground(), pWork));
    pList->m_nClickedColumn = 9;
    popup.OnSelChange(Popup::ID_SCHEDULES);
    EXPECT_TRUE(pWork->IsActive());
    EXPECT_FALSE(Visible(popup, Popup::ID_CANCEL_WORK));
    EXPECT_FALSE(Visible(popup, Popup::ID_START_DATE));
    const uint32_t dwID = pWork->GetID();
    PressButton(popup, CGamePopup::kOkButtonID);
    EXPECT_EQ(Ground().FindComponentSchedule(dwID), pWork);
}

TEST_F(GroundPopup, DoubleClickOnAStandOpensOnlyTheStandPage)
{
    Screen& screen = OpenScreen();
    const CComponentDatabase* pStand = Ground().GetStandOnSide(2);
    ASSERT_NE(pStand, nullptr);
    const plat::Rect rc = Screen::GetRecordRect(Screen::RECORD_COMPONENT, pStand);
    screen.OnLButtonDblClk(0, rc.left + 2, rc.top + 2);
    Popup& popup = screen.GetDevelopmentPopup();
    ASSERT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.GetPages(), 1 | 8);
    EXPECT_EQ(popup.GetAreaFlags(), Popup::AREA_COMPONENT);
    EXPECT_EQ(popup.Box(Popup::ID_CHOICE)->GetItemData(popup.Box(Popup::ID_CHOICE)->GetSelection()), 2u);
    EXPECT_TRUE(Visible(popup, Popup::ID_DEMOLISH));
    EXPECT_EQ(Text(popup, Popup::ID_OLD_CAPACITY), FormatThousands(pStand->GetStandSeats()));
    // The same stand as it stands costs nothing to build again.
    EXPECT_EQ(Text(popup, Popup::ID_WEEKS), "0");
    Shoot("ground_popup_existing_stand");
    const int nSchedules = Ground().GetScheduleCount();
    PressButton(popup, Popup::ID_BUILD);
    EXPECT_EQ(Ground().GetScheduleCount(), nSchedules);
    PressButton(popup, Popup::ID_DEMOLISH);
    ASSERT_EQ(Ground().GetScheduleCount(), nSchedules + 1);
    const auto* pDemolish = static_cast<CComponentScheduleDatabase*>(Ground().GetSchedules().GetTail()->pData);
    EXPECT_EQ(pDemolish->GetKind(), SCHEDULE_DEMOLISH);
    EXPECT_EQ(pDemolish->GetComponent(), pStand);
    EXPECT_FALSE(Visible(popup, Popup::ID_DEMOLISH));
    // A double click on the pitch opens nothing.
    PressButton(popup, CGamePopup::kOkButtonID);
    screen.OnLButtonDblClk(0, Screen::kPlanLeft + 31 * 10, Screen::kPlanTop + 22 * 10);
    EXPECT_FALSE(popup.IsOnStack());
}

TEST_F(GroundPopup, ThePreviewNamesThePictureOfTheChoiceAndTurnsAModelWith3D)
{
    ClearNorthEnd();
    // The pictures first: the options turn 3-D off.
    OptionValues no3D = m_game.GetOptions().Values();
    no3D.m_n3DSettings = 2;
    m_game.ApplyOptions(no3D);
    Screen& screen = OpenScreen();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    ASSERT_FALSE(popup.IsPreview3D());
    // Pictures: kind, size and place class, "S" for seated stands, "R" with a roof.
    const struct {
        int nPosition, nKind, nSize, nRoof;
        const char* pszPicture;
    } stands[] = {{0, 0, 0, 0, "ST1NN.bmp"}, {0, 1, 2, 0, "ST3NNS.bmp"}, {2, 2, 4, 2, "DT2EESR.bmp"},
                  {1, 3, 5, 1, "TT3NESR.bmp"}};
    for (const auto& c : stands) {
        for (const auto& [dwID, nValue] : {std::pair{Popup::ID_CHOICE, c.nPosition}, {Popup::ID_STAND_KIND, c.nKind},
                                           {Popup::ID_SIZE, c.nSize}, {Popup::ID_ROOF, c.nRoof}}) {
            CXComboBox* pBox = popup.Box(dwID);
            pBox->SetCurSel(pBox->FindItemData(static_cast<uint32_t>(nValue)));
        }
        EXPECT_EQ(popup.GetPreviewName(), c.pszPicture);
        EXPECT_TRUE(popup.HasPreviewPicture()) << c.pszPicture;
    }
    // Every stand, facility and feature the popup offers has its picture in the kit.
    const auto everyRow = [&popup](std::initializer_list<uint32_t> boxes, auto&& check) {
        const auto walk = [&popup, &check](auto&& self, const uint32_t* pBox, const uint32_t* pEnd) -> void {
            if (pBox == pEnd) {
                check();
                return;
            }
            CXComboBox* pCombo = popup.Box(*pBox);
            for (int nRow = 0; pCombo && nRow < pCombo->GetCount(); ++nRow) {
                pCombo->SetCurSel(nRow);
                self(self, pBox + 1, pEnd);
            }
        };
        walk(walk, boxes.begin(), boxes.end());
    };
    int nPictures = 0;
    const auto pictureShown = [&popup, &nPictures]() {
        EXPECT_TRUE(popup.HasPreviewPicture()) << popup.GetPreviewName();
        ++nPictures;
    };
    everyRow({Popup::ID_CHOICE, Popup::ID_STAND_KIND, Popup::ID_SIZE, Popup::ID_ROOF}, pictureShown);
    Shoot("ground_popup_preview_stand");
    PressButton(popup, Popup::ID_FACILITY_PAGE);
    EXPECT_EQ(popup.GetPreviewName(), "FA1.bmp");
    everyRow({Popup::ID_CHOICE, Popup::ID_SIZE}, pictureShown);
    Shoot("ground_popup_preview_facility");
    PressButton(popup, Popup::ID_FEATURE_PAGE);
    everyRow({Popup::ID_CHOICE, Popup::ID_OPTION}, pictureShown);
    EXPECT_GT(nPictures, 100);
    CXComboBox* pFeature = popup.Box(Popup::ID_CHOICE);
    pFeature->SetCurSel(pFeature->FindItemData(14));
    CXComboBox* pOption = popup.Box(Popup::ID_OPTION);
    pOption->SetCurSel(pOption->FindItemData(1));
    EXPECT_EQ(popup.GetPreviewName(), "VWall.bmp");
    EXPECT_TRUE(popup.HasPreviewPicture());
    Shoot("ground_popup_preview_feature");
    PressButton(popup, CGamePopup::kOkButtonID);

    // With 3-D the stand is the match's own mesh, its roof merged in.
    OptionValues values = m_game.GetOptions().Values();
    values.m_n3DSettings = 0;
    m_game.ApplyOptions(values);
    PressButton(screen, Screen::ID_DEVELOP);
    if (!popup.IsPreview3D())
        GTEST_SKIP() << "no 3-D device here";
    for (const auto& [dwID, nValue] : {std::pair{Popup::ID_CHOICE, 6}, {Popup::ID_STAND_KIND, 2},
                                       {Popup::ID_SIZE, 4}, {Popup::ID_ROOF, 2}}) {
        CXComboBox* pBox = popup.Box(dwID);
        pBox->SetCurSel(pBox->FindItemData(static_cast<uint32_t>(nValue)));
    }
    EXPECT_TRUE(popup.HasPreviewModel());
    EXPECT_EQ(popup.GetPreviewName().substr(0, 5), "DT2EE");
    EXPECT_EQ(popup.GetPreviewRoofName(), "DT2EER.x");
    Shoot("ground_popup_preview_3d");
    // A part whose mesh the kit lacks leaves the model shown before.
    const std::string shown = popup.GetPreviewName();
    PressButton(popup, Popup::ID_FEATURE_PAGE);
    EXPECT_EQ(popup.GetPreviewName(), shown);
    PressButton(popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(C3DEngine::Is3DAvailable());
}

// The print button asks first; a yes prints the ground's work, and on the
// schedule page the balance graph as well.
TEST_F(GroundPopup, PrintingPrintsTheWorkAndOnTheSchedulePageTheGraph)
{
    const fs::path folder = m_pFolder->Path() / "printed";
    fs::create_directories(folder);
    {
        auto pKey = GetRegistryKey(COptions::kOptionsKey);
        ASSERT_TRUE(pKey->setString("PrintFolder", folder.string()));
    }
    const auto printed = [&folder]() {
        int nFiles = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            nFiles += entry.path().extension() == ".pdf";
        return nFiles;
    };
    Screen& screen = OpenScreen();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    const auto print = [&popup](bool bYes) {
        PressButton(popup, CGamePopup::kPrintButtonID);
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack()) << "the print question";
        pBox->OnClicked(bYes ? CGamePopup::kOkButtonID : CGamePopup::kCancelButtonID);
    };
    print(false);
    EXPECT_EQ(printed(), 0) << "a no prints nothing";
    print(true);
    EXPECT_EQ(printed(), 1) << "the ground's work";
    PressButton(popup, Popup::ID_SCHEDULE_PAGE);
    print(true);
    EXPECT_EQ(printed(), 3) << "the work and the graph";
    PressButton(popup, CGamePopup::kOkButtonID);
}

TEST_F(GroundPopup, SizesFiguresAndFacilityPlacesFollowTheTables)
{
    // Payments: a quarter first and last, the rest in whole months.
    const struct {
        int64_t nCost;
        int nWeeks;
        uint32_t dwInitial, dwMonthly, dwFinal;
    } payments[] = {{1000, 8, 250, 250, 250}, {1000, 4, 250, 500, 250}, {1001, 12, 250, 167, 250}, {0, 8, 0, 0, 0}};
    for (const auto& c : payments) {
        const Popup::PAYMENTS p = Popup::Payments(c.nCost, c.nWeeks);
        EXPECT_EQ(p.dwInitial, c.dwInitial) << c.nCost;
        EXPECT_EQ(p.dwMonthly, c.dwMonthly) << c.nCost;
        EXPECT_EQ(p.dwFinal, c.dwFinal) << c.nCost;
    }
    // Every stand is at least four weeks' work, and a change to what stands
    // costs the difference.
    for (int nKind = 0; nKind < 4; ++nKind)
        for (int nSize = 0; nSize < 3; ++nSize) {
            Popup::STANDCHOICE c;
            c.nKind = nKind, c.nSize = nSize, c.nPosition = 1;
            EXPECT_GE(Popup::NewStandFigures(*m_pWorld, c).nWeeks, 4);
            Popup::STANDCHOICE bigger = c;
            bigger.nOption = 2;
            const Popup::FIGURES up = Popup::StandImprovementFigures(*m_pWorld, c, bigger);
            EXPECT_EQ(up.nCost, std::max<int64_t>(0, Popup::NewStandFigures(*m_pWorld, bigger).nCost -
                                                         Popup::NewStandFigures(*m_pWorld, c).nCost));
            EXPECT_EQ(Popup::StandImprovementFigures(*m_pWorld, bigger, c).nWeeks, 0);
        }
    // The balance after the wanted work: a job from 1 February of eight
    // weeks (ending 28 March) pays 100 + 10, then 10 + 50, then 5 a month;
    // unwanted work pays nothing.
    {
        CGroundDatabase ground;
        for (bool bWanted : {true, false}) {
            auto* pJob = new CComponentScheduleDatabase;
            pJob->SetKind(SCHEDULE_BUILD);
            pJob->SetStartDate(CDate(2000, 2, 1));
            pJob->SetDuration(8);
            pJob->SetScheduleData(COMPONENT_FACILITY, 4, 100, 10, 5, 1000);
            pJob->SetExtraCost(50);
            pJob->SetActive(bWanted);
            ground.AddComponentSchedule(pJob);
        }
        const std::vector<int64_t> expected = {1000, 1090, 930, 925, 920};
        EXPECT_EQ(Popup::BalancesAfterWork({1000, 1200, 1100, 1100, 1100}, ground, CDate(2000, 1, 1)), expected);
        EXPECT_TRUE(Popup::BalancesAfterWork({}, ground, CDate(2000, 1, 1)).empty());
    }
    // The first free place by a road, column by column.
    int nX = -1, nY = -1;
    ASSERT_TRUE(Popup::FindFacilityPlace(Ground(), 4, 0, nX, nY));
    bool bEarlier = false;
    for (int x = 0; x <= nX && !bEarlier; ++x)
        for (int y = 0; y < (x == nX ? nY : CGroundDatabase::PLAN_HEIGHT - 1); ++y)
            if (!Ground().IsAreaOccupied(x, y, 1, 1, 3, nullptr, nullptr) &&
                CGroundDatabase::CheckIfFacilityComponentNearRoad(x, y, x + 1, y + 1, nullptr))
                bEarlier = true;
    EXPECT_FALSE(bEarlier) << nX << "," << nY;

    // Two- and three-tier stands come in the larger sizes only.
    ClearNorthEnd();
    Screen& screen = OpenScreen();
    PressButton(screen, Screen::ID_DEVELOP);
    Popup& popup = screen.GetDevelopmentPopup();
    const struct {
        int nKind, nSizes;
        const char* pszFirst;
    } kinds[] = {{0, 3, "Small"}, {1, 3, "Small"}, {2, 2, "Medium"}, {3, 2, "Medium"}};
    for (const auto& k : kinds) {
        popup.Box(Popup::ID_STAND_KIND)->SetCurSel(k.nKind);
        const CXComboBox* pSize = popup.Box(Popup::ID_SIZE);
        ASSERT_EQ(pSize->GetCount(), k.nSizes) << k.nKind;
        char szFirst[64] = {};
        pSize->GetColumnText(0, 0, szFirst);
        EXPECT_STREQ(szFirst, k.pszFirst) << k.nKind;
        for (int nRow = 0; nRow < pSize->GetCount(); ++nRow)
            EXPECT_NE(m_pWorld->GetStandTableRecord(0, k.nKind, static_cast<int>(pSize->GetItemData(nRow)), 0),
                      nullptr);
    }
}

}  // namespace
