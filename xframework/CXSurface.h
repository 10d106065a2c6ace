#pragma once
// The one image type of the 2-D interface: a 16-bit surface of the display's
// layout with its size, created empty or from a bitmap file, with the software
// pixel operations the screens use (blending, modulation, shading, gradients,
// dotted outlines, panel shadows) and the two clipped blits.
#include "platform/Bitmap.h"
#include "platform/Surface.h"

#include <cstdint>
#include <cstdio>

using COLORREF = plat::COLORREF;
using HBITMAP = plat::Bitmap*;

class CXSurface {
public:
    CXSurface() = default;
    ~CXSurface();
    CXSurface(const CXSurface&) = delete;
    CXSurface& operator=(const CXSurface&) = delete;

    // Creates the surface in the display's layout; null (and a log line) when
    // it cannot be made. Width and height are stored in both cases.
    plat::Surface* Create(int nWidth, int nHeight, bool bSystemMemory, bool bColorKey);
    // A surface of the bitmap read from the stream. nMemberSize, when known
    // (an archive member), bounds what the reader may take from the stream.
    // False when no bitmap could be read.
    bool CreateFromBitmap(FILE* pFile, bool bSystemMemory, bool bColorKey, int64_t nMemberSize = -1);
    bool LoadFromBitmapFile(FILE* pFile, int64_t nMemberSize = -1);
    bool CopyBitmap(HBITMAP hBitmap, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight);
    // The surface's own pixel value of a colour; 0xFFFFFFFF without a surface.
    uint32_t ColorMatch(COLORREF crColor);
    plat::Result Fill(COLORREF crColor);

    static plat::Result BlitKeyed(CXSurface* pDest, CXSurface* pSource, int x, int y);
    static plat::Result Blit(CXSurface* pDest, CXSurface* pSource, int x, int y);

    void BlendBlt(CXSurface* pA, CXSurface* pB, int nAX, int nAY, int nBX, int nBY, int nDestX, int nDestY,
                  int nWidth, int nHeight, float fFactor);
    void BlendBltKeyed(CXSurface* pA, CXSurface* pB, int nAX, int nAY, int nBX, int nBY, int nDestX, int nDestY,
                       int nWidth, int nHeight, float fFactor);
    void BltModulated(CXSurface* pSource, int x, int y);
    void BltModulatedRect(CXSurface* pSource, int nSrcX, int nSrcY, int nWidth, int nHeight, int nDestX, int nDestY);
    void BlendRect(int x, int y, int nWidth, int nHeight, COLORREF crFrom, COLORREF crTo, float fFactor);
    void FillGradient(int x, int y, int nWidth, int nHeight, COLORREF crFrom, COLORREF crTo);
    void DrawShadedBar(int x, int y, int nWidth, int nHeight, COLORREF crColor);
    void ShadeRect(int x, int y, int nWidth, int nHeight, int nLevel);
    void DrawRectOutline(const plat::Rect& rc);
    void DrawDottedLine(int x, int y, int nLength, bool bHorizontal);
    void DrawPanelShadow(CXSurface* pSheet, int x, int y, int nWidth, int nHeight);

    plat::Surface* GetSurface() const { return m_pSurface; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

    plat::Surface* m_pSurface = nullptr;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    uint32_t m_dwPitch = 0;

private:
    uint16_t* LockPixels();
    void BlendArea(CXSurface* pA, CXSurface* pB, int nAX, int nAY, int nBX, int nBY, int nDestX, int nDestY,
                   int nWidth, int nHeight, float fFactor, bool bKeyed);
};

// Builds the shading tables for the display's layout.
void BuildColourTables();
// A pixel at two thirds of its brightness, by the shading tables.
uint16_t ShadePixel(uint16_t wPixel);
// Reads an uncompressed 16-, 24- or 32-bit bitmap file without a colour table
// from the stream's position; null (and a log line) for anything else, and
// never reads past the bitmap's own length (nor past nMemberSize when given).
HBITMAP LoadBitmapFromFile(FILE* pFile, int64_t nMemberSize = -1);
