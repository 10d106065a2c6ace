#include "shell/CSharedBitmaps.h"

#include "common/DebugLog.h"

namespace {

struct SharedBitmap {
    const char* pszName;
    bool bColourKey;
};

// In load order; the empty shading strip follows "icnPos.bmp".
const SharedBitmap kBitmapsBeforeStrip[] = {
    {"btnTree.bmp", true},  {"btnPTab.bmp", true}, {"btnTog.bmp", true},   {"btnTog2.bmp", true},
    {"btnYesNo.bmp", true}, {"btnSort.bmp", true}, {"btnASort.bmp", true}, {"bgPopup.bmp", false},
    {"bgGraph.bmp", true},  {"ShdPitch.bmp", true}, {"btnNP2.bmp", true},  {"Flags.bmp", true},
    {"Role.bmp", true},     {"icnPos.bmp", true}};
const SharedBitmap kBitmapsAfterStrip[] = {
    {"SBButton.bmp", true}, {"SBHouse2.bmp", true}, {"SBThumb.bmp", true}, {"SBAThmb.bmp", true}, {"btnRate.bmp", true}};

struct SpriteImage {
    const char* pszName;
    int nFrameWidth;
    int nFrameHeight;
};
// The list icons are 12 x 13; each image holds as many frames as fit in a row.
const SpriteImage kSprites[] = {
    {"sldTrain.bmp", 8, 18}, {"icnRtrd.bmp", 12, 13},  {"icnTick.bmp", 12, 13},  {"icnCross.bmp", 12, 13},
    {"icnCupS.bmp", 12, 13}, {"icnCupG.bmp", 12, 13},  {"icnFrien.bmp", 12, 13}, {"icnPOff.bmp", 12, 13},
    {"icnFAid.bmp", 12, 13}, {"icnInj.bmp", 12, 13},   {"icnYelow.bmp", 12, 13}, {"icnRed.bmp", 12, 13},
    {"icnStar.bmp", 12, 13}, {"icnEC.bmp", 12, 13},    {"icnPermt.bmp", 12, 13}, {"icnScout.bmp", 12, 13},
    {"icnFax.bmp", 12, 13},  {"icnTranb.bmp", 12, 13}, {"icnTranL.bmp", 12, 13}, {"icnLoanI.bmp", 12, 13},
    {"icnLoanO.bmp", 12, 13}, {"icnFree.bmp", 12, 13}, {"icnPend.bmp", 12, 13},
    // The team value's marker of the match orders.
    {"icnTVal.bmp", 9, 16}};

struct CursorImage {
    const char* pszName;
    int nFrameWidth;
    int nFrameHeight;
    int nFrames;
    int nPerRow;
};
const CursorImage kCursors[CSharedBitmaps::kCursorKinds] = {
    {"curX1.bmp", 12, 20, 1, 1},    {"curX2.bmp", 20, 27, 4, 4},    {"curEdit2.bmp", 28, 28, 16, 4},
    {"curGrab.bmp", 24, 29, 1, 1},  {"curDGrab.bmp", 30, 36, 4, 4}, {"curSpin.bmp", 26, 22, 1, 1}};
const CursorImage kCaret = {"curEdit.bmp", 3, 14, 2, 1};

constexpr int kShadingWidth = 640;
constexpr int kShadingHeight = 42;

}  // namespace

std::unique_ptr<CXSurface> CSharedBitmaps::LoadSurface(CFileManager& archive, const char* pszName, bool bColourKey)
{
    long nSize = 0;
    bool bFound = false;
    FILE* pFile = archive.Get(pszName, &nSize, &bFound);
    auto pSurface = std::make_unique<CXSurface>();
    if (!bFound || !pFile || !pSurface->CreateFromBitmap(pFile, true, bColourKey, nSize)) {
        DebugLog(1, "[CSharedBitmaps::LoadBitmaps] '%s' could not be loaded", pszName);
        m_bComplete = false;
        return nullptr;
    }
    return pSurface;
}

std::unique_ptr<CXAnimation> CSharedBitmaps::LoadAnimation(CFileManager& archive, const char* pszName,
                                                           int nFrameWidth, int nFrameHeight, int nFrames, int nPerRow)
{
    std::unique_ptr<CXSurface> pSurface = LoadSurface(archive, pszName, true);
    if (!pSurface)
        return nullptr;
    if (pSurface->GetWidth() < nFrameWidth * nPerRow ||
        pSurface->GetHeight() < nFrameHeight * ((nFrames + nPerRow - 1) / nPerRow)) {
        DebugLog(1, "[CSharedBitmaps::LoadBitmaps] '%s' is %dx%d, too small for its frames", pszName,
                 pSurface->GetWidth(), pSurface->GetHeight());
        m_bComplete = false;
        return nullptr;
    }
    auto pAnimation = std::make_unique<CXAnimation>();
    pAnimation->Setup(pSurface.release(), nFrameWidth, nFrameHeight, 0, 0, nFrames, nPerRow);
    pAnimation->m_bOwnsSource = 1;
    return pAnimation;
}

bool CSharedBitmaps::LoadBitmaps(CFileManager& archive)
{
    FreeBitmaps();
    m_bComplete = true;
    for (int nKind = 0; nKind < kCursorKinds; ++nKind) {
        const CursorImage& c = kCursors[nKind];
        m_Cursors[nKind] = LoadAnimation(archive, c.pszName, c.nFrameWidth, c.nFrameHeight, c.nFrames, c.nPerRow);
    }
    for (const SharedBitmap& b : kBitmapsBeforeStrip)
        if (auto pSurface = LoadSurface(archive, b.pszName, b.bColourKey))
            m_Bitmaps[b.pszName] = std::move(pSurface);
    if (CXSurface* pFlags = GetBitmap("Flags.bmp"))
        for (int n = 0; (n + 1) * kFlagWidth <= pFlags->GetWidth() && pFlags->GetHeight() >= kFlagHeight; ++n) {
            m_Flags.push_back(std::make_unique<CXAnimation>());
            m_Flags.back()->Setup(pFlags, kFlagWidth, kFlagHeight, n * kFlagWidth, 0, 1, 1);
        }
    m_pShading = std::make_unique<CXSurface>();
    if (!m_pShading->Create(kShadingWidth, kShadingHeight, true, false))
        m_bComplete = false;
    for (const SharedBitmap& b : kBitmapsAfterStrip)
        if (auto pSurface = LoadSurface(archive, b.pszName, b.bColourKey))
            m_Bitmaps[b.pszName] = std::move(pSurface);
    for (const SpriteImage& s : kSprites) {
        // Frames per row from the image's own width, found once it is read.
        auto pAnimation = LoadAnimation(archive, s.pszName, s.nFrameWidth, s.nFrameHeight, 1, 1);
        if (!pAnimation)
            continue;
        const int nPerRow = pAnimation->m_pSource->GetWidth() / s.nFrameWidth;
        pAnimation->m_nFramesPerRow = nPerRow;
        pAnimation->m_nFrameCount = nPerRow * (pAnimation->m_pSource->GetHeight() / s.nFrameHeight);
        m_Sprites[s.pszName] = std::move(pAnimation);
    }
    m_pCaret = LoadAnimation(archive, kCaret.pszName, kCaret.nFrameWidth, kCaret.nFrameHeight, kCaret.nFrames,
                             kCaret.nPerRow);
    return m_bComplete;
}

void CSharedBitmaps::FreeBitmaps()
{
    m_Flags.clear();
    m_Bitmaps.clear();
    m_Sprites.clear();
    m_pShading.reset();
    for (auto& pCursor : m_Cursors)
        pCursor.reset();
    m_pCaret.reset();
    m_nCursorKind = 0;
}

CXSurface* CSharedBitmaps::GetBitmap(const char* pszName) const
{
    const auto found = m_Bitmaps.find(pszName);
    return found == m_Bitmaps.end() ? nullptr : found->second.get();
}

CXAnimation* CSharedBitmaps::GetNationFlag(int nNationality) const
{
    return nNationality >= 1 && static_cast<size_t>(nNationality) < m_Flags.size()
               ? m_Flags[static_cast<size_t>(nNationality)].get()
               : nullptr;
}

CXAnimation* CSharedBitmaps::GetSprite(const char* pszName) const
{
    const auto found = m_Sprites.find(pszName);
    return found == m_Sprites.end() ? nullptr : found->second.get();
}

void CSharedBitmaps::SetMousePointer(int nKind, int nHotX, int nHotY)
{
    if (nKind < 0 || nKind >= kCursorKinds) {
        DebugLog(1, "[CGame::SetMousePointer] Unknown Stock Mouse Object!");
        return;
    }
    m_nCursorKind = nKind;
    m_nHotX = nHotX;
    m_nHotY = nHotY;
}

void CSharedBitmaps::DrawMousePointer(CXSurface* pTarget, int nMouseX, int nMouseY)
{
    if (CXAnimation* pCursor = GetMousePointer())
        pCursor->Draw(pTarget, nMouseX - m_nHotX, nMouseY - m_nHotY, true);
}
