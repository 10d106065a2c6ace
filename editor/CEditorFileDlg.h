#pragma once
// The editor's file picker for saving: the folder shown with its sub-folders
// and the files of one type, a file-name field and Enregistrer / Annuler. A
// name is typed or picked from the list; a double-click opens a folder (".."
// goes up) or picks a file. What is typed is checked before it is taken: an
// empty name, a folder that does not exist, a place that cannot be written
// and a file another part of the same save already takes are refused with a
// message and the picker stays open; an existing file is replaced only after
// a question. A name without an extension gets the type's. The owner learns
// the outcome in OnEndPopup.
#include "editor/CEditorMessageBox.h"

#include "xframework/CXPopup.h"
#include "xframework/CXSurface.h"

#include <memory>
#include <string>
#include <vector>

class CEditorFileDlg : public CXPopup {
public:
    CEditorFileDlg();

    // nTitle: the text number of the title; nFilter: the text number of the
    // type ("Description|*.ext||"); initialPath: the proposed file, whose
    // folder is shown (or the nearest folder above it that exists) and whose
    // name is typed in; taken: files the picker must not give. False when
    // the picker cannot open.
    bool Ask(int nTitle, int nFilter, const std::string& initialPath, const std::string& defaultExtension,
             const std::vector<std::string>& taken);
    bool WasChosen() const { return m_bChosen; }
    // The chosen file, a full path.
    const std::string& GetPath() const { return m_Path; }
    const std::string& GetFolder() const { return m_Folder; }

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;

private:
    struct ENTRY {
        std::string name;
        bool bFolder;
    };

    void DrawBackground();
    void ShowFolder(const std::string& folder);
    void Accept(const std::string& typed);
    void Take(const std::string& path);
    void Refuse(int nText, const std::string& path);
    void FocusName();
    const ENTRY* SelectedEntry() const;

    int m_nTitle = 0;
    std::string m_Description;
    std::string m_Pattern;
    std::string m_DefaultExtension;
    std::vector<std::string> m_Taken;
    std::string m_Folder;
    std::string m_InitialName;
    std::vector<ENTRY> m_Entries;
    std::string m_Path;
    // The existing file waiting for the answer to "replace it?".
    std::string m_Pending;
    bool m_bChosen = false;
    std::unique_ptr<CXSurface> m_pSelection;
    CEditorMessageBox m_Notice;
};
