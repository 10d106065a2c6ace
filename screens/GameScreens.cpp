#include "screens/GameScreens.h"

#include "popups/GamePopups.h"
#include "render3d/C3DEngine.h"
#include "shell/CGame.h"
#include "screens/CClientTablesStaticsCup.h"
#include "screens/CClientTablesStaticsFixtures.h"
#include "screens/CClientTablesStaticsForm.h"
#include "screens/CClientTablesStaticsLeague.h"
#include "screens/CClientTablesStaticsManagers.h"
#include "screens/CClientTablesStaticsPlayers.h"
#include "screens/CClientTablesStaticsReferees.h"
#include "screens/CClientTeamSelection.h"
#include "screens/CClientPitchTactics.h"
#include "screens/CClientTrainingIndividual.h"
#include "screens/CClientTrainingTeam.h"
#include "screens/CClientNewGame.h"
#include "screens/CClientArchivesEndOfSeason.h"
#include "screens/CClientArchivesMail.h"
#include "screens/CClientArchivesNewspaper.h"
#include "screens/CClientArchivesScrapbook.h"
#include "screens/CClientClubGeneral.h"
#include "screens/CClientEndOfCareer.h"
#include "screens/CClientClubPlayers.h"
#include "screens/CClientClubRatings.h"
#include "screens/CClientClubSchedule.h"
#include "screens/CClientClubRecords.h"
#include "screens/CClientFootballToday.h"
#include "screens/CClientScout.h"
#include "screens/CClientTransferMarket.h"
#include "screens/CClientTransferOffers.h"
#include "screens/CClientTransferHistory.h"
#include "screens/CClientStaffMarket.h"
#include "screens/CClientStaffSelection.h"
#include "screens/CClientFinanceCurrent.h"
#include "screens/CClientFinanceDeposit.h"
#include "screens/CClientFinanceProjected.h"
#include "screens/CClientStaffManagerMarket.h"
#include "screens/CClientFinanceGeneral.h"
#include "screens/CClientTicketPrices.h"
#include "screens/CClientFinanceMerchandiseCatering.h"
#include "screens/CClientGroundDevelopment.h"
#include "screens/CClientGroundView.h"
#include "screens/CClientGroundGeneral.h"
#include "screens/CClientMatch.h"
#include "screens/CClientFinanceSponsorAndAdvert.h"
#include "screens/CClientGroundHoardings.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

void RegisterGameScreens()
{
    CGame::s_pfnCan3D = [] {
        plat::Surface probe(CClientGroundView::kWidth, CClientGroundView::kHeight, plat::PixelFormat::Rgb565);
        return C3DEngine::CanSetupStatics(&probe, C3DEngine::DEVICE_ZBUFFER);
    };
    CreateGamePopups();
    static CClientTeamSelection s_TeamSelection;
    RegisterScreen(SCREEN_TEAM_SELECTION, &s_TeamSelection);
    RegisterScreen(SCREEN_PITCH_TACTICS, &GetPitchTacticsScreen());
    static CClientTablesStaticsLeague s_League;
    RegisterScreen(SCREEN_TABLES_LEAGUE, &s_League);
    static CClientTablesStaticsHomeAndAway s_HomeAndAway;
    RegisterScreen(SCREEN_TABLES_HOME_AND_AWAY, &s_HomeAndAway);
    static CClientTablesStaticsForm s_Form;
    RegisterScreen(SCREEN_TABLES_FORM, &s_Form);
    static CClientTablesStaticsManagers s_Managers;
    RegisterScreen(SCREEN_TABLES_MANAGERS, &s_Managers);
    static CClientTablesStaticsPlayers s_Players;
    RegisterScreen(SCREEN_TABLES_PLAYERS, &s_Players);
    static CClientTablesStaticsReferees s_Referees;
    RegisterScreen(SCREEN_TABLES_REFEREES, &s_Referees);
    static CClientTablesStaticsFixtures s_Fixtures;
    RegisterScreen(SCREEN_TABLES_FIXTURES, &s_Fixtures);
    static CClientTablesStaticsCup s_Cup;
    RegisterScreen(SCREEN_TABLES_CUP, &s_Cup);
    RegisterScreen(SCREEN_NEW_GAME, &NewGameScreen());
    RegisterScreen(SCREEN_FOOTBALL_TODAY, &GetFootballTodayScreen());
    RegisterScreen(SCREEN_MATCH, &GetMatchScreen());
    RegisterScreen(SCREEN_ARCHIVES_MAIL, &GetArchivesMailScreen());
    RegisterScreen(SCREEN_ARCHIVES_NEWSPAPER, &GetArchivesNewspaperScreen());
    RegisterScreen(SCREEN_ARCHIVES_SCRAPBOOK, &GetArchivesScrapbookScreen());
    RegisterScreen(SCREEN_LAST_MAIN, &GetArchivesEndOfSeasonScreen());
    RegisterScreen(SCREEN_END_OF_CAREER, &GetEndOfCareerScreen());
    static CClientTransferMarket s_TransferMarket;
    RegisterScreen(SCREEN_TRANSFER_MARKET, &s_TransferMarket);
    static CClientTransferOffers s_TransferOffers;
    RegisterScreen(SCREEN_TRANSFER_OFFERS, &s_TransferOffers);
    static CClientTransferHistory s_TransferHistory;
    RegisterScreen(SCREEN_TRANSFER_HISTORY, &s_TransferHistory);
    static CClientScout s_Scout;
    RegisterScreen(SCREEN_TRANSFER_SCOUT, &s_Scout);
    RegisterScreen(SCREEN_STAFF_MARKET, &GetStaffMarketScreen());
    RegisterScreen(SCREEN_STAFF_SELECTION, &GetStaffSelectionScreen());
    RegisterScreen(SCREEN_CLUB_PLAYERS, &GetClubPlayersScreen());
    RegisterScreen(SCREEN_CLUB_RATINGS, &GetClubRatingsScreen());
    RegisterScreen(SCREEN_CLUB_GENERAL, &GetClubGeneralScreen());
    RegisterScreen(CClientClubSchedule::kScreenID, &GetClubScheduleScreen());
    RegisterScreen(SCREEN_CLUB_RECORDS, &GetClubRecordsScreen());
    RegisterScreen(SCREEN_TRAINING_INDIVIDUAL, &GetTrainingIndividualScreen());
    RegisterScreen(SCREEN_TRAINING_TEAM, &GetTrainingTeamScreen());
    RegisterScreen(SCREEN_FINANCE_GENERAL, &GetFinanceGeneralScreen());
    RegisterScreen(SCREEN_FINANCE_CURRENT, &GetFinanceCurrentScreen());
    RegisterScreen(SCREEN_FINANCE_DEPOSIT, &GetFinanceDepositScreen());
    RegisterScreen(SCREEN_FINANCE_PROJECTED, &GetFinanceProjectedScreen());
    RegisterScreen(SCREEN_STAFF_MANAGER_MARKET, &GetStaffManagerMarketScreen());
    RegisterScreen(SCREEN_TICKET_PRICES, &GetTicketPricesScreen());
    RegisterScreen(SCREEN_FINANCE_MERCHANDISE, &GetFinanceMerchandiseCateringScreen());
    RegisterScreen(SCREEN_GROUND_GENERAL, &GetGroundGeneralScreen());
    RegisterScreen(SCREEN_GROUND_DEVELOPMENT, &GetGroundDevelopmentScreen());
    RegisterScreen(SCREEN_FINANCE_SPONSORS, &GetFinanceSponsorAndAdvertScreen());
    RegisterScreen(SCREEN_GROUND_HOARDINGS, &GetGroundHoardingsScreen());
}
