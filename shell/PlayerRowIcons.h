#pragma once
// The icons a player's row carries in the player lists: his injury,
// transfer or loan listing and retirement beside the name, and his
// position and role pictures in their columns, and the flag of a player
// from another country than the human manager's.
#include <memory>
#include <vector>

class CPersonDatabase;
class CPlayerDatabase;
class CXAnimation;
class CXListBox;

class PlayerRowIcons {
public:
    PlayerRowIcons();
    ~PlayerRowIcons();
    PlayerRowIcons(const PlayerRowIcons&) = delete;
    PlayerRowIcons& operator=(const PlayerRowIcons&) = delete;

    // Cuts the position and role strips of the shared bitmaps.
    void Load();
    void Clear();
    // A youth (no player record) shows only an injury.
    void Add(CXListBox& list, int nRow, const CPersonDatabase& person, const CPlayerDatabase* pPlayer,
             int nNameColumn, int nPositionColumn) const;
    // The position picture alone, centred in its column.
    void AddPosition(CXListBox& list, int nRow, int nPosition, int nColumn) const;
    // The flag of a nationality, right-aligned in the column, when it is not
    // the current human manager's country's.
    static void AddForeignFlag(CXListBox& list, int nRow, int nNationality, int nColumn);
    // The flag of a nationality that is not the current human manager's
    // country's; null for his own or when there is no flag.
    static CXAnimation* ForeignFlag(int nNationality);
    // The flag of a nationality; null when there is none.
    static CXAnimation* NationFlag(int nNationality);
    // The role picture alone, centred in its column; none for a role
    // without a picture.
    void AddRole(CXListBox& list, int nRow, int nRole, int nColumn) const;
    // The position picture itself (to draw elsewhere); null before Load.
    CXAnimation* PositionIcon(int nPosition) const;
    // The role picture itself; null before Load or for a role without one.
    CXAnimation* RoleIcon(int nRole) const;

private:
    std::vector<std::unique_ptr<CXAnimation>> m_PositionIcons;
    std::vector<std::unique_ptr<CXAnimation>> m_RoleIcons;
};
