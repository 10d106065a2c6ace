#pragma once
// The control gallery: one screen that holds each control kind in its main
// modes, for the golden-image test and for looking at the controls by hand.
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXPopup.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"

#include <memory>

// Numbered lines that a scroll bar scrolls; its linked header button turns
// the order round.
class CGalleryLines : public CXControl, public CXScrollTarget {
public:
    static constexpr int kLineHeight = 16;
    explicit CGalleryLines(int nCount) : m_nCount(nCount) {}
    int ScrollLineCount() const override { return m_nCount; }
    int ScrollVisibleLines() const override { return Height() / kLineHeight; }
    void ScrollByLine(int nDirection) override { ScrollToLine(m_nFirst + nDirection); }
    void ScrollToLine(int nFirstLine) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnLinkedButtonClicked(uint32_t dwID) override;
    void Draw() override;

    CXScrollBar* m_pScrollBar = nullptr;
    int m_nFirst = 0;
    bool m_bReversed = false;

private:
    int m_nCount;
};

// A small popup with the title buttons: close works, help is disabled.
class CGalleryPopup : public CXPopup {
public:
    CGalleryPopup();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
};

class CControlGallery : public CXClient {
public:
    CControlGallery();
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnScroll(uint32_t dwID) override;
    void OnEndScroll(uint32_t dwID) override;

private:
    CXButton* AddButton(uint32_t dwID, int x, int y, int nWidth, int nHeight);
    CXStatic* AddLabel(uint32_t dwID, int x, int y, int nWidth, int nHeight, const char* pszText);

    CXStatic* m_pClicked = nullptr;
    CXStatic* m_pRepeats = nullptr;
    CXStatic* m_pSliderValue = nullptr;
    CXSlider* m_pSlider = nullptr;
    int m_nRepeats = 0;
    CGalleryPopup m_Popup;
    // The two-line button's taller face, painted here.
    std::unique_ptr<CXSurface> m_pTallFace;
};
