// The commentary bank of a match: loaded at set-up from the language's table
// and its two sample archives; without it the match runs silent of words.
#include "match/CMatchEngine.h"

#include <cstdio>

#include "common/DebugLog.h"
#include "match/CCommentary.h"
#include "sound/CSoundManager.h"

void CMatchEngine::LoadCommentary()
{
    m_pCommentary.reset();
    m_bCommentary = false;
    if (m_wCommentaryVolume < 1 || !m_pCommentarySoundManager) {
        DebugLog(6, "[CMatchEngine::StartGame] Commentary not created");
        return;
    }
    const char* pszLanguage = m_Language.c_str();
    char szTable[256], szFirst[256], szSecond[256];
    std::snprintf(szTable, sizeof(szTable), "Data\\Tables\\%s\\commentary.frm", pszLanguage);
    std::snprintf(szFirst, sizeof(szFirst), "Sounds\\%s\\comment1.bfs", pszLanguage);
    std::snprintf(szSecond, sizeof(szSecond), "Sounds\\%s\\comment2.bfs", pszLanguage);
    m_pCommentary = std::make_unique<CCommentary>();
    if (!m_pCommentary->Load(szTable, szFirst, szSecond, m_pCommentarySoundManager.get())) {
        m_pCommentary.reset();
        DebugLog(6, "[CMatchEngine::StartGame] Commentary not created");
        return;
    }
    m_bCommentary = m_byCommentaryWanted != 0;
    ApplyCommentaryVolume();
}

void CMatchEngine::ApplyCommentaryVolume()
{
    if (m_pCommentarySoundManager)
        m_pCommentarySoundManager->SetAllVolumes(m_wCommentaryVolume);
}
