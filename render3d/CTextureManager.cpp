#include "render3d/CTextureManager.h"

#include "common/DebugLog.h"
#include "platform/Device3D.h"
#include "platform/Files.h"
#include "render3d/C3DEngine.h"
#include "render3d/CTextureBitmap.h"
#include "render3d/RendererModules.h"
#include "shell/CFileManager.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr float kByteScale = 0.003921569f;
constexpr plat::COLORREF kMagenta = 0x00FF00FF;
constexpr size_t kNameLength = 200;

void CopyName(char* pszDest, const char* pszSource)
{
    std::snprintf(pszDest, kNameLength, "%s", pszSource);
}

void Recolour(std::vector<uint32_t>& palette, const ColourRecord& colours)
{
    const int nUsed = colours.count < 15 ? colours.count : 15;
    for (int j = 0; j < nUsed; ++j) {
        const int nLast = colours.first[j] + colours.span[j] > 255 ? 255 : colours.first[j] + colours.span[j];
        for (int e = colours.first[j]; e <= nLast && e < static_cast<int>(palette.size()); ++e) {
            const uint32_t rgb = palette[static_cast<size_t>(e)];
            uint8_t bgr[3] = {static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                              static_cast<uint8_t>((rgb >> 16) & 0xFF)};
            float h, s, l;
            RGBToHSL(bgr, &h, &s, &l);
            if (h == 1000.0f)
                continue;
            h += colours.shift[j][0] * kByteScale;
            s += colours.shift[j][1] * kByteScale;
            l += colours.shift[j][2] * kByteScale;
            if (h > 1.0f)
                h -= 1.0f;
            else if (h < 0.0f)
                h += 1.0f;
            s = s < 0.0f ? 0.0f : (s > 1.0f ? 1.0f : s);
            l = l < 0.0f ? 0.0f : (l > 1.0f ? 1.0f : l);
            HSLToRGB(h, s, l, bgr);
            palette[static_cast<size_t>(e)] =
                (static_cast<uint32_t>(bgr[2]) << 16) | (static_cast<uint32_t>(bgr[1]) << 8) | bgr[0];
        }
    }
}

uint8_t ToByte(float v)
{
    const float scaled = v * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return static_cast<uint8_t>(scaled);
}

}  // namespace

void RGBToHSL(const uint8_t* pBGR, float* pH, float* pS, float* pL)
{
    const float r = pBGR[2] * kByteScale, g = pBGR[1] * kByteScale, b = pBGR[0] * kByteScale;
    const float fMax = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const float fMin = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const float l = (fMax + fMin) / 2.0f;
    *pL = l;
    *pH = *pS = 0.0f;
    if (l <= 0.0f)
        return;
    const float d = fMax - fMin;
    if (d <= 0.0f)
        return;
    *pS = l <= 0.5f ? d / (fMax + fMin) : d / (2.0f - fMax - fMin);
    const float rd = (fMax - r) / d, gd = (fMax - g) / d, bd = (fMax - b) / d;
    float h;
    if (r == fMax)
        h = g == fMin ? 5.0f + bd : 1.0f - gd;
    else if (g == fMax)
        h = b == fMin ? 1.0f + rd : 3.0f - bd;
    else
        h = r == fMin ? 3.0f + gd : 5.0f - rd;
    *pH = h / 6.0f;
}

void HSLToRGB(float h, float s, float l, uint8_t* pBGR)
{
    const float v = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
    float r = 0, g = 0, b = 0;
    if (v > 0.0f) {
        const float m = 2.0f * l - v;
        const int nSextant = static_cast<int>(6.0f * h);
        const float f = 6.0f * h - static_cast<float>(nSextant);
        const float step = (v - m) * f;
        const float up = m + step, down = v - step;
        switch (nSextant) {
        case 0: r = v; g = up; b = m; break;
        case 1: r = down; g = v; b = m; break;
        case 2: r = m; g = v; b = up; break;
        case 3: r = m; g = down; b = v; break;
        case 4: r = up; g = m; b = v; break;
        case 5: r = v; g = m; b = down; break;
        case 6: r = v; g = m; b = m; break;
        default: break;
        }
    }
    pBGR[0] = ToByte(b);
    pBGR[1] = ToByte(g);
    pBGR[2] = ToByte(r);
}

CTextureManager::CTextureManager() : m_pTextures(new CPointerArray)
{
    m_pTextures->SetSize(0, 10);
}

CTextureManager::~CTextureManager()
{
    FreeAll();
    delete m_pTextures;
}

CTextureManager::TextureRecord* CTextureManager::Record(uint16_t wIndex) const
{
    return m_pTextures ? static_cast<TextureRecord*>(m_pTextures->GetAt(wIndex)) : nullptr;
}

uint8_t CTextureManager::GetFlags(uint16_t wIndex) const
{
    const TextureRecord* pRecord = wIndex < m_wCount ? Record(wIndex) : nullptr;
    return pRecord ? pRecord->ucFlags : 0;
}

const char* CTextureManager::GetName(uint16_t wIndex) const
{
    const TextureRecord* pRecord = wIndex < m_wCount ? Record(wIndex) : nullptr;
    return pRecord ? pRecord->szName : nullptr;
}

void CTextureManager::SetNameCode(char cCode, char cValue)
{
    for (int i = 0; i < m_ucNameCodeCount; ++i) {
        if (m_NameCodes[i][0] == cCode) {
            m_NameCodes[i][1] = cValue;
            return;
        }
    }
    if (m_ucNameCodeCount < 9) {
        m_NameCodes[m_ucNameCodeCount][0] = cCode;
        m_NameCodes[m_ucNameCodeCount][1] = cValue;
        ++m_ucNameCodeCount;
    }
}

char CTextureManager::GetNameCode(char cCode) const
{
    for (int i = 0; i < m_ucNameCodeCount; ++i)
        if (m_NameCodes[i][0] == cCode)
            return m_NameCodes[i][1];
    return '0';
}

void CTextureManager::SetColourSlot(const ColourRecord* pColours, uint8_t ucSlot)
{
    if (ucSlot >= 3)
        return;
    if (!pColours) {
        m_ColourSlots[ucSlot].count = 0;
        return;
    }
    ColourRecord& slot = m_ColourSlots[ucSlot];
    slot = ColourRecord{};
    slot.count = pColours->count < 15 ? pColours->count : 15;
    for (int j = 0; j < slot.count; ++j) {
        slot.first[j] = pColours->first[j];
        slot.span[j] = pColours->span[j];
        for (int k = 0; k < 3; ++k)
            slot.shift[j][k] = pColours->shift[j][k];
    }
}

uint8_t CTextureManager::ParseFilename(char* pszName, plat::COLORREF* pcrKey, const ColourRecord** ppSlot) const
{
    if (std::strlen(pszName) >= kNameLength - 1)
        DebugLog(0, "[TextureManager::ParseFilename] Filename too long: %s", pszName);
    uint8_t ucFlags = 0;
    for (size_t i = 0; pszName[i] != '\0'; ++i) {
        if (pszName[i] != '%' || pszName[i + 1] == '\0')
            continue;
        const char cCode = pszName[i + 1];
        char* pAfter = &pszName[i + 2];
        if (cCode == 'C') {
            if (std::isdigit(static_cast<unsigned char>(*pAfter)) && *pAfter - '0' < 3) {
                if (ppSlot)
                    *ppSlot = &m_ColourSlots[*pAfter - '0'];
                *pAfter = '0';
            }
        } else if (cCode == 'K') {
            ucFlags |= TEXTURE_COLOURKEYED;
            if (std::isdigit(static_cast<unsigned char>(*pAfter))) {
                char* pEnd = pAfter;
                long channels[3] = {0, 0, 0};
                for (int c = 0; c < 3; ++c) {
                    channels[c] = std::strtol(pEnd, &pEnd, 10);
                    if (*pEnd == ',')
                        ++pEnd;
                    else
                        break;
                }
                for (long& v : channels)
                    v = v < 0 ? 0 : (v > 255 ? 255 : v);
                *pcrKey = plat::RGB(static_cast<uint8_t>(channels[0]), static_cast<uint8_t>(channels[1]),
                                    static_cast<uint8_t>(channels[2]));
            }
        } else if (cCode != 'M' && cCode != 'U' && cCode != 'V') {
            if (*pAfter != '\0')
                *pAfter = GetNameCode(cCode);
        }
        ++i;
    }
    return ucFlags;
}

uint16_t CTextureManager::FindTexture(const char* pszName, const ColourRecord* pColours) const
{
    for (int i = 0; i < m_wCount; ++i) {
        const TextureRecord* pRecord = Record(static_cast<uint16_t>(i));
        if (std::strcmp(pRecord->szName, pszName) != 0)
            continue;
        if (pColours ? (pRecord->pColours && std::memcmp(pRecord->pColours, pColours, sizeof(ColourRecord)) == 0)
                     : !pRecord->pColours)
            return static_cast<uint16_t>(i);
    }
    return NO_TEXTURE;
}

uint16_t CTextureManager::LoadTexture(const char* pszFileName, uint8_t ucForceNew, const ColourRecord* pColours)
{
    if (!pszFileName)
        return NO_TEXTURE;
    char szName[kNameLength];
    CopyName(szName, pszFileName);
    if (char* pDot = std::strrchr(szName, '.'))
        *pDot = '\0';
    plat::COLORREF crKey = kMagenta;
    const ColourRecord* pSlot = nullptr;
    const uint8_t ucFlags = ParseFilename(szName, &crKey, pColours ? nullptr : &pSlot) | TEXTURE_WRAP;
    if (!pColours)
        pColours = pSlot;
    if (!ucForceNew) {
        const uint16_t wFound = FindTexture(szName, pColours);
        if (wFound != NO_TEXTURE)
            return wFound;
    }
    auto* pRecord = new TextureRecord{};
    CopyName(pRecord->szName, szName);
    pRecord->ucFlags = ucFlags;
    pRecord->crColourKey = crKey;
    if (pColours)
        pRecord->pColours = new ColourRecord(*pColours);
    const bool bMade = (ucFlags & TEXTURE_MIPMAPPED) ? CreateMipMapTexture(pRecord) : CreateTexture(pRecord);
    if (!bMade) {
        ReleaseRecord(pRecord);
        delete pRecord->pColours;
        delete pRecord;
        return NO_TEXTURE;
    }
    m_pTextures->SetAtGrow(m_wCount, pRecord);
    return m_wCount++;
}

plat::Surface* CTextureManager::ReadPicture(const std::string& fileName, const ColourRecord* pColours,
                                            plat::COLORREF crKey, bool bKeyed)
{
    FILE* pFile = nullptr;
    int64_t nSize = 0;
    bool bFromArchive = false;
    if (m_pArchive) {
        long nMemberSize = 0;
        bool bFound = false;
        pFile = m_pArchive->Get(fileName.c_str(), &nMemberSize, &bFound);
        if (!bFound)
            pFile = nullptr;
        nSize = nMemberSize;
        bFromArchive = pFile != nullptr;
    }
    if (!pFile) {
        nSize = plat::fileSize(fileName);
        pFile = nSize > 0 ? plat::openFile(fileName, "rb") : nullptr;
    }
    if (!pFile)
        return nullptr;
    std::string error;
    std::unique_ptr<CTextureBitmap> bitmap = CTextureBitmap::Read(pFile, nSize, &error);
    if (!bFromArchive)
        std::fclose(pFile);
    if (!bitmap) {
        DebugLog(6, "[CTextureManager] %s is not a usable texture: %s", fileName.c_str(), error.c_str());
        return nullptr;
    }
    if (pColours && bitmap->IsPalettised())
        Recolour(bitmap->Palette(), *pColours);
    auto* pSurface = new plat::Surface(bitmap->Width(), bitmap->Height());
    for (int y = 0; y < bitmap->Height(); ++y) {
        for (int x = 0; x < bitmap->Width(); ++x) {
            const uint32_t rgb = bitmap->Colour(x, y);
            pSurface->setPixel(x, y, plat::colorToPixel(plat::RGB(static_cast<uint8_t>(rgb >> 16),
                                                                  static_cast<uint8_t>(rgb >> 8),
                                                                  static_cast<uint8_t>(rgb)),
                                                        plat::PixelFormat::Rgb565));
        }
    }
    if (bKeyed)
        pSurface->setColorKey(plat::colorToPixel(crKey, plat::PixelFormat::Rgb565));
    return pSurface;
}

bool CTextureManager::CreateTexture(TextureRecord* pRecord)
{
    const std::string fileName = std::string(pRecord->szName) + ".bmp";
    DebugLog(0, "Creating texture: %s", fileName.c_str());
    plat::Surface* pSurface =
        ReadPicture(fileName, pRecord->pColours, pRecord->crColourKey, (pRecord->ucFlags & TEXTURE_COLOURKEYED) != 0);
    if (!pSurface)
        return false;
    pRecord->levels.push_back(pSurface);
    return Upload(pRecord);
}

bool CTextureManager::CreateMipMapTexture(TextureRecord* pRecord)
{
    DebugLog(0, "Creating mipmap: %s", pRecord->szName);
    char szLevel[kNameLength];
    CopyName(szLevel, pRecord->szName);
    char* pDigit = std::strstr(szLevel, "%M");
    if (!pDigit || pDigit[2] == '\0')
        return CreateTexture(pRecord);
    for (char c = '0'; c <= '9'; ++c) {
        pDigit[2] = c;
        plat::Surface* pSurface = ReadPicture(std::string(szLevel) + ".bmp", pRecord->pColours,
                                              pRecord->crColourKey, (pRecord->ucFlags & TEXTURE_COLOURKEYED) != 0);
        if (!pSurface)
            break;
        // Each level halves the one before; a level of another size ends the chain.
        const plat::Surface* pPrevious = pRecord->levels.empty() ? nullptr : pRecord->levels.back();
        if (pPrevious && (pSurface->width() != (pPrevious->width() > 1 ? pPrevious->width() / 2 : 1) ||
                          pSurface->height() != (pPrevious->height() > 1 ? pPrevious->height() / 2 : 1))) {
            DebugLog(6, "TextureManager::CreateMipMapTexture: level %c of %s has the wrong size", c, pRecord->szName);
            delete pSurface;
            break;
        }
        pRecord->levels.push_back(pSurface);
    }
    if (pRecord->levels.empty()) {
        DebugLog(6, "TextureManager::CreateMipMapTexture: Error in creating texture %s", pRecord->szName);
        return false;
    }
    return Upload(pRecord);
}

bool CTextureManager::CreateBlankTexture(TextureRecord* pRecord)
{
    ReleaseRecord(pRecord);
    pRecord->levels.push_back(new plat::Surface(256, 256));
    if (!Upload(pRecord)) {
        DebugLog(6, "TextureManager::CreateBlankTexture: Error in creating texture");
        return false;
    }
    return true;
}

bool CTextureManager::Upload(TextureRecord* pRecord)
{
    if (!g_pD3DDevice || pRecord->levels.empty())
        return false;
    size_t nBytes = 0;
    for (const plat::Surface* pLevel : pRecord->levels)
        nBytes += static_cast<size_t>(pLevel->width()) * pLevel->height() * 4;
    std::vector<uint8_t> rgba(nBytes);
    size_t o = 0;
    const bool bKeyed = (pRecord->ucFlags & TEXTURE_COLOURKEYED) != 0;
    for (const plat::Surface* pLevel : pRecord->levels) {
        for (int y = 0; y < pLevel->height(); ++y) {
            for (int x = 0; x < pLevel->width(); ++x) {
                const uint16_t p = pLevel->pixel(x, y);
                // Each channel widened by repeating its high bits, so full channels stay full.
                const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
                rgba[o++] = static_cast<uint8_t>((r << 3) | (r >> 2));
                rgba[o++] = static_cast<uint8_t>((g << 2) | (g >> 4));
                rgba[o++] = static_cast<uint8_t>((b << 3) | (b >> 2));
                rgba[o++] = bKeyed && pLevel->hasColorKey() && p == pLevel->colorKey() ? 0 : 255;
            }
        }
    }
    if (pRecord->dwDeviceTexture)
        g_pD3DDevice->deleteTexture(pRecord->dwDeviceTexture);
    pRecord->dwDeviceTexture = g_pD3DDevice->createTexture(pRecord->levels[0]->width(), pRecord->levels[0]->height(),
                                                           rgba.data(), static_cast<int>(pRecord->levels.size()));
    // Making a texture unbinds the current one.
    m_wCurrent = NO_TEXTURE;
    if (!pRecord->dwDeviceTexture) {
        DebugLog(6, "TextureManager::CreateTexture: Error in creating texture %s", pRecord->szName);
        return false;
    }
    return true;
}

void CTextureManager::ReleaseRecord(TextureRecord* pRecord)
{
    if (pRecord->dwDeviceTexture && g_pD3DDevice)
        g_pD3DDevice->deleteTexture(pRecord->dwDeviceTexture);
    pRecord->dwDeviceTexture = 0;
    for (plat::Surface* pLevel : pRecord->levels)
        delete pLevel;
    pRecord->levels.clear();
}

uint16_t CTextureManager::AddBlankTexture()
{
    auto* pRecord = new TextureRecord{};
    pRecord->ucFlags = TEXTURE_WRAP;
    pRecord->crColourKey = kMagenta;
    if (!CreateBlankTexture(pRecord)) {
        ReleaseRecord(pRecord);
        delete pRecord;
        return NO_TEXTURE;
    }
    m_pTextures->SetAtGrow(m_wCount, pRecord);
    return m_wCount++;
}

void CTextureManager::OverlayPicture(TextureRecord* pRecord, const char* pszFileName, const ColourRecord* pColours)
{
    char szName[kNameLength];
    CopyName(szName, pszFileName);
    if (char* pDot = std::strrchr(szName, '.'))
        *pDot = '\0';
    plat::COLORREF crKey = kMagenta;
    ParseFilename(szName, &crKey, nullptr);
    plat::Surface* pPicture = ReadPicture(std::string(szName) + ".bmp", pColours, crKey, true);
    if (!pPicture)
        return;
    plat::Surface* pTarget = pRecord->levels.empty() ? nullptr : pRecord->levels[0];
    if (pTarget) {
        // Only the part that fits is drawn; magenta leaves the old picture.
        plat::Rect source{0, 0, pPicture->width() < pTarget->width() ? pPicture->width() : pTarget->width(),
                          pPicture->height() < pTarget->height() ? pPicture->height() : pTarget->height()};
        pTarget->bltFast(0, 0, *pPicture, &source, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
        Upload(pRecord);
    }
    delete pPicture;
    if (pColours) {
        delete pRecord->pOverlayColours;
        pRecord->pOverlayColours = new ColourRecord(*pColours);
    }
    pRecord->overlayNames.emplace_back(pszFileName);
}

void CTextureManager::ReplaceTexture(uint16_t wIndex, const char* pszFileName, const ColourRecord* pColours)
{
    if (wIndex == NO_TEXTURE || wIndex >= m_wCount || !pszFileName)
        return;
    OverlayPicture(Record(wIndex), pszFileName, pColours);
}

void CTextureManager::ApplyTextureFlags(uint8_t ucFlags)
{
    const bool bKey = (ucFlags & TEXTURE_COLOURKEYED) != 0;
    if (bKey != m_bKeyEnabled) {
        g_pD3DDevice->setAlphaKey(bKey);
        m_bKeyEnabled = bKey;
    }
    // Addressing and filters belong to each GL texture, so they are set on every bind.
    g_pD3DDevice->setTextureWrap((ucFlags & TEXTURE_WRAP) != 0);
    g_pD3DDevice->setTextureFilter((C3DEngine::GetCapabilities() & C3DEngine::CAPS_LINEAR_FILTER) != 0,
                                   (ucFlags & TEXTURE_MIPMAPPED) != 0);
    m_ucCurrentFlags = ucFlags;
}

void CTextureManager::SetCurrentTexture(uint16_t wIndex)
{
    if (wIndex == m_wCurrent || !g_pD3DDevice)
        return;
    const TextureRecord* pRecord = wIndex < m_wCount ? Record(wIndex) : nullptr;
    if (wIndex != NO_TEXTURE && !pRecord)
        DebugLog(0, "[CTextureManager::SetCurrentTexture] Error: %d", wIndex);
    if (!pRecord || !pRecord->dwDeviceTexture) {
        g_pD3DDevice->bindTexture(0);
    } else {
        g_pD3DDevice->bindTexture(pRecord->dwDeviceTexture);
        ApplyTextureFlags(pRecord->ucFlags);
    }
    m_wCurrent = wIndex;
}

plat::Surface* CTextureManager::GetSurface(uint16_t wIndex)
{
    if (wIndex >= m_wCount) {
        DebugLog(0, "CTextureManager::GetSurface: Invalid texture index: %d", wIndex);
        return nullptr;
    }
    TextureRecord* pRecord = Record(wIndex);
    return pRecord->levels.empty() ? nullptr : pRecord->levels[0];
}

void CTextureManager::ReleaseTextures()
{
    for (int i = 0; i < m_wCount; ++i)
        ReleaseRecord(Record(static_cast<uint16_t>(i)));
}

void CTextureManager::ResetCurrent()
{
    m_wCurrent = NO_TEXTURE;
    m_ucCurrentFlags = 0;
    m_bKeyEnabled = false;
}

void CTextureManager::RestoreTextures()
{
    for (int i = 0; i < m_wCount; ++i) {
        TextureRecord* pRecord = Record(static_cast<uint16_t>(i));
        if (pRecord->dwDeviceTexture)
            continue;
        if (pRecord->szName[0] == '\0')
            CreateBlankTexture(pRecord);
        else if (pRecord->ucFlags & TEXTURE_MIPMAPPED)
            CreateMipMapTexture(pRecord);
        else
            CreateTexture(pRecord);
        std::vector<std::string> overlays;
        overlays.swap(pRecord->overlayNames);
        const ColourRecord* pOverlayColours = pRecord->pOverlayColours;
        ColourRecord overlayColours{};
        if (pOverlayColours)
            overlayColours = *pOverlayColours;
        for (const std::string& overlay : overlays)
            OverlayPicture(pRecord, overlay.c_str(), pOverlayColours ? &overlayColours : nullptr);
    }
}

void CTextureManager::FreeAll()
{
    for (int i = 0; i < m_wCount; ++i) {
        TextureRecord* pRecord = Record(static_cast<uint16_t>(i));
        ReleaseRecord(pRecord);
        delete pRecord->pColours;
        delete pRecord->pOverlayColours;
        delete pRecord;
    }
    m_pTextures->SetSize(0);
    m_wCount = 0;
    m_wCurrent = NO_TEXTURE;
}
