#pragma once
// The base of the game's popups: entry and exit in the log, the popup keys
// (Return presses OK or closes, Escape closes, F1 opens the help), the
// framed background with its caption, the row of popup buttons and the
// confirm and cancel pair, the print question, the two kit colour boxes with
// their contrast colour, and lists of scripted texts. Beside it, what the
// shell itself asks of the two popups it opens: the message box and the
// load and save choice (the popups library makes both).
#include "xframework/CXPopup.h"

#include <cstdint>
#include <string>

class CFormScript;
class CXButton;
class CXListBox;
struct ITEMTEXTPARAMETERS;

class CGamePopup : public CXPopup {
public:
    static constexpr uint32_t kOkButtonID = 884;
    static constexpr uint32_t kCancelButtonID = 883;
    static constexpr uint32_t kPrintButtonID = 1058;
    static constexpr int kFirstButtonX = 8;
    static constexpr int kMaxScriptedTexts = 7;
    static constexpr int kDragStripHeight = 26;
    // The message that asks whether to print.
    static constexpr int kPrintQuestion = 2;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnClicked(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;

    // Places the popup at (x, y) of the display with its size and the drag
    // strip along its top.
    void SetPopupRect(int x, int y, int nWidth, int nHeight);
    // The same for a popup with page tabs above its frame: dragged by the
    // band below the tab strip, the area above the frame keyed clear.
    void SetTabbedPopupRect(int x, int y, int nWidth, int nHeight, int nTabStrip);
    // A new background of the popup's size: the shared popup background with
    // its bevel, and the caption (item of the popup captions, none below 0)
    // centred in the top strip.
    void DrawCaptionFrame(int nCaptionItem);
    // The confirm (884) or cancel (883) button, 44 x 26 at x, 32 pixels above
    // the bottom; the pair's places are ConfirmX and CancelX.
    CXButton* AddConfirmButton(uint32_t dwID, int x);
    int ConfirmX() const { return Width() - 100; }
    int CancelX() const { return Width() - 50; }

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

// The game's one message box: a notice or a question by its message number
// (or a text of the caller's), answered by the button pressed. Its result is
// 884 for the first button or Return, 883 for cancel, an extra button's id,
// or 0 when Escape closed it; its owner reads result and message number in
// OnEndMessageBoxPopup.
class CGameMessageBox : public CGamePopup {
public:
    enum : int { MODE_OK = 1, MODE_OK_CANCEL = 2, MODE_CANCEL_AND_CHOICES = 3 };
    virtual bool Show(int nMode, int nTextItem) = 0;
    int GetTextItem() const { return m_nTextItem; }
    // The caller's own text, shown by Show with message 0.
    void SetText(const std::string& text) { m_Text = text; }
    const std::string& GetText() const { return m_Text; }
    // A notice (OK alone) of this text: at once, or when the box closes if
    // it is open (an answer to it may lead to the notice).
    bool ShowNotice(const std::string& text);
    void OnClosed() override;

protected:
    int m_nTextItem = 0;
    std::string m_Text;
    std::string m_PendingNotice;
    bool m_bNoticePending = false;
};
// The message box the popups library made; null before it exists.
CGameMessageBox* GetGameMessageBox();
// Opens the message box over the top popup or the current screen; false
// when there is none or it cannot open.
bool ShowGameMessageBox(int nMode, int nTextItem);
// A notice (OK alone) of a message whose %s takes the detail.
bool ShowGameNotice(int nTextItem, const std::string& detail);

// The choice of a saved game to load, or of the name to save under. After
// it closed with 884 the owner loads or saves the chosen set.
class CGameSavesPopup : public CGamePopup {
public:
    virtual bool Show(bool bLoad) = 0;
    bool IsLoad() const { return m_bLoad; }
    // The set name of the chosen game (as CGame saves and loads it).
    const std::string& GetChosenSet() const { return m_ChosenSet; }

protected:
    bool m_bLoad = true;
    std::string m_ChosenSet;
};

// The scenario popup as the shell opens it: a scenario to choose for a new
// game (kChoosing), or the running scenario's page with one of its texts
// (0 the introduction, 1 failed, 2 achieved).
class CGameScenarioPopup : public CGamePopup {
public:
    static constexpr uint8_t kChoosing = 255;
    virtual bool Show(uint8_t byFixedScenario, uint8_t byTextKind) = 0;
};

// The colour and contrast colour of the last DrawColourBoxPair.
extern COLORREF g_crColourBoxFill;
extern COLORREF g_crColourBoxText;
