#include "editor/CEditorMessageBox.h"

#include "editor/EditorLook.h"
#include "editor/EditorTexts.h"

#include "xframework/CXButton.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

namespace {
constexpr int kWidth = 440;
constexpr int kHeight = 170;
enum : uint32_t {
    kOkButton = EDITOR_BUTTON_MESSAGE_OK,
    kYesButton = EDITOR_BUTTON_MESSAGE_YES,
    kNoButton = EDITOR_BUTTON_MESSAGE_NO
};
}  // namespace

CEditorMessageBox::CEditorMessageBox()
{
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    m_rcTitle = {0, 0, kWidth, 26};
}

bool CEditorMessageBox::Ask(const std::string& title, const std::string& text, bool bYesNo, int nTag)
{
    if (IsOnStack())
        return false;
    m_Title = title;
    m_Text = text;
    m_bYesNo = bYesNo;
    m_nTag = nTag;
    m_dwAnswer = ANSWER_NONE;
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    return Open();
}

bool CEditorMessageBox::OnInitDialog()
{
    delete m_pBackground;
    m_pBackground = MakeEditorDialogFrame(*this, m_Title.c_str(), [this](plat::DeviceContext* pDC) {
        pDC->selectFont(g_hSmallFont);
        pDC->setTextColor(kEditorText);
        plat::Rect rc{16, 38, Width() - 16, Height() - 44};
        pDC->drawText(m_Text.c_str(), -1, &rc, plat::DT_WORDBREAK);
    });
    CXPopup::OnInitDialog();
    const int y = Height() - 36;
    if (m_bYesNo) {
        AddEditorButton(*this, kYesButton, Width() / 2 - 94, y);
        AddEditorButton(*this, kNoButton, Width() / 2 + 10, y);
    } else {
        AddEditorButton(*this, kOkButton, Width() / 2 - 42, y);
    }
    ShowAllControls(true);
    return true;
}

void CEditorMessageBox::Answer(uint32_t dwAnswer)
{
    m_dwAnswer = dwAnswer;
    Close();
}

void CEditorMessageBox::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    if (dwID == kOkButton)
        Answer(ANSWER_OK);
    else if (dwID == kYesButton)
        Answer(ANSWER_YES);
    else if (dwID == kNoButton)
        Answer(ANSWER_NO);
}

void CEditorMessageBox::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags)
{
    if (key == plat::VK_RETURN)
        Answer(m_bYesNo ? ANSWER_YES : ANSWER_OK);
    else if (key == plat::VK_ESCAPE)
        Answer(m_bYesNo ? ANSWER_NO : ANSWER_OK);
    else
        CXPopup::OnKeyDown(key, repeat, flags);
}
