#pragma once
// The player popup: one player's names, birth date, nationality, shirt
// number, position and role, with his 22 ratings shown (not edited). OK and
// apply store the changes; cancel drops them, except a shirt-number swap
// with a squad mate, which is made as soon as the number field is left.
// It also holds the three drop-down fillers the main screen shares.
#include "editor/CEditorMessageBox.h"

#include "xframework/CXPopup.h"

#include <string>

class CEditorDocument;
class CPlayerDatabase;
class CXComboBox;
class CXEdit;

class CPlayerDlg : public CXPopup {
public:
    CPlayerDlg();

    // Opens the popup over the owner for this player.
    bool Edit(CEditorDocument* pDocument, CPlayerDatabase* pPlayer);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void OnEditEnd(uint32_t dwID) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;

    // The nationalities 1-101 in order (row = nationality - 1), the four
    // positions and "Any", the sixteen roles and "Any"; the given row is
    // selected without telling the owner.
    static void FillCountryCombo(CXComboBox* pCombo, int nRow);
    static void FillPositionCombo(CXComboBox* pCombo, int nRow);
    static void FillRoleCombo(CXComboBox* pCombo, int nRow);
    // A combo's selection, shown row and owner left untold.
    static void SelectQuietly(CXComboBox* pCombo, int nRow);

    // True when the last OK or apply stored the player.
    bool WasStored() const { return m_bStored; }

private:
    void ShowPlayer();
    void StorePlayer();
    void CheckBirthDate();
    void CheckShirtNumber();
    void EnableStore(bool bEnable);
    std::string DialogFullName() const;
    CXEdit* Edit(uint32_t dwID) const;
    CXComboBox* Combo(uint32_t dwID) const;

    CEditorDocument* m_pDocument = nullptr;
    CPlayerDatabase* m_pPlayer = nullptr;
    bool m_bStored = false;
    bool m_bShowing = false;
    CEditorMessageBox m_Notice;
};
