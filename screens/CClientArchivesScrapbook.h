#pragma once
// The scrapbook (screen 40): the stories the current human manager kept
// from the newspaper, each printed on the page when chosen and taken out
// after a question; with the last one gone the home screen comes back.
#include "screens/CClientArchivesStories.h"

class CClientArchivesScrapbook : public CClientArchivesStories {
public:
    enum : uint32_t { ID_LIST = 430, ID_REMOVE = 429 };
    enum : int { ASK_REMOVE = 11 };

    CClientArchivesScrapbook();

    void OnClicked(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;

protected:
    uint32_t ListID() const override { return ID_LIST; }
    uint32_t ButtonID() const override { return ID_REMOVE; }
    const LISTCOLUMN* Columns() const override;
    int DateColumn() const override { return 2; }
    int CaptionSet() const override { return 200; }
    CNewspaperStoryList* Stories() const override;
    int AddRow(const CNewspaperStory& story, const char* pszKind, const char* pszHeadline,
               const char* pszDate) override;
};

// The one scrapbook screen object.
CClientArchivesScrapbook& GetArchivesScrapbookScreen();
