#pragma once
// What the individual and the team training screens share about handing
// the training to the assistant manager: the human's delegation byte and
// the delegate button, shown only while an assistant can take the job on.
#include <cstdint>
#include <functional>

class CClubDatabase;
class CSaveGame;
class CXClient;

namespace training_delegation {

// Hands the training to the assistant in style 1 (attacking) to 3
// (defensive); false for no human or another style.
bool Delegate(CSaveGame* pHuman, uint8_t byPreference);

// The style of the way chosen in the question (defensive, balanced,
// attacking), 0 for none.
uint8_t StyleOfChoice(int nChoice);

// Brings the screen in line with the human's delegation: a change on the
// screen (bChanged) takes the job back first. While the human trains, the
// delegate button shows when the club has an assistant manager; while the
// assistant does, onDelegated takes his plan onto the screen and the button
// goes. The human's resolved notices are cleared either way.
void Update(CXClient& screen, uint32_t dwDelegateButton, CSaveGame* pHuman, const CClubDatabase* pClub,
            bool bChanged, const std::function<void()>& onDelegated);

}  // namespace training_delegation
