#pragma once
// The mail archive (screen 38): the current human manager's filed letters,
// newest last as they were filed, with the sender, the subject and the day;
// the chosen letter in full below, addressed to him and signed by its
// sender; the letter deleted, or every letter, after a question; and a
// button to the screen a letter is about.
#include "shell/CFormScript.h"
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDatabaseHandler;
class CNewsItem;
class CSaveGame;
class CXAnimation;
class CXListBox;
class CXSurface;

class CClientArchivesMail : public CGameClient {
public:
    enum : uint32_t {
        ID_GO_TO = 417,
        ID_LETTERS = 418,
        ID_LETTER = 419,
        ID_DELETE = 423,
        ID_DELETE_ALL = 424,
    };
    // Message-box questions.
    enum : int { ASK_DELETE = 61, ASK_DELETE_ALL = 73 };
    // The filter: bit 0 lists read letters, bit 1 unread ones.
    enum : uint8_t { SHOW_READ = 1, SHOW_UNREAD = 2 };

    CClientArchivesMail();
    ~CClientArchivesMail() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnPrint() override;
    void OnEndMessageBoxPopup() override;

    // The screen a letter's target code leads to; -1 for a code that leads
    // nowhere (or to a popup).
    static int GetTargetScreen(int nCode);
    // The letter as its rows: the greeting, the body, the closing and the
    // sender's name.
    std::vector<std::string> BuildLetter(const CNewsItem& item) const;
    // The sender's column of the list.
    std::string SenderName(const CNewsItem& item) const;

    void FillMailList();
    CXListBox* GetLetterList() const { return m_pLetters; }
    CXListBox* GetLetterText() const { return m_pLetter; }
    // The letter of the selected row, or null.
    CNewsItem* GetSelectedLetter() const;
    uint8_t m_byFilter = SHOW_READ | SHOW_UNREAD;

private:
    const CFormScript* ScriptOf(const CNewsItem& item) const;
    void ShowLetter(CNewsItem* pItem);
    void EnableButtons(bool bGoTo, bool bDelete);

    CFormScript m_aScripts[MAIL_CATEGORIES];
    std::unique_ptr<CXSurface> m_pMailIcons;
    std::unique_ptr<CXAnimation> m_apMailIcons[2];
    // The letter of each row, by the row's data.
    std::vector<CNewsItem*> m_RowLetters;
    CXListBox* m_pLetters = nullptr;
    CXListBox* m_pLetter = nullptr;
};

// The one mail archive screen object.
CClientArchivesMail& GetArchivesMailScreen();
