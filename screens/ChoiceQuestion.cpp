#include "screens/ChoiceQuestion.h"

#include "popups/CPopupMessageBox.h"
#include "shell/CGamePopup.h"

#include "xframework/CXClient.h"

#include <algorithm>
#include <vector>

namespace choice_question {

namespace {

constexpr uint32_t kConfirm = 884;

}  // namespace

bool OnBottomButton(uint32_t dwID, const Buttons& buttons, const std::function<void()>& onUndoLast)
{
    if (dwID == buttons.dwAsk) {
        if (auto* pBox = dynamic_cast<CPopupMessageBox*>(GetGameMessageBox()))
            pBox->SetExtraButtons(std::vector<uint32_t>(buttons.adwChoices.begin(), buttons.adwChoices.end()));
        ShowGameMessageBox(CGameMessageBox::MODE_CANCEL_AND_CHOICES, buttons.nAskText);
    } else if (dwID == buttons.dwUndo) {
        onUndoLast();
    } else if (dwID == buttons.dwUndoAll) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, buttons.nUndoAllText);
    } else {
        return false;
    }
    return true;
}

bool OnAnswer(const CGameMessageBox& box, const Buttons& buttons, const std::function<void(int)>& onChoice,
              const std::function<void()>& onUndoAll)
{
    if (box.GetTextItem() == buttons.nAskText) {
        const auto it = std::find(buttons.adwChoices.begin(), buttons.adwChoices.end(), box.m_dwResultID);
        onChoice(it == buttons.adwChoices.end() ? -1 : static_cast<int>(it - buttons.adwChoices.begin()));
        return true;
    }
    if (box.GetTextItem() == buttons.nUndoAllText) {
        if (box.m_dwResultID == kConfirm)
            onUndoAll();
        return true;
    }
    return false;
}

void ShowUndoButtons(CXClient& screen, const Buttons& buttons, bool bUndoable)
{
    for (uint32_t dwID : {buttons.dwUndo, buttons.dwUndoAll})
        if (CXControl* pButton = screen.FindControl(dwID))
            pButton->Show(bUndoable, true);
}

}  // namespace choice_question
