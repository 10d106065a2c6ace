#include "xframework/CXScrollBar.h"

#include "xframework/CXButton.h"
#include "xframework/CXClient.h"

#include "common/DebugLog.h"

#include <algorithm>
#include <vector>

namespace {
constexpr uint32_t kArrowRepeatDelay = 250;
constexpr uint32_t kArrowRepeatStep = 20;
// The track bitmap: a top piece, one middle row repeated, a bottom piece.
constexpr int kTrackTopRows = 8;
constexpr int kTrackMiddleRow = 8;
constexpr int kTrackBottomRows = 8;
// The thumb bitmap: 12 pixels a look, released at x 0 and pressed at x 12,
// a cap of 4 rows, one middle row repeated, a cap of 4 rows.
constexpr int kThumbWidth = 12;
constexpr int kThumbCapRows = 4;
constexpr int kThumbMiddleRow = 4;
constexpr int kThumbInset = 2;

CXSurface* SharedBitmap(const char* pszName)
{
    CXSurface* pSurface = g_pfnSharedBitmap ? g_pfnSharedBitmap(pszName) : nullptr;
    return pSurface && pSurface->m_pSurface ? pSurface : nullptr;
}

// Lays a strip bitmap down a column: caps from its top and bottom, the
// middle row repeated between them.
void DrawStrip(plat::Surface& dest, const plat::Surface& strip, int nSourceX, int nWidth, int x, int nTop,
               int nHeight, int nCapRows, int nMiddleRow, int nBottomCapTop)
{
    if (nHeight <= 0)
        return;
    const int nTopRows = std::min(nCapRows, nHeight / 2);
    const int nBottomRows = std::min(nCapRows, nHeight - nTopRows);
    const uint32_t dwFlags = plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT;
    const plat::Rect rcTop{nSourceX, 0, nSourceX + nWidth, nTopRows};
    dest.bltFast(x, nTop, strip, &rcTop, dwFlags);
    const plat::Rect rcMiddle{nSourceX, nMiddleRow, nSourceX + nWidth, nMiddleRow + 1};
    for (int y = nTop + nTopRows; y < nTop + nHeight - nBottomRows; ++y)
        dest.bltFast(x, y, strip, &rcMiddle, dwFlags);
    const plat::Rect rcBottom{nSourceX, nBottomCapTop + nCapRows - nBottomRows, nSourceX + nWidth,
                              nBottomCapTop + nCapRows};
    dest.bltFast(x, nTop + nHeight - nBottomRows, strip, &rcBottom, dwFlags);
}
}  // namespace

CXScrollBar::~CXScrollBar()
{
    // The arrows belong to the owner and outlive the bar when it goes first.
    for (CXButton* pButton : Arrows())
        pButton->m_pLinkedScrollBar = nullptr;
}

std::vector<CXButton*> CXScrollBar::Arrows() const
{
    // The owner may have removed an arrow on its own.
    std::vector<CXButton*> arrows;
    for (CXButton* pButton : {m_pUpButton, m_pDownButton})
        if (pButton && m_pOwner && m_pOwner->ControlType(pButton) == XCONTROL_BUTTON)
            arrows.push_back(pButton);
    return arrows;
}

void CXScrollBar::Create(uint32_t dwUpID, uint32_t dwDownID, int nButtonSize, bool bExtraTop, uint8_t byOption)
{
    m_dwUpID = dwUpID;
    m_dwDownID = dwDownID;
    m_nButtonSize = nButtonSize;
    m_bExtraTop = bExtraTop ? 1 : 0;
    m_byOption = byOption;
    m_bVisible = 0;
    if (nButtonSize > 0 && m_pOwner) {
        CXSurface* pArrows = SharedBitmap("SBButton.bmp");
        const struct {
            CXButton** ppButton;
            uint32_t dwID;
            int nTop;
            int nSourceY;
        } arrows[] = {{&m_pUpButton, dwUpID, m_nTop - nButtonSize, 0},
                      {&m_pDownButton, dwDownID, m_nBottom, nButtonSize}};
        for (const auto& arrow : arrows) {
            auto* pButton = static_cast<CXButton*>(
                m_pOwner->AddControlXYWH(XCONTROL_BUTTON, m_nLeft, arrow.nTop, kTrackWidth, nButtonSize,
                                         arrow.dwID, nullptr));
            if (!pButton)
                continue;
            pButton->m_bVisible = 0;
            pButton->SetBitmap(pArrows, 0, arrow.nSourceY, false, true);
            pButton->m_dwRepeatDelay = kArrowRepeatDelay;
            pButton->m_dwRepeatStep = kArrowRepeatStep;
            pButton->m_pLinkedScrollBar = this;
            *arrow.ppButton = pButton;
        }
    }
    m_nThumbTop = m_nTop;
    m_nThumbBottom = m_nBottom;
    m_nMinimum = 0;
    m_nMaximum = 100;
    m_nRange = 100;
    if (m_pBitmap && m_pBitmap->m_pSurface)
        m_pBitmap->m_pSurface->setColorKey(static_cast<uint16_t>(m_pBitmap->ColorMatch(0x00FF00FF)));
    m_nPosition = 0;
}

void CXScrollBar::SetLinkedControl(CXControl* pControl, CXScrollTarget* pTarget)
{
    m_pLinkedControl = pControl;
    m_pTarget = pTarget;
}

void CXScrollBar::SetRange(int nMinimum, int nMaximum)
{
    m_nMinimum = nMinimum;
    m_nMaximum = std::max(nMinimum, nMaximum);
    m_nRange = m_nMaximum - m_nMinimum;
    if (m_nPosition < m_nMinimum || m_nPosition > m_nMaximum)
        SetPos(m_nPosition, true);
}

bool CXScrollBar::AllInView() const
{
    return !m_pTarget || m_pTarget->ScrollLineCount() <= m_pTarget->ScrollVisibleLines();
}

int CXScrollBar::LargestFirstLine() const
{
    return m_pTarget ? std::max(0, m_pTarget->ScrollLineCount() - m_pTarget->ScrollVisibleLines()) : 0;
}

int CXScrollBar::ThumbHeight() const
{
    const int nTrack = Height();
    if (AllInView())
        return nTrack;
    // As much of the track as the view shows of the lines.
    const int nThumb = static_cast<int>(static_cast<int64_t>(nTrack) * m_pTarget->ScrollVisibleLines() /
                                        m_pTarget->ScrollLineCount());
    return std::min(nTrack, std::max(kMinimumThumb, nThumb));
}

int CXScrollBar::TrackLength() const { return Height() - ThumbHeight(); }

bool CXScrollBar::SetPos(int nPosition, bool bRedraw)
{
    m_nPosition = std::clamp(nPosition, m_nMinimum, m_nMaximum);
    if (!bRedraw)
        return true;
    // A linked view's last first line puts the thumb at the bottom.
    const int nSpan = m_pTarget ? LargestFirstLine() : m_nRange;
    if (AllInView() || nSpan <= 0) {
        DrawThumb(m_nTop, m_nBottom, false);
        return true;
    }
    const float fPlace =
        std::min(1.0f, static_cast<float>(m_nPosition - m_nMinimum) / static_cast<float>(nSpan));
    const int nTop = m_nTop + static_cast<int>(fPlace * static_cast<float>(TrackLength()));
    DrawThumb(nTop, nTop + ThumbHeight(), false);
    return true;
}

void CXScrollBar::DrawThumb(int nTop, int nBottom, bool bForce)
{
    if (!m_bVisible)
        return;
    nBottom = std::max(nBottom, nTop + kMinimumThumb);
    if (nBottom > m_nBottom) {
        nTop -= nBottom - m_nBottom;
        nBottom = m_nBottom;
    }
    nTop = std::max(nTop, m_nTop);
    if (!bForce && nTop == m_nThumbTop && nBottom == m_nThumbBottom)
        return;
    if (m_pOwner && m_nThumbBottom - m_nThumbTop > 2 * kThumbInset)
        m_pOwner->RestoreBackground(m_nLeft + kThumbInset, m_nThumbTop + kThumbInset, Width() - 3,
                                    m_nThumbBottom - m_nThumbTop - 2 * kThumbInset);
    m_nThumbTop = nTop;
    m_nThumbBottom = nBottom;
    CXSurface* pThumb = SharedBitmap("SBThumb.bmp");
    if (!pThumb || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    DrawStrip(*m_pDrawingSurface->m_pSurface, *pThumb->m_pSurface, m_bThumbDragging ? kThumbWidth : 0, kThumbWidth,
              m_nLeft + kThumbInset, nTop + kThumbInset, nBottom - nTop - 2 * kThumbInset, kThumbCapRows,
              kThumbMiddleRow, kThumbMiddleRow + 1);
    m_bAnimationRedrawPending = 1;
}

void CXScrollBar::DrawTrack(CXSurface* pSurface)
{
    CXSurface* pTrack = SharedBitmap("SBHouse2.bmp");
    if (!pTrack || !pSurface || !pSurface->m_pSurface)
        return;
    DrawStrip(*pSurface->m_pSurface, *pTrack->m_pSurface, 0, std::min(kTrackWidth, Width()), m_nLeft, m_nTop,
              Height(), kTrackTopRows, kTrackMiddleRow, kTrackMiddleRow + 1);
}

void CXScrollBar::OnScrollButton(uint32_t dwID)
{
    if (dwID != m_dwUpID && dwID != m_dwDownID) {
        DebugLog(0, "Unknown scroll button clicked!");
        return;
    }
    if (m_pTarget)
        m_pTarget->ScrollByLine(dwID == m_dwUpID ? -1 : 1);
}

void CXScrollBar::Show(bool bVisible, bool bRedraw)
{
    for (CXButton* pButton : Arrows())
        pButton->Show(bVisible, bRedraw);
    if (bVisible) {
        // The track becomes part of the background the thumb is restored from.
        if (m_pOwner)
            DrawTrack(m_pOwner->m_pBackground);
        DrawTrack(m_pDrawingSurface);
    }
    CXControl::Show(bVisible, bRedraw);
    if (bVisible) {
        m_nThumbTop = m_nThumbBottom = m_nTop;
        SetPos(m_nPosition, true);
    }
}

void CXScrollBar::Paint()
{
    CXControl::Paint();
    if (!m_bTrackPressed || !m_pLinkedControl)
        return;
    // Holding the track pages towards the press on every frame.
    if (m_nTrackPressY < m_nThumbTop)
        m_pLinkedControl->OnKeyDown(plat::VK_PRIOR, 1, 0);
    else if (m_nTrackPressY >= m_nThumbBottom)
        m_pLinkedControl->OnKeyDown(plat::VK_NEXT, 1, 0);
}

void CXScrollBar::OnLButtonDown(uint32_t flags, int x, int y)
{
    Capture();
    const int nClientY = y + m_nTop;
    if (nClientY >= m_nThumbTop && nClientY < m_nThumbBottom) {
        m_bThumbDragging = 1;
        if (m_pOwner)
            m_pOwner->OnBeginScroll(m_dwID);
        m_nGrabOffset = nClientY - m_nThumbTop;
        DrawThumb(m_nThumbTop, m_nThumbBottom, true);
    } else {
        m_bTrackPressed = 1;
        m_nTrackPressY = nClientY;
    }
    CXControl::OnLButtonDown(flags, x, y);
}

void CXScrollBar::OnMouseMove(uint32_t flags, int x, int y)
{
    if (!m_bThumbDragging) {
        CXControl::OnMouseMove(flags, x, y);
        return;
    }
    const int nThumb = ThumbHeight(), nLength = TrackLength();
    const int nTop = std::clamp(y + m_nTop - m_nGrabOffset, m_nTop, m_nBottom - nThumb);
    if (nTop == m_nThumbTop || nLength <= 0)
        return;
    const float fPlace = static_cast<float>(nTop - m_nTop) / static_cast<float>(nLength);
    const int nSpan = m_pTarget ? LargestFirstLine() : m_nRange;
    const float fPosition = std::min(fPlace * static_cast<float>(nSpan) + static_cast<float>(m_nMinimum),
                                     static_cast<float>(LargestFirstLine()));
    const int nPosition = static_cast<int>(fPosition);
    const bool bChanged = nPosition != m_nPosition;
    if (bChanged) {
        m_nPosition = nPosition;
        if (m_pTarget)
            m_pTarget->ScrollToLine(nPosition);
        m_bThumbMoved = 1;
    }
    // The thumb follows the pointer, not the rounded line.
    DrawThumb(nTop, nTop + nThumb, false);
    if (bChanged && m_pOwner)
        m_pOwner->OnScroll(m_dwID);
}

void CXScrollBar::OnLButtonUp(uint32_t /*flags*/, int /*x*/, int /*y*/)
{
    if (m_bThumbDragging) {
        m_bThumbDragging = 0;
        m_bThumbMoved = 0;
        if (m_pOwner)
            m_pOwner->OnEndScroll(m_dwID);
        DrawThumb(m_nThumbTop, m_nThumbBottom, true);
    }
    m_bTrackPressed = 0;
    if (m_pOwner && m_pLinkedControl)
        m_pOwner->SetFocus(m_pLinkedControl);
    Release();
}

void CXScrollBar::Move(int x, int y, int nWidth, int nHeight, bool bRedraw)
{
    CXControl::Move(x, y, nWidth, nHeight, bRedraw);
    for (CXButton* pButton : Arrows())
        pButton->Move(x, pButton == m_pUpButton ? y - m_nButtonSize : y + nHeight, kTrackWidth, m_nButtonSize,
                      bRedraw);
    m_nThumbTop = m_nThumbBottom = m_nTop;
}
