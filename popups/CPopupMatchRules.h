#pragma once
// The rules the club's next match is played under, read only: the match
// length, the substitutes named, the substitutions allowed and the
// restricted players a side may field, then six yes-or-no rules (extra
// time, replay, two legs, away goals, penalty shoot-out, golden goal), each
// with a tick or a cross. Its owner hands it the match's rules record.
#include "shell/CGamePopup.h"

#include "season/CupStructureTable.h"

#include <cstdint>

class CXListBox;

class CPopupMatchRules : public CGamePopup {
public:
    enum : uint32_t { ID_LIST = 624, ID_SCROLLBAR = 901 };
    // Rows of the list: the length, three numbers, then the six rule bits.
    static constexpr int kNumberRows = 4;
    static constexpr int kRuleRows = 6;
    static constexpr int kMatchLength = 90;

    CPopupMatchRules();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // The record shown at the next opening (copied: the owner's may change).
    void SetRules(const ITEMCUPMATCHRULES& rules) { m_Rules = rules; }
    const ITEMCUPMATCHRULES& GetRules() const { return m_Rules; }
    CXListBox* GetList() const;
    // Whether row 4 + k of the list shows the tick of rule bit k.
    bool IsRuleTicked(int nRuleRow) const;

private:
    void Fill();

    ITEMCUPMATCHRULES m_Rules = CUP_FRIENDLY_MATCH_RULES;
};
