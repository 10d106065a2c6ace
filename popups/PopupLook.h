#pragma once
// What the settings popups of this folder share: drop-downs whose rows are
// texts of a table with their stored values as item data, and pale yellow
// labels.
#include "xframework/CXSurface.h"

#include <cstdint>
#include <memory>

class CXListBoxEx;

class CClubDatabase;
class CFileManager;
class CFormScript;
class CXAnimation;
class CXListBox;
class CGamePopup;
class CSaveGame;
class CXClient;
class CXComboBox;
class CXEdit;
class CXScrollBar;
class CXStatic;
struct LISTCOLUMN;

namespace popup_look {

constexpr COLORREF kLabelColour = plat::RGB(255, 253, 173);

// The pale yellow labels of a text description onto the panel.
void DrawLabels(CXSurface* pPanel, int nDescription);
// The popup frame drawn whole and moved down below a colour-keyed strip of
// nTabStrip pixels that holds the page tabs, its bottom edge kept.
void DrawFrameBelowTabs(CGamePopup& popup, int nTabStrip);
// The two 16 x 16 arrows at (8, 34) and (26, 34) that step through the list
// of the screen behind, in the faces of the popup's arrow strip.
void AddBrowseArrows(CXClient& popup, uint32_t dwPreviousID, uint32_t dwNextID, CXSurface* pFaces);
// The confirm and cancel pair at their places.
void AddAnswerButtons(CGamePopup& popup);
// The name line of a details popup (medium font, in the title colour) and the
// right-aligned line beside it; returns the second for its colour.
CXStatic* AddDetailsTitle(CXClient& popup, uint32_t dwTitleID, uint32_t dwSideID, int nPopupWidth,
                          COLORREF crTitle);
// The human manager whose turn it is; null without a game.
CSaveGame* CurrentHuman();
// A list row carried by the mouse: its cells drawn on blue onto the image
// (magenta kept clear; the picture column left empty, the name column left
// aligned, the others right aligned) and shown below and right of the
// pointer at (x, y) of the screen, cut at the 800 x 600 display. Returns the
// screen rectangle drawn, empty when nothing showed.
plat::Rect DrawCarriedRow(const CXListBoxEx& list, int nRow, COLORREF crText, int nNameColumn,
                          int nPictureColumn, CXSurface& image, CXSurface& screen, int x, int y);
// The two colour boxes in the colours of the manager's club (green and white
// without one).
void DrawClubColourBoxes(CGamePopup& popup);
// The same in a given club's colours (green and white for none).
void DrawClubColourBoxes(CGamePopup& popup, const CClubDatabase* pClub);
// The period a yearly wage is shown in by the ContractsSalaries option (1
// months, 2 years, else weeks), as FormatMoney takes it.
uint8_t WagePeriod();
// A figure the popup fills in: a label 18 high in the value colour, aligned
// as a label's alignment says.
CXStatic* AddValueLabel(CXClient& popup, uint32_t dwID, int x, int y, int nWidth, uint8_t byAlignment = 0);
// An edit of whole numbers (money when bMoney) with its spin buttons, its
// length and its range.
CXEdit* AddNumberEdit(CXClient& popup, uint32_t dwID, int x, int y, int nWidth, bool bMoney, int nMaxLength,
                      uint32_t dwUpID, uint32_t dwDownID, int nStep, int nMinimum, int nMaximum);
// The edit's text as an amount of money in the stored unit, truncated.
int32_t ReadMoney(const CXEdit* pEdit);

// A one-column table of a width for lists and drop-downs; it lives as long
// as the program.
const LISTCOLUMN* TextColumn(int nWidth);
// A drop-down over the rectangle (the closed box on its top row).
CXComboBox* AddDropDown(CXClient& popup, uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom);
// The same with columns of the caller's (a table that outlives the box),
// and the scroll bar its open list takes when it is long.
CXComboBox* AddDropDown(CXClient& popup, uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom,
                        const LISTCOLUMN* pColumns, CXScrollBar* pScrollBar = nullptr);
// A row of a table's item text, or the text given, with its stored value.
void AddRow(CXComboBox* pBox, int nTable, int nItem, uint32_t dwValue);
void AddTextRow(CXComboBox* pBox, const char* pszText, uint32_t dwValue);
// One row for each nation of the nation names (1-101) that has a name, by
// name, with the nation's number and its flag at the right of the row.
void AddNationRows(CXComboBox* pBox);
// Selects the row holding the value; false (and the selection kept) when
// no row holds it.
bool SelectValue(CXComboBox* pBox, uint32_t dwValue);
// The value of the selected row; the fallback without a selection.
uint32_t SelectedValue(const CXComboBox* pBox, uint32_t dwFallback);

// A list of wrapped text rows over the rectangle with its scroll bar (the
// bar's arrows are dwUpID and dwUpID + 1), rows 16 high in the small font.
CXListBox* AddTextList(CXClient& popup, uint32_t dwID, uint32_t dwBarID, uint32_t dwUpID, int nLeft, int nTop,
                       int nRight, int nBottom);
// A details popup's list over the rectangle with its scroll bar (arrows
// dwUpID and dwUpID + 1): rows 16 high in the small font, in the details'
// cell colours; bDates shows dates in the options' order.
CXListBox* AddDetailsList(CXClient& popup, uint32_t dwID, uint32_t dwBarID, uint32_t dwUpID, int nLeft, int nTop,
                          int nRight, int nBottom, const LISTCOLUMN* pColumns, bool bCentred, bool bDates);
// Empties the list and fills it with the text wrapped to its width, in
// white; a tab or a new line starts a new row and an empty line stays a
// blank row. Then scrolls to the top.
void SetListText(CXListBox* pList, const char* pszText);
// The small faces of the popups' caption buttons and arrows ("btnArrw.bmp")
// loaded into pFaces, with the print button's own face on the popup's print
// button; answers the faces (null when the bitmap is missing).
CXSurface* LoadSmallFacesWithPrint(CXClient& popup, std::unique_ptr<CXSurface>& pFaces);
// A bitmap of the game's shared set; null without a game or the bitmap.
CXSurface* SharedFace(const char* pszName);

// What the player and the youth details popups share: the position beside
// the title as its name with its icon (kept in pIcon), the scout's and the
// trainer's report forms in the options' language, and the personal figures
// of the details page at their places.
void ShowPosition(CXStatic* pPosition, uint8_t byPosition, std::unique_ptr<CXAnimation>& pIcon);
void LoadReports(CFormScript& scout, CFormScript& trainer);
struct PERSONVALUES {
    uint32_t dwBirth, dwAge, dwNationality, dwRole, dwMorale, dwRating;
};
void AddPersonValues(CXClient& popup, const PERSONVALUES& ids);

// A bitmap of an open archive; null when the member is missing or damaged.
CXSurface* LoadArchiveBitmap(CFileManager& archive, const char* pszName, bool bColorKey);

}  // namespace popup_look
