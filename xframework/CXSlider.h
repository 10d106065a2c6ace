#pragma once
// Control type 6: a horizontal slider whose thumb is an animated image
// dragged along a track. The thumb's x maps linearly onto an integer range;
// drags are reported to the owner as the scroll bar's are (begin, scroll,
// end). The thumb's frame follows its place, or steps back on every move.
#include "xframework/CXControl.h"

#include <cstdint>

class CXSlider : public CXControl {
public:
    // Takes the thumb (not owned); the control grows by half a thumb on each
    // side and is centred on the track by the thumb's height; range 0-100.
    void SetUp(CXAnimation* pThumb);
    void SetRange(int nMinimum, int nMaximum);
    bool SetPos(int nValue);
    void MoveThumb(int x);

    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;

    int GetValue() const { return m_nValue; }
    int ThumbX() const { return m_nThumbX; }
    int TrackLeft() const { return m_nTrackLeft; }
    int TrackRight() const { return m_nTrackRight; }
    int Frame() const;

    uint8_t m_bFramesFollowPosition = 1;
    uint8_t m_bChanged = 0;
    uint8_t m_bDragging = 0;

protected:
    void Draw() override;

private:
    CXAnimation* m_pThumb = nullptr;
    int32_t m_nTrackLeft = 0;
    int32_t m_nTrackRight = 0;
    int32_t m_nThumbY = 0;
    int32_t m_nThumbWidth = 0;
    int32_t m_nThumbHeight = 0;
    int32_t m_nFrameCount = 1;
    int32_t m_nFrameCounter = 0;
    int32_t m_nThumbX = 0;
    int32_t m_nValue = 0;
    int32_t m_nMinimum = 0;
    int32_t m_nMaximum = 100;
    int32_t m_nRange = 100;
    int32_t m_nTravel = 0;
    int32_t m_nDragStartX = 0;
    // The thumb x drawn last, which the stepping frames compare with; -1
    // before the first draw.
    int32_t m_nLastDrawnX = -1;
};
