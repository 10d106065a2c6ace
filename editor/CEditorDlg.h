#pragma once
// The editor's main screen: a country's league clubs with the chosen club's
// names and figures, its manager's details and its squad. Changes to the
// club and manager wait for the apply button (or a save); the player popup
// edits one player. Saving asks first and writes the two name dictionaries
// and the database together; quitting asks and saves nothing.
#include "editor/CAboutDlg.h"
#include "editor/CEditorDocument.h"
#include "editor/CEditorFileDlg.h"
#include "editor/CEditorMessageBox.h"
#include "editor/CPlayerDlg.h"
#include "editor/CProgressDlg.h"

#include "xframework/CXClient.h"

#include <string>
#include <vector>

class CXComboBox;
class CXEdit;
class CXListBox;
class CXButton;

class CEditorDlg : public CXClient {
public:
    // pszDatabase: the starting database to edit, relative to the working
    // folder.
    explicit CEditorDlg(const char* pszDatabase);
    ~CEditorDlg() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void OnEditEnd(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;

    CEditorDocument* GetDocument() { return m_pDocument.get(); }

private:
    void BuildBackground();
    void AddControls();

    void FillCountryList();
    void OnCountrySelected();
    void FillClubList(int nSelectClub);
    void OnClubSelected();
    void ShowClub();
    void ShowManager();
    void FillPlayerList();
    void OnPlayerSelected();
    void OnEditPlayer();
    void OnApply();
    void ApplyChanges();
    void CheckManagerBirthDate();
    void CheckRange(uint32_t dwEditID, int nMinimum, int nMaximum);
    void OnSave();
    // The three pickers in turn (first names, last names, database); the
    // save runs once the last has given its file.
    void AskSaveFile(int nFile);
    void SaveChosenFiles();
    void OnQuit();
    void EnableApply(bool bEnable);
    void Notify(int nTitle, const std::string& text);

    std::string m_DatabasePath;
    std::unique_ptr<CEditorDocument> m_pDocument;
    std::string m_LoadMessage;
    // Without readable fixed data files (or the database code) nothing can be
    // edited: the program ends once the load message is closed.
    bool m_bQuitAfterNotice = false;
    std::vector<CCountryDatabase*> m_Countries;
    std::vector<CClubDatabase*> m_Clubs;
    std::vector<CPlayerDatabase*> m_Squad;
    CCountryDatabase* m_pCountry = nullptr;
    CClubDatabase* m_pClub = nullptr;
    CManagerDatabase* m_pManager = nullptr;
    CPlayerDatabase* m_pPlayer = nullptr;
    int m_nPlayerRow = -1;
    bool m_bFilling = false;

    // The fill behind a list's chosen row.
    std::unique_ptr<CXSurface> m_pSelection;
    // Faces wider than the shared one, for the About button's caption and
    // the bottom row's.
    std::unique_ptr<CXSurface> m_pAboutFace;
    std::unique_ptr<CXSurface> m_pBottomFace;
    CEditorMessageBox m_Question;
    CEditorMessageBox m_Notice;
    CPlayerDlg m_PlayerDlg;
    CProgressDlg m_Progress;
    CEditorFileDlg m_FilePickers[3];
    std::string m_ChosenPaths[3];
    CAboutDlg m_About;
};
