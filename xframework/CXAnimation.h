#pragma once
// A sprite whose frames lie in a grid on one source surface: animated icons,
// the title bar's emblem, the mouse pointer. Drawing blits one grid cell,
// clipped to the 800 x 600 display; time comes from the millisecond clock.
#include "xframework/CXSurface.h"

#include <cstdint>

class CXAnimation {
public:
    enum : uint8_t { PLAY_LOOP = 0, PLAY_PINGPONG = 1, PLAY_LOOP_COUNT = 4 };

    CXAnimation();
    // Frees the source when the animation owns it.
    ~CXAnimation();
    CXAnimation(const CXAnimation&) = delete;
    CXAnimation& operator=(const CXAnimation&) = delete;

    void Setup(CXSurface* pSource, int nFrameWidth, int nFrameHeight, int nFirstX, int nFirstY, int nFrameCount,
               int nFramesPerRow);
    // Draws the current frame, then advances by the time passed since the last step.
    void Draw(CXSurface* pTarget, int x, int y, bool bKeyed);
    // Draws one frame (-1: the current one) without advancing.
    void DrawFrame(CXSurface* pTarget, int x, int y, int nFrame, bool bKeyed);
    void Advance();

    CXSurface* m_pSource = nullptr;
    int32_t m_nFrameWidth = 0;
    int32_t m_nFrameHeight = 0;
    int32_t m_nFirstX = 0;
    int32_t m_nFirstY = 0;
    int32_t m_nCurrentFrame = 0;
    int32_t m_nFrameCount = 0;
    int32_t m_nFramesPerRow = 0;
    uint32_t m_dwLastTime = 0;
    uint32_t m_dwPeriod = 100;
    uint8_t m_bOwnsSource = 0;
    uint8_t m_nPlayMode = PLAY_LOOP;
    uint8_t m_bBackwards = 0;
    int32_t m_nHold = 0;
    int32_t m_nPingPongPause = 0;
    int32_t m_nLoopStart = 0;
    int32_t m_nLoopsLeft = 0;
    int32_t m_nStopFrame = -1;
    uint32_t m_dwReserved[2] = {0, 0};
};
