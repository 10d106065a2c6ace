#pragma once
// The editor's colours and the small drawing helpers its dialogs share.
#include "shell/CGame.h"
#include "xframework/CXClient.h"
#include "xframework/CXSurface.h"

#include "platform/DeviceContext.h"

#include <functional>
#include <memory>

class CXEdit;
class CXListBox;
struct LISTCOLUMN;
class CXButton;
class CXComboBox;

constexpr COLORREF kEditorBackground = plat::RGB(28, 52, 78);
constexpr COLORREF kEditorPanel = plat::RGB(36, 66, 98);
constexpr COLORREF kEditorFrame = plat::RGB(110, 150, 190);
constexpr COLORREF kEditorHeading = plat::RGB(240, 190, 40);
constexpr COLORREF kEditorText = plat::RGB(236, 236, 228);
constexpr COLORREF kEditorRowText = plat::RGB(210, 222, 232);

// A framed group with its caption on the frame's top edge.
// crFill is the colour behind the frame, which the caption's gap shows.
void DrawEditorGroup(plat::DeviceContext* pDC, int nLeft, int nTop, int nRight, int nBottom, const char* pszCaption,
                     COLORREF crFill = kEditorBackground);
// A label's text at (x, y) in the small font.
void DrawEditorLabel(plat::DeviceContext* pDC, int x, int y, const char* pszText);
// A fresh background surface of the client's size, filled; null when none
// can be made. The caller releases nothing: the client owns it.
CXSurface* MakeEditorBackground(CXClient& client, COLORREF crFill);
// A dialog box's background: the panel framed, with its title band
// captioned at the top; draw paints the rest onto the same device context
// (transparent text, the bold font chosen). Null when none can be made.
CXSurface* MakeEditorDialogFrame(CXClient& client, const char* pszTitle,
                                 const std::function<void(plat::DeviceContext*)>& draw);
// The fill behind a list's chosen row, nWidth wide; null when none can be made.
std::unique_ptr<CXSurface> MakeEditorSelection(int nWidth);
// The editor's controls, added to the client: an edit field in the small font
// (digits only when numeric, without thousands separators), a one-column
// list with its scroll bar (ids dwBarID to dwBarID + 2) that tells its owner
// of a chosen row and a double-click, its columns kept by the list (a table that outlives it),
// and a button whose caption comes from the editor's table: 84 pixels wide
// on the shared face, or as wide as half the face given.
CXEdit* AddEditorEdit(CXClient& client, uint32_t dwID, int x, int y, int nWidth, int nMaxLength, bool bNumeric);
CXListBox* AddEditorList(CXClient& client, uint32_t dwID, uint32_t dwBarID, int x, int y, int nWidth, int nHeight,
                         const LISTCOLUMN* pColumns, CXSurface* pSelection);
CXButton* AddEditorButton(CXClient& client, uint32_t dwID, int x, int y, CXSurface* pFace = nullptr);
// A drop-down list nDropHeight tall when open, which scrolls (its hidden bar
// takes ids dwBarID to dwBarID + 2) when its rows do not all fit.
CXComboBox* AddEditorCombo(CXClient& client, uint32_t dwID, uint32_t dwBarID, int x, int y, int nWidth,
                           int nDropHeight);
// A caption button face nWidth wide (released at x 0, pressed at x nWidth),
// stretched from the shared 84-pixel face; null when none can be made.
std::unique_ptr<CXSurface> MakeEditorButtonFace(int nWidth);
