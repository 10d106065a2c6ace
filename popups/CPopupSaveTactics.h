#pragma once
// The name to save a tactics file under (screen id 74): a formation, a
// free-kick set, a corner set or a training plan. It lists the files of the
// kind already saved with their dates, proposes the chosen one's name, asks
// before one is saved over, deletes one after asking (with the human's record
// of it), and hands the name to its owner, which writes the file.
#include "shell/CGamePopup.h"

#include <string>

class CXEdit;
class CXListBox;

enum SAVEDIALOG_KIND {
    SAVEDIALOG_FORMATION = 0,
    SAVEDIALOG_FREE_KICKS = 1,
    SAVEDIALOG_CORNERS = 2,
    SAVEDIALOG_TRAINING_PLAN = 3,
};

class CPopupSaveTactics : public CGamePopup {
public:
    static constexpr int kWidth = 232;
    static constexpr int kHeight = 260;
    static constexpr int kMaxNameLength = 10;
    enum : uint32_t { ID_DELETE = 759, ID_LIST = 761, ID_NAME = 762, ID_SCROLL_BAR = 901 };
    // Messages of the questions it asks and the name it refuses.
    enum { MESSAGE_OVERWRITE = 39, MESSAGE_DELETE = 40, MESSAGE_BUILT_IN_NAME = 160 };

    CPopupSaveTactics();

    // Opens the popup for a kind (0-3) over the top popup or the screen.
    bool Show(int nKind);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void ConstructScreen() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void OnEndMessageBoxPopup() override;

    int GetKind() const { return m_nKind; }
    // The name confirmed, without extension; read by the owner after 884.
    const std::string& GetChosenName() const { return m_ChosenName; }
    // The extension of a kind ("ct", "frk", "crn", "ctp"), null for another.
    static const char* GetExtension(int nKind);
    // The saved files of the kind, sorted by name; the number listed.
    int FillList();
    // The name in the edit, cut at its first ".".
    std::string GetTypedName() const;
    CXListBox* GetList() const { return m_pList; }

private:
    void TakeListSelection();
    void EnableButton(uint32_t dwID, bool bEnable);
    // The human's record of the named file goes; a formation in use gives
    // way to the first listed one.
    void ForgetFile(const std::string& name);
    bool IsBuiltInName(const std::string& name) const;

    int m_nKind = SAVEDIALOG_FORMATION;
    std::string m_ChosenName;
    CXListBox* m_pList = nullptr;
    CXEdit* m_pName = nullptr;
};
