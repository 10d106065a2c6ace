#pragma once
// Control type 7: the vertical scroll bar of a list or tree. Its rectangle is
// the track; two arrow buttons above and below it scroll one line with
// hold-to-repeat, the thumb can be dragged, and holding the track pages. The
// bar never scrolls anything itself: it asks the linked control, which tells
// the bar its range and position back (SetRange, SetPos).
#include "xframework/CXControl.h"

#include <cstdint>
#include <vector>

class CXButton;

// What a scroll bar asks of the control it scrolls (a list box or a tree):
// its lines, and moving its first visible line.
class CXScrollTarget {
public:
    virtual ~CXScrollTarget() = default;
    virtual int ScrollLineCount() const = 0;
    virtual int ScrollVisibleLines() const = 0;
    // One line up (-1) or down (+1).
    virtual void ScrollByLine(int nDirection) = 0;
    virtual void ScrollToLine(int nFirstLine) = 0;
};

class CXScrollBar : public CXControl {
public:
    // The track is 16 pixels wide; the thumb stands 2 pixels in and is at
    // least this tall.
    static constexpr int kTrackWidth = 16;
    static constexpr int kMinimumThumb = 16;

    ~CXScrollBar() override;

    // After AddControl placed the track: the arrow buttons (none for a size
    // of 0), the range 0-100, position 0, hidden.
    void Create(uint32_t dwUpID, uint32_t dwDownID, int nButtonSize, bool bExtraTop, uint8_t byOption);
    using CXControl::Create;
    // pControl gets the focus after a drag; pTarget is scrolled.
    void SetLinkedControl(CXControl* pControl, CXScrollTarget* pTarget);
    void SetRange(int nMinimum, int nMaximum);
    bool SetPos(int nPosition, bool bRedraw);
    void OnScrollButton(uint32_t dwID);

    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void Show(bool bVisible, bool bRedraw) override;
    void Paint() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void Move(int x, int y, int nWidth, int nHeight, bool bRedraw) override;

    int GetPos() const { return m_nPosition; }
    int ThumbTop() const { return m_nThumbTop; }
    int ThumbBottom() const { return m_nThumbBottom; }
    bool IsLinked() const { return m_pLinkedControl != nullptr; }
    CXButton* UpButton() const { return m_pUpButton; }
    CXButton* DownButton() const { return m_pDownButton; }

    uint8_t m_bThumbMoved = 0;
    uint8_t m_bThumbDragging = 0;
    uint8_t m_bTrackPressed = 0;
    int32_t m_nTrackPressY = 0;
    uint8_t m_bExtraTop = 0;
    uint8_t m_byOption = 0;

private:
    // The arrow buttons that are still the owner's.
    std::vector<CXButton*> Arrows() const;
    int ThumbHeight() const;
    // The thumb's travel: track height less the thumb.
    int TrackLength() const;
    int LargestFirstLine() const;
    bool AllInView() const;
    // Draws the thumb at a new place when it moved, restoring the track
    // under the old one.
    void DrawThumb(int nTop, int nBottom, bool bForce);
    void DrawTrack(CXSurface* pSurface);

    int32_t m_nThumbTop = 0;
    int32_t m_nThumbBottom = 0;
    int32_t m_nPosition = 0;
    int32_t m_nGrabOffset = 0;
    CXControl* m_pLinkedControl = nullptr;
    CXScrollTarget* m_pTarget = nullptr;
    CXButton* m_pUpButton = nullptr;
    CXButton* m_pDownButton = nullptr;
    int32_t m_nMinimum = 0;
    int32_t m_nMaximum = 100;
    int32_t m_nRange = 100;
    int32_t m_nButtonSize = 0;
    uint32_t m_dwUpID = 0;
    uint32_t m_dwDownID = 0;
};
