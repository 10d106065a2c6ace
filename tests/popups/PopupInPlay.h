#pragma once
// A game in play (see ScreenInPlay) with the game's global popups made; every
// popup a test leaves open is closed before the game ends.
#include "../screens/ScreenInPlay.h"

#include "popups/GamePopups.h"
#include "xframework/CXListBox.h"
#include "xframework/CXPopup.h"

class PopupInPlay : public ScreenInPlay {
protected:
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    // A double click on a list row, at x within the list.
    static void DoubleClickRow(CXListBox* pList, int nRow, int x)
    {
        ASSERT_NE(pList, nullptr);
        const int y = (nRow - pList->GetFirstVisible()) * 16 + 8;
        pList->OnMouseMove(0, x, y);
        pList->OnLButtonDblClk(0, x, y);
    }
};
