#include "xframework/CXSlider.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXClient.h"

#include <algorithm>

void CXSlider::SetUp(CXAnimation* pThumb)
{
    m_pThumb = pThumb;
    m_nThumbWidth = pThumb ? pThumb->m_nFrameWidth : 0;
    m_nThumbHeight = pThumb ? pThumb->m_nFrameHeight : 0;
    m_nFrameCount = pThumb ? std::max(1, pThumb->m_nFrameCount) : 1;
    m_nTrackLeft = m_nLeft;
    m_nTrackRight = m_nRight;
    m_nTravel = m_nTrackRight - m_nTrackLeft;
    const int nTrackY = (m_nTop + m_nBottom) / 2;
    m_nLeft -= m_nThumbWidth / 2;
    m_nRight += m_nThumbWidth / 2;
    m_nTop = nTrackY - m_nThumbHeight / 2;
    m_nBottom = m_nTop + m_nThumbHeight;
    m_nThumbY = m_nTop;
    m_nThumbX = m_nTrackLeft;
    m_nFrameCounter = 0;
    m_nValue = 0;
    m_bDragging = 0;
    m_bChanged = 0;
    m_bFramesFollowPosition = 1;
    SetRange(0, 100);
}

void CXSlider::SetRange(int nMinimum, int nMaximum)
{
    m_nMinimum = nMinimum;
    m_nMaximum = std::max(nMinimum, nMaximum);
    m_nRange = m_nMaximum - m_nMinimum;
}

bool CXSlider::SetPos(int nValue)
{
    m_nValue = std::clamp(nValue, m_nMinimum, m_nMaximum);
    // An empty range keeps the thumb at the track's left.
    const float fPlace =
        m_nRange > 0 ? static_cast<float>(m_nValue - m_nMinimum) / static_cast<float>(m_nRange) : 0.0f;
    MoveThumb(m_nTrackLeft + static_cast<int>(fPlace * static_cast<float>(m_nTravel)));
    return true;
}

int CXSlider::Frame() const
{
    const int nFrame = m_nFrameCounter % m_nFrameCount;
    return nFrame < 0 ? nFrame + m_nFrameCount : nFrame;
}

void CXSlider::MoveThumb(int x)
{
    x = std::clamp(x, m_nTrackLeft, m_nTrackRight);
    const int nOldX = m_nThumbX;
    m_nThumbX = x;
    if (!m_bVisible)
        return;
    if (m_bFramesFollowPosition) {
        // A track shorter than the frames gives each frame one pixel.
        const int nPixelsPerFrame = std::max(1, m_nTravel / m_nFrameCount);
        m_nFrameCounter = m_nFrameCount - (x - m_nTrackLeft) / nPixelsPerFrame;
    } else if (x != m_nLastDrawnX) {
        --m_nFrameCounter;
    }
    if (m_pOwner) {
        const int nHalf = m_nThumbWidth / 2;
        const int nFrom = std::min(nOldX, x) - nHalf, nTo = std::max(nOldX, x) - nHalf + m_nThumbWidth;
        m_pOwner->RestoreBackground(nFrom, m_nThumbY, nTo - nFrom, m_nThumbHeight);
    }
    if (m_pThumb && m_pDrawingSurface)
        m_pThumb->DrawFrame(m_pDrawingSurface, x - m_nThumbWidth / 2, m_nThumbY, Frame(), true);
    m_nLastDrawnX = x;
}

void CXSlider::Draw() { MoveThumb(m_nThumbX); }

void CXSlider::OnLButtonDown(uint32_t flags, int x, int y)
{
    const int nPointerX = x + m_nLeft;
    // Only a press on the thumb drags; the thumb never jumps to the pointer.
    if (nPointerX >= m_nThumbX - m_nThumbWidth / 2 && nPointerX <= m_nThumbX + m_nThumbWidth / 2) {
        m_bDragging = 1;
        m_nDragStartX = nPointerX;
        if (m_pOwner)
            m_pOwner->OnBeginScroll(m_dwID);
        Capture();
    }
    CXControl::OnLButtonDown(flags, x, y);
}

void CXSlider::OnMouseMove(uint32_t flags, int x, int y)
{
    if (m_bDragging) {
        const int nPointerX = std::clamp(x + m_nLeft, m_nTrackLeft, m_nTrackRight);
        const float fPlace =
            m_nTravel > 0 ? static_cast<float>(nPointerX - m_nTrackLeft) / static_cast<float>(m_nTravel) : 0.0f;
        m_nValue = static_cast<int>(fPlace * static_cast<float>(m_nRange)) + m_nMinimum;
        MoveThumb(nPointerX);
        m_bChanged = 1;
        if (m_pOwner)
            m_pOwner->OnScroll(m_dwID);
    }
    CXControl::OnMouseMove(flags, x, y);
}

void CXSlider::OnLButtonUp(uint32_t /*flags*/, int /*x*/, int /*y*/)
{
    if (!m_bDragging)
        return;
    m_bDragging = 0;
    m_bChanged = 0;
    Release();
    if (m_pOwner)
        m_pOwner->OnEndScroll(m_dwID);
}
