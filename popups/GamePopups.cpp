#include "popups/GamePopups.h"

#include "popups/CPopupMessageBox.h"

void CreateGamePopups()
{
    static bool s_bCreated = false;
    if (s_bCreated)
        return;
    s_bCreated = true;
    // They live to the end of the program.
    static CPopupMessageBox s_MessageBox;
}
