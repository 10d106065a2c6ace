#include "popups/SavedFileList.h"

#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"

#include "xframework/CXClient.h"
#include "xframework/CXEdit.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <ctime>
#include <memory>

namespace saved_files {

namespace {

constexpr COLORREF kRowColour = 0xFFFFFF;
constexpr uint32_t kScrollUpID = 885;
constexpr uint32_t kScrollDownID = 886;
constexpr int kRowHeight = 16;
constexpr int kBarWidth = 470;

}  // namespace

CXSurface* SelectionBar()
{
    static std::unique_ptr<CXSurface> s_pBar;
    if (!s_pBar) {
        s_pBar = std::make_unique<CXSurface>();
        if (s_pBar->Create(kBarWidth, kRowHeight, false, false))
            s_pBar->Fill(plat::RGB(70, 110, 150));
        else
            s_pBar.reset();
    }
    return s_pBar.get();
}

CXListBox* AddList(CXClient& popup, uint32_t dwListID, uint32_t dwBarID, int nLeft, int nTop, int nRight, int nBottom,
                   const LISTCOLUMN* pColumns)
{
    auto* pBar = static_cast<CXScrollBar*>(popup.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
    if (pBar)
        pBar->Create(kScrollUpID, kScrollDownID, kRowHeight, false, 0);
    auto* pList = static_cast<CXListBox*>(popup.AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwListID,
                                                           nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar,
                 true, SelectionBar(), false, 0, false, true, false);
    pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, nBottom - nTop, false);
    pList->SetAutoRedraw(true);
    if (const auto* pGame = dynamic_cast<const CGame*>(g_pGame))
        pList->SetDateOrder(pGame->GetOptions().m_nDate);
    return pList;
}

int Fill(CXListBox& list, const std::vector<FILEROW>& files)
{
    list.ResetContent();
    for (const FILEROW& file : files) {
        const std::time_t written = static_cast<std::time_t>(file.nWrittenTime);
        std::tm utc = {};
        gmtime_r(&written, &utc);
        list.AddString(kRowColour, "%s\t%s", FormatDate(utc.tm_mday, utc.tm_mon + 1, utc.tm_year + 1900),
                       file.name.c_str());
    }
    list.Sort(1, true, LISTSORT_TEXT, 0);
    if (list.GetCount() > 0)
        list.SetSelection(0);
    list.UpdateScrollBar();
    list.Redraw();
    return list.GetCount();
}

std::string TypedName(const CXEdit* pName)
{
    std::string name = pName && pName->Text() ? pName->Text() : "";
    if (const size_t nDot = name.find('.'); nDot != std::string::npos)
        name.resize(nDot);
    return name;
}

std::string ChosenName(const CXListBox* pList)
{
    char szName[LISTBOX_ROW_TEXT_SIZE] = {};
    if (pList && pList->GetSelection() >= 0)
        pList->GetColumnText(pList->GetSelection(), 1, szName);
    return szName;
}

}  // namespace saved_files
