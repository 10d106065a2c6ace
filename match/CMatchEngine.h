#pragma once
// The one engine of a 3-D match. It turns the frame's real time, times the
// speed factor, into fixed ticks of 70 ms of engine time: every frame moves
// the ball and the animations by the elapsed time, every whole tick runs the
// decisions and advances the engine clock and, while the referee lets it run,
// the match time that the periods measure. It owns the ball, the obstacle
// zones and the replay buffers of the match and answers the geometry
// questions of the ball and the actors.
#include "common/Identifiers.h"
#include "match/CMatchBoundingZone.h"
#include "match/CMatchEventReceiver.h"
#include "match/CHordings.h"
#include "match/CRingBuffer.h"
#include "match/CVector.h"
#include "match/MatchTypes.h"
#include "render3d/CPrecipitation.h"
#include "platform/Messages.h"
#include "platform/Surface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CClubDatabase;
class CCommentary;
class CCrowdSounds;
class CDatabaseHandler;
class CGroundDatabase;
class C3DEngine;
class CComponentDatabase;
class CDate;
class CFileManager;
class CHoardingsManager;
class CModel;
class CXSurface;
struct ITEMMESHINFORMATION;
class CMatchAssistantReferee;
class CMatchBall;
class CMatchClub;
class CMatchPerson;
class CMatchPhysio;
class CMatchPlayer;
class CMatchReferee;
struct MatchCauseRecord;
struct TACKLERECORD;
class CSoundManager;

// What the sky, light and precipitation of a match are, from the weather byte
// of the country of the current human manager.
struct MATCHWEATHER {
    bool bFog = false;              // bit 7
    uint8_t byCategory = 0;         // bits 2-4
    uint8_t bySecondValue = 0;      // bits 5-6: how fast the sky turns
    uint8_t byThirdValue = 0;       // bits 0-1
    bool bEvening = false;          // Monday to Friday
    uint8_t bySkySetting = 3;       // 0-9: the scene's sky and lights
    uint8_t bySnowLevel = 0;        // 0 none, 1 light, 2 heavy
    bool bPrecipitation = false;
    uint32_t dwPrecipitationInterval = 100;  // ms between redraws
    int32_t nParticleCount = 0;
    float fSkyTurnDivisor = 0.0f;   // 0 keeps the sky still
};

struct CAMERASUBJECTRECORD {
    uint8_t byFlag = 0;
    CMatchPerson* pPerson = nullptr;
};
struct CROWDSOUNDRECORD {
    uint16_t wSampleID = 0;
    uint32_t dwDelayOrHandle = 0;
};
struct CAPTIONRECORD {
    uint8_t byKind = 0;
    CMatchPerson* pFirst = nullptr;
    CMatchPerson* pSecond = nullptr;
};

// A prop a person holds in his hand: bit 1 of the flags shows it, drawn
// with the matrix.
struct MATCHPROP {
    uint8_t byFlags = 0;
    D3DMATRIX matrix;
};

// Rectangle of four ints, left/top/right/bottom inclusive.
struct MATCHRECT {
    int32_t nLeft, nTop, nRight, nBottom;
};

class CMatchEngine {
public:
    static constexpr float kMinSpeed = 1.2f;
    static constexpr float kMaxSpeed = 10.0f;
    static constexpr float kSoundSpeedLimit = 2.2f;
    static constexpr uint32_t kFiveMinutes = 300000;
    static constexpr MATCHRECT kPlayBounds = {-650, -500, 10650, 8000};
    // Where the squads come out: the tunnel mouth.
    static const CVector kStartPoint;
    // Where the physio waits, and the bench gathers at half and full time.
    static const CVector kPhysioPoint;
    // Camera modes: orbit, the other 3-D view, no 3-D view.
    enum : uint8_t { CAMERA_ORBIT = 0, CAMERA_NO_3D = 2 };

    CMatchEngine();
    virtual ~CMatchEngine();
    CMatchEngine(const CMatchEngine&) = delete;
    CMatchEngine& operator=(const CMatchEngine&) = delete;

    // Builds a match between two clubs of the database in its fixed order:
    // seed, club records and ground, weather, rules and clocks, the 3-D
    // engine, ball, both clubs with their squads, the referee with his
    // assistants, replay buffers, obstacle zones; then the players are
    // activated. The seed is the given value, else the calendar time. False, with nothing built, when a club is not
    // in the database.
    bool StartGame(CDatabaseHandler& database, ID_CLUB idHome, ID_CLUB idAway, uint8_t byCommentary,
                   const ITEMMATCHRULESINFORMATION& rules, uint32_t dwCallerValue, const uint32_t* pdwSeed);
    // The match objects alone, with the clock started at the given real time.
    // False when the crowd sound manager cannot be made; the match is then
    // left unbuilt.
    bool StartGame(const uint32_t* pdwSeed, uint32_t dwRealTimeNow);
    // Weather of the match from the weather byte, the day and whether the
    // ground keeps heavy snow off its pitch.
    static MATCHWEATHER MakeWeather(uint8_t byWeather, bool bEvening, bool bSnowProtectedPitch, bool bFullView);
    void SetUpWeather(CDatabaseHandler& database, const CClubDatabase* pHome);
    const MATCHWEATHER& GetWeather() const { return m_Weather; }
    const ITEMMATCHRULESINFORMATION& GetMatchRules() const { return m_MatchRules; }
    int GetPeoplePerSide() const { return m_nPeoplePerSide; }
    CGroundDatabase* GetGround() const { return m_pGround; }
    CClubDatabase* GetHomeClubRecord() const { return m_pHomeClubRecord; }
    CClubDatabase* GetAwayClubRecord() const { return m_pAwayClubRecord; }
    void SetFullView(bool bFullView) { m_bFullView = bFullView; }
    // The options MssVolCommentary and MssVolAmbient, as the match screen reads them.
    void SetSoundVolumes(uint16_t wCommentary, uint16_t wAmbient);
    bool IsCommentaryOn() const { return m_bCommentary; }
    bool AreCrowdSoundsOn() const { return m_bCrowdSoundsOn; }
    CSoundManager* GetCrowdSoundManager() { return m_pCrowdSoundManager.get(); }
    CSoundManager* GetCommentarySoundManager() { return m_pCommentarySoundManager.get(); }
    // From 2 on, the sound managers follow the engine clock.
    void SetSoundStage(uint8_t byStage) { m_bySoundStage = byStage; }
    // Takes down what StartGame built, in the reverse order.
    void EndGame();
    bool IsMatchBuilt() const { return m_pBall != nullptr; }
    CMatchClub* GetHomeClub() const { return m_pHomeClub.get(); }
    CMatchClub* GetAwayClub() const { return m_pAwayClub.get(); }
    // The club playing towards x = 10000, and the other one.
    CMatchClub* GetClubAttackingHighEnd() const;
    CMatchClub* GetClubAttackingLowEnd() const;
    // What a computer-run club's last review asked for: outgoing slot x 16 +
    // bench index, 0 for nothing (side 0 home, 1 away).
    uint8_t GetRequestedSubstitution(int nSide) const { return m_abyRequestedSubstitution[nSide ? 1 : 0]; }
    // Tells both clubs their orders again (home, then away).
    void ApplyTeamOrders();
    // Home and away goals of the running match.
    void GetScore(uint8_t& byHome, uint8_t& byAway) const;
    // The home share, 0-100, of the seconds with the ball (possession) and of
    // open play with the ball in the half each club attacks (territory): 50
    // when neither side has any.
    int GetPossessionPercent() const;
    int GetTerritoryPercent() const;
    // The counters of the two clubs as the statistics panel shows them
    // (home, away; 0 for a side not built).
    void GetCorners(uint8_t& byHome, uint8_t& byAway) const;
    void GetShootoutScore(uint8_t& byHome, uint8_t& byAway) const;
    void GetShots(uint8_t& byHome, uint8_t& byAway) const;
    void GetShotsOnTarget(uint8_t& byHome, uint8_t& byAway) const;
    void GetFouls(uint8_t& byHome, uint8_t& byAway) const;
    void GetPenaltiesAwarded(uint8_t& byHome, uint8_t& byAway) const;
    void GetPenaltyGoals(uint8_t& byHome, uint8_t& byAway) const;
    // Indirect and direct free kicks together.
    void GetFreeKicks(uint8_t& byHome, uint8_t& byAway) const;
    void GetOffsides(uint8_t& byHome, uint8_t& byAway) const;
    void GetBookings(uint8_t& byHome, uint8_t& byAway) const;
    // Players who left the pitch for good, the sent-off among them.
    void GetSubstitutions(uint8_t& byHome, uint8_t& byAway) const;
    // The referee's totals of the match in the order his record keeps them:
    // bookings, sendings-off, fouls, penalties awarded (each 0..255).
    void GetRefereeTotals(uint8_t abyTotals[4]) const;

    // The 3-D view: its device resources around the life of the view, its
    // rectangle, and the rectangles of the radar and the pitch plan.
    int Enable3DDevice();
    int Disable3DDevice();
    void SetViewport(int32_t x, int32_t y, int32_t nWidth, int32_t nHeight);
    void SetRadarRect(const MATCHRECT& rect);
    void SetPitchMapRect(const MATCHRECT& rect);
    // Fog start, end and colour for the camera mode and the weather; false
    // without a 3-D view (nothing to fog).
    struct FOG {
        float fStart = 0.0f, fEnd = 0.0f;
        uint32_t dwColour = 0;
    };
    static bool MakeFog(uint8_t byCameraMode, const MATCHWEATHER& weather, FOG& fog);
    void UpdateFog();
    C3DEngine* Get3DEngine() const { return m_p3DEngine.get(); }
    // Player models and kits (CMatchEnginePlayerModels.cpp): with a 3-D
    // view, the persons' meshes with their levels of detail, a model for
    // every person and his kit texture, a player's with his number on it.
    void SetupPolygonPlayers();
    uint16_t ApplyShirtNumber(const CMatchPlayer& player, uint16_t wTexture);
    // The 2-D pictures over the view (CMatchEngineOverlayBitmaps.cpp), made
    // from the bitmap archive each time the device is enabled and freed when
    // it is disabled; a picture the archive lacks is an empty surface. The
    // weather icon is rain or snow by the weather category, else none.
    enum : int { OVERLAY_RADAR_PITCH, OVERLAY_RADAR_PITCH_BACK, OVERLAY_FULL_PITCH, OVERLAY_SCORE_BAR,
                 OVERLAY_EVENT_BOX, OVERLAY_PENALTIES, OVERLAY_COUNT };
    void LoadOverlayBitmaps();
    void FreeOverlayBitmaps();
    CXSurface* GetOverlayBitmap(int nWhich) const;
    CXSurface* GetWeatherIcon() const { return m_pWeatherIcon.get(); }
    uint8_t GetCameraMode() const { return m_byCameraMode; }
    void SetCameraMode(uint8_t byMode) { m_byCameraMode = byMode; }
    const FOG& GetFog() const { return m_Fog; }
    float GetAspectRatio() const { return m_fAspectRatio; }
    const MATCHRECT& GetViewRect() const { return m_ViewRect; }
    const MATCHRECT& GetRadarRect() const { return m_RadarRect; }
    const MATCHRECT& GetPitchMapRect() const { return m_PitchMapRect; }
    uint16_t GetPitchMapScaleX() const { return m_wPitchMapScaleX; }
    uint16_t GetPitchMapScaleY() const { return m_wPitchMapScaleY; }
    float GetRadarScaleX() const { return m_fRadarScaleX; }
    float GetRadarScaleY() const { return m_fRadarScaleY; }
    int32_t GetRadarMarkerWidth() const { return m_nRadarMarkerWidth; }
    int32_t GetRadarMarkerHeight() const { return m_nRadarMarkerHeight; }

    // Fast-forward, highlights and replay (CMatchEngineReplay.cpp). Skipped
    // ticks run without drawing until a period or a highlight moment is
    // reached; a replay rewinds everyone to his recorded state and plays the
    // records forward to the live time.
    enum : uint8_t { HIGHLIGHT_KICKOFF = 0, HIGHLIGHT_CORNER, HIGHLIGHT_FREEKICK, HIGHLIGHT_PENALTY, HIGHLIGHT_GOAL,
                     HIGHLIGHT_ATTEMPT, HIGHLIGHT_YELLOWCARD, HIGHLIGHT_REDCARD, HIGHLIGHT_SUBSTITUTION,
                     HIGHLIGHT_PERIODEND, HIGHLIGHT_KINDS };
    static constexpr uint32_t kSkipLimit = 12000000;
    static constexpr uint32_t kLongestReplay = 60000;
    static constexpr uint8_t kNextPeriod = 7;
    static constexpr uint8_t kNoCaption = 22;
    // The options MatchHighlights... by highlight kind (the period ends always count).
    void SetHighlightOption(uint8_t byKind, bool bOn);
    bool IsHighlightMoment(uint8_t* pbyKind) const;
    uint32_t SkipToHighlight();
    // Target 1-6: runs until that period; 7: until the period changes.
    uint32_t SkipToEvent(uint8_t byTarget);
    // Drops a waiting message; true when it was the release of Escape.
    bool CheckUserAbort();
    void SeekReplay(uint32_t dwRewind);
    bool IsReplaying() const { return m_bReplaying; }
    uint32_t GetReplayEndTime() const { return m_dwReplayEndTime; }
    bool IsSkippingFinished() const { return m_bSkippingFinished; }
    // A shot on target: a highlight for the next ten seconds.
    void MarkAttemptOnTarget();
    const CAMERASUBJECTRECORD& GetCameraSubject() const { return m_CameraSubject; }
    const CAPTIONRECORD& GetCaption() const { return m_Caption; }
    // The period read-out: percentage of the referee's period played and its
    // name, worked out afresh when forced or the period changed.
    struct PERIODPROGRESS {
        uint8_t byLastPeriod = 7;
        uint32_t dwStart = 0, dwEnd = 0, dwLength = 0;
        uint32_t dwPercentage = 101;
        const char* pszName = "";
        bool bChanged = false;
    };
    void ShowPeriodProgress(uint8_t byShow, uint8_t byForce);
    void ResetPeriodProgress();
    const PERIODPROGRESS& GetPeriodProgress() const { return m_PeriodProgress; }

    // The match camera and view (CMatchEngineCamera.cpp): the orbit camera
    // round the play from one of eight view points, the follow view that the
    // mouse turns, the keys of the match view and the players' labels.
    enum : uint8_t { CAMERA_FOLLOW = 1 };
    static constexpr int kViewPoints = 8;
    static const float kaViewPoints[kViewPoints][3];
    void SetupCameras();
    void UpdateCameraTarget(uint32_t dwElapsed);
    void SelectCameraView(uint8_t byView);
    uint8_t GetSelectedView() const { return m_bySelectedView; }
    void SetCameraPitch(float fPitch);
    void SetCameraYaw(float fYaw);
    float GetCameraYaw() const { return m_fCameraYaw; }
    float GetCameraPitch() const { return m_fCameraPitch; }
    const float* GetCameraTarget() const { return m_afCameraTarget; }
    void HandleKey(uint32_t dwKey);
    // Mouse in view coordinates; the flags are the MK_ bits of the message.
    void OnLButtonDown(uint32_t dwFlags, int32_t x, int32_t y);
    void OnLButtonUp(uint32_t dwFlags, int32_t x, int32_t y);
    void OnRButtonDown(uint32_t dwFlags, int32_t x, int32_t y);
    void OnRButtonUp(uint32_t dwFlags, int32_t x, int32_t y);
    void OnMouseMove(uint32_t dwFlags, int32_t x, int32_t y);
    bool IsTurning() const { return m_bTurning; }
    bool IsCameraDragging() const { return m_bCameraDrag; }
    void SetDebugMode(bool bOn) { m_bDebugMode = bOn; }
    // The orbit camera follows the selected person instead of the play.
    void SetDebugSelection(bool bOn) { m_bDebugSelection = bOn; }
    // The options MatchNames and MatchNumbers.
    void SetLabelOptions(bool bNames, bool bNumbers) { m_bShowNames = bNames, m_bShowNumbers = bNumbers; }
    // One label over a player on the pitch: its text and where it goes in the view.
    struct PLAYERLABEL {
        char szText[40];
        int32_t x, y;
        const CMatchPerson* pPerson;
    };
    std::vector<PLAYERLABEL> GetPlayerLabels() const;
    // Renders the view through the current camera and writes the labels
    // over it; nothing in camera mode 2.
    void DrawOverlay(plat::Surface* pSurface);
    void DrawPlayerLabels(plat::Surface* pSurface) const;
    // Each drawn frame's scene work before the render: who is hidden beyond
    // the near touch line, the turning sky, shadows and debug markers.
    void PrepareScene();
    // Moves the shadows under their owners, shown with their models.
    void UpdateShadowsAndMarkers();
    // A person's shadow (null without 3-D or for someone without one).
    const ITEMMESHINFORMATION* GetShadowMesh(const CMatchPerson* pPerson) const;
    // Where a pitch point falls in the view (false behind the camera).
    bool ProjectToView(const CVector& point, int32_t& x, int32_t& y) const;
    // The code of the match conditions the match screen reports at kick-off,
    // from the fog, the weather category, the ground and the evening.
    uint8_t GetConditionsCode(const CClubDatabase* pClub) const;
    static uint8_t MakeConditionsCode(const MATCHWEATHER& weather, bool bSnowProtectedPitch);
    // Tells the match screen that a camera, speed or zoom setting changed.
    void SetViewListener(void (*pfnChanged)(void*), void* pContext) { m_pfnViewChanged = pfnChanged, m_pViewContext = pContext; }

    // The radar beside the view (CMatchEngineRadar.cpp): the pitch turned
    // upright, the officials, every player on the pitch and the ball.
    void RadarPoint(const CVector& point, int32_t& x, int32_t& y) const;
    void DrawRadar(plat::Surface* pSurface) const;

    // ---- the pitch plan, the radar and plan markers, the debug views and
    // the alert options (CMatchEnginePlan.cpp, CMatchEngineMarkers.cpp) ----
    // The plan (camera mode 2) shows the pitch lying across the plan
    // rectangle, the low goal on the left, the pitch centred in it.
    bool IsPlanView() const { return m_byCameraMode == CAMERA_NO_3D; }
    void PitchToPlan(int32_t& x, int32_t& y, const CVector& point) const;
    int32_t GetPlanOriginX() const { return m_nPlanOriginX; }
    int32_t GetPlanOriginY() const { return m_nPlanOriginY; }
    // Radar markers (each side's players and goalkeeper, the referee and the
    // physio in their colours, the ball) and the plan's (each side's tackle
    // marks: won, lost, won in his own area, first the home side's, then the
    // away side's; the ring round the selected person), made from the
    // archive's pictures with the overlays.
    enum : int { RADARMARK_HOME, RADARMARK_HOME_KEEPER, RADARMARK_AWAY, RADARMARK_AWAY_KEEPER, RADARMARK_REFEREE,
                 RADARMARK_PHYSIO, RADARMARK_BALL, RADARMARK_COUNT };
    enum : int { PLANMARK_HOME_TACKLE = 0, PLANMARK_AWAY_TACKLE = 3, PLANMARK_SELECTION = 6, PLANMARK_COUNT };
    void MakeMarkerBitmaps();
    void FreeMarkerBitmaps();
    CXSurface* GetRadarMarker(int n) const;
    CXSurface* GetPlanMarker(int n) const;
    CXSurface* GetReplayMark() const { return m_pReplayMark.get(); }
    // A marker of the picture with its pure red turned into the colour and
    // the mask (when given) laid over it on the colour key.
    static std::unique_ptr<CXSurface> MakeTintedMarker(const CXSurface& picture, const CXSurface* pMask,
                                                      uint32_t dwRGB);
    // While a replay runs, the replay mark in the top-left corner of the
    // view; never in the full view, which draws its own.
    void DrawReplayMark(plat::Surface* pView) const;
    // Lines and markers on the radar (or, in the plan view, on the plan).
    void DrawRadarLine(plat::Surface* pSurface, const CVector& a, const CVector& b, uint32_t dwRGB, int nStyle) const;
    void DrawPlanMarker(plat::Surface* pSurface, const CXSurface* pBitmap, const CVector& point) const;
    // A tackle's mark by its result, in the colours of the side (true: the
    // home side).
    void DrawLongPassMarker(plat::Surface* pSurface, bool bHomeSide, const TACKLERECORD& record) const;
    // Drawing on the plan.
    void DrawPitchLine(plat::Surface* pSurface, const CVector& a, const CVector& b, uint32_t dwRGB) const;
    void DrawPlanEllipse(plat::Surface* pSurface, const CVector& centre, int32_t nRadius, uint32_t dwRGB) const;
    void DrawPlanBitmap(plat::Surface* pSurface, const CXSurface* pBitmap, const CVector& point) const;
    void DrawPlanPerson(plat::Surface* pSurface, const CXSurface* pBitmap, const CMatchPerson& person) const;
    void DrawPlanBackground(plat::Surface* pSurface) const;
    // The plan view: the pitch, everybody on it and the ball; in debug mode
    // the debug overlays as well.
    void DrawPlanView(plat::Surface* pSurface) const;
    void DrawPlanDebug(plat::Surface* pSurface) const;
    void DrawPersonDebug(plat::Surface* pSurface) const;
    // Everybody of the match in the order the plan draws them.
    std::vector<const CMatchPerson*> PlanPersons() const;
    // The radar marker of a person (by side, keeper or official).
    CXSurface* GetPersonMarker(const CMatchPerson& person) const;
    // The match display options of the alert icons (fitness, anger, morale),
    // taken from the game's options once a second when a game runs.
    enum : int { ALERT_FITNESS, ALERT_ANGER, ALERT_MORALE, ALERT_KINDS };
    void SetAlertOptions(bool bFitness, bool bAnger, bool bMorale);
    void ReadAlertOptions();
    bool IsAlertOptionOn(int nAlert) const { return nAlert >= 0 && nAlert < ALERT_KINDS && m_abAlertOptions[nAlert]; }
    uint16_t GetAlertTexture(int nAlert) const;

    // Planar distance between a home and an away player on the pitch (by
    // their slots), from the last tick's tables.
    int32_t GetPlayerDistance(int nHomeSlot, int nAwaySlot) const;

    // Once per frame, with the real time from the platform clock.
    void Update();
    // The same with a given real time (ms of the 32-bit clock).
    void UpdateAt(uint32_t dwNow);
    // Ball flight and animations move by wStep ms to the engine-clock time dwTime.
    virtual void Tick(uint16_t wStep, uint32_t dwTime);
    // The decision step at the end of a whole tick; returns false always.
    virtual bool PostTick();

    // The numeric-pad keys: +-0.2, kept within 1.2..10.0; the sound plays only
    // up to 2.2.
    void ChangeSpeedFactor(float fDelta);
    float GetSpeedFactor() const { return m_fSpeedFactor; }
    bool IsSoundOn() const { return m_bSoundOn; }
    void SetPaused(bool bPaused) { m_bPaused = bPaused; }
    bool IsPaused() const { return m_bPaused; }
    void SetTickStop(bool bStop) { m_bTickStop = bStop; }

    uint32_t GetEngineClock() const { return m_dwEngineClock; }
    uint32_t GetMatchTime() const { return m_dwMatchTime; }
    uint32_t GetTickAccumulator() const { return m_dwTickAccumulator; }
    uint32_t GetRealElapsed() const { return m_dwRealElapsed; }
    uint32_t GetLastSecondMark() const { return m_dwLastSecondMark; }
    uint32_t GetNextFiveMinuteMark() const { return m_dwNextFiveMinuteMark; }
    // The referee runs and stops the match clock and moves the periods.
    void SetMatchClockRunning(bool bRunning) { m_bMatchClockRunning = bRunning; }
    bool IsMatchClockRunning() const { return m_bMatchClockRunning; }
    uint8_t GetMatchPeriod() const { return m_byMatchPeriod; }
    void SetMatchPeriod(uint8_t byPeriod) { m_byMatchPeriod = byPeriod; }
    uint8_t GetMatchEvent() const { return m_byMatchEvent; }
    void SetMatchEvent(uint8_t byEvent) { m_byMatchEvent = byEvent; }
    void SetMatchTime(uint32_t dwTime) { m_dwMatchTime = dwTime; }
    uint8_t GetMatchState() const { return m_byMatchState; }
    void SetMatchState(uint8_t byState) { m_byMatchState = byState; }
    // The option MatchType: 0 keeps no replay buffers.
    void SetMatchType(uint8_t byMatchType) { m_byMatchType = byMatchType; }
    uint8_t GetMatchType() const { return m_byMatchType; }
    uint32_t GetSeed() const { return m_dwSeed; }
    uint8_t GetWeatherCategory() const { return m_Weather.byCategory; }
    ITEMMATCHEVENTINFORMATION& GetEventRecord() { return m_EventInfo; }
    // The match screen hears the events; senders fill the event record and
    // call these. Nothing is heard without a receiver.
    void SetEventReceiver(CMatchEventReceiver* pReceiver) { m_pEventReceiver = pReceiver; }
    void SendMatchEvent()
    {
        if (m_pEventReceiver)
            m_pEventReceiver->OnMatchEvent(m_EventInfo);
    }
    void SendIncident()
    {
        if (m_pEventReceiver)
            m_pEventReceiver->AddPendingEvent(m_EventInfo);
    }

    // The crowd (CMatchEngineCrowd.cpp): its excitement and mood (0-2 each,
    // 1 at the start) move with the events the match screen passes on, and
    // choose the crowd sounds heard and the background renewed every five
    // minutes of match time. Nothing is heard without the crowd sounds.
    bool QueueCrowdSound(int nCategory, uint32_t dwDelay);
    void PlayCrowdSound(int nCategory);
    void PlayCrowdReaction(CMatchClub* pClub, int nCode);
    void UpdateCrowdMood(CMatchClub* pClub, int nCode);
    // Stores the state and schedules its background for the next minute.
    void SetCrowdState(uint32_t dwExcitement, uint32_t dwMood);
    // The endless crowd background, unless it plays already.
    void StartCrowdLoop();
    uint32_t GetCrowdExcitement() const { return m_dwCrowdExcitement; }
    uint32_t GetCrowdMood() const { return m_dwCrowdMood; }
    // The move of excitement and mood for an event of a club that is (or is
    // not) the crowd's side; codes without a rule keep both.
    static void MoveCrowdMood(bool bCrowdSide, int nCode, uint32_t& dwExcitement, uint32_t& dwMood);
    // The crowd's state for the five-minute background at a match time.
    static void GetAtmosphere(uint32_t dwMatchTime, bool bHomeAhead, bool bHomeFavoured, int nSupporters,
                              uint32_t& dwExcitement, uint32_t& dwMood);
    // Away from the home club's own ground every club is the crowd's side.
    bool IsCrowdSide(const CMatchClub* pClub) const;
    bool IsHomeGround() const;
    // The match screen's flag that favours the home crowd.
    void SetHomeCrowdFavoured(bool bFavoured) { m_bHomeCrowdFavoured = bFavoured; }
    CCrowdSounds* GetCrowdSounds() const { return m_pCrowdSounds.get(); }
    // The commentary bank of the match (CMatchEngineCommentary.cpp), in the
    // language folder the match screen sets; null when the match has none.
    CCommentary* GetCommentary() const { return m_pCommentary.get(); }
    void SetLanguage(const char* pszLanguage) { m_Language = pszLanguage ? pszLanguage : ""; }
    // Every commentary sound at the commentary volume.
    void ApplyCommentaryVolume();
    // The rain or snow over the 3-D view, set up from the match's weather
    // and sized with the view; the overlay draws it each frame over the
    // view's rectangle of the frame (redrawn at once while the view turns).
    void DrawPrecipitation(plat::Surface& target, bool bTurning);
    const CPrecipitation& GetPrecipitation() const { return m_Precipitation; }
    // The crowd's list file and archive, read by StartGame.
    static constexpr const char* kCrowdListFile = "Data\\Tables\\CrowdSounds.frm";
    static constexpr const char* kCrowdArchive = "Sounds\\CrowdSounds.bfs";

    CMatchBall* GetBall() { return m_pBall.get(); }
    CRingBuffer<CAMERASUBJECTRECORD>* GetCameraSubjectRing() { return m_pCameraSubjectRing.get(); }
    CRingBuffer<CROWDSOUNDRECORD>* GetCrowdSoundRing() { return m_pCrowdSoundRing.get(); }
    CRingBuffer<CAPTIONRECORD>* GetCaptionRing() { return m_pCaptionRing.get(); }

    // The people of the match in tick order. The clubs and the officials add
    // them; until those exist, whoever builds the match does.
    void AddHomePerson(CMatchPerson* pPerson) { m_apHome.push_back(pPerson); }
    void AddAwayPerson(CMatchPerson* pPerson) { m_apAway.push_back(pPerson); }
    void SetOfficials(CMatchPerson* pReferee, CMatchPerson* pAssistant0, CMatchPerson* pAssistant1,
                      CMatchPerson* pPhysio);
    void ClearPersons();
    // Every player is made active: with line-ups shown they start one after
    // another, else at once from their base positions.
    void ActivatePlayers();
    // The option MatchLineUps.
    void SetShowLineUps(bool bShow) { m_bShowLineUps = bShow; }

    // The rules: each check that finds something to judge hands one cause
    // record to the referee, who lets his assistants judge it too. They say
    // what happened and how likely it is an offence; the officials decide
    // whether it is seen and given. Kicks ask for the offside check and
    // touches for the handball check, tackles report themselves, the ball
    // runs the line checks and the tick the six-second rule.
    void CheckOffside(CMatchPlayer* pKicker);
    void CheckBallOffPitchEnd();
    void CheckBallOffPitchSide();
    // True while the referee's verdict on a goal or a ball out stands.
    bool IsLineDecisionPending() const;
    void ReportTackle(CMatchPlayer* pTackler, CMatchPlayer* pFouled);
    void ReportAggressivePlay(CMatchPlayer* pOffender, const CVector& position, int32_t nSeverity);
    void CheckSixSecondRule();
    void CheckHandball(CMatchPlayer* pPlayer);
    // The restart the referee follows (0 none) and the player who took it;
    // the referee writes them.
    void SetFollowedRestart(uint8_t byEvent, CMatchPlayer* pTaker);
    uint8_t GetFollowedRestart() const { return m_byFollowedRestart; }
    CMatchPlayer* GetRestartTaker() const { return m_pRestartTaker; }
    // A loose ball in open play goes to the footballer who reaches it
    // first along its movement of the tick (CMatchEngineLooseBall.cpp).
    void CheckLooseBallTouch();
    // Set when a goalkeeper was beaten to a ball played to him.
    bool IsKeeperChallenged() const { return m_bKeeperChallenge; }
    void SetKeeperChallenge(bool bChallenged) { m_bKeeperChallenge = bChallenged; }
    // Restarts and set-piece positions (CMatchEngineRestarts.cpp). Every
    // tick and at each restart set-up: who is in possession, the focus point
    // and zone of play (0-24 the 5 x 5 grid, 25/26 corners far/near, 27
    // kick-off, 28 goal kick, 29 penalty), told to both clubs when it changed.
    enum : uint8_t { ZONE_CORNER_FAR = 25, ZONE_CORNER_NEAR = 26, ZONE_KICKOFF = 27, ZONE_GOALKICK = 28,
                     ZONE_PENALTY = 29 };
    static constexpr int kNoGridCell = 32;
    bool SetupEventPositions();
    static int GetZoneOfPoint(const CVector& point);
    // The grid cell of the clubs' placement table holding the point (32 none).
    int GetGridCell(const CVector& point) const;
    const CVector& GetFocusPoint() const { return m_vFocusPoint; }
    int8_t GetLastZoneTold() const { return m_nLastZoneTold; }
    CMatchClub* GetClubInPossession() const { return m_pClubInPossession; }
    // How often the clubs were told a zone (a count for tests and the debug view).
    uint32_t GetZoneTellings() const { return m_dwZoneTellings; }
    // Both clubs change ends.
    void SwapEnds();
    // Score-line codes of a goal and of full time: 0 level, 1 the home club
    // ahead, 2 the away club ahead.
    uint8_t GetGoalScoreCode() const;
    uint8_t GetFinalScoreCode() const { return GetGoalScoreCode(); }
    // The shoot-out record the view draws: per kick 0 not taken, 1 scored, 2 missed.
    static constexpr int kShootOutSlots = 12;
    uint8_t GetShootOutSlot(int n) const { return n >= 0 && n < kShootOutSlots ? m_abyShootOut[n] : 0; }
    void SetShootOutSlot(int n, uint8_t byValue)
    {
        if (n >= 0 && n < kShootOutSlots)
            m_abyShootOut[n] = byValue;
    }
    // The result code the referee decided (255 none yet) and the goals each
    // club scored away in the first leg of a tie, which the match screen gives.
    static constexpr uint8_t kNoResult = 255;
    uint8_t GetResultCode() const { return m_byResultCode; }
    void SetResultCode(uint8_t byCode);
    void SetFirstLegGoals(uint8_t byHome, uint8_t byAway) { m_abyFirstLegGoals[0] = byHome, m_abyFirstLegGoals[1] = byAway; }
    uint8_t GetFirstLegGoals(int nSide) const { return m_abyFirstLegGoals[nSide ? 1 : 0]; }
    // The referee as the judging official; null when the match has none.
    CMatchAssistantReferee* GetJudgingOfficial() const;
    // The referee the match was built with, who carries the two assistants.
    CMatchReferee* GetReferee() const { return m_pMatchReferee.get(); }
    // The physio the match was built with; null between matches.
    CMatchPhysio* GetPhysio() const { return m_pMatchPhysio.get(); }
    // The spray can the physio holds while he treats; null when the scene
    // has none. The engine owns it from here until the match ends.
    void SetSprayCan(std::unique_ptr<MATCHPROP> pCan);
    MATCHPROP* GetSprayCan() const { return m_pSprayCan.get(); }

    // Geometry queries.
    bool IsPathBlocked(const CVector& a, const CVector& b, int32_t nMargin, bool bIncludeGoals,
                       float* pfHitTime = nullptr) const;
    bool IsPathBlockedByPerson(const CVector& a, const CVector& b, int32_t nMargin, const CMatchPerson* pMover) const;
    static int32_t GetDistanceToPath(const CVector& p, const CVector& a, const CVector& b);
    bool IsPersonCrowded(const CMatchPerson* pPerson) const;
    // Somebody other than pExcept, active and not seated, stands within 50
    // of the point (the footballers and the officials).
    bool IsPointOccupied(const CVector& point, const CMatchPerson* pExcept) const;
    bool IsPointInZone(CVector& point, int32_t nMargin) const;
    bool FindPathAroundZones(const CMatchPerson* pPerson, const CVector& from, CVector& target) const;
    bool TestBallCollision(BALLCOLLISIONQUERY& query, float fTickSeconds) const;

    // The person the debug views and the camera look at, by the selection
    // index: home players, away players, the referee, the two assistants;
    // beyond them the ball's last toucher, else the first home player.
    CMatchPerson* GetSelectedPerson() const;
    void SetSelectedPersonIndex(int nIndex) { m_nSelectedPerson = nIndex; }

    // The eleven obstacle zones of a match: dugouts, tunnel, posts, crossbars, nets.
    void SetupZones();
    const CMatchBoundingZone& GetZone(size_t n) const { return m_aZones[n]; }
    size_t GetZoneCount() const { return m_aZones.size(); }

    // ---- the stadium, its board rows and scene objects (CMatchEngineStadium.cpp) ----
    static constexpr int kStadiumSegments = 8;
    static constexpr int kBoardRows = 5;
    static constexpr int kAdvertRects = 51;
    static constexpr int kNoAdvertRect = 50;
    // What one segment of the ring round the pitch shows: a wall, or a stand
    // at a completion with its mesh and roof names (without the folder).
    struct STADIUMSEGMENT {
        bool bWall = true;
        int nComplete = 100;
        char szMesh[24] = {};
        char szRoof[24] = {};
        CModel* pModel = nullptr;
    };
    // How far the work on a stand shows on match day: 100 for a finished
    // stand, the share of its schedule done (turned round for a demolition,
    // 51 or 100 for an upgrade), and -1 when a new building that has not
    // begun leaves the segment a wall.
    static int GetStandCompletion(const CGroundDatabase& ground, const CComponentDatabase& stand, const CDate& today);
    // The crowd density code of a stand: 1 up to a third full, 2 up to two
    // thirds, 3 beyond.
    static uint8_t GetCrowdDensityCode(uint16_t wSeats, uint16_t wSpectators);
    // The set-up steps of the 3-D scene in the order StartGame runs them.
    void LoadTextures();
    void SetupMaterials();
    void SetupLights();
    void BuildPitchMesh();
    void SetupObjects();
    void LoadStadiumSegment();
    // The advert of every board: the home manager's sold places, else a
    // random advertiser on each. After every device restore.
    void ApplyHoardingTextures();
    void DestroyObjects();
    // Each drawn frame: a sky that turns with the weather moves on.
    void UpdateSky();
    const STADIUMSEGMENT& GetStadiumSegment(int n) const { return m_aSegments[n & 7]; }
    bool IsSideOpen(int n) const { return m_aSegments[n & 7].bWall; }
    bool HasLowStands() const { return m_bLowStands; }
    uint8_t GetStadiumModelCount() const { return m_ucNumStadiumModels; }
    const CHordings* GetBoardRow(int n) const { return n >= 0 && n < kBoardRows ? m_pBoardRows[n].get() : nullptr; }
    const float* GetAdvertRect(int n) const { return n >= 0 && n < kAdvertRects ? m_afAdvertRects[n] : nullptr; }
    // The match day the ground's building work is measured against.
    void SetMatchDate(uint32_t dwDate) { m_dwMatchDate = dwDate; }
    const CModel* GetDomeModel() const { return m_pDomeModel.get(); }
    const CModel* GetSkylineModel() const { return m_pSkylineModel.get(); }
    uint16_t GetBoardTexture() const { return m_usBoardTexture; }

private:
    bool BuildMatch(CDatabaseHandler* pDatabase, const uint32_t* pdwSeed, uint32_t dwRealTimeNow);
    // The distance tables of the tick: home to away, and each player to the ball.
    void UpdateDistanceTables();
    // Which side is nearer the ball (or has the restart), as each club's
    // threat bias: the side on top pushes on towards its places with the ball.
    void UpdatePressureBalance();
    template <typename F> void ForEachPerson(F f) const;
    void HandToReferee(const MatchCauseRecord& record) const;
    bool PersonBlocksPath(const CMatchPerson* pPerson, const CVector& a, const CVector& b, int32_t nLimit,
                          const CMatchPerson* pMover) const;

    // Zone indices in the zone list.
    enum { ZONE_DUGOUT_LOW, ZONE_DUGOUT_HIGH, ZONE_TUNNEL, ZONE_POST_LOW_1, ZONE_POST_LOW_2, ZONE_POST_HIGH_1,
           ZONE_POST_HIGH_2, ZONE_BAR_LOW, ZONE_BAR_HIGH, ZONE_NET_LOW, ZONE_NET_HIGH, ZONE_COUNT };

    bool m_bReplaying = false;
    uint32_t m_dwReplayEndTime = 0;
    ITEMMATCHEVENTINFORMATION m_EventInfo;
    CMatchEventReceiver* m_pEventReceiver = nullptr;
    bool m_bPaused = false;
    bool m_bSoundOn = true;
    uint32_t m_dwEngineClock = 0;
    uint32_t m_dwLastSecondMark = 0;
    uint32_t m_dwNextFiveMinuteMark = kFiveMinutes;
    uint32_t m_dwMatchTime = 0;
    bool m_bMatchClockRunning = false;
    float m_fSpeedFactor = kMinSpeed;
    uint32_t m_dwSeed = 0;
    uint8_t m_byRandomTenth = 0;
    uint32_t m_dwStartRealTime = 0;
    uint32_t m_dwTickAccumulator = 0;
    uint32_t m_dwLastRealTime = 0;
    uint32_t m_dwRealElapsed = 0;
    bool m_bTickStop = false;
    uint8_t m_byMatchType = 1;
    uint8_t m_byMatchPeriod = MATCHPERIOD_BEFOREKICKOFF;
    uint8_t m_byMatchEvent = MATCHEVENT_NONE;
    uint8_t m_byMatchState = MATCHSTATE_NONE;
    MATCHWEATHER m_Weather;
    ITEMMATCHRULESINFORMATION m_MatchRules;
    int m_nPeoplePerSide = 11;
    uint32_t m_dwCallerValue = 0;
    bool m_bCommentary = false;
    bool m_bFullView = false;
    CGroundDatabase* m_pGround = nullptr;
    CClubDatabase* m_pHomeClubRecord = nullptr;
    CClubDatabase* m_pAwayClubRecord = nullptr;
    uint8_t m_bySoundStage = 0;
    uint32_t m_dwCrowdMood = 1;
    uint32_t m_dwCrowdExcitement = 1;

    uint16_t m_wCommentaryVolume = 96;
    uint8_t m_byCommentaryWanted = 0;
    uint16_t m_wAmbientVolume = 73;
    bool m_bCrowdSoundsOn = false;
    std::unique_ptr<CSoundManager> m_pCrowdSoundManager;
    std::unique_ptr<CSoundManager> m_pCommentarySoundManager;
    std::unique_ptr<C3DEngine> m_p3DEngine;
    std::unique_ptr<CXSurface> m_apOverlay[OVERLAY_COUNT];
    std::unique_ptr<CXSurface> m_pWeatherIcon;
    uint8_t m_byCameraMode = CAMERA_NO_3D;
    FOG m_Fog;
    float m_fAspectRatio = 0.75f;
    MATCHRECT m_ViewRect = {0, 0, 0, 0};
    MATCHRECT m_RadarRect = {0, 0, 0, 0};
    MATCHRECT m_PitchMapRect = {0, 0, 0, 0};
    uint16_t m_wPitchMapScaleX = 0, m_wPitchMapScaleY = 0;
    float m_fRadarScaleX = 0.0f, m_fRadarScaleY = 0.0f;
    int32_t m_nRadarMarkerWidth = 0, m_nRadarMarkerHeight = 0;
    std::unique_ptr<CMatchBall> m_pBall;
    std::unique_ptr<CMatchClub> m_pHomeClub, m_pAwayClub;
    int32_t m_anPlayerDistances[11][11] = {};
    // The substitution each computer-run club last asked for (0 none).
    uint8_t m_abyRequestedSubstitution[2] = {};
    std::vector<CMatchBoundingZone> m_aZones;
    std::unique_ptr<CRingBuffer<CAMERASUBJECTRECORD>> m_pCameraSubjectRing;
    std::unique_ptr<CRingBuffer<CROWDSOUNDRECORD>> m_pCrowdSoundRing;
    std::unique_ptr<CRingBuffer<CAPTIONRECORD>> m_pCaptionRing;

    // The crowd.
    void CheckAtmosphere();
    bool LoadCrowdSounds();
    void LoadCommentary();
    std::unique_ptr<CCommentary> m_pCommentary;
    std::string m_Language = "English";
    CPrecipitation m_Precipitation;
    std::unique_ptr<CCrowdSounds> m_pCrowdSounds;
    uint8_t m_byLastAtmosphereSlot = 255;
    bool m_bHomeCrowdFavoured = false;

    int m_nSelectedPerson = 0;
    bool m_bShowLineUps = true;
    std::vector<CMatchPerson*> m_apHome, m_apAway;
    CMatchPerson* m_pReferee = nullptr;
    CMatchPerson* m_apAssistants[2] = {};
    CMatchPerson* m_pPhysio = nullptr;
    std::unique_ptr<CMatchReferee> m_pMatchReferee;
    std::unique_ptr<CMatchPhysio> m_pMatchPhysio;
    std::unique_ptr<MATCHPROP> m_pSprayCan;
    uint8_t m_byFollowedRestart = MATCHEVENT_NONE;
    CMatchPlayer* m_pRestartTaker = nullptr;

    void BuildGridCells();
    bool UpdatePossession();
    CVector m_vFocusPoint;
    int8_t m_nLastZoneTold = -1;
    int32_t m_anLowestBallDistance[2] = {};
    uint8_t m_byPressureBalance = 50;
    int8_t m_nLastEventTold = -1;
    CMatchClub* m_pClubInPossession = nullptr;
    uint32_t m_dwZoneTellings = 0;
    std::vector<MATCHRECT> m_aGridCells;
    uint8_t m_abyShootOut[kShootOutSlots] = {};
    uint8_t m_byResultCode = kNoResult;
    uint8_t m_abyFirstLegGoals[2] = {};
    bool m_bKeeperChallenge = false;

    // ---- shadows, scene visibility and debug markers (CMatchEngineShadows.cpp) ----
    void BuildShadowMeshes();
    void UpdateSceneVisibility();
    float GetShadowTilt() const;
    std::vector<CMatchPerson*> ShadowedPersons() const;
    struct PERSONSHADOW {
        CMatchPerson* pPerson;
        uint16_t wMesh;
    };
    std::vector<PERSONSHADOW> m_PersonShadows;
    uint16_t m_wBallShadowMesh = 0;
    uint16_t m_awMarkerMeshes[3] = {};
    bool m_bShadowsBuilt = false;

    // ---- the pitch plan, markers and alert options ----
    int32_t m_nPlanOriginX = 0, m_nPlanOriginY = 0;
    std::unique_ptr<CXSurface> m_apRadarMarkers[RADARMARK_COUNT];
    std::unique_ptr<CXSurface> m_apPlanMarkers[PLANMARK_COUNT];
    std::unique_ptr<CXSurface> m_pReplayMark;
    bool m_abAlertOptions[ALERT_KINDS] = {true, true, true};
    uint16_t m_ausAlertTextures[ALERT_KINDS] = {65000, 65000, 65000};

    // ---- the stadium, its board rows and scene objects (CMatchEngineStadium.cpp) ----
    void AddSceneToMeshManager();
    uint16_t LoadSceneObject(const char* pszFile, const char* pszFailure);
    std::unique_ptr<CModel> MakeSceneModel(uint16_t wObject, const D3DMATRIX& world);
    std::unique_ptr<CFileManager> m_pMatchTextures;
    uint16_t m_usGrassTexture = 0, m_usMarkingsTexture = 0, m_usBoardTexture = 0;
    uint16_t m_usBallShadowTexture = 0, m_usPersonShadowTexture = 0;
    uint16_t m_usMaterials[10] = {};
    STADIUMSEGMENT m_aSegments[kStadiumSegments];
    std::unique_ptr<CModel> m_pStadiumModels[kStadiumSegments];
    uint8_t m_ucNumStadiumModels = 0;
    bool m_bLowStands = false;
    uint32_t m_dwMatchDate = 0;
    CHoardingsManager* m_pHomeHoardings = nullptr;
    std::unique_ptr<CHordings> m_pBoardRows[kBoardRows];
    float m_afAdvertRects[kAdvertRects][4] = {};
    std::unique_ptr<CModel> m_pNetModels[2], m_pFlagModels[4], m_pDugoutModels[2];
    std::unique_ptr<CModel> m_pDomeModel, m_pSkylineModel;
    // Replay, highlights and camera state.
    std::vector<CMatchPerson*> PersonsInTickOrder() const;
    void RunTicks(uint32_t dwElapsed);
    bool StepSkippedTick();
    void PlayBackReplay();
    void EndReplay();
    void UpdateCameraSubject();
    void UpdateCaption();
    virtual bool TakeWaitingMessage(plat::Message& message);
    void ChangeZoom(float fStep);
    void TellViewChanged() const
    {
        if (m_pfnViewChanged)
            m_pfnViewChanged(m_pViewContext);
    }
    bool m_abHighlightOptions[HIGHLIGHT_KINDS] = {true, true, true, true, true, true, true, true, true, true};
    bool m_bSkippingFinished = true;
    bool m_bAttemptOnTarget = false;
    uint32_t m_dwAttemptTime = 0;
    CAMERASUBJECTRECORD m_CameraSubject;
    CAPTIONRECORD m_Caption{kNoCaption, nullptr, nullptr};
    PERIODPROGRESS m_PeriodProgress;
    uint8_t m_bySelectedView = 0;
    float m_afCameraTarget[3] = {5000.0f, 3750.0f, 0.0f};
    float m_fCameraYaw = 0.0f;
    float m_fCameraPitch = 0.0f;
    bool m_bTurning = false;
    int32_t m_nTurnRateX = 0, m_nTurnRateY = 0;
    bool m_bCameraDrag = false;
    uint32_t m_dwSavedCameraMode = 0;
    int32_t m_nLastDragX = 0, m_nLastDragY = 0;
    bool m_bRightDrag = false;
    bool m_bBallPicked = false;
    bool m_bDebugMode = false;
    bool m_bDebugSelection = false;
    bool m_bShowNames = true, m_bShowNumbers = true;
    void (*m_pfnViewChanged)(void*) = nullptr;
    void* m_pViewContext = nullptr;
};

// The one engine of the program, and the ball of the current match (null
// between matches).
extern CMatchEngine g_MatchEngine;
extern CMatchBall* g_pMatchBall;

class CRefereeDatabase;
// At the end of a match the referee's record takes the totals of the global
// engine's match for the competition (0-3).
void AddMatchTotalsToReferee(int nCompetition, CRefereeDatabase* pReferee);
