#include "editor/EditorLook.h"

#include "xframework/CXManager.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include <cstring>

void DrawEditorGroup(plat::DeviceContext* pDC, int nLeft, int nTop, int nRight, int nBottom, const char* pszCaption)
{
    DrawRectOutline(pDC, nLeft, nTop, nRight, nBottom, kEditorFrame, 1);
    if (!pszCaption || !*pszCaption)
        return;
    pDC->selectFont(g_hSmallBoldFont);
    plat::Size size{0, 0};
    pDC->getTextExtentPoint(pszCaption, static_cast<int>(std::strlen(pszCaption)), &size);
    DrawFilledRect(pDC, nLeft + 8, nTop - 1, nLeft + 14 + size.cx, nTop + 1, kEditorBackground);
    pDC->setBkMode(plat::TRANSPARENT);
    DrawTextF(pDC, nLeft + 11, nTop - 8, kEditorHeading, "%s", pszCaption);
}

void DrawEditorLabel(plat::DeviceContext* pDC, int x, int y, const char* pszText)
{
    pDC->selectFont(g_hSmallFont);
    pDC->setBkMode(plat::TRANSPARENT);
    DrawTextF(pDC, x, y, kEditorText, "%s", pszText ? pszText : "");
}

CXSurface* MakeEditorBackground(CXClient& client, COLORREF crFill)
{
    auto* pSurface = new CXSurface;
    if (!pSurface->Create(client.Width(), client.Height(), false, false)) {
        delete pSurface;
        return nullptr;
    }
    pSurface->Fill(crFill);
    return pSurface;
}
