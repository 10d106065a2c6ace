#pragma once
// The editor's message box: a titled popup with a text and either an OK
// button or Oui / Non. Its answer goes to the client below it through
// OnEndMessageBoxPopup, with the question's tag so the owner knows which.
#include "xframework/CXPopup.h"

#include <string>

class CEditorMessageBox : public CXPopup {
public:
    enum : uint32_t { ANSWER_NONE = 0, ANSWER_OK = 1, ANSWER_YES = 6, ANSWER_NO = 7 };

    CEditorMessageBox();
    // False when no popup can open (the stack is full).
    bool Ask(const std::string& title, const std::string& text, bool bYesNo, int nTag);
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;

    uint32_t GetAnswer() const { return m_dwAnswer; }
    int GetTag() const { return m_nTag; }
    const std::string& GetText() const { return m_Text; }

private:
    void Answer(uint32_t dwAnswer);

    std::string m_Title;
    std::string m_Text;
    bool m_bYesNo = false;
    int m_nTag = 0;
    uint32_t m_dwAnswer = ANSWER_NONE;
};
