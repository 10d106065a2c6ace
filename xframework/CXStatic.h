#pragma once
// Control type 9: a one-line text label with optional still or animated
// images, an optional frame and optional click handling, so that a label
// can act as a hot spot. A text wider than the label is cut, and the whole
// text then shows as its tooltip.
#include "xframework/CXControl.h"

#include "common/DebugLog.h"

#include <cstdint>
#include <vector>

constexpr int STATIC_TEXT_SIZE = 80;

class CXStatic : public CXControl {
public:
    struct Image {
        CXAnimation* pImage;
        int32_t x;
        int32_t y;
        uint8_t bOverlay;
        uint8_t bNeedsDrawing;
    };

    ~CXStatic() override;

    // The text is cut to the label's 79 characters.
    void SetText(const char* pszFormat, ...) BRELLOX_PRINTF(2, 3);
    void AddImage(CXAnimation* pImage, int x, int y);
    // Alignment 0 left, 2 right, 6 centred; any other adds nothing.
    void AddAlignedImage(CXAnimation* pImage, int nAlignment);
    void RemoveAllImages();
    void SetImage(CXAnimation* pImage, int x, int y);
    void SetAlignedImage(CXAnimation* pImage, int nAlignment);
    void DrawImages(bool bForce);
    void Draw() override;

    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnLButtonDblClk(uint32_t flags, int x, int y) override;
    void Show(bool bVisible, bool bRedraw) override;
    void Paint() override;
    void DrawAnimations() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnMouseLeave() override;
    void GetToolTipText(char* pszText) override;

    const char* Text() const { return m_szText; }
    const std::vector<Image>& Images() const { return m_Images; }

    uint8_t m_byAlignment = 0;
    uint8_t m_bFrame = 1;
    uint8_t m_bHover = 0;
    uint8_t m_bClickable = 0;
    uint8_t m_bPointer = 0;
    uint8_t m_bPressed = 0;
    uint8_t m_bPassClicks = 0;
    uint8_t m_bShadow = 0;
    uint8_t m_bClearBackground = 0;
    uint8_t m_bCut = 0;
    plat::Font* m_hFont = nullptr;
    COLORREF m_crText = 0x00FFFFFF;
    COLORREF m_crHover = 0x0000FFFF;
    int32_t m_nLeftMargin = 2;
    int32_t m_nTopMargin = 2;

private:
    char m_szText[STATIC_TEXT_SIZE] = {};
    std::vector<Image> m_Images;
};
