#include "xframework/CXAnimation.h"

#include "platform/Clock.h"

namespace {
constexpr int kDisplayWidth = 800;
constexpr int kDisplayHeight = 600;
}  // namespace

CXAnimation::CXAnimation() : m_dwLastTime(plat::milliseconds()) {}

CXAnimation::~CXAnimation()
{
    if (m_bOwnsSource)
        delete m_pSource;
}

void CXAnimation::Setup(CXSurface* pSource, int nFrameWidth, int nFrameHeight, int nFirstX, int nFirstY,
                        int nFrameCount, int nFramesPerRow)
{
    m_pSource = pSource;
    m_nFrameWidth = nFrameWidth;
    m_nFrameHeight = nFrameHeight;
    m_nFirstX = nFirstX;
    m_nFirstY = nFirstY;
    m_nFrameCount = nFrameCount;
    m_nFramesPerRow = nFramesPerRow;
    m_nCurrentFrame = 0;
    m_nPlayMode = PLAY_LOOP;
    m_nHold = 0;
}

void CXAnimation::Draw(CXSurface* pTarget, int x, int y, bool bKeyed)
{
    DrawFrame(pTarget, x, y, -1, bKeyed);
    const uint32_t dwNow = plat::milliseconds();
    const uint32_t dwPassed = dwNow - m_dwLastTime;
    if (m_dwPeriod == 0 || dwPassed < m_dwPeriod)
        return;
    for (uint32_t n = dwPassed / m_dwPeriod; n > 0; --n)
        Advance();
    m_dwLastTime = dwNow;
}

void CXAnimation::DrawFrame(CXSurface* pTarget, int x, int y, int nFrame, bool bKeyed)
{
    if (!m_pSource || !m_pSource->GetSurface() || !pTarget || !pTarget->GetSurface() || m_nFramesPerRow <= 0)
        return;
    const int f = nFrame < 0 ? m_nCurrentFrame : nFrame;
    plat::Rect source;
    source.left = (f % m_nFramesPerRow) * m_nFrameWidth + m_nFirstX;
    source.top = (f / m_nFramesPerRow) * m_nFrameHeight + m_nFirstY;
    source.right = source.left + m_nFrameWidth;
    source.bottom = source.top + m_nFrameHeight;
    if (x < 0) {
        source.left -= x;
        x = 0;
    }
    if (y < 0) {
        source.top -= y;
        y = 0;
    }
    if (x + source.width() > kDisplayWidth)
        source.right = source.left + kDisplayWidth - x;
    if (y + source.height() > kDisplayHeight)
        source.bottom = source.top + kDisplayHeight - y;
    if (source.width() <= 0 || source.height() <= 0)
        return;
    const uint32_t dwFlags = plat::BLTFAST_WAIT | (bKeyed ? plat::BLTFAST_SRCCOLORKEY : plat::BLTFAST_NOCOLORKEY);
    pTarget->GetSurface()->bltFast(x, y, *m_pSource->GetSurface(), &source, dwFlags);
}

void CXAnimation::Advance()
{
    if (m_nCurrentFrame == m_nStopFrame)
        return;
    if (m_nHold > 0) {
        --m_nHold;
        return;
    }
    const int nLast = m_nFrameCount - 1;
    switch (m_nPlayMode) {
    case PLAY_LOOP:
        if (++m_nCurrentFrame > nLast)
            m_nCurrentFrame = m_nLoopStart;
        break;
    case PLAY_PINGPONG:
        if (!m_bBackwards) {
            if (++m_nCurrentFrame >= nLast) {
                m_nCurrentFrame = nLast;
                m_bBackwards = 1;
                m_nHold = m_nPingPongPause;
            }
        } else if (--m_nCurrentFrame <= 0) {
            m_nCurrentFrame = 0;
            m_bBackwards = 0;
        }
        break;
    case PLAY_LOOP_COUNT:
        if (m_nLoopsLeft <= 0) {
            m_nCurrentFrame = nLast;
        } else if (++m_nCurrentFrame > nLast) {
            m_nCurrentFrame = m_nLoopStart;
            --m_nLoopsLeft;
        }
        break;
    default:
        break;
    }
}
