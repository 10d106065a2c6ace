#include "popups/GamePopups.h"

void CreateGamePopups()
{
    static bool s_bCreated = false;
    if (s_bCreated)
        return;
    s_bCreated = true;
}
