#pragma once
// Control type 12: one month as a grid of day numbers (weeks from Sunday)
// under a strip of day names, with today framed, the chosen day filled,
// marked days in their own colour, the day under the pointer lit and a
// tooltip that names the full date. The month moves between 1999 and 2037.
#include "xframework/CXControl.h"

#include "common/CDate.h"

#include <cstdint>
#include <memory>

// A table text (set, item) of the language, or null; the calendar names
// months (set 128, by month number) and weekdays (set 129, 0 Sunday).
using TableTextLookup = const char* (*)(int nSet, int nItem);
extern TableTextLookup g_pfnTableText;

// One entry of a day-name list: the control-text id of the name. A list
// ends with CALENDAR_DAY_NAMES_END.
struct CALENDARDAYNAME {
    uint16_t wTextID;
    uint16_t wSpare;
    uint32_t dwSpare;
};
constexpr uint16_t CALENDAR_DAY_NAMES_END = 0xFFFF;
constexpr int CALENDAR_FIRST_YEAR = 1999;
constexpr int CALENDAR_LAST_YEAR = 2037;

class CXCalendar : public CXControl {
public:
    CXCalendar();
    ~CXCalendar() override;

    // Today, the chosen date and the shown month all become the date; no
    // drawing.
    void SetDate(uint32_t dwDate);
    void SetDayNames(const CALENDARDAYNAME* pNames);
    void DrawDayNames();
    void DrawMonth();
    void NextMonth();
    void PreviousMonth();
    bool IsDayMarked(int nDay) const { return (m_dwMarkedDays >> (nDay & 31)) & 1; }
    void MarkDay(int nDay) { m_dwMarkedDays |= 1u << (nDay & 31); }
    // The day at a point relative to the control, 0 for none.
    int DayAt(int x, int y) const;
    // Column and row of a day of the shown month.
    void DayCell(int nDay, int* pnColumn, int* pnRow) const;
    int DaysInShownMonth() const { return m_ShownMonth.GetDaysInMonth(); }

    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void Show(bool bVisible, bool bRedraw) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnMouseLeave() override;
    void GetToolTipText(char* pszText) override;

    CDate m_Today;
    CDate m_ShownMonth{CALENDAR_FIRST_YEAR, 4, 1};
    CDate m_Chosen;
    uint32_t m_dwMarkedDays = 0;
    int32_t m_nHoverDay = 0;
    int32_t m_nChosenDay = 0;
    COLORREF m_crMarked = 0x0000FF00;
    COLORREF m_crChosenFill = 0x00610000;
    COLORREF m_crTodayFrame = 0x000096FF;
    COLORREF m_crDayNames = 0x00FFFFFF;

private:
    int ColumnWidth() const { return Width() / 7; }
    int RowHeight() const { return Height() / 6; }
    void DrawDay(int nDay, COLORREF crColour);

    std::unique_ptr<CXSurface> m_pHeader;
    const CALENDARDAYNAME* m_pDayNames = nullptr;
    // The cells are darkened on the owner's background once, not at every
    // showing.
    uint8_t m_bCellsShaded = 0;
};
