// A club's side for a match against the plain rule it follows: place by
// place, the best-scoring player not yet picked among those fit to play (the
// first of equals), then the places nobody fit could fill from the rest, fit
// or not; for squads as they stand, with players hurt (some still fit to
// play) and banned, and with most of the squad out.
#include "../dayloop/DayLoopSupport.h"

#include "season/MatchRecords.h"

#include <functional>
#include <vector>

using namespace dayloop_test;

namespace {

constexpr int kSubstitutes = 7;

// The side the rule gives, scored through the player's own score for a role,
// with the number of places only the second pass filled.
std::vector<CPlayerDatabase*> RuleSide(CClubDatabase& club, int nKind, int& nSecondPass)
{
    nSecondPass = 0;
    club.ClearSelection();
    std::vector<CPlayerDatabase*> squad;
    for (CPlayerDatabase* p : club.m_lstPlayers.Items<CPlayerDatabase>())
        squad.push_back(p);
    const uint8_t* pbyFormation = club.GetFormation();
    auto roleOf = [&](int i) { return i < 11 ? pbyFormation[i] : CClubDatabase::GetSubstituteRole(i - 11); };
    std::vector<bool> taken(squad.size(), false);
    std::vector<CPlayerDatabase*> side(11 + kSubstitutes, nullptr);
    for (const bool bAllowUnfit : {false, true})
        for (size_t i = 0; i < side.size(); ++i) {
            if (side[i])
                continue;
            int nBest = 0;
            int nPick = -1;
            for (size_t k = 0; k < squad.size(); ++k) {
                if (taken[k] || (!bAllowUnfit && !CClubDatabase::IsAvailable(squad[k], nKind)))
                    continue;
                const int nScore = squad[k]->GetMatchSelectionScore(roleOf(static_cast<int>(i)), nKind, bAllowUnfit);
                if (nPick < 0 || nScore > nBest) {
                    nPick = static_cast<int>(k);
                    nBest = nScore;
                }
            }
            if (nPick >= 0) {
                side[i] = squad[static_cast<size_t>(nPick)];
                taken[static_cast<size_t>(nPick)] = true;
                nSecondPass += bAllowUnfit ? 1 : 0;
            }
        }
    return side;
}

int InjuryTypeOfStatus(int nStatus)
{
    for (int nType = 0; nType < PERSON_INJURY_TYPES; ++nType)
        if (CPlayerDatabase::GetInjuryStatus(nType) == nStatus)
            return nType;
    return -1;
}

}  // namespace

TEST_F(DayLoopWorld, SidesFollowThePlaceByPlaceRule)
{
    const int nFitInjury = InjuryTypeOfStatus(1);
    const int nOutInjury = InjuryTypeOfStatus(2);
    ASSERT_GE(nFitInjury, 0);
    ASSERT_GE(nOutInjury, 0);
    auto hurt = [](CPlayerDatabase* p, int nType) {
        p->m_dwFlags |= PLAYER_FLAG_INJURED;
        p->m_byInjuryType = static_cast<uint8_t>(nType);
    };
    struct Case {
        const char* pszName;
        // Changes the k-th player of the squad (on top of the cases before).
        std::function<void(CPlayerDatabase*, int)> change;
    };
    const Case cases[] = {
        {"as they stand", [](CPlayerDatabase*, int) {}},
        {"hurt and banned",
         [&](CPlayerDatabase* p, int k) {
             if (k % 3 == 0)
                 hurt(p, nFitInjury);
             else if (k % 4 == 1)
                 hurt(p, nOutInjury);
             else if (k % 5 == 2)
                 p->m_bySuspensionFlags |= PLAYER_SUSPENDED_DOMESTIC;
         }},
        {"most of the squad out",
         [&](CPlayerDatabase* p, int k) {
             if (k % 4 != 0)
                 hurt(p, k % 2 ? nOutInjury : nFitInjury);
             if (k % 3 == 0)
                 p->m_bySuspensionFlags |= PLAYER_SUSPENDED_DOMESTIC;
         }},
    };
    std::vector<CClubDatabase*> clubs;
    for (CDivisionDatabase* pDivision : Divisions())
        for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            if (clubs.size() < 60)
                clubs.push_back(pClub);
    ASSERT_FALSE(clubs.empty());
    int anSecondPass[3] = {};
    for (size_t nCase = 0; nCase < 3; ++nCase) {
        const Case& c = cases[nCase];
        for (size_t nClub = 0; nClub < clubs.size(); ++nClub) {
            CClubDatabase* pClub = clubs[nClub];
            int k = 0;
            for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                c.change(p, k++);
            for (const int nKind : {int{MATCHKIND_LEAGUE}, int{MATCHKIND_FRIENDLY}}) {
                int nSecondPass = 0;
                const std::vector<CPlayerDatabase*> expected = RuleSide(*pClub, nKind, nSecondPass);
                anSecondPass[nCase] += nSecondPass;
                CPlayerDatabase* apSide[11 + kSubstitutes] = {};
                pClub->SelectTeam(nullptr, apSide, nKind, kSubstitutes);
                for (size_t i = 0; i < expected.size(); ++i)
                    EXPECT_EQ(apSide[i], expected[i]) << c.pszName << ", club " << nClub << ", place " << i;
                // A single place's pick is the fit player the rule puts first.
                for (const int nRole : {0, 3, 9, 14}) {
                    pClub->ClearSelection();
                    CPlayerDatabase* pBest = nullptr;
                    int nBest = 0;
                    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                        if (CClubDatabase::IsAvailable(p, nKind)) {
                            const int nScore = p->GetMatchSelectionScore(nRole, nKind, false);
                            if (!pBest || nScore > nBest) {
                                pBest = p;
                                nBest = nScore;
                            }
                        }
                    EXPECT_EQ(pClub->PickBestPlayerForRole(nRole, nKind), pBest) << c.pszName << ", role " << nRole;
                }
            }
        }
    }
    // The squads with most players out leave places that only players not
    // fit to play can fill.
    EXPECT_GT(anSecondPass[2], 0);
}
