#pragma once
// The bank of spoken and written match commentary of one language. Its table
// file has one group per commentary event, each with a number of commentary
// types, and for each type the lines that may be said: up to two spoken
// samples (from the language's two commentary archives) and a text whose
// {FIELD}s become "%s " with an insertion type each (the player's surname,
// a team's name, the score ...). PickEntry chooses a line so that the same
// one never comes twice in a row and a line heard more often than the
// average gives way to the least-heard one.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CFileManager;
class CSoundManager;

// Insertion types of a commentary text, one bit each.
enum : uint16_t {
    COMMENTARY_INSERT_UNKNOWN = 1,
    COMMENTARY_INSERT_GROUND_NAME = 2,
    COMMENTARY_INSERT_MANAGER_NAME = 4,
    COMMENTARY_INSERT_HOME_TEAM_NAME = 8,
    COMMENTARY_INSERT_AWAY_TEAM_NAME = 16,
    COMMENTARY_INSERT_CURRENT_SCORE = 32,
    COMMENTARY_INSERT_KEEPER_SURNAME = 64,
    COMMENTARY_INSERT_PLAYER_SURNAME = 128,
    COMMENTARY_INSERT_FROM_PLAYER_SURNAME = 256,
    COMMENTARY_INSERT_TO_PLAYER_SURNAME = 512,
    COMMENTARY_INSERT_TO_TEAM_NAME = 1024,
    COMMENTARY_INSERT_AGAINST_TEAM_NAME = 2048,
    COMMENTARY_INSERT_TEAM_NAME = 4096,
    COMMENTARY_INSERT_CARD_NUMBER = 8192,
    COMMENTARY_INSERT_GOAL_NUMBER = 16384,
};

struct COMMENTARYLINE {
    static constexpr uint16_t kNoSample = 65000;
    static constexpr uint16_t kNoText = 40000;
    uint16_t wFirstSample = kNoSample;
    uint16_t wText = kNoText;
    uint16_t wSecondSample = kNoSample;
    uint16_t awInsertions[3] = {};  // 0 ends the list
    uint16_t wUses = 0;
};

class CCommentary {
public:
    static constexpr int kMaxHeaderPairs = 200;
    static constexpr int kMaxLines = 100;
    static constexpr int kMaxInsertions = 3;

    CCommentary();
    ~CCommentary();
    CCommentary(const CCommentary&) = delete;
    CCommentary& operator=(const CCommentary&) = delete;

    // Reads the table file; the samples go into the manager (none without
    // one) from the two archives. False when the file or an archive does not
    // open.
    bool Load(const char* pszFileName, const char* pszFirstArchive, const char* pszSecondArchive,
              CSoundManager* pManager);
    // A line of the commentary type of an event; null when there is none.
    const COMMENTARYLINE* PickEntry(int nEvent, int nType);
    // The stored text of a text index; null beyond the register.
    const char* GetEntry(uint16_t wIndex) const;
    void Free();

    // The insertion type of a field's name; 1 for an unknown one.
    static uint16_t GetInsertionType(const std::string& name);

    int GetGroupCount() const { return int(m_Groups.size()); }
    int GetTypeCount(int nEvent) const;
    int GetLineCount(int nEvent, int nType) const;

private:
    struct TYPE {
        uint16_t wFallback = 0;
        uint16_t wLimit = 0;
        uint16_t wLastPick = 0;
        std::vector<COMMENTARYLINE> Lines;
    };
    struct GROUP {
        std::vector<TYPE> Types;
    };
    bool ReadBlocks(FILE* pFile, CSoundManager* pManager);
    uint16_t Register(const std::string& text);
    uint16_t LoadSample(CSoundManager* pManager, CFileManager* pArchive, const std::string& name) const;

    std::vector<GROUP> m_Groups;
    std::vector<std::string> m_Register;  // index 0 stays empty
    std::unique_ptr<CFileManager> m_pFirstArchive, m_pSecondArchive;
};
