#pragma once
// The textures of one engine, read from .bmp pictures in an archive or loose,
// kept as 16-bit surfaces and given to the device. Names carry "%" codes: a
// colour key, a kit colour slot, a mip level digit and letters replaced by the
// values set with SetNameCode. Kit pictures are recoloured in their palette by
// hue, saturation and lightness shifts. NO_TEXTURE (65000) means none.
#include "common/CPointerArray.h"
#include "platform/Surface.h"
#include "render3d/RenderTypes.h"

#include <string>
#include <vector>

class CFileManager;

// Entry j recolours palette entries first[j] .. first[j] + span[j] (never
// beyond 255) by the shift triple j (hue, saturation, lightness in 1/255).
struct ColourRecord {
    uint16_t first[15];
    uint16_t span[15];
    int16_t shift[15][3];
    uint16_t count;
};
static_assert(sizeof(ColourRecord) == 152);

constexpr uint8_t TEXTURE_MIPMAPPED = 0x1;
constexpr uint8_t TEXTURE_COLOURKEYED = 0x2;  // also see-through for the draw order
constexpr uint8_t TEXTURE_WRAP = 0x4;

void RGBToHSL(const uint8_t* pBGR, float* pH, float* pS, float* pL);
void HSLToRGB(float h, float s, float l, uint8_t* pBGR);

class CTextureManager {
public:
    CTextureManager();
    ~CTextureManager();
    CTextureManager(const CTextureManager&) = delete;
    CTextureManager& operator=(const CTextureManager&) = delete;

    // The archive to read from; null reads loose files.
    void SetArchive(CFileManager* pArchive) { m_pArchive = pArchive; }

    uint16_t LoadTexture(const char* pszFileName, uint8_t ucForceNew, const ColourRecord* pColours);
    uint16_t AddBlankTexture();
    void ReplaceTexture(uint16_t wIndex, const char* pszFileName, const ColourRecord* pColours);
    void SetCurrentTexture(uint16_t wIndex);
    plat::Surface* GetSurface(uint16_t wIndex);
    uint16_t FindTexture(const char* pszName, const ColourRecord* pColours) const;
    void SetNameCode(char cCode, char cValue);
    char GetNameCode(char cCode) const;
    void SetColourSlot(const ColourRecord* pColours, uint8_t ucSlot);
    void ReleaseTextures();
    void ResetCurrent();
    void RestoreTextures();
    void FreeAll();

    uint16_t GetCount() const { return m_wCount; }
    uint16_t GetCurrent() const { return m_wCurrent; }
    uint8_t GetFlags(uint16_t wIndex) const;
    const char* GetName(uint16_t wIndex) const;

private:
    struct TextureRecord {
        char szName[200];
        uint8_t ucFlags;
        std::vector<plat::Surface*> levels;  // level 0 is the texture's surface
        uint32_t dwDeviceTexture;
        std::vector<std::string> overlayNames;
        plat::COLORREF crColourKey;
        ColourRecord* pColours;
        ColourRecord* pOverlayColours;
    };
    TextureRecord* Record(uint16_t wIndex) const;
    uint8_t ParseFilename(char* pszName, plat::COLORREF* pcrKey, const ColourRecord** ppSlot) const;
    bool CreateTexture(TextureRecord* pRecord);
    bool CreateMipMapTexture(TextureRecord* pRecord);
    bool CreateBlankTexture(TextureRecord* pRecord);
    plat::Surface* ReadPicture(const std::string& fileName, const ColourRecord* pColours, plat::COLORREF crKey,
                               bool bKeyed);
    bool Upload(TextureRecord* pRecord);
    void ReleaseRecord(TextureRecord* pRecord);
    void ApplyTextureFlags(uint8_t ucFlags);
    void OverlayPicture(TextureRecord* pRecord, const char* pszFileName, const ColourRecord* pColours);

    CFileManager* m_pArchive = nullptr;
    CPointerArray* m_pTextures = nullptr;
    uint16_t m_wCurrent = NO_TEXTURE;
    uint8_t m_ucCurrentFlags = 0;
    bool m_bKeyEnabled = false;
    uint16_t m_wCount = 0;
    char m_NameCodes[9][2] = {};
    uint8_t m_ucNameCodeCount = 0;
    ColourRecord m_ColourSlots[3] = {};
    uint8_t m_ucFlag = 1;
};
