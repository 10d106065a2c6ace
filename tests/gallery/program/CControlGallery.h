#pragma once
// The control gallery: one screen that holds each control kind in its main
// modes, for the golden-image test and for looking at the controls by hand.
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXPopup.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"
#include "xframework/CXTreeView.h"

#include <memory>

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
    // The edit popup over a list cell was accepted: its value goes back.
    void OnListNotify(uint32_t dwScreenID) override;

private:
    CXButton* AddButton(uint32_t dwID, int x, int y, int nWidth, int nHeight);
    CXStatic* AddLabel(uint32_t dwID, int x, int y, int nWidth, int nHeight, const char* pszText);
    void AddTree();
    void AddMoneyEdit();
    void AddDragLists();
    void AddDropDowns();
    void AddGraphs();

    CXStatic* m_pClicked = nullptr;
    CXStatic* m_pRepeats = nullptr;
    CXStatic* m_pSliderValue = nullptr;
    CXSlider* m_pSlider = nullptr;
    CXListBox* m_pPlayers = nullptr;
    int m_nRepeats = 0;
    CGalleryPopup m_Popup;
    // The two-line button's taller face, painted here.
    std::unique_ptr<CXSurface> m_pTallFace;
};
