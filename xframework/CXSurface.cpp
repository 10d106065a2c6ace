#include "xframework/CXSurface.h"

#include "xframework/CXManager.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "platform/DeviceContext.h"
#include "platform/Random.h"

#include <algorithm>
#include <memory>

namespace {

uint16_t g_wBlueTable[256];
uint16_t g_wGreenTable[256];
uint16_t g_wRedTable[256];
// The green mask the tables were built for; 0 before the first build.
uint32_t g_dwTablesBuiltFor = 0;

bool Is555() { return (g_dwGBitMask & ~31u) == 0x3E0; }

plat::PixelFormat DisplayFormat() { return Is555() ? plat::PixelFormat::Rgb555 : plat::PixelFormat::Rgb565; }

uint16_t ColourKey() { return static_cast<uint16_t>(g_dwRBBitMask & 0xFFFF); }

struct RGBChannels {
    int r;
    int g;
    int b;
};

RGBChannels Split(uint16_t p, bool b555)
{
    if (b555)
        return {(p >> 10) & 31, (p >> 5) & 31, p & 31};
    return {(p >> 11) & 31, (p >> 5) & 63, p & 31};
}

uint16_t Pack(int r, int g, int b, bool b555)
{
    if (b555)
        return static_cast<uint16_t>(((r & 31) << 10) | ((g & 31) << 5) | (b & 31));
    return static_cast<uint16_t>(((r & 31) << 11) | ((g & 63) << 5) | (b & 31));
}

uint16_t* Row(uint16_t* pBase, uint32_t dwPitch, int y)
{
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pBase) + static_cast<size_t>(y) * dwPitch);
}

// Narrows an area of nWidth x nHeight, read at the source origins and written
// at the destination origin, to the part that lies inside every surface.
// Answers false when nothing is left.
struct AreaPart {
    int x;  // origin on the surface
    int y;
    int w;  // surface size
    int h;
};
bool ClipArea(AreaPart* parts, int nParts, int& nWidth, int& nHeight)
{
    int skipX = 0, skipY = 0;
    for (int i = 0; i < nParts; ++i) {
        skipX = std::max(skipX, -parts[i].x);
        skipY = std::max(skipY, -parts[i].y);
    }
    for (int i = 0; i < nParts; ++i) {
        parts[i].x += skipX;
        parts[i].y += skipY;
    }
    nWidth -= skipX;
    nHeight -= skipY;
    for (int i = 0; i < nParts; ++i) {
        nWidth = std::min(nWidth, parts[i].w - parts[i].x);
        nHeight = std::min(nHeight, parts[i].h - parts[i].y);
    }
    return nWidth > 0 && nHeight > 0;
}

}  // namespace

void BuildColourTables()
{
    const bool b555 = Is555();
    for (int i = 0; i < 256; ++i) {
        const auto five = static_cast<uint16_t>(static_cast<float>(i & 31) * 0.6666667f);
        const auto six = static_cast<uint16_t>(static_cast<float>(i & 63) * 0.6666667f);
        g_wBlueTable[i] = five;
        g_wGreenTable[i] = static_cast<uint16_t>((b555 ? five : six) << 5);
        g_wRedTable[i] = static_cast<uint16_t>(five << (b555 ? 10 : 11));
    }
    g_dwTablesBuiltFor = g_dwGBitMask;
}

uint16_t ShadePixel(uint16_t wPixel)
{
    // Shading before the display is set up, or after its layout changed,
    // still uses tables of the current layout.
    if (g_dwTablesBuiltFor != g_dwGBitMask)
        BuildColourTables();
    const int nRed = Is555() ? (wPixel >> 10) & 255 : wPixel >> 11;
    return static_cast<uint16_t>(g_wGreenTable[(wPixel >> 5) & 255] + g_wRedTable[nRed] + g_wBlueTable[wPixel & 255]);
}

HBITMAP LoadBitmapFromFile(FILE* pFile, int64_t nMemberSize)
{
    if (!pFile)
        return nullptr;
    CBinaryReader reader(pFile);
    uint16_t wType = 0, wReserved1 = 0, wReserved2 = 0;
    uint32_t dwFileSize = 0, dwOffBits = 0;
    plat::BitmapInfoHeader info;
    reader.ReadU16(wType);
    reader.ReadU32(dwFileSize);
    reader.ReadU16(wReserved1);
    reader.ReadU16(wReserved2);
    reader.ReadU32(dwOffBits);
    reader.ReadU32(info.size);
    reader.ReadI32(info.width);
    reader.ReadI32(info.height);
    reader.ReadU16(info.planes);
    reader.ReadU16(info.bitCount);
    reader.ReadU32(info.compression);
    reader.ReadU32(info.sizeImage);
    reader.ReadI32(info.xPelsPerMeter);
    reader.ReadI32(info.yPelsPerMeter);
    reader.ReadU32(info.clrUsed);
    reader.ReadU32(info.clrImportant);
    if (reader.Failed()) {
        DebugLog(0, "[LoadBitmapFromFile] The file ends inside the bitmap headers");
        return nullptr;
    }
    if (wType != 0x4D42) {
        DebugLog(0, "[LoadBitmapFromFile] Not a bitmap file (signature 0x%04X)", wType);
        return nullptr;
    }
    if (info.size != 40 || info.planes != 1 || dwOffBits != 54 || info.clrUsed != 0) {
        DebugLog(0, "[LoadBitmapFromFile] Unsupported bitmap header (size %u, planes %u, pixels at %u, %u colours)",
                 info.size, info.planes, dwOffBits, info.clrUsed);
        return nullptr;
    }
    if (info.compression != plat::BI_RGB ||
        (info.bitCount != 16 && info.bitCount != 24 && info.bitCount != 32)) {
        DebugLog(0, "[LoadBitmapFromFile] Unsupported bitmap: %u bits per pixel, compression %u", info.bitCount,
                 info.compression);
        return nullptr;
    }
    if (info.width <= 0 || info.height == 0 || info.width > plat::Bitmap::kMaxSide ||
        info.height > plat::Bitmap::kMaxSide || info.height < -plat::Bitmap::kMaxSide) {
        DebugLog(0, "[LoadBitmapFromFile] Bad bitmap size %d x %d", info.width, info.height);
        return nullptr;
    }
    const int64_t nStride = ((static_cast<int64_t>(info.width) * info.bitCount + 31) / 32) * 4;
    const int64_t nImageBytes = nStride * std::abs(static_cast<int64_t>(info.height));
    const int64_t nPixelBytes = static_cast<int64_t>(dwFileSize) - 54;
    // The pixel bytes the file declares must be the bitmap's rows, no more and
    // no less, and they must be there to read.
    if (nPixelBytes != nImageBytes) {
        DebugLog(0, "[LoadBitmapFromFile] File size %u does not match a %d x %d bitmap of %u bits", dwFileSize,
                 info.width, info.height, info.bitCount);
        return nullptr;
    }
    if ((nMemberSize >= 0 && static_cast<int64_t>(dwFileSize) > nMemberSize) || reader.Remaining() < nImageBytes) {
        DebugLog(0, "[LoadBitmapFromFile] The bitmap is longer than its file (%u bytes)", dwFileSize);
        return nullptr;
    }
    HBITMAP hBitmap = plat::Bitmap::create(info);
    if (!hBitmap || static_cast<int64_t>(hBitmap->imageSize()) != nImageBytes) {
        delete hBitmap;
        DebugLog(0, "[LoadBitmapFromFile] Could not create the bitmap section");
        return nullptr;
    }
    if (!reader.ReadBytes(hBitmap->bits(), static_cast<size_t>(nImageBytes))) {
        delete hBitmap;
        DebugLog(0, "[LoadBitmapFromFile] Could not read the bitmap's pixels");
        return nullptr;
    }
    return hBitmap;
}

CXSurface::~CXSurface()
{
    delete m_pSurface;
    m_pSurface = nullptr;
}

plat::Surface* CXSurface::Create(int nWidth, int nHeight, bool /*bSystemMemory*/, bool bColorKey)
{
    delete m_pSurface;
    m_pSurface = nullptr;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    if (nWidth <= 0 || nHeight <= 0 || nWidth > 8192 || nHeight > 8192) {
        DebugLog(0, "[CXSurface::Create] CreateSurface FAILED, rc = %ld", static_cast<long>(plat::kErrInvalidParams & 0xFFFF));
        return nullptr;
    }
    m_pSurface = new plat::Surface(nWidth, nHeight, DisplayFormat());
    m_dwPitch = static_cast<uint32_t>(m_pSurface->pitch());
    if (bColorKey)
        m_pSurface->setColorKey(ColourKey());
    return m_pSurface;
}

bool CXSurface::CreateFromBitmap(FILE* pFile, bool bSystemMemory, bool bColorKey, int64_t nMemberSize)
{
    HBITMAP hBitmap = LoadBitmapFromFile(pFile, nMemberSize);
    if (!hBitmap)
        return false;
    const bool bMade = Create(hBitmap->width(), hBitmap->height(), bSystemMemory, bColorKey) != nullptr;
    if (bMade)
        CopyBitmap(hBitmap, 0, 0, 0, 0);
    delete hBitmap;
    return bMade;
}

bool CXSurface::LoadFromBitmapFile(FILE* pFile, int64_t nMemberSize)
{
    HBITMAP hBitmap = LoadBitmapFromFile(pFile, nMemberSize);
    if (!hBitmap)
        return false;
    CopyBitmap(hBitmap, 0, 0, 0, 0);
    delete hBitmap;
    return true;
}

bool CXSurface::CopyBitmap(HBITMAP hBitmap, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight)
{
    if (!hBitmap || !m_pSurface)
        return false;
    m_pSurface->restore();
    plat::DeviceContext memoryDC;
    memoryDC.selectBitmap(hBitmap);
    if (nSrcWidth == 0)
        nSrcWidth = hBitmap->width();
    if (nSrcHeight == 0)
        nSrcHeight = hBitmap->height();
    plat::DeviceContext* pDC = m_pSurface->getDC();
    const bool bDone = pDC->stretchBlt(0, 0, m_pSurface->width(), m_pSurface->height(), memoryDC, nSrcX, nSrcY,
                                       nSrcWidth, nSrcHeight);
    m_pSurface->releaseDC(pDC);
    return bDone;
}

uint32_t CXSurface::ColorMatch(COLORREF crColor)
{
    if (!m_pSurface || m_nWidth <= 0 || m_nHeight <= 0)
        return 0xFFFFFFFF;
    plat::DeviceContext* pDC = m_pSurface->getDC();
    const COLORREF crKept = pDC->getPixel(0, 0);
    pDC->setPixel(0, 0, crColor);
    m_pSurface->releaseDC(pDC);
    int nPitch = 0;
    const uint16_t* pPixels = m_pSurface->lock(&nPitch);
    const uint32_t dwValue = pPixels[0];
    m_pSurface->unlock();
    pDC = m_pSurface->getDC();
    pDC->setPixel(0, 0, crKept);
    m_pSurface->releaseDC(pDC);
    return dwValue;
}

plat::Result CXSurface::Fill(COLORREF crColor)
{
    if (!m_pSurface)
        return plat::kErrInvalidParams;
    const uint32_t dwValue = ColorMatch(crColor);
    return m_pSurface->blt(nullptr, nullptr, nullptr, plat::BLT_COLORFILL | plat::BLT_WAIT,
                           static_cast<uint16_t>(dwValue));
}

namespace {

// The whole source at (x, y), cut to the destination on every side.
plat::Result ClippedBlit(CXSurface* pDest, CXSurface* pSource, int x, int y, uint32_t dwFlags)
{
    if (!pDest || !pSource || !pDest->m_pSurface || !pSource->m_pSurface)
        return plat::kErrInvalidParams;
    plat::Rect rcSource{0, 0, pSource->m_nWidth, pSource->m_nHeight};
    if (x < 0) {
        rcSource.left = -x;
        x = 0;
    }
    if (x + rcSource.width() > pDest->m_nWidth)
        rcSource.right = rcSource.left + pDest->m_nWidth - x;
    if (y < 0) {
        rcSource.top = -y;
        y = 0;
    }
    if (y + rcSource.height() > pDest->m_nHeight)
        rcSource.bottom = rcSource.top + pDest->m_nHeight - y;
    return pDest->m_pSurface->bltFast(x, y, *pSource->m_pSurface, &rcSource, dwFlags);
}

}  // namespace

plat::Result CXSurface::BlitKeyed(CXSurface* pDest, CXSurface* pSource, int x, int y)
{
    return ClippedBlit(pDest, pSource, x, y, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

plat::Result CXSurface::Blit(CXSurface* pDest, CXSurface* pSource, int x, int y)
{
    return ClippedBlit(pDest, pSource, x, y, plat::BLTFAST_WAIT);
}

uint16_t* CXSurface::LockPixels()
{
    int nPitch = 0;
    uint16_t* pPixels = m_pSurface->lock(&nPitch);
    m_dwPitch = static_cast<uint32_t>(nPitch);
    return pPixels;
}

void CXSurface::BlendArea(CXSurface* pA, CXSurface* pB, int nAX, int nAY, int nBX, int nBY, int nDestX, int nDestY,
                          int nWidth, int nHeight, float fFactor, bool bKeyed)
{
    if (!m_pSurface || !pA || !pB || !pA->m_pSurface || !pB->m_pSurface)
        return;
    AreaPart parts[3] = {{nAX, nAY, pA->m_nWidth, pA->m_nHeight},
                         {nBX, nBY, pB->m_nWidth, pB->m_nHeight},
                         {nDestX, nDestY, m_nWidth, m_nHeight}};
    if (!ClipArea(parts, 3, nWidth, nHeight))
        return;
    uint16_t* pAPixels = pA->LockPixels();
    uint16_t* pBPixels = pB->LockPixels();
    uint16_t* pDest = pA == this ? pAPixels : LockPixels();
    const bool b555 = Is555();
    const uint16_t wKey = ColourKey();
    for (int j = 0; j < nHeight; ++j) {
        const uint16_t* pRowA = Row(pAPixels, pA->m_dwPitch, parts[0].y + j) + parts[0].x;
        const uint16_t* pRowB = Row(pBPixels, pB->m_dwPitch, parts[1].y + j) + parts[1].x;
        uint16_t* pRowD = Row(pDest, m_dwPitch, parts[2].y + j) + parts[2].x;
        for (int i = 0; i < nWidth; ++i) {
            const uint16_t a = pRowA[i], b = pRowB[i];
            if (a == b || (bKeyed && b == wKey))
                continue;
            const RGBChannels ca = Split(a, b555), cb = Split(b, b555);
            pRowD[i] = Pack(ca.r + static_cast<int>(static_cast<float>(cb.r - ca.r) * fFactor),
                            ca.g + static_cast<int>(static_cast<float>(cb.g - ca.g) * fFactor),
                            ca.b + static_cast<int>(static_cast<float>(cb.b - ca.b) * fFactor), b555);
        }
    }
    if (pA != this)
        m_pSurface->unlock();
    pB->m_pSurface->unlock();
    pA->m_pSurface->unlock();
}

void CXSurface::BlendBlt(CXSurface* pA, CXSurface* pB, int nAX, int nAY, int nBX, int nBY, int nDestX, int nDestY,
                         int nWidth, int nHeight, float fFactor)
{
    BlendArea(pA, pB, nAX, nAY, nBX, nBY, nDestX, nDestY, nWidth, nHeight, fFactor, false);
}

void CXSurface::BlendBltKeyed(CXSurface* pA, CXSurface* pB, int nAX, int nAY, int nBX, int nBY, int nDestX,
                              int nDestY, int nWidth, int nHeight, float fFactor)
{
    BlendArea(pA, pB, nAX, nAY, nBX, nBY, nDestX, nDestY, nWidth, nHeight, fFactor, true);
}

void CXSurface::BltModulated(CXSurface* pSource, int x, int y)
{
    if (!pSource)
        return;
    BltModulatedRect(pSource, 0, 0, std::min(m_nWidth, pSource->m_nWidth), std::min(m_nHeight, pSource->m_nHeight),
                     x, y);
}

void CXSurface::BltModulatedRect(CXSurface* pSource, int nSrcX, int nSrcY, int nWidth, int nHeight, int nDestX,
                                 int nDestY)
{
    if (!m_pSurface || !pSource || !pSource->m_pSurface)
        return;
    AreaPart parts[2] = {{nSrcX, nSrcY, pSource->m_nWidth, pSource->m_nHeight}, {nDestX, nDestY, m_nWidth, m_nHeight}};
    if (!ClipArea(parts, 2, nWidth, nHeight))
        return;
    uint16_t* pSrcPixels = pSource->LockPixels();
    uint16_t* pDest = pSource == this ? pSrcPixels : LockPixels();
    const bool b555 = Is555();
    const uint16_t wKey = ColourKey();
    for (int j = 0; j < nHeight; ++j) {
        const uint16_t* pRowS = Row(pSrcPixels, pSource->m_dwPitch, parts[0].y + j) + parts[0].x;
        uint16_t* pRowD = Row(pDest, m_dwPitch, parts[1].y + j) + parts[1].x;
        for (int i = 0; i < nWidth; ++i) {
            const uint16_t s = pRowS[i];
            if (s == wKey)
                continue;
            // The source's blue channel over 32 is the light left on the destination.
            const float m = static_cast<float>(s & 31) * 0.03125f;
            const RGBChannels d = Split(pRowD[i], b555);
            pRowD[i] = Pack(static_cast<int>(static_cast<float>(d.r) * m), static_cast<int>(static_cast<float>(d.g) * m),
                            static_cast<int>(static_cast<float>(d.b) * m), b555);
        }
    }
    if (pSource != this)
        m_pSurface->unlock();
    pSource->m_pSurface->unlock();
}

void CXSurface::FillGradient(int x, int y, int nWidth, int nHeight, COLORREF crFrom, COLORREF crTo)
{
    if (!m_pSurface || nWidth <= 0 || nHeight <= 0)
        return;
    const int nFrom[3] = {plat::GetRValue(crFrom) * 256, plat::GetGValue(crFrom) * 256, plat::GetBValue(crFrom) * 256};
    const int nTo[3] = {plat::GetRValue(crTo), plat::GetGValue(crTo), plat::GetBValue(crTo)};
    int nStep[3];
    for (int c = 0; c < 3; ++c)
        nStep[c] = static_cast<int>(static_cast<float>(nTo[c] - nFrom[c] / 256) / static_cast<float>(nWidth) * 256.0f);
    const int nJitter = std::max(1, nWidth / 10);
    const bool b555 = Is555();
    // The whole gradient is computed, but only pixels on the surface are written.
    uint16_t* pPixels = LockPixels();
    for (int j = 0; j < nHeight; ++j) {
        const int py = y + j;
        for (int i = 0; i < nWidth; ++i) {
            const int nSteps = i + plat::paintRand() % nJitter;
            const int px = x + i;
            if (px < 0 || py < 0 || px >= m_nWidth || py >= m_nHeight)
                continue;
            int v[3];
            for (int c = 0; c < 3; ++c)
                v[c] = std::clamp(nFrom[c] + nStep[c] * nSteps, 0, 255 * 256 + 255);
            Row(pPixels, m_dwPitch, py)[px] =
                Pack(v[0] / 2048, b555 ? v[1] / 2048 : v[1] / 1024, v[2] / 2048, b555);
        }
    }
    m_pSurface->unlock();
}

void CXSurface::BlendRect(int x, int y, int nWidth, int nHeight, COLORREF crFrom, COLORREF crTo, float fFactor)
{
    if (nWidth <= 0 || nHeight <= 0)
        return;
    auto pTemporary = std::make_unique<CXSurface>();
    if (!pTemporary->Create(nWidth + 2, nHeight, true, false))
        return;
    pTemporary->FillGradient(0, 0, nWidth, nHeight, crFrom, crTo);
    BlendBlt(this, pTemporary.get(), x, y, 0, 0, x, y, nWidth, nHeight, fFactor);
}

void CXSurface::DrawShadedBar(int x, int y, int nWidth, int nHeight, COLORREF crColor)
{
    if (!m_pSurface)
        return;
    plat::DeviceContext* pDC = m_pSurface->getDC();
    for (int i = 0; i < nHeight; ++i) {
        const int nRaise = (i <= nHeight / 2 ? i : nHeight - i) * 8;
        const auto lift = [nRaise](int c) { return static_cast<uint8_t>(std::min(255, c + nRaise)); };
        plat::Pen pen(plat::PS_SOLID, 1,
                      plat::RGB(lift(plat::GetRValue(crColor)), lift(plat::GetGValue(crColor)),
                                lift(plat::GetBValue(crColor))));
        pDC->selectPen(&pen);
        pDC->moveTo(x, y + i);
        pDC->lineTo(x + nWidth, y + i);
        pDC->selectPen(nullptr);
    }
    m_pSurface->releaseDC(pDC);
}

void CXSurface::ShadeRect(int x, int y, int nWidth, int nHeight, int /*nLevel*/)
{
    if (!m_pSurface)
        return;
    AreaPart part{x, y, m_nWidth, m_nHeight};
    if (!ClipArea(&part, 1, nWidth, nHeight))
        return;
    uint16_t* pPixels = LockPixels();
    for (int j = 0; j < nHeight; ++j) {
        uint16_t* pRow = Row(pPixels, m_dwPitch, part.y + j) + part.x;
        for (int i = 0; i < nWidth; ++i)
            pRow[i] = ShadePixel(pRow[i]);
    }
    m_pSurface->unlock();
}

void CXSurface::DrawDottedLine(int x, int y, int nLength, bool bHorizontal)
{
    if (!m_pSurface)
        return;
    uint16_t* pPixels = LockPixels();
    for (int i = 0; i < nLength / 2; ++i) {
        const int px = bHorizontal ? x + 2 * i : x;
        const int py = bHorizontal ? y : y + 2 * i;
        // Dots that fall off the surface (an outline on its right or bottom edge) are left out.
        if (px >= 0 && py >= 0 && px < m_nWidth && py < m_nHeight)
            Row(pPixels, m_dwPitch, py)[px] = 0xFFFF;
    }
    m_pSurface->unlock();
}

void CXSurface::DrawRectOutline(const plat::Rect& rc)
{
    DrawDottedLine(rc.left, rc.top, rc.right - rc.left, true);
    DrawDottedLine(rc.left, rc.top, rc.bottom - rc.top, false);
    DrawDottedLine(rc.right, rc.top, rc.bottom - rc.top, false);
    DrawDottedLine(rc.left, rc.bottom, rc.right - rc.left, true);
}

void CXSurface::DrawPanelShadow(CXSurface* pSheet, int x, int y, int nWidth, int nHeight)
{
    constexpr int kTileW = 12, kTileH = 13;
    constexpr int kTopRight = 0, kRightEdge = 12, kBottomRight = 24, kBottomEdge = 36, kBottomLeft = 48;
    if (!pSheet || !pSheet->m_pSurface || !m_pSurface)
        return;
    auto pTile = std::make_unique<CXSurface>();
    if (!pTile->Create(kTileW, kTileH, true, true))
        return;
    auto lay = [&](int nTileX, int nCols, int nRows, int px, int py) {
        if (nCols < kTileW || nRows < kTileH)
            pTile->Fill(plat::RGB(255, 0, 255));
        const plat::Rect rc{nTileX, 0, nTileX + nCols, nRows};
        if (pTile->m_pSurface->bltFast(0, 0, *pSheet->m_pSurface, &rc, plat::BLTFAST_WAIT) == plat::kOk)
            BltModulated(pTile.get(), px, py);
    };
    const int nCols = nWidth / kTileW, nColRest = nWidth % kTileW;
    const int nRows = nHeight / kTileH, nRowRest = nHeight % kTileH;
    lay(kBottomLeft, kTileW, kTileH, x, y + nHeight);
    for (int k = 1; k < nCols; ++k)
        lay(kBottomEdge, kTileW, kTileH, x + kTileW * k, y + nHeight);
    if (nColRest != 0)
        lay(kBottomEdge, nColRest, kTileH, x + kTileW * nCols, y + nHeight);
    lay(kBottomRight, kTileW, kTileH, x + nWidth, y + nHeight);
    for (int k = 1; k < nRows; ++k)
        lay(kRightEdge, kTileW, kTileH, x + nWidth, y + kTileH * k);
    if (nRowRest != 0)
        lay(kRightEdge, kTileW, nRowRest, x + nWidth, y + kTileH * nRows);
    lay(kTopRight, kTileW, kTileH, x + nWidth, y);
}
