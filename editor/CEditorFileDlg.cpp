#include "editor/CEditorFileDlg.h"

#include "editor/EditorLook.h"
#include "editor/EditorTexts.h"

#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include "platform/Files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kWidth = 580;
constexpr int kHeight = 420;
constexpr int kListLeft = 16;
constexpr int kListTop = 66;
constexpr int kListWidth = 532;
constexpr int kListHeight = 256;
constexpr int kFolderLeft = 110;
constexpr int kFolderTop = 40;

enum : uint32_t {
    kList = 1104,
    kListBar = 1105,
    kName = 1102,
    kSave = EDITOR_BUTTON_FILE_SAVE,
    kCancel = EDITOR_BUTTON_FILE_CANCEL,
};

// Row data of the list's note that a folder holds no file of the type.
constexpr uint32_t kNoteRow = 0xFFFFFFFF;
constexpr COLORREF kFolderRowText = plat::RGB(240, 200, 90);
constexpr COLORREF kNoteRowText = plat::RGB(170, 184, 200);

const LISTCOLUMN kColumns[] = {
    {0, kListWidth + 16, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// A path as the disk spells it, without a trailing separator.
std::string Tidy(const std::filesystem::path& path)
{
    std::string text = plat::resolvePath(path.lexically_normal().string());
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

bool Writable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

}  // namespace

CEditorFileDlg::CEditorFileDlg()
{
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    m_rcTitle = {0, 0, kWidth, 26};
}

bool CEditorFileDlg::Ask(int nTitle, int nFilter, const std::string& initialPath,
                         const std::string& defaultExtension, const std::vector<std::string>& taken)
{
    if (IsOnStack())
        return false;
    m_nTitle = nTitle;
    // "Description|pattern||"
    const std::string filter = EditorText(nFilter) ? EditorText(nFilter) : "|*||";
    const size_t nBar = filter.find('|');
    m_Description = filter.substr(0, nBar);
    m_Pattern = nBar == std::string::npos ? "*" : filter.substr(nBar + 1, filter.find('|', nBar + 1) - nBar - 1);
    m_DefaultExtension = defaultExtension;
    m_Taken = taken;
    std::filesystem::path folder = std::filesystem::path(initialPath).parent_path();
    while (!folder.empty() && folder != folder.root_path() && !plat::directoryExists(folder.string()))
        folder = folder.parent_path();
    m_Folder = folder.empty() ? Tidy(std::filesystem::current_path()) : Tidy(folder);
    m_InitialName = std::filesystem::path(initialPath).filename().string();
    m_Path.clear();
    m_Pending.clear();
    m_bChosen = false;
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    return Open();
}

void CEditorFileDlg::DrawBackground()
{
    delete m_pBackground;
    m_pBackground = MakeEditorBackground(*this, kEditorBackground);
    if (!m_pBackground)
        return;
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    DrawRectOutline(pDC, 0, 0, Width(), Height(), kEditorFrame, 1);
    DrawFilledRect(pDC, 1, 1, Width() - 1, 26, kEditorPanel);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallBoldFont);
    DrawTextF(pDC, 10, 6, kEditorHeading, "%s", EditorText(m_nTitle) ? EditorText(m_nTitle) : "");
    DrawEditorLabel(pDC, 16, kFolderTop, EditorText(300));
    DrawEditorLabel(pDC, 16, 340, EditorText(301));
    DrawEditorLabel(pDC, 16, 374, EditorText(302));
    DrawEditorLabel(pDC, 130, 374, m_Description.c_str());
    // A long folder keeps its end, the part that tells where one is.
    const int nRoom = kListLeft + kListWidth + 16 - kFolderLeft;
    std::string shown = m_Folder;
    pDC->selectFont(g_hSmallBoldFont);
    auto width = [&](const std::string& text) {
        plat::Size size{0, 0};
        pDC->getTextExtentPoint(text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    if (width(shown) > nRoom) {
        while (shown.size() > 1 && width("..." + shown) > nRoom)
            shown.erase(0, 1);
        shown = "..." + shown;
    }
    DrawTextF(pDC, kFolderLeft, kFolderTop, kEditorText, "%s", shown.c_str());
    m_pBackground->m_pSurface->releaseDC(pDC);
}

bool CEditorFileDlg::OnInitDialog()
{
    DrawBackground();
    if (!m_pSelection)
        m_pSelection = MakeEditorSelection(kListWidth);
    CXPopup::OnInitDialog();
    AddEditorList(*this, kList, kListBar, kListLeft, kListTop, kListWidth, kListHeight, kColumns, m_pSelection.get());
    if (CXEdit* pName = AddEditorEdit(*this, kName, 130, 336, 310, 255, false))
        pName->SetText("%s", m_InitialName.c_str());
    AddEditorButton(*this, kSave, 470, 334);
    AddEditorButton(*this, kCancel, 470, 368);
    ShowAllControls(true);
    ShowFolder(m_Folder);
    FocusName();
    return true;
}

void CEditorFileDlg::OnDestroy()
{
    m_Entries.clear();
    CXPopup::OnDestroy();
}

void CEditorFileDlg::ShowFolder(const std::string& folder)
{
    m_Folder = folder;
    m_Entries.clear();
    if (m_Folder != "/")
        m_Entries.push_back({"..", true});
    for (const std::string& name : plat::listFolders(m_Folder))
        if (name[0] != '.')
            m_Entries.push_back({name, true});
    bool bFiles = false;
    for (const std::string& name : plat::listFiles(m_Folder, m_Pattern)) {
        m_Entries.push_back({name, false});
        bFiles = true;
    }
    DrawBackground();
    RestoreBackground(kFolderLeft, kFolderTop - 4, Width() - kFolderLeft - 2, 24);
    auto* pList = static_cast<CXListBox*>(FindControl(kList));
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        const ENTRY& entry = m_Entries[i];
        if (entry.bFolder)
            pList->AddString(kFolderRowText, "[%s]", entry.name.c_str());
        else
            pList->AddString(kEditorRowText, "%s", entry.name.c_str());
        pList->SetItemData(pList->GetCount() - 1, static_cast<uint32_t>(i));
    }
    if (!bFiles) {
        pList->AddString(kNoteRowText, "%s", EditorText(308));
        pList->SetItemData(pList->GetCount() - 1, kNoteRow);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    // The file named in the field, when the folder holds it, is the row shown.
    const auto* pName = static_cast<const CXEdit*>(FindControl(kName));
    int nRow = 0;
    for (size_t i = 0; pName && pName->Text() && i < m_Entries.size(); ++i)
        if (!m_Entries[i].bFolder && m_Entries[i].name == pName->Text())
            nRow = static_cast<int>(i);
    pList->SetSelection(nRow);
    pList->Scroll(LISTSCROLL_TO_ROW, std::max(0, nRow - 4));
    pList->Redraw();
}

const CEditorFileDlg::ENTRY* CEditorFileDlg::SelectedEntry() const
{
    const auto* pList = static_cast<const CXListBox*>(FindControl(kList));
    if (!pList || pList->GetSelection() < 0 || pList->GetSelection() >= pList->GetCount())
        return nullptr;
    const int64_t nData = pList->GetItemData(pList->GetSelection());
    return nData >= 0 && nData < static_cast<int64_t>(m_Entries.size()) ? &m_Entries[static_cast<size_t>(nData)]
                                                                        : nullptr;
}

void CEditorFileDlg::FocusName()
{
    // The keys go back to the name, so that it can be typed again at once.
    if (CXControl* pName = FindControl(kName))
        SetFocus(pName);
}

void CEditorFileDlg::Refuse(int nText, const std::string& path)
{
    m_Pending.clear();
    m_Notice.Ask(EditorText(149), FormatEditorText(nText, path), false, 0);
}

void CEditorFileDlg::Accept(const std::string& typed)
{
    namespace fs = std::filesystem;
    std::string text = typed;
    std::replace(text.begin(), text.end(), '\\', '/');
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    if (text.empty()) {
        Refuse(305, "");
        return;
    }
    const fs::path typedPath = text[0] == '/' ? fs::path(text) : fs::path(m_Folder) / text;
    std::string path = Tidy(typedPath);
    // A folder is opened, not taken.
    if (plat::directoryExists(path)) {
        ShowFolder(path);
        if (auto* pName = static_cast<CXEdit*>(FindControl(kName)))
            pName->SetText("%s", "");
        FocusName();
        return;
    }
    const fs::path normal = typedPath.lexically_normal();
    const std::string parent = normal.has_parent_path() ? Tidy(normal.parent_path()) : std::string("/");
    if (normal.filename().empty() || !plat::directoryExists(parent)) {
        Refuse(304, normal.filename().empty() ? path : parent);
        return;
    }
    if (normal.extension().empty())
        path = Tidy(fs::path(path + m_DefaultExtension));
    if (plat::directoryExists(path)) {
        ShowFolder(path);
        FocusName();
        return;
    }
    if (std::find(m_Taken.begin(), m_Taken.end(), path) != m_Taken.end()) {
        Refuse(309, path);
        return;
    }
    const bool bExists = plat::fileExists(path);
    if (!Writable(parent) || (bExists && !Writable(path))) {
        Refuse(307, path);
        return;
    }
    if (bExists) {
        m_Pending = path;
        m_Notice.Ask(EditorText(m_nTitle), FormatEditorText(306, path), true, 0);
        return;
    }
    Take(path);
}

void CEditorFileDlg::Take(const std::string& path)
{
    m_Path = path;
    m_bChosen = true;
    Close();
}

void CEditorFileDlg::OnEndPopup(CXPopup* pPopup)
{
    if (pPopup != &m_Notice)
        return;
    const std::string pending = m_Pending;
    m_Pending.clear();
    if (!pending.empty() && m_Notice.GetAnswer() == CEditorMessageBox::ANSWER_YES)
        Take(pending);
    else
        FocusName();
}

void CEditorFileDlg::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    if (dwID == kSave || dwID == kName) {
        const auto* pName = static_cast<CXEdit*>(FindControl(kName));
        Accept(pName && pName->Text() ? pName->Text() : "");
    } else if (dwID == kCancel) {
        m_bChosen = false;
        Close();
    }
}

void CEditorFileDlg::OnSelChange(uint32_t dwID)
{
    if (dwID != kList)
        return;
    const ENTRY* pEntry = SelectedEntry();
    if (pEntry && !pEntry->bFolder)
        if (auto* pName = static_cast<CXEdit*>(FindControl(kName)))
            pName->SetText("%s", pEntry->name.c_str());
}

void CEditorFileDlg::OnDoubleClicked(uint32_t dwID)
{
    if (dwID != kList)
        return;
    const ENTRY* pEntry = SelectedEntry();
    if (!pEntry)
        return;
    // Copied: showing another folder empties the entries.
    const ENTRY entry = *pEntry;
    if (!entry.bFolder)
        Accept(entry.name);
    else if (entry.name == "..")
        ShowFolder(Tidy(std::filesystem::path(m_Folder).parent_path()));
    else
        ShowFolder(Tidy(std::filesystem::path(m_Folder) / entry.name));
    FocusName();
}

void CEditorFileDlg::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags)
{
    if (key == plat::VK_ESCAPE) {
        m_bChosen = false;
        Close();
    } else if (key == plat::VK_RETURN) {
        OnClicked(kSave);
    } else {
        CXPopup::OnKeyDown(key, repeat, flags);
    }
}
