#pragma once
// What the screens that hand a job to a staff member share (the training
// screens, merchandise and catering, ticket prices): the bottom button that
// asks in the message box which of three ways he is to do it, a button per
// way, and the undo and undo-all buttons, undoing all after a question.
#include <array>
#include <cstdint>
#include <functional>

class CGameMessageBox;
class CXClient;

namespace choice_question {

struct Buttons {
    uint32_t dwAsk, dwUndo, dwUndoAll;
    int nAskText, nUndoAllText;
    // The message box's buttons for the three ways, in the order shown.
    std::array<uint32_t, 3> adwChoices;
};

// A click on one of the three bottom buttons: asking puts the question,
// undo calls onUndoLast, undo all asks first. Answers whether the id was one
// of them.
bool OnBottomButton(uint32_t dwID, const Buttons& buttons, const std::function<void()>& onUndoLast);

// The message box closing over one of the two questions: onChoice gets the
// way chosen (0-2, -1 for none); OK on undoing all calls onUndoAll. Answers
// whether the box asked one of them.
bool OnAnswer(const CGameMessageBox& box, const Buttons& buttons, const std::function<void(int)>& onChoice,
              const std::function<void()>& onUndoAll);

// The undo buttons show while there is something to undo.
void ShowUndoButtons(CXClient& screen, const Buttons& buttons, bool bUndoable);

}  // namespace choice_question
