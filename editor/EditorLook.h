#pragma once
// The editor's colours and the small drawing helpers its dialogs share.
#include "shell/CGame.h"
#include "xframework/CXClient.h"
#include "xframework/CXSurface.h"

#include "platform/DeviceContext.h"

constexpr COLORREF kEditorBackground = plat::RGB(28, 52, 78);
constexpr COLORREF kEditorPanel = plat::RGB(36, 66, 98);
constexpr COLORREF kEditorFrame = plat::RGB(110, 150, 190);
constexpr COLORREF kEditorHeading = plat::RGB(240, 190, 40);
constexpr COLORREF kEditorText = plat::RGB(236, 236, 228);
constexpr COLORREF kEditorRowText = plat::RGB(210, 222, 232);

// A framed group with its caption on the frame's top edge.
void DrawEditorGroup(plat::DeviceContext* pDC, int nLeft, int nTop, int nRight, int nBottom, const char* pszCaption);
// A label's text at (x, y) in the small font.
void DrawEditorLabel(plat::DeviceContext* pDC, int x, int y, const char* pszText);
// A fresh background surface of the client's size, filled; null when none
// can be made. The caller releases nothing: the client owns it.
CXSurface* MakeEditorBackground(CXClient& client, COLORREF crFill);
