#include "match/CCommentary.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "common/DebugLog.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "shell/CFileManager.h"
#include "sound/CSoundManager.h"
#include "sound/CWaveManager.h"

namespace {

const struct {
    const char* pszName;
    uint16_t wType;
} kInsertions[] = {
    {"GROUND_NAME", COMMENTARY_INSERT_GROUND_NAME},
    {"MANAGER_NAME", COMMENTARY_INSERT_MANAGER_NAME},
    {"HOME_TEAM_NAME", COMMENTARY_INSERT_HOME_TEAM_NAME},
    {"AWAY_TEAM_NAME", COMMENTARY_INSERT_AWAY_TEAM_NAME},
    {"CURRENT_SCORE", COMMENTARY_INSERT_CURRENT_SCORE},
    {"KEEPER_SURNAME", COMMENTARY_INSERT_KEEPER_SURNAME},
    {"PLAYER_SURNAME", COMMENTARY_INSERT_PLAYER_SURNAME},
    {"FROM_PLAYER_SURNAME", COMMENTARY_INSERT_FROM_PLAYER_SURNAME},
    {"TO_PLAYER_SURNAME", COMMENTARY_INSERT_TO_PLAYER_SURNAME},
    {"TO_TEAM_NAME", COMMENTARY_INSERT_TO_TEAM_NAME},
    {"AGAINST_TEAM_NAME", COMMENTARY_INSERT_AGAINST_TEAM_NAME},
    {"TEAM_NAME", COMMENTARY_INSERT_TEAM_NAME},
    {"CARD_NUMBER", COMMENTARY_INSERT_CARD_NUMBER},
    {"GOAL_NUMBER", COMMENTARY_INSERT_GOAL_NUMBER},
};

std::string StripLineEnd(const char* psz)
{
    std::string s(psz);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    return s;
}

// The run of digits at the start of the text, or -1.
int LeadingNumber(const char* psz, const char** ppszEnd)
{
    if (!std::isdigit(static_cast<unsigned char>(*psz)))
        return -1;
    int n = 0;
    while (std::isdigit(static_cast<unsigned char>(*psz)) && n < 100000)
        n = n * 10 + (*psz++ - '0');
    *ppszEnd = psz;
    return n;
}

}  // namespace

CCommentary::CCommentary() = default;

CCommentary::~CCommentary()
{
    Free();
}

uint16_t CCommentary::GetInsertionType(const std::string& name)
{
    for (const auto& insertion : kInsertions)
        if (name == insertion.pszName)
            return insertion.wType;
    DebugLog(6, "We have an insertion string of unknown type %s ", name.c_str());
    DebugLog(6, "Unknown Insertion type");
    return COMMENTARY_INSERT_UNKNOWN;
}

int CCommentary::GetTypeCount(int nEvent) const
{
    return nEvent >= 0 && nEvent < GetGroupCount() ? int(m_Groups[size_t(nEvent)].Types.size()) : 0;
}

int CCommentary::GetLineCount(int nEvent, int nType) const
{
    if (nType < 0 || nType >= GetTypeCount(nEvent))
        return 0;
    return int(m_Groups[size_t(nEvent)].Types[size_t(nType)].Lines.size());
}

bool CCommentary::Load(const char* pszFileName, const char* pszFirstArchive, const char* pszSecondArchive,
                       CSoundManager* pManager)
{
    Free();
    FILE* pFile = plat::openFile(pszFileName, "rb");
    if (!pFile)
        return false;
    int c = 0;
    while ((c = std::fgetc(pFile)) != EOF && c != ':') {
    }
    // The header: (event, number of types) while the events count up by one.
    int nEvent = 0, nTypes = 0, nPrevious = 0;
    std::vector<int> anTypes;
    while (int(anTypes.size()) < kMaxHeaderPairs && std::fscanf(pFile, "%d %d", &nEvent, &nTypes) == 2) {
        if (!anTypes.empty() && nEvent != nPrevious + 1)
            break;
        nPrevious = nEvent;
        anTypes.push_back(nTypes < 0 ? 0 : nTypes);
    }
    m_Groups.resize(anTypes.size());
    for (size_t g = 0; g < anTypes.size(); ++g)
        m_Groups[g].Types.resize(size_t(anTypes[g]));
    while ((c = std::fgetc(pFile)) != EOF && !std::isalpha(c)) {
    }
    if (c != EOF)
        std::ungetc(c, pFile);

    m_pFirstArchive = std::make_unique<CFileManager>();
    m_pSecondArchive = std::make_unique<CFileManager>();
    if (!m_pFirstArchive->Open(pszFirstArchive) || !m_pSecondArchive->Open(pszSecondArchive)) {
        DebugLog(6, "Virtual File Manager not Created");
        std::fclose(pFile);
        Free();
        return false;
    }
    m_Register.assign(1, std::string());
    ReadBlocks(pFile, pManager);
    std::fclose(pFile);
    return true;
}

uint16_t CCommentary::Register(const std::string& text)
{
    m_Register.push_back(text);
    return uint16_t(m_Register.size() - 1);
}

uint16_t CCommentary::LoadSample(CSoundManager* pManager, CFileManager* pArchive, const std::string& name) const
{
    if (!pManager)
        return COMMENTARYLINE::kNoSample;
    pManager->SetArchive(pArchive);
    uint16_t wID = COMMENTARYLINE::kNoSample;
    const std::string file = name + ".wav";
    if (!pManager->AddSound(file.c_str(), wID, SOUND_TYPE_2D))
        return COMMENTARYLINE::kNoSample;
    const CSound* pSound = pManager->GetSound(wID);
    return pSound && pSound->GetWaveIndex() != WAVE_LOAD_FAILED ? wID : COMMENTARYLINE::kNoSample;
}

bool CCommentary::ReadBlocks(FILE* pFile, CSoundManager* pManager)
{
    static const char kKeyword[] = "REGISTER_ENTRY";
    char szWord[500];
    while (std::fscanf(pFile, "%499s", szWord) == 1) {
        const char* pszKey = std::strstr(szWord, kKeyword);
        if (!pszKey)
            continue;
        // REGISTER_ENTRY(group,type): each number one character behind what
        // comes before it.
        const char* pszAt = pszKey + sizeof(kKeyword) - 1;
        const char* pszEnd = pszAt;
        const int nGroup = *pszAt ? LeadingNumber(pszAt + 1, &pszEnd) : -1;
        const int nType = nGroup >= 0 && *pszEnd ? LeadingNumber(pszEnd + 1, &pszEnd) : -1;

        std::vector<COMMENTARYLINE> lines;
        enum { NONE, FIRST, SECOND, TEXT } previous = NONE;
        bool bEnded = false;
        bool bOverflow = false;
        char szLine[500];
        // A new record, unless the line limit is reached.
        auto next = [&]() {
            if (lines.size() >= size_t(kMaxLines)) {
                if (!bOverflow)
                    DebugLog(6, "Overflow in the commentary tables register count");
                bOverflow = true;
                return false;
            }
            lines.emplace_back();
            return true;
        };
        while (!bEnded) {
            const long nAt = std::ftell(pFile);
            if (!std::fgets(szLine, sizeof(szLine), pFile))
                break;
            const std::string line = StripLineEnd(szLine);
            if (line.compare(0, 6, "FIRST:") == 0) {
                const std::string name = line.size() > 7 ? line.substr(7) : std::string();
                if (name.empty()) {
                    bEnded = true;
                    break;
                }
                if (previous != NONE || lines.empty()) {
                    if (!next())
                        continue;
                }
                lines.back().wFirstSample = LoadSample(pManager, m_pFirstArchive.get(), name);
                previous = FIRST;
            } else if (line.compare(0, 6, "SECOND") == 0) {
                const std::string name = line.size() > 8 ? line.substr(8) : std::string();
                if (name.empty()) {
                    bEnded = true;
                    break;
                }
                if (lines.empty() || previous == SECOND || previous == TEXT) {
                    if (!next())
                        continue;
                }
                lines.back().wSecondSample = LoadSample(pManager, m_pSecondArchive.get(), name);
                previous = SECOND;
            } else if (line.compare(0, 6, "TEXT::") == 0) {
                if (lines.empty() || previous == TEXT) {
                    if (!next())
                        continue;
                }
                COMMENTARYLINE& record = lines.back();
                std::string text;
                int nFields = 0;
                for (size_t i = 6; i < line.size(); ++i) {
                    const char ch = line[i];
                    if (ch == '{') {
                        const size_t close = line.find('}', i);
                        const std::string name = line.substr(i + 1, (close == std::string::npos ? line.size() : close) - i - 1);
                        i = close == std::string::npos ? line.size() : close;
                        if (nFields >= kMaxInsertions) {
                            DebugLog(6, "More than %d insertions in a commentary text: {%s} left out", kMaxInsertions,
                                     name.c_str());
                            continue;
                        }
                        record.awInsertions[nFields++] = GetInsertionType(name);
                        text += "%s ";
                    } else if (ch == '%') {
                        text += "%%";  // a plain per cent sign, not a field
                    } else {
                        text += ch;
                    }
                }
                record.wText = Register(text);
                previous = TEXT;
            } else if (line.find("REGISTER") != std::string::npos) {
                std::fseek(pFile, nAt, SEEK_SET);
                bEnded = true;
            }
        }
        if (!bEnded)
            return true;  // the end of the file cut the block short: dropped
        if (lines.empty())
            lines.emplace_back();
        if (nGroup >= 0 && nGroup < GetGroupCount() && nType >= 0 && nType < GetTypeCount(nGroup)) {
            TYPE& type = m_Groups[size_t(nGroup)].Types[size_t(nType)];
            type = TYPE();
            type.Lines = std::move(lines);
        }
    }
    return true;
}

const COMMENTARYLINE* CCommentary::PickEntry(int nEvent, int nType)
{
    if (GetLineCount(nEvent, nType) == 0)
        return nullptr;
    TYPE& type = m_Groups[size_t(nEvent)].Types[size_t(nType)];
    const int n = int(type.Lines.size());
    int nPick = 0;
    if (n > 1) {
        do
            nPick = plat::rand() % n;
        while (nPick == type.wLastPick);
        type.wLastPick = uint16_t(nPick);
    }
    COMMENTARYLINE* pLine = &type.Lines[size_t(nPick)];
    if (pLine->wUses > type.wLimit) {
        if (type.wFallback >= n)
            return pLine;
        pLine = &type.Lines[type.wFallback];
    }
    ++pLine->wUses;
    // The least-heard line stands by, and the limit is the average use.
    uint32_t dwSum = 0;
    for (int i = 0; i < n; ++i) {
        dwSum += type.Lines[size_t(i)].wUses;
        if (type.Lines[size_t(i)].wUses < type.Lines[type.wFallback].wUses)
            type.wFallback = uint16_t(i);
    }
    type.wLimit = uint16_t(dwSum / uint32_t(n));
    return pLine;
}

const char* CCommentary::GetEntry(uint16_t wIndex) const
{
    return wIndex < m_Register.size() ? m_Register[wIndex].c_str() : nullptr;
}

void CCommentary::Free()
{
    m_Groups.clear();
    m_Register.clear();
    for (auto* pArchive : {&m_pFirstArchive, &m_pSecondArchive}) {
        if (*pArchive)
            (*pArchive)->Close();
        pArchive->reset();
    }
}
