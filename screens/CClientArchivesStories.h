#pragma once
// What the newspaper and scrapbook archives share: a list of newspaper
// stories (kind, headline, date) above the page the chosen story is printed
// on, one bottom button that acts on the chosen story, and the news script
// and page background the page is drawn with.
#include "shell/CFormScript.h"
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>
#include <vector>

class CNewspaperStory;
class CNewspaperStoryList;
class CSaveGame;
class CXListBox;
class CXSurface;
struct LISTCOLUMN;

class CClientArchivesStories : public CGameClient {
public:
    CClientArchivesStories();
    ~CClientArchivesStories() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnPrint() override {}

    // The list filled again from the stories, the first row chosen and shown.
    void FillStoryList();
    CXListBox* GetStoryList() const { return m_pList; }
    // The story of the chosen row while it is still in the list it came
    // from; null otherwise.
    CNewspaperStory* GetSelectedStory() const;

protected:
    // The screen's own parts: its list's control id and columns, its bottom
    // button, the stories it lists, which of them it shows, the row's text
    // and the work of showing a row.
    virtual uint32_t ListID() const = 0;
    virtual uint32_t ButtonID() const = 0;
    virtual const LISTCOLUMN* Columns() const = 0;
    virtual int DateColumn() const = 0;
    virtual int CaptionSet() const = 0;
    virtual CNewspaperStoryList* Stories() const = 0;
    virtual bool IsListed(const CNewspaperStory&) const { return true; }
    virtual int AddRow(const CNewspaperStory& story, const char* pszKind, const char* pszHeadline,
                       const char* pszDate) = 0;
    // A row chosen and drawn on the page.
    virtual void OnStoryShown(int, CNewspaperStory&) {}
    // Opening work of the screen before its list is filled.
    virtual void OnOpen() {}
    static CSaveGame* Human();
    // The chosen row with the stories' list checked, -1 for none.
    int SelectedRow() const;

    CXListBox* m_pList = nullptr;

private:
    void EnableButton(bool bEnabled);

    CFormScript m_Script;
    std::unique_ptr<CXSurface> m_pPage;
    // The story of each row, by the row's data.
    std::vector<CNewspaperStory*> m_RowStories;
};
