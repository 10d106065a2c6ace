#pragma once
// The base of the game's popups: entry and exit in the log, the popup keys
// (Return presses OK or closes, Escape closes, F1 opens the help), the row of
// popup buttons, the print button, the two kit colour boxes with their
// contrast colour, and lists of scripted texts.
#include "xframework/CXPopup.h"

#include <cstdint>

class CFormScript;
class CXButton;
class CXListBox;
struct ITEMTEXTPARAMETERS;

class CGamePopup : public CXPopup {
public:
    static constexpr uint32_t kOkButtonID = 884;
    static constexpr uint32_t kPrintButtonID = 1058;
    static constexpr int kFirstButtonX = 8;
    static constexpr int kMaxScriptedTexts = 7;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnClicked(uint32_t dwID) override;

    // A caption button 32 pixels above the popup's bottom, left to right from
    // x 8 in steps of 90.
    CXButton* AddButton(uint32_t dwTextID);
    // The two framed colour boxes of a kit colour on the popup's background;
    // remembers the colour and its contrast colour (black on a light colour,
    // white on a dark one) for the caller's fill and text.
    void DrawColourBoxPair(COLORREF crColour);
    // Each entry of the script expanded (at most seven) and added to the
    // list in white; answers the texts added.
    int AddScriptedTextsToList(CXListBox* pList, const CFormScript& script, const int* pnEntries, int nEntries,
                               const ITEMTEXTPARAMETERS& params);

    int32_t m_nNextButtonX = kFirstButtonX;
};

// The colour and contrast colour of the last DrawColourBoxPair.
extern COLORREF g_crColourBoxFill;
extern COLORREF g_crColourBoxText;
