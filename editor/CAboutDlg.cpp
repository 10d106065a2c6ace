#include "editor/CAboutDlg.h"

#include "editor/EditorLook.h"
#include "editor/EditorTexts.h"

#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 170;
constexpr uint32_t kOk = EDITOR_BUTTON_ABOUT_OK;

// The editor's icon: a gold page with a dark outline and a quill across it.
void DrawIcon(plat::DeviceContext* pDC, int x, int y)
{
    constexpr COLORREF kOutline = plat::RGB(16, 24, 36);
    DrawFilledRect(pDC, x, y, x + 40, y + 48, kOutline);
    DrawFilledRect(pDC, x + 1, y + 1, x + 39, y + 47, plat::RGB(236, 232, 214));
    for (int nLine = 0; nLine < 5; ++nLine)
        DrawFilledRect(pDC, x + 6, y + 10 + nLine * 7, x + 30, y + 12 + nLine * 7, plat::RGB(120, 150, 180));
    DrawLine(pDC, x + 14, y + 42, x + 46, y + 4, kOutline, 5, 0);
    DrawLine(pDC, x + 14, y + 42, x + 46, y + 4, kEditorHeading, 3, 0);
}

}  // namespace

CAboutDlg::CAboutDlg()
{
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    m_rcTitle = {0, 0, kWidth, 26};
}

bool CAboutDlg::Show()
{
    if (IsOnStack())
        return false;
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    return Open();
}

bool CAboutDlg::OnInitDialog()
{
    delete m_pBackground;
    m_pBackground = MakeEditorDialogFrame(*this, EditorText(154), [this](plat::DeviceContext* pDC) {
        DrawIcon(pDC, 22, 44);
        DrawTextF(pDC, 90, 46, kEditorText, "%s", EditorText(310));
        DrawEditorLabel(pDC, 90, 70, EditorText(311));
        DrawEditorLabel(pDC, 90, 92, EditorText(312));
    });
    CXPopup::OnInitDialog();
    AddEditorButton(*this, kOk, Width() / 2 - 42, Height() - 38);
    ShowAllControls(true);
    return true;
}

void CAboutDlg::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    if (dwID == kOk)
        Close();
}

void CAboutDlg::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags)
{
    if (key == plat::VK_RETURN || key == plat::VK_ESCAPE)
        Close();
    else
        CXPopup::OnKeyDown(key, repeat, flags);
}
