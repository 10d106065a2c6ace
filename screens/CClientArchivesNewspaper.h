#pragma once
// The newspaper archive (screen 39): the printed stories of the current
// human manager's country, read ones and unread ones as the filter says
// (unread in bold with their mark), the chosen story printed on the page
// and read from then on, and a copy of it kept in his scrapbook after a
// question.
#include "screens/CClientArchivesStories.h"

#include <memory>

class CXAnimation;

class CClientArchivesNewspaper : public CClientArchivesStories {
public:
    enum : uint32_t { ID_LIST = 426, ID_KEEP = 427, ID_FILTER = 981 };
    // The filter: bit 0 lists read stories, bit 1 unread ones.
    enum : uint8_t { SHOW_READ = 1, SHOW_UNREAD = 2 };
    enum : int { ASK_KEEP = 10 };
    // The filter panel's choices, in filter-bit order.
    static constexpr int kFilterTextSet = 41;

    CClientArchivesNewspaper();
    ~CClientArchivesNewspaper() override;

    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;
    void OnEndPopup(CXPopup* pPopup) override;

    // A new filter; the list is filled again when it changed.
    void SetFilter(uint8_t byFilter);
    uint8_t GetFilter() const { return m_byFilter; }

protected:
    uint32_t ListID() const override { return ID_LIST; }
    uint32_t ButtonID() const override { return ID_KEEP; }
    const LISTCOLUMN* Columns() const override;
    int DateColumn() const override { return 3; }
    int CaptionSet() const override { return 199; }
    CNewspaperStoryList* Stories() const override;
    bool IsListed(const CNewspaperStory& story) const override;
    int AddRow(const CNewspaperStory& story, const char* pszKind, const char* pszHeadline,
               const char* pszDate) override;
    void OnStoryShown(int nRow, CNewspaperStory& story) override;
    void OnOpen() override;

private:
    bool IsRead(const CNewspaperStory& story) const;
    void MarkRow(int nRow, bool bRead);

    uint8_t m_byFilter = SHOW_READ | SHOW_UNREAD;
    std::unique_ptr<CXSurface> m_pIconStrip;
    std::unique_ptr<CXAnimation> m_apIcons[2];
    std::unique_ptr<CXSurface> m_pFilterFace;
};

// The one newspaper archive screen object.
CClientArchivesNewspaper& GetArchivesNewspaperScreen();
