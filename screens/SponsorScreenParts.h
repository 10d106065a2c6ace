#pragma once
// What the sponsor screen and the ground hoardings screen share: the 50
// advertisers' logos cut from the language's logo sheet, drawn in list rows
// and under the mouse while one is dragged, and the bottom buttons that come
// and go with the undo history and the commercial manager.
#include "xframework/CXAnimation.h"
#include "xframework/CXSurface.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CClubDatabase;
class CSaveGame;
class CXClient;

namespace sponsor_parts {

// The logos by index (an advertiser's or sponsor's id, 1-49; 0 stands for
// none): five to a row of the sheet, 128 x 32 each.
class Logos {
public:
    static constexpr int kCount = 50, kWidth = 128, kHeight = 32, kPerRow = 5;

    // The sheet of the language the options name; without one no logo is
    // drawn. Answers whether a sheet was loaded.
    bool Load();
    void Free();
    // Null for an index out of range or without a sheet.
    CXAnimation* Get(int nIndex) const;
    // Draws a logo keyed at (x, y) of the target, cut where it leaves the
    // target (a negative x or y cuts its left or top).
    void DrawKeyed(CXSurface* pTarget, int nIndex, int x, int y) const;

private:
    std::unique_ptr<CXSurface> m_pSheet;
    std::array<std::unique_ptr<CXAnimation>, kCount> m_apLogo;
};

// Blits part of a surface keyed onto the target at (x, y), cut to the target.
void BlitKeyedClipped(CXSurface* pTarget, CXSurface* pSource, int nSourceX, int nSourceY, int nWidth, int nHeight,
                      int x, int y);

// Shades the panel x1..x2-1, y1..y2-1 of the client's own background.
void ShadePanel(CXClient& client, CXSurface* pBackground, int x1, int y1, int x2, int y2);

// A button put in use and shown, or out of use and wiped off the screen.
void ShowButton(CXClient& client, uint32_t dwID, bool bShown);

// Whether the club has a commercial manager, who takes the placing on.
bool HasCommercialManager(const CClubDatabase* pClub);

// The kit's first and second colours for the colour boxes: the club's home
// kit, or the defaults without a club.
void DrawClubColourBoxes(CXSurface* pTarget, const CClubDatabase* pClub);

// The two questions both screens ask in the message box, once it closes: OK
// on handing the placing to staff sets the human's delegation byte and calls
// onDelegated; OK on undoing every change calls onUndoAll. Any other answer
// or message does nothing.
void AnswerQuestion(CSaveGame& human, uint8_t byDelegation, int nDelegateText, int nUndoAllText,
                    const std::function<void()>& onDelegated, const std::function<void()>& onUndoAll);

// The ids of a screen's three bottom buttons and the message-box texts of
// its two questions.
struct BottomButtons {
    uint32_t dwAutomatic, dwUndo, dwUndoAll;
    int nDelegateText, nUndoAllText;
};

// A click on one of the bottom buttons: handing the placing to staff and
// undoing every change ask their question in the message box, undo calls
// onUndoLast. Answers whether the id was one of the three.
bool OnBottomButton(uint32_t dwID, const BottomButtons& buttons, const std::function<void()>& onUndoLast);

}  // namespace sponsor_parts
