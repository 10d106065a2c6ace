#include "match/CMatchEngine.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "match/CCommentary.h"
#include "match/CCrowdSounds.h"
#include "sound/CSoundManager.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/actors/CMatchPerson.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchPhysio.h"
#include "match/actors/CMatchReferee.h"
#include "render3d/C3DEngine.h"
#include "render3d/CModel.h"
#include "season/CHoardingsManager.h"
#include "shell/CFileManager.h"
#include "xframework/CXSurface.h"
#include "platform/Clock.h"
#include "platform/Random.h"

#include <ctime>

CMatchEngine g_MatchEngine;
CMatchBall* g_pMatchBall = nullptr;
const CVector CMatchEngine::kStartPoint(5000, -500, 0);
const CVector CMatchEngine::kPhysioPoint(5000, -1500, 0);

namespace {

constexpr uint8_t kSeatedMoveType = 12;

bool WithinPitch(const CVector& p, int32_t nMargin)
{
    return p.x + nMargin >= 0 && p.x - nMargin <= PITCH_LENGTH && p.y + nMargin >= 0 && p.y - nMargin <= PITCH_WIDTH;
}

}  // namespace

CMatchEngine::CMatchEngine() = default;

CMatchEngine::~CMatchEngine()
{
    // The clubs' players reach back into the engine: they go first.
    m_pHomeClub.reset();
    m_pAwayClub.reset();
    if (g_pMatchBall == m_pBall.get())
        g_pMatchBall = nullptr;
}

bool CMatchEngine::StartGame(CDatabaseHandler& database, ID_CLUB idHome, ID_CLUB idAway, uint8_t byCommentary,
                             const ITEMMATCHRULESINFORMATION& rules, uint32_t dwCallerValue, const uint32_t* pdwSeed)
{
    CClubDatabase* pHome = database.GetClubFromID(idHome);
    CClubDatabase* pAway = database.GetClubFromID(idAway);
    if (!pHome || !pAway || pHome == pAway) {
        DebugLog(6, "[CMatchEngine::StartGame] Clubs %u and %u cannot play a match", unsigned(idHome), unsigned(idAway));
        return false;
    }
    m_pHomeClubRecord = pHome;
    m_pAwayClubRecord = pAway;
    m_pGround = pHome->GetGround();
    if (rules.byVenue == 2 || rules.byVenue == 3) {
        CCountryDatabase* pCountry = pHome->GetCountry();
        if (pCountry && pCountry->GetNationalGround())
            m_pGround = pCountry->GetNationalGround();
    }
    SetUpWeather(database, pHome);
    m_dwMatchDate = database.GetGameDate().GetValue();
    CSaveGame* pHomeManager = database.GetSaveGameForClub(pHome);
    m_pHomeHoardings = pHomeManager ? &pHomeManager->GetHoardings() : nullptr;
    m_MatchRules = rules;
    m_nPeoplePerSide = 11 + rules.abyRules[2];
    m_dwCallerValue = dwCallerValue;
    m_byCommentaryWanted = byCommentary;  // taken up by the commentary banks
    return BuildMatch(&database, pdwSeed, plat::milliseconds());
}

void CMatchEngine::SetSoundVolumes(uint16_t wCommentary, uint16_t wAmbient)
{
    m_wCommentaryVolume = wCommentary;
    m_wAmbientVolume = wAmbient;
}

MATCHWEATHER CMatchEngine::MakeWeather(uint8_t byWeather, bool bEvening, bool bSnowProtectedPitch, bool bFullView)
{
    MATCHWEATHER w;
    w.bFog = (byWeather & 0x80) != 0;
    w.byCategory = (byWeather >> 2) & 7;
    w.bySecondValue = (byWeather >> 5) & 3;
    w.byThirdValue = byWeather & 3;
    w.bEvening = bEvening;
    if (w.bFog) {
        w.bySkySetting = bEvening ? 8 : 5;
    } else {
        switch (w.byCategory) {
        case 1: w.bySkySetting = bEvening ? 7 : 6; break;
        case 2:
        case 5: w.bySkySetting = bEvening ? 0 : 2; break;
        case 3:
        case 4:
            w.bySkySetting = bEvening ? 0 : 4;
            w.bySnowLevel = bSnowProtectedPitch ? 1 : 2;
            break;
        default: w.bySkySetting = bEvening ? 9 : 3; break;
        }
    }
    switch (w.byCategory) {
    case 1: w.bPrecipitation = true, w.nParticleCount = bFullView ? 200 : 50; break;
    case 2: w.bPrecipitation = true, w.nParticleCount = bFullView ? 300 : 75; break;
    case 4:
        w.bPrecipitation = true, w.nParticleCount = bFullView ? 200 : 50;
        w.dwPrecipitationInterval = 200;
        break;
    default: break;
    }
    const float afDivisors[4] = {0.0f, 125000.0f, 75000.0f, 50000.0f};
    w.fSkyTurnDivisor = bEvening ? 0.0f : afDivisors[w.bySecondValue];
    return w;
}

void CMatchEngine::SetUpWeather(CDatabaseHandler& database, const CClubDatabase* pHome)
{
    uint8_t byWeather = 0;
    if (CSaveGame* pSaveGame = database.GetCurrentSaveGame(); pSaveGame && pSaveGame->GetCountry())
        byWeather = pSaveGame->GetCountry()->GetWeather();
    else if (pHome && pHome->GetCountry())
        byWeather = pHome->GetCountry()->GetWeather();  // no human manager: the home country's weather
    const int nDay = database.GetGameDate().GetDayOfWeek();
    const bool bEvening = nDay != 0 && nDay != 6;
    const bool bProtected = m_pGround && m_pGround->GetPitchConditionComponent(1);
    m_Weather = MakeWeather(byWeather, bEvening, bProtected, m_bFullView);
}

bool CMatchEngine::StartGame(const uint32_t* pdwSeed, uint32_t dwRealTimeNow)
{
    m_pHomeClubRecord = m_pAwayClubRecord = nullptr;
    m_pGround = nullptr;
    m_pHomeHoardings = nullptr;
    return BuildMatch(nullptr, pdwSeed, dwRealTimeNow);
}

bool CMatchEngine::BuildMatch(CDatabaseHandler* pDatabase, const uint32_t* pdwSeed, uint32_t dwRealTimeNow)
{
    if (m_pBall)
        EndGame();  // a match left over is taken down first
    m_dwSeed = pdwSeed ? *pdwSeed : uint32_t(std::time(nullptr));
    plat::srand(m_dwSeed);

    m_dwEngineClock = 0;
    m_dwMatchTime = 0;
    m_bMatchClockRunning = false;
    m_byMatchPeriod = MATCHPERIOD_BEFOREKICKOFF;
    m_byMatchEvent = MATCHEVENT_NONE;
    m_byRandomTenth = uint8_t(plat::rand() % 10);
    m_bReplaying = false;
    m_bSkippingFinished = true;
    m_bAttemptOnTarget = false;
    m_CameraSubject = CAMERASUBJECTRECORD();
    m_Caption = CAPTIONRECORD{kNoCaption, nullptr, nullptr};
    m_bTurning = m_bCameraDrag = m_bRightDrag = m_bBallPicked = false;
    ResetPeriodProgress();
    m_dwNextFiveMinuteMark = kFiveMinutes;
    m_dwLastSecondMark = 0;
    m_bySoundStage = 0;
    m_dwCrowdMood = 1;
    m_dwCrowdExcitement = 1;
    m_byLastAtmosphereSlot = 255;
    m_byCameraMode = C3DEngine::Is3DAvailable() ? CAMERA_ORBIT : CAMERA_NO_3D;
    m_abyRequestedSubstitution[0] = m_abyRequestedSubstitution[1] = 0;
    m_vFocusPoint.Set(5000, GOAL_CENTRE_Y, 0);
    m_nLastZoneTold = m_nLastEventTold = -1;
    m_pClubInPossession = nullptr;
    m_dwZoneTellings = 0;
    for (uint8_t& by : m_abyShootOut)
        by = 0;
    m_byResultCode = kNoResult;
    BuildGridCells();
    for (auto& row : m_anPlayerDistances)
        for (int32_t& n : row)
            n = 999999999;

    // Falling snow (category 4) or rain, with the weather's pace and density.
    m_Precipitation.Setup(!m_Weather.bPrecipitation ? CPrecipitation::NONE
                          : m_Weather.byCategory == 4 ? CPrecipitation::SNOW
                                                      : CPrecipitation::RAIN,
                          m_Weather.dwPrecipitationInterval, m_Weather.nParticleCount);
    m_Precipitation.Resize(m_ViewRect.nRight - m_ViewRect.nLeft, m_ViewRect.nBottom - m_ViewRect.nTop);
    m_p3DEngine = std::make_unique<C3DEngine>();
    if (C3DEngine::Is3DAvailable()) {
        m_p3DEngine->SetNumberOfFaceManagers(4);
        // Shadows and markers multiply the grass under them.
        C3DEngine::EnableBlendModes(true);
        LoadTextures();
        SetupMaterials();
        SetupLights();
        SetupCameras();
        BuildPitchMesh();
        UpdateFog();
    }

    if (m_byMatchType != 0) {
        m_pCommentarySoundManager = std::make_unique<CSoundManager>(1, true, true, nullptr);
        if (!m_pCommentarySoundManager->Create())
            m_pCommentarySoundManager.reset();
    }
    // Commentary needs its banks as well as its sound manager.
    LoadCommentary();

    m_pBall = std::make_unique<CMatchBall>(*this);
    g_pMatchBall = m_pBall.get();
    m_EventInfo = ITEMMATCHEVENTINFORMATION{};

    ClearPersons();
    if (pDatabase && m_pHomeClubRecord && m_pAwayClubRecord) {
        m_pHomeClub = std::make_unique<CMatchClub>(m_pHomeClubRecord, true,
                                                   pDatabase->GetSaveGameForClub(m_pHomeClubRecord), *this,
                                                   m_pAwayClubRecord);
        m_pAwayClub = std::make_unique<CMatchClub>(m_pAwayClubRecord, false,
                                                   pDatabase->GetSaveGameForClub(m_pAwayClubRecord), *this,
                                                   m_pHomeClubRecord);
        m_pHomeClub->SetOpponent(m_pAwayClub.get());
        m_pAwayClub->SetOpponent(m_pHomeClub.get());
        ApplyTeamOrders();
        for (int i = 0; i < m_pHomeClub->GetSquadCount(); ++i)
            if (CMatchPlayer* p = m_pHomeClub->GetSlot(i))
                AddHomePerson(p);
        for (int i = 0; i < m_pAwayClub->GetSquadCount(); ++i)
            if (CMatchPlayer* p = m_pAwayClub->GetSlot(i))
                AddAwayPerson(p);
    }
    m_pMatchReferee = std::make_unique<CMatchReferee>(*this, m_MatchRules);
    // The physio waits out of the update by the touch-line until the referee
    // sends him on.
    m_pMatchPhysio = std::make_unique<CMatchPhysio>(*this);
    m_pMatchPhysio->SetActive(false);
    m_pMatchPhysio->SetBasePosition(kPhysioPoint);
    m_pMatchPhysio->SetPosition(kPhysioPoint);
    SetOfficials(m_pMatchReferee.get(), &m_pMatchReferee->GetAssistant(0), &m_pMatchReferee->GetAssistant(1),
                 m_pMatchPhysio.get());
    SetupPolygonPlayers();
    BuildShadowMeshes();
    m_bSoundOn = true;
    m_bPaused = false;

    m_pCameraSubjectRing.reset();
    m_pCrowdSoundRing.reset();
    m_pCaptionRing.reset();
    if (m_byMatchType != 0) {
        m_pCameraSubjectRing = std::make_unique<CRingBuffer<CAMERASUBJECTRECORD>>(1000);
        *m_pCameraSubjectRing->Write(0) = CAMERASUBJECTRECORD();  // a seek always finds a state
        m_pCrowdSoundRing = std::make_unique<CRingBuffer<CROWDSOUNDRECORD>>(500);
        m_pCaptionRing = std::make_unique<CRingBuffer<CAPTIONRECORD>>(50);
        m_bCrowdSoundsOn = m_wAmbientVolume > 0;
        m_pCrowdSoundManager = std::make_unique<CSoundManager>(4, true, true, nullptr);
        if (!m_pCrowdSoundManager->Create()) {
            DebugLog(6, "[CMatchEngine::StartGame] Crowd sound manager not created");
            EndGame();
            return false;
        }
        // The ambient volume 0 means no crowd at all.
        if (m_bCrowdSoundsOn)
            LoadCrowdSounds();
    } else {
        m_bCrowdSoundsOn = false;
    }

    m_fSpeedFactor = kMinSpeed;
    m_dwTickAccumulator = 0;
    m_pBall->Reset();
    SetupObjects();
    if (m_pHomeClub && m_pAwayClub)
        m_pMatchReferee->StartMatch();
    ActivatePlayers();
    if (m_pCrowdSounds)
        CCrowdSounds::ApplyVolume(m_pCrowdSoundManager.get(), m_wAmbientVolume);

    if (C3DEngine::Is3DAvailable())
        UpdateCameraTarget(0);
    m_dwStartRealTime = m_dwLastRealTime = dwRealTimeNow;
    m_dwTickAccumulator = 0;
    m_dwRealElapsed = 0;
    m_dwMatchTime = 0;
    return true;
}

void CMatchEngine::EndGame()
{
    DebugLog(0, "[CMatchEngine::EndGame] Start");
    ClearPersons();
    m_pMatchReferee.reset();  // his assistants with him
    m_pCommentary.reset();
    m_pHomeClub.reset();  // their players with them
    m_pAwayClub.reset();
    m_pMatchPhysio.reset();
    if (g_pMatchBall == m_pBall.get())
        g_pMatchBall = nullptr;
    m_pBall.reset();
    m_aZones.clear();
    m_pSprayCan.reset();
    DestroyObjects();
    DebugLog(0, "[CMatchEngine::EndGame] Starting 3D Destruction");
    m_p3DEngine.reset();
    DebugLog(0, "[CMatchEngine::EndGame] Ending 3D Destruction");
    CMatchPerson::FreeAnimations();
    m_pCameraSubjectRing.reset();
    m_pCrowdSoundRing.reset();
    m_pCaptionRing.reset();
    m_pCrowdSoundManager.reset();  // a sound manager ends its sounds as it goes
    m_pCrowdSounds.reset();
    m_pCommentarySoundManager.reset();
    DebugLog(0, "[CMatchEngine::EndGame] End");
}

void CMatchEngine::SetSprayCan(std::unique_ptr<MATCHPROP> pCan)
{
    m_pSprayCan = std::move(pCan);
}

void CMatchEngine::SetOfficials(CMatchPerson* pReferee, CMatchPerson* pAssistant0, CMatchPerson* pAssistant1,
                                CMatchPerson* pPhysio)
{
    m_pReferee = pReferee;
    m_apAssistants[0] = pAssistant0;
    m_apAssistants[1] = pAssistant1;
    m_pPhysio = pPhysio;
}

void CMatchEngine::ClearPersons()
{
    m_apHome.clear();
    m_apAway.clear();
    SetOfficials(nullptr, nullptr, nullptr, nullptr);
    SetFollowedRestart(MATCHEVENT_NONE, nullptr);
}

void CMatchEngine::ActivatePlayers()
{
    const size_t nHome = m_apHome.size();
    for (size_t i = 0; i < nHome + m_apAway.size(); ++i) {
        CMatchPerson* p = i < nHome ? m_apHome[i] : m_apAway[i - nHome];
        if (m_bShowLineUps) {
            p->SetActive(true);
            p->SetDecisionDelay(i < nHome ? float(i) : float(i - nHome) + float(nHome) + 1.5f);
            // The kick-off waits until the starters are out in their places.
            if (auto* pPlayer = dynamic_cast<CMatchPlayer*>(p); pPlayer && pPlayer->GetSpecialRole() != ROLE_BENCH)
                pPlayer->StartWalkOut();
        } else {
            p->ResetToBasePosition();
            p->SetActive(true);
        }
    }
    StartCrowdLoop();
}

template <typename F> void CMatchEngine::ForEachPerson(F f) const
{
    for (CMatchPerson* p : m_apHome)
        f(p);
    for (CMatchPerson* p : m_apAway)
        f(p);
    if (m_pPhysio)
        f(m_pPhysio);
    for (CMatchPerson* p : {m_pReferee, m_apAssistants[0], m_apAssistants[1]})
        if (p)
            f(p);
}

void CMatchEngine::Update()
{
    // Highlights mode runs on to the next moment worth seeing.
    if (!m_bPaused && !m_bReplaying && m_byMatchType == 1 && !IsHighlightMoment(nullptr)) {
        // The match screen disables its controls while the skip runs in its view.
        if (!m_bFullView)
            TellViewChanged();
        SkipToHighlight();
        if (!m_bFullView)
            TellViewChanged();
    }
    UpdateAt(plat::milliseconds());
}

void CMatchEngine::UpdateAt(uint32_t dwNow)
{
    uint32_t dwElapsed = dwNow - m_dwLastRealTime;
    m_dwRealElapsed = dwElapsed;
    if (m_fSpeedFactor != 1.0f) {
        const double fScaled = double(dwElapsed) * m_fSpeedFactor;
        dwElapsed = fScaled >= 4294967295.0 ? 0xFFFFFFFFu : uint32_t(fScaled);
    }
    m_dwLastRealTime = dwNow;
    if (!m_bPaused && !m_bTickStop)
        RunTicks(dwElapsed);
    if (C3DEngine::Is3DAvailable())
        UpdateCameraTarget(m_dwRealElapsed);
}

void CMatchEngine::RunTicks(uint32_t dwElapsed)
{
    const uint32_t dwOld = m_dwTickAccumulator;
    m_dwTickAccumulator += dwElapsed;
    if (m_dwTickAccumulator < MATCH_TICK_MS) {
        Tick(uint16_t(dwElapsed), m_dwEngineClock + m_dwTickAccumulator);
        return;
    }
    Tick(uint16_t(MATCH_TICK_MS - dwOld), m_dwEngineClock + MATCH_TICK_MS);
    PostTick();
    m_dwTickAccumulator -= MATCH_TICK_MS;
    while (m_dwTickAccumulator > MATCH_TICK_MS) {
        Tick(MATCH_TICK_MS, m_dwEngineClock + MATCH_TICK_MS);
        PostTick();
        m_dwTickAccumulator -= MATCH_TICK_MS;
    }
    // An accumulator of exactly one tick waits for the next frame, whose
    // first step is then 0.
    Tick(uint16_t(m_dwTickAccumulator), m_dwEngineClock + m_dwTickAccumulator);
}

void CMatchEngine::Tick(uint16_t wStep, uint32_t dwTime)
{
    if (wStep == 0)
        return;
    if (m_pBall)
        m_pBall->Update(wStep, dwTime);
    ForEachPerson([wStep](CMatchPerson* p) { p->UpdateAnimation(wStep); });
}

bool CMatchEngine::PostTick()
{
    if (m_bySoundStage >= 2) {
        if (m_pCommentarySoundManager)
            m_pCommentarySoundManager->Update(m_dwEngineClock);
        if (m_pCrowdSoundManager)
            m_pCrowdSoundManager->Update(m_dwEngineClock);
    }
    if (m_bReplaying) {
        PlayBackReplay();
        m_dwEngineClock += MATCH_TICK_MS;
        return false;
    }
    if (m_dwEngineClock - m_dwLastSecondMark > 1000) {
        m_dwLastSecondMark = m_dwEngineClock;
        if (m_pAwayClub)
            m_pAwayClub->UpdatePerSecond();
        if (m_pHomeClub)
            m_pHomeClub->UpdatePerSecond();
    }
    if (m_dwEngineClock > m_dwNextFiveMinuteMark) {
        m_dwNextFiveMinuteMark += kFiveMinutes;
        // A computer-run club's wish goes to the referee, who makes the change.
        for (CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()}) {
            if (!pClub || pClub->GetSaveGame())
                continue;
            const int nSide = pClub == m_pHomeClub.get() ? 0 : 1;
            const uint8_t byWish = pClub->FiveMinuteReview();
            m_abyRequestedSubstitution[nSide] = byWish;
            if (byWish && m_pMatchReferee && pClub->GetSubstitutions() < CMatchClub::kSubstitutionLimit)
                m_pMatchReferee->RequestSubstitution(nSide, byWish & 15, byWish >> 4);
        }
    }
    if (m_pBall)
        m_pBall->UpdatePrediction();
    UpdateDistanceTables();
    UpdatePressureBalance();
    for (CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()})
        if (pClub)
            pClub->UpdatePerTick();
    if (m_pHomeClub && m_pAwayClub)
        SetupEventPositions();
    CheckLooseBallTouch();
    UpdateCaption();
    ForEachPerson([this](CMatchPerson* p) {
        if (p != m_pPhysio || p->IsActive())
            p->Update();
    });
    if (m_byMatchEvent == MATCHEVENT_NONE)
        CheckSixSecondRule();
    UpdateCameraSubject();
    m_dwEngineClock += MATCH_TICK_MS;
    if (m_bMatchClockRunning)
        m_dwMatchTime += MATCH_TICK_MS;
    return false;
}

void CMatchEngine::UpdateDistanceTables()
{
    if (!m_pHomeClub || !m_pAwayClub)
        return;
    for (CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()}) {
        for (int i = 0; i < pClub->GetOnPitchCount(); ++i) {
            CMatchPlayer* p = pClub->GetSlot(i);
            if (!p || !m_pBall)
                continue;
            const CVector& at = p->GetPosition();
            p->SetBallDistance(IntegerRoot(at.SquaredDistance2D(m_pBall->GetPosition())),
                               float(at.GetAngleTo(m_pBall->GetPosition())));
        }
    }
    for (int h = 0; h < 11; ++h) {
        const CMatchPlayer* pHome = h < m_pHomeClub->GetOnPitchCount() ? m_pHomeClub->GetSlot(h) : nullptr;
        for (int a = 0; a < 11; ++a) {
            const CMatchPlayer* pAway = a < m_pAwayClub->GetOnPitchCount() ? m_pAwayClub->GetSlot(a) : nullptr;
            m_anPlayerDistances[h][a] = pHome && pAway
                                            ? IntegerRoot(pHome->GetPosition().SquaredDistance2D(pAway->GetPosition()))
                                            : 999999999;
        }
    }
}

void CMatchEngine::UpdatePressureBalance()
{
    if (!m_pHomeClub || !m_pAwayClub)
        return;
    if (m_byMatchEvent != MATCHEVENT_NONE) {
        const CMatchClub* pRestartClub = m_pMatchReferee ? m_pMatchReferee->GetRestartClub() : nullptr;
        m_byPressureBalance = pRestartClub == m_pHomeClub.get() ? 0 : 100;
    } else {
        m_anLowestBallDistance[0] = m_pHomeClub->GetLowestBallDistance(-1);
        m_anLowestBallDistance[1] = m_pAwayClub->GetLowestBallDistance(-1);
        const int64_t d = (int64_t(m_anLowestBallDistance[0]) - m_anLowestBallDistance[1]) / 15;
        m_byPressureBalance = d >= 50 ? 100 : d <= -50 ? 0 : uint8_t(d + 50);
    }
    m_pHomeClub->SetThreatBias(uint8_t(100 - m_byPressureBalance));
    m_pAwayClub->SetThreatBias(m_byPressureBalance);
}

int32_t CMatchEngine::GetPlayerDistance(int nHomeSlot, int nAwaySlot) const
{
    if (nHomeSlot < 0 || nHomeSlot >= 11 || nAwaySlot < 0 || nAwaySlot >= 11)
        return 999999999;
    return m_anPlayerDistances[nHomeSlot][nAwaySlot];
}

void CMatchEngine::ApplyTeamOrders()
{
    if (m_pHomeClub)
        m_pHomeClub->ApplyTeamOrders();
    if (m_pAwayClub)
        m_pAwayClub->ApplyTeamOrders();
}

int CMatchEngine::Enable3DDevice()
{
    DebugLog(0, "[CMatchEngine::Enable3DDevice] Start");
    if (m_p3DEngine)
        m_p3DEngine->RestoreDevice();
    ApplyHoardingTextures();
    LoadOverlayBitmaps();
    m_dwRealElapsed = 0;
    m_dwTickAccumulator = 0;
    m_dwLastRealTime = plat::milliseconds();
    m_bySoundStage = 0;
    StartCrowdLoop();
    DebugLog(0, "[CMatchEngine::Enable3DDevice] End");
    return 0;
}

int CMatchEngine::Disable3DDevice()
{
    DebugLog(0, "[CMatchEngine::Disable3DDevice] Start");
    FreeOverlayBitmaps();
    if (m_p3DEngine)
        m_p3DEngine->ReleaseDevice();
    DebugLog(0, "[CMatchEngine::Disable3DDevice] End");
    return 0;
}

void CMatchEngine::SetViewport(int32_t x, int32_t y, int32_t nWidth, int32_t nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) {
        DebugLog(6, "[CMatchEngine::SetViewport] Empty view %d x %d", nWidth, nHeight);
        return;
    }
    m_fAspectRatio = float(nHeight) / float(nWidth);
    m_ViewRect = {x, y, x + nWidth, y + nHeight};
    m_Precipitation.Resize(nWidth, nHeight);
    if (m_p3DEngine)
        m_p3DEngine->CreateViewport(x, y, nWidth, nHeight);
}

void CMatchEngine::SetPitchMapRect(const MATCHRECT& rect)
{
    m_PitchMapRect = rect;
    const int32_t nWidth = rect.nRight - rect.nLeft, nHeight = rect.nBottom - rect.nTop;
    // The plan lays the pitch's length across the rectangle's width. The
    // scales are rounded up so that the whole pitch fits, and what is left
    // over is shared on both sides.
    m_wPitchMapScaleX = nWidth > 0 ? uint16_t((PITCH_LENGTH + nWidth - 1) / nWidth) : 0;
    m_wPitchMapScaleY = nHeight > 0 ? uint16_t((PITCH_WIDTH + nHeight - 1) / nHeight) : 0;
    m_nPlanOriginX = m_wPitchMapScaleX ? (nWidth - PITCH_LENGTH / m_wPitchMapScaleX) / 2 : 0;
    m_nPlanOriginY = m_wPitchMapScaleY ? (nHeight - PITCH_WIDTH / m_wPitchMapScaleY) / 2 : 0;
}

void CMatchEngine::SetRadarRect(const MATCHRECT& rect)
{
    m_RadarRect = rect;
    const int32_t nWidth = rect.nRight - rect.nLeft, nHeight = rect.nBottom - rect.nTop;
    // The pitch with a margin of 650 and 500 each side.
    m_fRadarScaleX = nWidth > 0 ? 11300.0f / float(nWidth) : 0.0f;
    m_fRadarScaleY = nHeight > 0 ? 8500.0f / float(nHeight) : 0.0f;
    m_nRadarMarkerWidth = m_fRadarScaleX > 0.0f ? int32_t(650.0f / m_fRadarScaleX) : 0;
    m_nRadarMarkerHeight = m_fRadarScaleY > 0.0f ? int32_t(500.0f / m_fRadarScaleY) : 0;
}

bool CMatchEngine::MakeFog(uint8_t byCameraMode, const MATCHWEATHER& weather, FOG& fog)
{
    if (byCameraMode == CAMERA_NO_3D)
        return false;
    fog.fStart = byCameraMode == CAMERA_ORBIT ? 2000.0f : 0.0f;
    if (weather.bFog) {
        fog.fEnd = 11000.0f;
        fog.dwColour = 0xFF7F7F7F;
    } else {
        fog.fEnd = weather.bEvening ? 17000.0f : 22000.0f;
        fog.dwColour = 0xFF190019;
    }
    return true;
}

void CMatchEngine::UpdateFog()
{
    if (MakeFog(m_byCameraMode, m_Weather, m_Fog) && m_p3DEngine)
        m_p3DEngine->SetFog(m_Fog.fStart, m_Fog.fEnd, m_Fog.dwColour);
}

void CMatchEngine::ChangeSpeedFactor(float fDelta)
{
    const float fResult = m_fSpeedFactor + fDelta;
    m_fSpeedFactor = fResult < kMinSpeed ? kMinSpeed : fResult > kMaxSpeed ? kMaxSpeed : fResult;
    m_bSoundOn = fResult <= kSoundSpeedLimit;
}

void CMatchEngine::SetupZones()
{
    m_aZones.assign(ZONE_COUNT, CMatchBoundingZone());
    const uint32_t dwDugout = ZONE_OUTSIDE | ZONE_INSIDE | ZONE_MIN_X | ZONE_MAX_X | ZONE_MIN_Y | ZONE_TOP;
    m_aZones[ZONE_DUGOUT_LOW].Create({3150, -390, 0}, {350, 110, 200}, 0.2f, dwDugout, 10);
    m_aZones[ZONE_DUGOUT_HIGH].Create({6850, -390, 0}, {350, 110, 200}, 0.2f, dwDugout, 10);
    m_aZones[ZONE_TUNNEL].Create({5000, -1000, 0}, {100, 500, 450}, 0.8f,
                                 ZONE_INSIDE | ZONE_MIN_X | ZONE_MAX_X | ZONE_MIN_Y | ZONE_TOP, 0);
    const uint32_t dwPost = ZONE_OUTSIDE | ZONE_MIN_X | ZONE_MAX_X | ZONE_MIN_Y | ZONE_MAX_Y;
    m_aZones[ZONE_POST_LOW_1].Create({-8, 3326, 0}, {8, 8, 300}, 0.8f, dwPost, 0);
    m_aZones[ZONE_POST_LOW_2].Create({-8, 4174, 0}, {8, 8, 300}, 0.8f, dwPost, 0);
    m_aZones[ZONE_POST_HIGH_1].Create({10008, 3326, 0}, {8, 8, 300}, 0.8f, dwPost, 0);
    m_aZones[ZONE_POST_HIGH_2].Create({10008, 4174, 0}, {8, 8, 300}, 0.8f, dwPost, 0);
    const uint32_t dwBar = ZONE_OUTSIDE | ZONE_MIN_X | ZONE_MAX_X | ZONE_BOTTOM | ZONE_TOP;
    m_aZones[ZONE_BAR_LOW].Create({-8, 3750, 284}, {8, 432, 16}, 0.8f, dwBar, 0);
    m_aZones[ZONE_BAR_HIGH].Create({10008, 3750, 284}, {8, 432, 16}, 0.8f, dwBar, 0);
    const uint32_t dwNet = ZONE_OUTSIDE | ZONE_INSIDE | ZONE_MIN_Y | ZONE_MAX_Y | ZONE_TOP;
    m_aZones[ZONE_NET_LOW].Create({-100, 3750, 0}, {100, 416, 284}, 0.1f, dwNet | ZONE_MIN_X, 15);
    m_aZones[ZONE_NET_HIGH].Create({10100, 3750, 0}, {100, 416, 284}, 0.1f, dwNet | ZONE_MAX_X, 15);
}

CMatchPerson* CMatchEngine::GetSelectedPerson() const
{
    const int n = int(m_apHome.size());
    const int i = m_nSelectedPerson;
    if (i >= 0 && i < n)
        return m_apHome[size_t(i)];
    if (i >= n && i < 2 * n && size_t(i - n) < m_apAway.size())
        return m_apAway[size_t(i - n)];
    if (i == 2 * n)
        return m_pReferee;
    if (i == 2 * n + 1)
        return m_apAssistants[0];
    if (i == 2 * n + 2)
        return m_apAssistants[1];
    if (m_pBall && m_pBall->GetLastToucher())
        return m_pBall->GetLastToucher();
    return m_apHome.empty() ? nullptr : m_apHome[0];
}

int32_t CMatchEngine::GetDistanceToPath(const CVector& p, const CVector& a, const CVector& b)
{
    if (a.x == b.x && a.y == b.y)
        return IntegerRoot(uint32_t(p.SquaredDistance2D(a)));
    const int64_t c = int64_t(b.x) - a.x, d = int64_t(b.y) - a.y;
    const int64_t pa = int64_t(p.x) - a.x, pb = int64_t(p.y) - a.y;
    if (c * pa + d * pb < 0)
        return 999999999;  // behind the start
    if ((int64_t(b.x) - p.x) * c + (int64_t(b.y) - p.y) * d < 0)
        return IntegerRoot(uint32_t(p.SquaredDistance2D(b)));
    const int64_t ac = c < 0 ? -c : c, ad = d < 0 ? -d : d;
    const int64_t nLength = (ac > ad ? ac : ad) + (ac > ad ? ad : ac) / 2;
    const int64_t nCross = pa * d - pb * c;
    return TruncateToInt(double((nCross < 0 ? -nCross : nCross) / nLength));
}

bool CMatchEngine::IsPathBlocked(const CVector& a, const CVector& b, int32_t nMargin, bool bIncludeGoals,
                                 float* pfHitTime) const
{
    if (m_aZones.size() != ZONE_COUNT || (WithinPitch(a, nMargin) && WithinPitch(b, nMargin)))
        return false;
    const CVector delta = b - a;
    if (bIncludeGoals) {
        const bool bLowEnd = a.x < 5000;
        if (m_aZones[bLowEnd ? ZONE_NET_LOW : ZONE_NET_HIGH].IsSegmentBlocked(a, delta, nMargin, pfHitTime) ||
            m_aZones[bLowEnd ? ZONE_DUGOUT_LOW : ZONE_DUGOUT_HIGH].IsSegmentBlocked(a, delta, nMargin, pfHitTime))
            return true;
    }
    for (const auto& pRow : m_pBoardRows)
        if (pRow && pRow->IsSegmentBlocked(a, delta, nMargin, pfHitTime))
            return true;
    return m_aZones[ZONE_TUNNEL].IsSegmentBlocked(a, delta, nMargin, pfHitTime);
}

bool CMatchEngine::PersonBlocksPath(const CMatchPerson* p, const CVector& a, const CVector& b, int32_t nLimit,
                                    const CMatchPerson* pMover) const
{
    return p && p != pMover && p->IsActive() && p->GetMoveType() != kSeatedMoveType &&
           GetDistanceToPath(p->GetPosition(), a, b) <= nLimit;
}

bool CMatchEngine::IsPathBlockedByPerson(const CVector& a, const CVector& b, int32_t nMargin,
                                         const CMatchPerson* pMover) const
{
    const int32_t nLimit = nMargin + 25;
    bool bBlocked = false;
    ForEachPerson([&](CMatchPerson* p) { bBlocked = bBlocked || PersonBlocksPath(p, a, b, nLimit, pMover); });
    return bBlocked;
}

bool CMatchEngine::IsPersonCrowded(const CMatchPerson* pPerson) const
{
    if (m_byMatchEvent == MATCHEVENT_HALFTIME || m_byMatchEvent == MATCHEVENT_FULLTIME)
        return true;
    return IsPointOccupied(pPerson->GetPosition(), pPerson);
}

bool CMatchEngine::IsPointOccupied(const CVector& point, const CMatchPerson* pExcept) const
{
    auto near = [&point, pExcept](const CMatchPerson* p) {
        return p && p != pExcept && p->IsActive() && p->GetMoveType() != kSeatedMoveType &&
               uint32_t(point.SquaredDistance2D(p->GetPosition())) < 2501;
    };
    for (const CMatchPerson* p : m_apHome)
        if (near(p))
            return true;
    for (const CMatchPerson* p : m_apAway)
        if (near(p))
            return true;
    return near(m_pReferee) || near(m_apAssistants[0]) || near(m_apAssistants[1]);
}

bool CMatchEngine::IsPointInZone(CVector& point, int32_t nMargin) const
{
    if (m_aZones.size() != ZONE_COUNT)
        return false;
    if (m_aZones[ZONE_NET_LOW].PushPointOut(point, nMargin) || m_aZones[ZONE_NET_HIGH].PushPointOut(point, nMargin))
        return true;
    bool bMoved = m_aZones[ZONE_DUGOUT_LOW].PushPointOut(point, nMargin);
    bMoved = m_aZones[ZONE_DUGOUT_HIGH].PushPointOut(point, nMargin) || bMoved;
    const CMatchBoundingZone& tunnel = m_aZones[ZONE_TUNNEL];
    if (tunnel.Contains(point))
        return tunnel.PushPointOut(point, nMargin) || bMoved;
    const MATCHRECT& r = kPlayBounds;
    bool bClamped = false;
    if (point.x < r.nLeft + nMargin)
        point.x = r.nLeft + nMargin, bClamped = true;
    else if (point.x > r.nRight - nMargin)
        point.x = r.nRight - nMargin, bClamped = true;
    if (point.y < r.nTop + nMargin)
        point.y = r.nTop + nMargin, bClamped = true;
    else if (point.y > r.nBottom - nMargin)
        point.y = r.nBottom - nMargin, bClamped = true;
    return bClamped || bMoved;
}

bool CMatchEngine::FindPathAroundZones(const CMatchPerson* pPerson, const CVector& from, CVector& target) const
{
    if (m_aZones.size() != ZONE_COUNT)
        return false;
    for (int n : {ZONE_NET_LOW, ZONE_NET_HIGH, ZONE_TUNNEL, ZONE_DUGOUT_LOW, ZONE_DUGOUT_HIGH})
        if (m_aZones[n].FindPathAround(pPerson, from, target))
            return true;
    if (m_aZones[ZONE_TUNNEL].Contains(target) && (target.x < 4925 || target.x > 5075))
        target.Set(5000, -500, 0);  // the tunnel mouth
    return false;
}

bool CMatchEngine::TestBallCollision(BALLCOLLISIONQUERY& query, float fTickSeconds) const
{
    const int32_t r = query.nRadius;
    auto insidePitch = [r](const CVector& p) {
        return p.x >= r && p.x <= PITCH_LENGTH - r && p.y >= r && p.y <= PITCH_WIDTH - r;
    };
    if (m_aZones.size() == ZONE_COUNT && !(insidePitch(*query.pStart) && insidePitch(*query.pPosition))) {
        const bool bLowEnd = query.pStart->x < 5000;
        const int anEnd[2][5] = {
            {ZONE_POST_LOW_1, ZONE_POST_LOW_2, ZONE_BAR_LOW, ZONE_NET_LOW, ZONE_DUGOUT_LOW},
            {ZONE_POST_HIGH_1, ZONE_POST_HIGH_2, ZONE_BAR_HIGH, ZONE_NET_HIGH, ZONE_DUGOUT_HIGH}};
        for (int n : anEnd[bLowEnd ? 0 : 1])
            if (m_aZones[n].TestBallCollision(query))
                return true;
        for (const auto& pRow : m_pBoardRows)
            if (pRow && pRow->TestBallCollision(query))
                return true;
        if (m_aZones[ZONE_TUNNEL].TestBallCollision(query))
            return true;
    }
    if (query.bTestPersons) {
        bool bStopped = false;
        auto stops = [&](const CMatchPerson* p) {
            return p && p != query.pMover && p->IsActive() && p->GetPersonType() == PERSONTYPE_FOOTBALLER &&
                   GetDistanceToPath(p->GetPosition(), *query.pStart, *query.pPosition) <= r + 25;
        };
        for (const CMatchPerson* p : m_apHome)
            bStopped = bStopped || stops(p);
        for (const CMatchPerson* p : m_apAway)
            bStopped = bStopped || stops(p);
        if (bStopped) {
            *query.pPosition = *query.pStart;
            query.fImpactTime = fTickSeconds;
            return true;
        }
    }
    const CVector& p = *query.pPosition;
    const MATCHRECT& b = kPlayBounds;
    const bool bInTunnel = m_aZones.size() == ZONE_COUNT && m_aZones[ZONE_TUNNEL].Contains(p);
    if (p.z == 0 && !bInTunnel && (p.x < b.nLeft || p.x > b.nRight || p.y < b.nTop || p.y > b.nBottom)) {
        // A ball that ran off beyond the stands comes back into play.
        if (p.x < b.nLeft)
            query.pVelocity->Set(500, 0, 1000);
        else if (p.x > b.nRight)
            query.pVelocity->Set(-500, 0, 1000);
        else if (p.y < b.nTop)
            query.pVelocity->Set(0, 500, 1000);
        else
            query.pVelocity->Set(0, -500, 1000);
        return true;
    }
    return false;
}
