#pragma once
// The credits on four pages chosen by the buttons below: the people who made
// the game, each with a picture of the one chosen; the tools of the data kit
// under two lines of text; three notices with their icons; and a free text
// read from the language's help folder.
#include "shell/CFileManager.h"
#include "shell/CGamePopup.h"

#include <array>
#include <cstdint>
#include <memory>

class CXAnimation;
class CXListBox;
class CXSurface;

class CPopupCredits : public CGamePopup {
public:
    enum : uint32_t {
        ID_FIRST_PAGE = 624,  // 624-627: pages 0 to 3
        ID_TITLE = 1056,
        ID_LIST = 525,
        ID_FREE_TEXT = 10001,
        ID_HEADER_TEXT = 10002,
        ID_NOTICES = 10003,
    };
    static constexpr int kPages = 4;
    // A credit: a picture's file name or the first column, and two texts.
    struct CREDITRECORD {
        const char* pszFirst;
        const char* pszText;
        const char* pszSecond;
    };

    CPopupCredits();
    ~CPopupCredits() override;

    // The records of one of the three credit lists (0-2), ended by a record
    // of nulls.
    static const CREDITRECORD* GetCredits(int nList);

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;

    int GetPage() const { return m_nPage; }
    // The picture shown on page 0 (its file name; empty for none).
    const char* GetShownPicture() const { return m_pszShownPicture; }

private:
    void ShowPage(int nPage);
    void ShowPicture();
    CXListBox* List(uint32_t dwID) const;

    int m_nPage = 0;
    const char* m_pszShownPicture = "";
    CFileManager m_Archive;
    std::unique_ptr<CXSurface> m_pNotices;
    std::array<std::unique_ptr<CXAnimation>, 3> m_Icons;
};
