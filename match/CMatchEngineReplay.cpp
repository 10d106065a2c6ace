// Fast-forward to the next period or highlight, the replay of the recent
// past, and what the replay plays back: the camera subject and the caption.
#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "sound/CSoundManager.h"

namespace {

constexpr uint8_t ACTION_BOOKING_PLAYER = 15;
constexpr uint32_t kHighlightRewind = 20000;
constexpr uint32_t kPeriodEndRewind = 1000;

bool IsOnPitch(const CMatchPerson* p)
{
    const CVector& at = p->GetPosition();
    return at.x >= 0 && at.x <= PITCH_LENGTH && at.y >= 0 && at.y <= PITCH_WIDTH;
}

}  // namespace

std::vector<CMatchPerson*> CMatchEngine::PersonsInTickOrder() const
{
    std::vector<CMatchPerson*> people(m_apHome);
    people.insert(people.end(), m_apAway.begin(), m_apAway.end());
    for (CMatchPerson* p : {m_pPhysio, m_pReferee, m_apAssistants[0], m_apAssistants[1]})
        if (p)
            people.push_back(p);
    return people;
}

void CMatchEngine::SetHighlightOption(uint8_t byKind, bool bOn)
{
    if (byKind < HIGHLIGHT_PERIODEND)
        m_abHighlightOptions[byKind] = bOn;
}

void CMatchEngine::MarkAttemptOnTarget()
{
    m_bAttemptOnTarget = true;
    m_dwAttemptTime = m_dwEngineClock;
}

bool CMatchEngine::IsHighlightMoment(uint8_t* pbyKind) const
{
    const CMatchReferee* pReferee = m_pMatchReferee.get();
    if (!pReferee)
        return false;
    auto found = [pbyKind](uint8_t byKind) {
        if (pbyKind)
            *pbyKind = byKind;
        return true;
    };
    const uint8_t byCard = pReferee->GetCardLevel();
    if (byCard == 1 && m_abHighlightOptions[HIGHLIGHT_YELLOWCARD])
        return found(HIGHLIGHT_YELLOWCARD);
    if ((byCard == 2 || byCard == 3) && m_abHighlightOptions[HIGHLIGHT_REDCARD])
        return found(HIGHLIGHT_REDCARD);
    CMatchPlayer *pOff = nullptr, *pOn = nullptr;
    if (m_abHighlightOptions[HIGHLIGHT_SUBSTITUTION] && pReferee->GetSubstitutionInProgress(&pOff, &pOn))
        return found(HIGHLIGHT_SUBSTITUTION);
    if (m_abHighlightOptions[HIGHLIGHT_GOAL] && pReferee->GetResolvedCause() == CAUSE_GOAL &&
        pReferee->GetTimeSinceEventStart() < 6000)
        return found(HIGHLIGHT_GOAL);

    // A restart stays a highlight for its first seconds of play.
    uint8_t byEvent = m_byMatchEvent;
    if (byEvent == MATCHEVENT_NONE)
        byEvent = pReferee->GetLastRestart() ? pReferee->GetLastRestart() : pReferee->GetPreviousRestart();
    if (byEvent == MATCHEVENT_HALFTIME || byEvent == MATCHEVENT_FULLTIME)
        return found(HIGHLIGHT_PERIODEND);
    const uint32_t dwInPlay = pReferee->GetTimeInPlay();
    struct RESTART {
        uint8_t byEvent, byKind;
        uint32_t dwWindow;
    };
    static constexpr RESTART kRestarts[] = {{MATCHEVENT_KICKOFF, HIGHLIGHT_KICKOFF, 5000},
                                            {MATCHEVENT_CORNER, HIGHLIGHT_CORNER, 10000},
                                            {MATCHEVENT_DIRECTFREEKICK, HIGHLIGHT_FREEKICK, 10000},
                                            {MATCHEVENT_PENALTY, HIGHLIGHT_PENALTY, 10000}};
    for (const RESTART& r : kRestarts)
        if (byEvent == r.byEvent && m_abHighlightOptions[r.byKind] && dwInPlay < r.dwWindow)
            return found(r.byKind);
    if (m_abHighlightOptions[HIGHLIGHT_ATTEMPT] && m_bAttemptOnTarget && m_dwEngineClock >= m_dwAttemptTime &&
        m_dwEngineClock - m_dwAttemptTime < 10000)
        return found(HIGHLIGHT_ATTEMPT);
    return false;
}

bool CMatchEngine::StepSkippedTick()
{
    Tick(MATCH_TICK_MS, m_dwEngineClock + MATCH_TICK_MS);
    PostTick();
    ShowPeriodProgress(1, 0);
    return !CheckUserAbort();
}

uint32_t CMatchEngine::SkipToHighlight()
{
    uint8_t byKind = 0;
    const uint32_t dwNow = plat::milliseconds();
    if (IsHighlightMoment(&byKind) && byKind == HIGHLIGHT_PERIODEND) {
        m_dwTickAccumulator = 0;
        m_dwLastRealTime = dwNow;
        return dwNow;
    }
    const bool bSoundOn = m_bSoundOn;
    m_bSoundOn = false;
    m_bSkippingFinished = false;
    // A match that never reaches a highlight (no referee to end it) must not
    // hold the program: the same limit as a skip to a period.
    const uint32_t dwLimit = m_dwEngineClock + kSkipLimit;
    bool bAborted = false;
    while (m_bReplaying && !bAborted)
        bAborted = !StepSkippedTick();
    uint8_t byNow = 0;
    if (!bAborted && IsHighlightMoment(&byNow)) {
        uint8_t byStill = 0;
        while (!bAborted && IsHighlightMoment(&byStill) && byStill == byNow && m_dwEngineClock < dwLimit)
            bAborted = !StepSkippedTick();
    }
    while (!bAborted && !IsHighlightMoment(&byKind) && m_dwEngineClock < dwLimit)
        bAborted = !StepSkippedTick();
    if (!bAborted && IsHighlightMoment(&byKind)) {
        const uint32_t dwRewind = byKind == HIGHLIGHT_CORNER       ? 0
                                  : byKind == HIGHLIGHT_PERIODEND ? kPeriodEndRewind
                                                                   : kHighlightRewind;
        if (dwRewind)
            SeekReplay(dwRewind);
    }
    m_bSkippingFinished = true;
    m_dwTickAccumulator = 0;
    m_dwLastRealTime = plat::milliseconds();
    m_bSoundOn = bSoundOn;
    return m_dwLastRealTime;
}

uint32_t CMatchEngine::SkipToEvent(uint8_t byTarget)
{
    const bool bSoundOn = m_bSoundOn;
    m_bSoundOn = false;
    const uint8_t byStart = m_byMatchPeriod ? m_byMatchPeriod : MATCHPERIOD_FIRSTHALF;
    if (m_pCommentarySoundManager)
        m_pCommentarySoundManager->EndAllSounds();
    if (m_pCrowdSoundManager)
        m_pCrowdSoundManager->EndOneShotSounds();
    const uint32_t dwLimit = m_dwEngineClock + kSkipLimit;
    m_bSkippingFinished = false;
    if (byTarget != kNextPeriod) {
        while ((m_byMatchEvent == MATCHEVENT_HALFTIME || m_byMatchPeriod != byTarget) && m_dwEngineClock < dwLimit)
            if (!StepSkippedTick())
                break;
    } else if (m_byMatchEvent == MATCHEVENT_HALFTIME) {
        while (m_byMatchEvent == MATCHEVENT_HALFTIME && m_dwEngineClock < dwLimit)
            if (!StepSkippedTick())
                break;
    } else {
        while (m_dwEngineClock < dwLimit &&
               (m_byMatchEvent == MATCHEVENT_HALFTIME || m_byMatchPeriod == byStart ||
                m_byMatchPeriod == MATCHPERIOD_BEFOREKICKOFF))
            if (!StepSkippedTick())
                break;
    }
    m_bSkippingFinished = true;
    m_dwRealElapsed = 0;
    m_dwTickAccumulator = 0;
    m_dwLastRealTime = plat::milliseconds();
    m_bSoundOn = bSoundOn;
    return m_dwLastRealTime;
}

bool CMatchEngine::TakeWaitingMessage(plat::Message& message)
{
    return plat::peekMessage() && plat::getMessage(message);
}

bool CMatchEngine::CheckUserAbort()
{
    if (m_byMatchType == 0)
        return false;
    plat::Message message;
    if (!TakeWaitingMessage(message))
        return false;
    if (message.message != plat::WM_KEYUP || message.wParam != plat::VK_ESCAPE)
        return false;
    if (m_byMatchType == 1) {
        m_bPaused = true;
        TellViewChanged();
    }
    return true;
}

void CMatchEngine::SeekReplay(uint32_t dwRewind)
{
    if (!m_pCameraSubjectRing || !m_pBall)
        return;  // no replay without the rings
    uint32_t dwStart = m_dwEngineClock > dwRewind ? m_dwEngineClock - dwRewind : 0;
    if (!m_bReplaying)
        m_dwReplayEndTime = m_dwEngineClock;
    if (m_dwReplayEndTime - dwStart > kLongestReplay && m_dwReplayEndTime > dwStart)
        dwStart = m_dwReplayEndTime - kLongestReplay;
    m_bReplaying = true;
    m_dwEngineClock = dwStart;
    if (const auto* pSlot = m_pCameraSubjectRing->Seek(dwStart))
        m_CameraSubject = *pSlot->pRecord;
    for (CSoundManager* pManager : {m_pCrowdSoundManager.get(), m_pCommentarySoundManager.get()}) {
        if (!pManager)
            continue;
        if (pManager == m_pCrowdSoundManager.get())
            pManager->EndOneShotSounds();
        else
            pManager->EndAllSounds();
        pManager->CleanPriorityQueue(m_dwEngineClock);
        if (pManager->GetStandardQueue())
            pManager->GetStandardQueue()->Clean();
    }
    if (m_pCrowdSoundRing)
        m_pCrowdSoundRing->Seek(dwStart);
    if (m_pCaptionRing)
        if (const auto* pSlot = m_pCaptionRing->Seek(dwStart))
            m_Caption = *pSlot->pRecord;
    for (CMatchPerson* p : PersonsInTickOrder())
        p->SeekReplay(dwStart);
    m_pBall->SeekReplay(dwStart);
}

void CMatchEngine::PlayBackReplay()
{
    while (const CAMERASUBJECTRECORD* pRecord = m_pCameraSubjectRing->ReadNext(m_dwEngineClock))
        m_CameraSubject = *pRecord;
    if (m_pCaptionRing)
        if (const CAPTIONRECORD* pRecord = m_pCaptionRing->ReadNext(m_dwEngineClock))
            m_Caption = *pRecord;
    if (m_bSoundOn && m_pCrowdSoundRing && m_pCrowdSoundManager) {
        uint32_t dwTime = 0;
        while (const CROWDSOUNDRECORD* pRecord = m_pCrowdSoundRing->ReadNext(m_dwEngineClock, &dwTime))
            if (!m_pCrowdSoundManager->Play(pRecord->wSampleID))
                m_pCrowdSoundManager->QueuePrioritySound(pRecord->wSampleID,
                                                         m_dwEngineClock + pRecord->dwDelayOrHandle);
    }
    if (m_dwEngineClock >= m_dwReplayEndTime)
        EndReplay();
}

void CMatchEngine::EndReplay()
{
    // The clock takes up the live time again, whatever part of a tick the
    // rewind left over.
    m_bReplaying = false;
    m_dwEngineClock = m_dwReplayEndTime;
    m_pCameraSubjectRing->GetLatest();
    if (m_pCrowdSoundRing)
        m_pCrowdSoundRing->GetLatest();
    if (m_pCaptionRing)
        m_Caption = *m_pCaptionRing->GetLatest()->pRecord;
    m_CameraSubject = *m_pCameraSubjectRing->GetLatest()->pRecord;
    // Each person goes back to his newest record, carried on to the live time.
    const uint32_t dwLive = m_dwEngineClock;
    for (CMatchPerson* p : PersonsInTickOrder())
        if (p->SeekReplay(dwLive))
            p->EndReplay();
    if (m_pBall)
        m_pBall->EndReplay();
}

void CMatchEngine::UpdateCameraSubject()
{
    CAMERASUBJECTRECORD subject;
    const CMatchReferee* pReferee = m_pMatchReferee.get();
    CMatchPlayer *pOff = nullptr, *pOn = nullptr;
    if (pReferee && pReferee->GetCardLevel() && pReferee->GetOffender())
        subject.pPerson = pReferee->GetOffender();
    else if (pReferee && (pReferee->GetCardLevel() || pReferee->GetAction() == ACTION_BOOKING_PLAYER))
        subject.pPerson = const_cast<CMatchReferee*>(pReferee);
    else if (pReferee && pReferee->GetResolvedCause() == CAUSE_GOAL && pReferee->GetOffender() &&
             pReferee->GetOffender()->GetDecision() == DECISION_CELEBRATE)
        subject.pPerson = pReferee->GetOffender();
    else if (pReferee && pReferee->GetSubstitutionInProgress(&pOff, &pOn) && (pOff || pOn))
        subject.pPerson = pOff && IsOnPitch(pOff) ? pOff : (pOn ? pOn : pOff);
    else if (m_pBall && m_pBall->GetHolder())
        subject.pPerson = m_pBall->GetHolder();
    subject.byFlag = subject.pPerson ? 1 : 0;
    if (subject.byFlag == m_CameraSubject.byFlag && subject.pPerson == m_CameraSubject.pPerson)
        return;
    m_CameraSubject = subject;
    if (m_pCameraSubjectRing)
        *m_pCameraSubjectRing->Write(m_dwEngineClock) = subject;
}

void CMatchEngine::UpdateCaption()
{
    CAPTIONRECORD caption;
    const CMatchReferee* pReferee = m_pMatchReferee.get();
    if (!pReferee)
        return;
    CMatchPlayer *pOff = nullptr, *pOn = nullptr;
    const uint8_t byCard = pReferee->GetCardLevel();
    const uint8_t byCause = pReferee->GetResolvedCause();
    if (m_byMatchPeriod == MATCHPERIOD_SHOOTOUT) {
        caption = {21, pReferee->GetEventPlayer(), nullptr};
    } else if (byCard == 1) {
        caption = {18, pReferee->GetOffender(), nullptr};
    } else if (byCard == 2 || byCard == 3) {
        caption = {19, pReferee->GetOffender(), nullptr};
    } else if (m_byMatchEvent == MATCHEVENT_INJURY) {
        caption = {10, pReferee->GetInjuredPlayer(), nullptr};
    } else if (pReferee->GetSubstitutionInProgress(&pOff, &pOn)) {
        caption = {20, pOff, pOn};
    } else if (byCause >= CAUSE_AGGRESSIVE_PLAY && byCause <= CAUSE_TIME_WASTING) {
        caption = {uint8_t(byCause + 8), pReferee->GetOffender(), nullptr};
    } else if (m_byMatchEvent >= MATCHEVENT_HALFTIME && m_byMatchEvent <= MATCHEVENT_PENALTY) {
        caption = {m_byMatchEvent, pReferee->GetEventPlayer(), nullptr};
    } else {
        caption = {0, m_pBall ? m_pBall->GetLastToucher() : nullptr, nullptr};
    }
    if (caption.byKind == m_Caption.byKind && caption.pFirst == m_Caption.pFirst &&
        caption.pSecond == m_Caption.pSecond)
        return;
    m_Caption = caption;
    if (m_pCaptionRing)
        *m_pCaptionRing->Write(m_dwEngineClock) = caption;
}

void CMatchEngine::ResetPeriodProgress()
{
    m_PeriodProgress = PERIODPROGRESS();
    m_PeriodProgress.dwPercentage = 100;  // the read-out shows a full bar with no text
}

void CMatchEngine::ShowPeriodProgress(uint8_t byShow, uint8_t byForce)
{
    if (m_bFullView && byShow)
        return;  // the full view draws only its score panel
    PERIODPROGRESS& p = m_PeriodProgress;
    const uint8_t byPeriod = m_byMatchPeriod;
    bool bForce = byForce != 0;
    if (byPeriod != p.byLastPeriod) {
        p.byLastPeriod = byPeriod;
        p.dwStart = p.dwEnd = 0;
        GetMatchPeriodTimes(byPeriod, &p.dwStart, &p.dwEnd);
        p.dwLength = p.dwEnd - p.dwStart;
        bForce = true;
    }
    uint32_t dwPercentage = 0;
    if (p.dwLength == 0)
        dwPercentage = byPeriod == MATCHPERIOD_ENDOFNORMALTIME ? 100 : 0;
    else if (m_dwMatchTime > p.dwEnd)
        dwPercentage = 100;
    else
        dwPercentage = m_dwMatchTime > p.dwStart ? (m_dwMatchTime - p.dwStart) * 100 / p.dwLength : 0;
    p.bChanged = bForce || dwPercentage != p.dwPercentage;
    if (!p.bChanged)
        return;
    p.dwPercentage = dwPercentage;
    p.pszName = m_pMatchReferee ? m_pMatchReferee->GetPeriodName() : "";
}
