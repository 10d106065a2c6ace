#include "shell/PlayerRowIcons.h"

#include "shell/CGame.h"

#include "database/CDatabaseHandler.h"
#include "database/CPersonDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXListBox.h"

#include <algorithm>

namespace {

constexpr int kIconWidth = 12;
constexpr int kFirstIconRight = 156;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXAnimation* Sprite(const char* pszName)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

}  // namespace

PlayerRowIcons::PlayerRowIcons() = default;
PlayerRowIcons::~PlayerRowIcons() = default;

void PlayerRowIcons::Load()
{
    Clear();
    CGame* pGame = Game();
    CXSurface* pPositions = pGame ? pGame->GetSharedBitmaps().GetBitmap("icnPos.bmp") : nullptr;
    CXSurface* pRoles = pGame ? pGame->GetSharedBitmaps().GetBitmap("Role.bmp") : nullptr;
    for (int i = 0; pPositions && i < PLAYER_POSITION_COUNT; ++i) {
        m_PositionIcons.push_back(std::make_unique<CXAnimation>());
        m_PositionIcons.back()->Setup(pPositions, 20, 13, 20 * i, 0, 1, 1);
    }
    for (int i = 0; pRoles && i < PLAYER_ROLE_COUNT; ++i) {
        m_RoleIcons.push_back(std::make_unique<CXAnimation>());
        m_RoleIcons.back()->Setup(pRoles, 26, 13, 26 * i, 0, 1, 1);
    }
}

void PlayerRowIcons::Clear()
{
    m_PositionIcons.clear();
    m_RoleIcons.clear();
}

void PlayerRowIcons::Add(CXListBox& list, int nRow, const CPersonDatabase& person, const CPlayerDatabase* pPlayer,
                         int nNameColumn, int nPositionColumn) const
{
    std::vector<const char*> icons;
    if (pPlayer) {
        if (pPlayer->IsInjured())
            icons.push_back(CPlayerDatabase::GetInjuryStatus(pPlayer->m_byInjuryType) == 1 ? "icnFAid.bmp"
                                                                                           : "icnInj.bmp");
        if (pPlayer->m_byTransferState == PLAYER_TRANSFER_LISTED)
            icons.push_back("icnTranL.bmp");
        else if (pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
            icons.push_back("icnLoanO.bmp");
        if (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING)
            icons.push_back("icnRtrd.bmp");
    } else if (person.m_wInjuryDays > 0) {
        icons.push_back("icnInj.bmp");
    }
    int nRight = kFirstIconRight;
    for (const char* pszIcon : icons) {
        if (CXAnimation* pIcon = Sprite(pszIcon))
            list.AddColumnGraphic(nRow, pIcon, nRight - kIconWidth - 24, nNameColumn, true);
        nRight -= kIconWidth + 2;
    }
    AddForeignFlag(list, nRow, person.m_byNationality, nNameColumn);
    AddPosition(list, nRow, person.m_byPosition, nPositionColumn);
    AddRole(list, nRow, person.m_byRole, nPositionColumn + 1);
}

CXAnimation* PlayerRowIcons::NationFlag(int nNationality)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetNationFlag(nNationality) : nullptr;
}

CXAnimation* PlayerRowIcons::ForeignFlag(int nNationality)
{
    CGame* pGame = Game();
    const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (pHuman && nNationality == GetCountryNationality(pHuman->GetCountry()))
        return nullptr;
    return NationFlag(nNationality);
}

void PlayerRowIcons::AddForeignFlag(CXListBox& list, int nRow, int nNationality, int nColumn)
{
    if (CXAnimation* pFlag = ForeignFlag(nNationality))
        list.AddAlignedColumnGraphic(nRow, pFlag, 2, nColumn, true);
}

CXAnimation* PlayerRowIcons::PositionIcon(int nPosition) const
{
    const size_t nIcon = std::min<size_t>(static_cast<size_t>(std::max(nPosition, 0)), PLAYER_POSITION_COUNT - 1);
    return nIcon < m_PositionIcons.size() ? m_PositionIcons[nIcon].get() : nullptr;
}

void PlayerRowIcons::AddPosition(CXListBox& list, int nRow, int nPosition, int nColumn) const
{
    if (CXAnimation* pIcon = PositionIcon(nPosition))
        list.AddAlignedColumnGraphic(nRow, pIcon, 6, nColumn, true);
}

CXAnimation* PlayerRowIcons::RoleIcon(int nRole) const
{
    return nRole >= 0 && static_cast<size_t>(nRole) < m_RoleIcons.size() ? m_RoleIcons[static_cast<size_t>(nRole)].get()
                                                                          : nullptr;
}

void PlayerRowIcons::AddRole(CXListBox& list, int nRow, int nRole, int nColumn) const
{
    if (CXAnimation* pIcon = RoleIcon(nRole))
        list.AddAlignedColumnGraphic(nRow, pIcon, 6, nColumn, true);
}
