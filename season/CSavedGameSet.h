#pragma once
// A saved world is a set of files named from its world file's stem: the
// world file ("W.bin"), the human managers ("W.sav") and one file for each
// family of the running game's working files (histories, archives, finance
// books and the retired-record files), and the length and checksum of each of
// them ("W.sum"), so that damage anywhere refuses the set. The working files live in the current
// folder while a game runs; saving packs them into the set, loading unpacks
// them back, and a set is written, loaded and refused as a whole.
#include <string>
#include <vector>

class CDatabaseHandler;

class CSavedGameSet {
public:
    // worldPath names the world file, e.g. "Data\Saves\Game.bin".
    explicit CSavedGameSet(std::string worldPath);

    // The member of the set with this extension (".rtm"), beside the world file.
    std::string GetMemberPath(const char* pszExtension) const;
    const std::string& GetWorldPath() const { return m_worldPath; }

    // Removes every working file of a game from the current folder, so that
    // nothing of an earlier game is read by the next one.
    static void DeleteWorkingFiles();

    // A game in play (its season has begun) needs its whole set; the
    // starting database needs none.
    static bool IsGameInPlay(const CDatabaseHandler& handler);

    // Writes the world file and, for a game in play, every other member from
    // the working files of the current folder. Every member goes to a
    // temporary name first and all are put in place only when all are whole;
    // on failure nothing of an earlier set is lost and error says why. A world
    // not in play is written alone, and members of an earlier set are removed.
    bool Save(CDatabaseHandler& handler, std::string& error) const;

    // Starts from a clean working set, reads the world file and the members
    // its game needs, and writes the working files back into the current
    // folder. A missing or damaged member refuses the whole set, with error
    // naming it; the handler then holds no world and no working file is left.
    bool Load(CDatabaseHandler& handler, std::string& error) const;

    // Writes the checksums member from the members now in place (a save does
    // it last); false, with error, when a member cannot be read back.
    bool WriteChecksums(std::string& error) const;

    // The members of the set (other than the world file) that are missing.
    std::vector<std::string> GetMissingMembers() const;

private:
    // The world file, the humans and the family members, in the order their
    // lengths and checksums are kept.
    std::vector<std::string> GetSummedMembers() const;
    // False, naming the member, when any member differs from what the
    // checksums member holds, or that member itself is damaged.
    bool CheckChecksums(std::string& error) const;
    bool LoadWorldFile(CDatabaseHandler& handler) const;
    bool Refuse(CDatabaseHandler& handler, std::string& error, const std::string& reason) const;

    std::string m_worldPath;
    std::string m_stem;
};
