#include "popups/CPopupSaveTactics.h"

#include "popups/SavedFileList.h"
#include "shell/CGame.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Files.h"
#include "season/CSaveGame.h"
#include "season/CTacticsFileManager.h"
#include "season/CTrainingManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <sys/stat.h>

#include <vector>

namespace {

constexpr int kLeft = 364;
constexpr int kTop = 195;
constexpr int kCaption = 19;
constexpr int kLabelsDescription = 41;
constexpr COLORREF kLabelColour = plat::RGB(255, 253, 173);
constexpr COLORREF kNoClubColour = 0x009D37;
constexpr int kListLeft = 8, kListTop = 84, kListRight = 208, kListBottom = 212;

const LISTCOLUMN kColumns[] = {
    {0, 66, 6, 0, 0, 0, 0, LISTSORT_DATE, 1},
    {66, 200, 6, 0, 0, 0, 0, LISTSORT_TEXT, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CSaveGame* CurrentHuman()
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

std::string SavePath(const std::string& name, const char* pszExtension)
{
    return "Data\\Saves\\" + name + "." + pszExtension;
}

}  // namespace

CPopupSaveTactics::CPopupSaveTactics()
{
    m_wScreenID = SCREEN_SAVE_TACTICS_POPUP;
    SetPopupRect(kLeft, kTop, kWidth, kHeight);
}

const char* CPopupSaveTactics::GetExtension(int nKind)
{
    static const char* const kExtensions[] = {"ct", "frk", "crn", "ctp"};
    return nKind >= 0 && nKind <= SAVEDIALOG_TRAINING_PLAN ? kExtensions[nKind] : nullptr;
}

bool CPopupSaveTactics::Show(int nKind)
{
    if (IsOnStack())
        return false;
    m_nKind = nKind;
    m_ChosenName.clear();
    m_dwResultID = 0;
    return Open();
}

void CPopupSaveTactics::ConstructScreen()
{
    DrawCaptionFrame(kCaption);
    const CSaveGame* pHuman = CurrentHuman();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    DrawColourBoxPair(pClub ? CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]) : kNoClubColour);
    DrawSurfaceText(g_hNormalFont, m_pBackground, kLabelsDescription, kLabelColour);
}

bool CPopupSaveTactics::OnInitDialog()
{
    m_wScreenID = SCREEN_SAVE_TACTICS_POPUP;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, ConfirmX());
    AddConfirmButton(kCancelButtonID, CancelX());
    AddButton(ID_DELETE);
    m_pList = saved_files::AddList(*this, ID_LIST, ID_SCROLL_BAR, kListLeft, kListTop, kListRight, kListBottom,
                                   kColumns);
    m_pName = static_cast<CXEdit*>(AddControlXYWH(XCONTROL_EDIT, 68, 40, 140, 18, ID_NAME, nullptr));
    if (m_pName) {
        m_pName->m_hFont = g_hMediumFont;
        m_pName->SetMaxLength(kMaxNameLength);
    }
    const int nListed = FillList();
    ShowAllControls(true);
    EnableButton(ID_DELETE, nListed > 0);
    SetFocus(m_pList);
    TakeListSelection();
    if (nListed == 0)
        SetFocus(m_pName);
    return true;
}

void CPopupSaveTactics::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_pList = nullptr;
    m_pName = nullptr;
}

int CPopupSaveTactics::FillList()
{
    const char* pszExtension = GetExtension(m_nKind);
    if (!m_pList || !pszExtension)
        return 0;
    std::vector<saved_files::FILEROW> files;
    for (const std::string& file : plat::listFiles("Data\\Saves", std::string("*.") + pszExtension)) {
        const std::string name = file.substr(0, file.find('.'));
        if (name.empty())
            continue;
        struct stat info = {};
        const bool bStat = ::stat(plat::resolvePath("Data\\Saves\\" + file).c_str(), &info) == 0;
        files.push_back({name, bStat ? static_cast<int64_t>(info.st_mtime) : 0});
    }
    return saved_files::Fill(*m_pList, files);
}

std::string CPopupSaveTactics::GetTypedName() const
{
    return saved_files::TypedName(m_pName);
}

void CPopupSaveTactics::TakeListSelection()
{
    const std::string name = saved_files::ChosenName(m_pList);
    // Offered chosen, so that typing a new name replaces it rather than
    // adding to it.
    if (m_pName) {
        m_pName->SetText("%s", name.c_str());
        m_pName->ChooseAll();
    }
    EnableButton(kOkButtonID, !name.empty());
}

void CPopupSaveTactics::EnableButton(uint32_t dwID, bool bEnable)
{
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID)))
        pButton->Enable(!bEnable);
}

void CPopupSaveTactics::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_LIST)
        TakeListSelection();
}

void CPopupSaveTactics::OnDoubleClicked(uint32_t dwID)
{
    if (dwID == ID_LIST)
        OnClicked(kOkButtonID);
}

void CPopupSaveTactics::OnEditChange(CXControl* pControl)
{
    if (pControl == m_pName)
        EnableButton(kOkButtonID, !GetTypedName().empty());
}

bool CPopupSaveTactics::IsBuiltInName(const std::string& name) const
{
    switch (m_nKind) {
    case SAVEDIALOG_FORMATION: {
        const FORMATIONRECORD* pRecord = CTacticsFileManager::FindFormation(name.c_str());
        return pRecord && pRecord->byShipped != 0;
    }
    case SAVEDIALOG_FREE_KICKS: {
        const SETPIECERECORD* pSet = CTacticsFileManager::FindFreeKickSet(name.c_str());
        return pSet && pSet->byBuiltIn != 0;
    }
    case SAVEDIALOG_CORNERS: {
        const SETPIECERECORD* pSet = CTacticsFileManager::FindCornerSet(name.c_str());
        return pSet && pSet->byBuiltIn != 0;
    }
    case SAVEDIALOG_TRAINING_PLAN: {
        const TRAININGPLAN* pPlan = CTrainingManager::FindPlan(name.c_str());
        return pPlan && pPlan->byBuiltIn != 0;
    }
    default:
        return false;
    }
}

void CPopupSaveTactics::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    switch (dwID) {
    case kCancelButtonID:
        Close();
        break;
    case ID_DELETE:
        if (m_pList && m_pList->GetSelection() >= 0)
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_DELETE);
        break;
    case ID_NAME:
    case kOkButtonID: {
        const std::string name = GetTypedName();
        if (m_pName)
            m_pName->SetText("%s", name.c_str());
        const char* pszExtension = GetExtension(m_nKind);
        if (!pszExtension) {
            DebugLog(0, "[CPopupSaveTactics::OnClicked] Unhandled SAVEDIALOG_?");
            break;
        }
        if (name.empty())
            break;
        // A name the game ships, or one that is no plain file name, would
        // not be read back as this file.
        if (!CSaveGame::IsValidFileName(name.c_str()) || IsBuiltInName(name)) {
            ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_BUILT_IN_NAME);
            break;
        }
        if (plat::fileExists(SavePath(name, pszExtension))) {
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_OVERWRITE);
            break;
        }
        m_ChosenName = name;
        m_dwResultID = kOkButtonID;
        Close();
        break;
    }
    default:
        break;
    }
}

void CPopupSaveTactics::ForgetFile(const std::string& name)
{
    CSaveGame* pHuman = CurrentHuman();
    switch (m_nKind) {
    case SAVEDIALOG_FORMATION: {
        FORMATIONRECORD* pRecord = CTacticsFileManager::FindFormation(name.c_str());
        if (!pRecord || pRecord->byShipped)
            break;
        if (pHuman && pHuman->GetCurrentFormation() == pRecord) {
            // The first listed formation takes over; without one the working
            // formation stays as the human's own.
            const CXList* pList = CTacticsFileManager::GetFormations();
            const FORMATIONRECORD* pFirst = nullptr;
            if (pList)
            for (const FORMATIONRECORD* p : pList->Items<FORMATIONRECORD>())
                if (p != pRecord) {
                    pFirst = p;
                    break;
                }
            if (!pFirst || !pHuman->SelectFormation(pFirst))
                pHuman->SelectFormation(&pHuman->GetCustomFormation());
        }
        CTacticsFileManager::RemoveFormation(name.c_str());
        break;
    }
    case SAVEDIALOG_FREE_KICKS:
        CTacticsFileManager::RemoveFreeKickSet(name.c_str());
        break;
    case SAVEDIALOG_CORNERS:
        CTacticsFileManager::RemoveCornerSet(name.c_str());
        break;
    case SAVEDIALOG_TRAINING_PLAN:
        if (pHuman)
            pHuman->GetTrainingManager().RemovePlan(name.c_str());
        break;
    default:
        DebugLog(0, "[CPopupSaveTactics::OnEndMessageBoxPopup] Unhandled SAVEDIALOG_?");
        break;
    }
}

void CPopupSaveTactics::OnEndMessageBoxPopup()
{
    CGamePopup::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->m_dwResultID != kOkButtonID)
        return;
    if (pBox->GetTextItem() == MESSAGE_OVERWRITE) {
        m_ChosenName = GetTypedName();
        m_dwResultID = kOkButtonID;
        Close();
    } else if (pBox->GetTextItem() == MESSAGE_DELETE) {
        char szName[LISTBOX_ROW_TEXT_SIZE] = {};
        if (m_pList && m_pList->GetSelection() >= 0)
            m_pList->GetColumnText(m_pList->GetSelection(), 1, szName);
        const char* pszExtension = GetExtension(m_nKind);
        if (szName[0] && pszExtension) {
            ForgetFile(szName);
            plat::removeFile(SavePath(szName, pszExtension));
        }
        const int nLeft = FillList();
        EnableButton(ID_DELETE, nLeft > 0);
        SetFocus(m_pList);
        TakeListSelection();
    }
}
