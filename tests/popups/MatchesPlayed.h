#pragma once
// A game in play on screen (the human manager at club 1) run on until his
// club has played a league match at home and one away, for the popups that
// show played matches.
#include "../screens/ScreenInPlay.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/MatchHistory.h"

#include <gtest/gtest.h>

class MatchesPlayed : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < 90 && !(m_pHomeMatch && m_pAwayMatch); ++i) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
            for (const CDivisionFixturesDatabase* p :
                 m_pClub->m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
                if (!p->IsPlayed())
                    continue;
                if (!m_pHomeMatch && p->GetHomeClubID() == m_pClub->m_wClubId)
                    m_pHomeMatch = p;
                if (!m_pAwayMatch && p->GetAwayClubID() == m_pClub->m_wClubId)
                    m_pAwayMatch = p;
            }
        }
        ASSERT_NE(m_pHomeMatch, nullptr) << "no home match in three months";
        ASSERT_NE(m_pAwayMatch, nullptr) << "no away match in three months";
        ASSERT_TRUE(Database()->FlushWorkingFiles());
    }
    // The record of a match as the history file keeps it.
    MATCHRECORDBODY Record(uint32_t dwMatchID, MATCHHISTORYHEADER& header)
    {
        MATCHRECORDBODY body;
        EXPECT_TRUE(Database()->FindMatchRecord(header, &body, dwMatchID)) << "match " << dwMatchID;
        return body;
    }

    const CDivisionFixturesDatabase* m_pHomeMatch = nullptr;
    const CDivisionFixturesDatabase* m_pAwayMatch = nullptr;
};
