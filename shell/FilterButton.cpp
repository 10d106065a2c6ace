#include "shell/FilterButton.h"

#include "shell/CGame.h"

#include "xframework/CXButton.h"
#include "xframework/CXClient.h"

CXButton* AddFilterButton(CXClient& screen, uint32_t dwID, int x, int y, std::unique_ptr<CXSurface>& pFace)
{
    pFace.reset(LoadMainArchiveBitmap("btnFiltr.bmp", true));
    auto* pButton = static_cast<CXButton*>(screen.AddControlXYWH(XCONTROL_BUTTON, x, y, 16, 16, dwID, nullptr));
    if (pButton && pFace)
        pButton->SetBitmap(pFace.get(), 0, 0, true, true);
    return pButton;
}
