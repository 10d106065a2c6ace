#pragma once
// The game's one message box (screen id 80): a notice or a question in a
// small framed popup over whatever is open, with the button set of its mode:
// 1 OK alone, 2 OK and Cancel, 3 Cancel with the caller's extra choices
// (each closes the box), any other mode only the extra choices and the
// keys. The text is a message of the language's message table, or the
// caller's own text (message 0), kept as a copy while the box is open.
#include "shell/CGamePopup.h"

#include <string>
#include <vector>

class CPopupMessageBox : public CGameMessageBox {
public:
    static constexpr int kWidth = 340;
    static constexpr int kHeight = 140;
    static constexpr int kLeft = 310;
    static constexpr int kTop = 255;
    static constexpr int kMessageSet = 95;
    static constexpr int kCaptionItem = 21;

    CPopupMessageBox();
    ~CPopupMessageBox() override;

    // Opens the box with the mode's buttons and message nTextItem; with
    // message 0 the text set by SetText stays. False when the box is open
    // already or the popup stack is full.
    bool Show(int nMode, int nTextItem) override;
    // The caller's own text, shown by Show with message 0.
    void SetText(const std::string& text) override { m_Text = text; }
    // Extra choices (control ids, each an 84 x 26 button from the left), for
    // the next opening only.
    void SetExtraButtons(std::vector<uint32_t> ids) { m_ExtraButtons = std::move(ids); }

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    int GetMode() const { return m_nMode; }
    const std::string& GetText() const { return m_Text; }

private:
    int m_nMode = MODE_OK;
    std::string m_Text;
    std::vector<uint32_t> m_ExtraButtons;
};
