#include "season/CSavedGameSet.h"

#include "common/CBinaryFile.h"
#include "common/Checksum.h"
#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "season/CSaveGame.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

// How the working files of one family are packed into its member.
enum class Packing {
    COPY,           // the one working file, byte for byte
    RECORD_COUNTS,  // for each working file a u16 record count and its records
    LENGTHS,        // for each working file a u32 byte length and its bytes
};

struct Family {
    const char* pszExtension;
    Packing packing;
    int nRecordBytes;                // RECORD_COUNTS only
    std::vector<std::string> files;  // an empty name is a place without a file
};

constexpr const char kHumansExtension[] = ".sav";
// The member that holds the length and checksum of every other member, so
// that a set damaged anywhere (a flipped byte, a zeroed block, a cut) is
// refused before anything of it is read.
constexpr const char kChecksumsExtension[] = ".sum";
// The progress stage of unpacking a saved game (its text says so).
constexpr int kUnpackStage = 17;
constexpr int kClubHistoryRecordBytes = 10;

// The families in the order the set is written; the retired-record files
// are read with the world file itself.
std::vector<Family> MakeFamilies()
{
    return {
        {".chs", Packing::RECORD_COUNTS, kClubHistoryRecordBytes, {}},
        {".dhs", Packing::RECORD_COUNTS, CDivisionDatabase::HISTORY_RECORD_BYTES, {}},
        {".phs", Packing::COPY, 0, {"temp.phs"}},
        {".mhs", Packing::LENGTHS, 0, {"temp.mhs"}},
        {".fty", Packing::LENGTHS, 0, {}},
        {".fhs", Packing::LENGTHS, 0, {}},
        {".pfn", Packing::LENGTHS, 0, {}},
        {".shs", Packing::LENGTHS, 0, {}},
        {".ths", Packing::LENGTHS, 0, {}},
        {".lhs", Packing::LENGTHS, 0, {}},
        {".eml", Packing::COPY, 0, {"temp.eml"}},
        {".rtp", Packing::COPY, 0, {"temp.rtp"}},
        {".rtm", Packing::COPY, 0, {"temp.rtm"}},
        {".rts", Packing::COPY, 0, {"temp.rts"}},
        {".wmh", Packing::LENGTHS, 0, {}},
        {".hhs", Packing::LENGTHS, 0, {}},
    };
}

bool IsRetiredFamily(const Family& family)
{
    const std::string extension = family.pszExtension;
    return extension == ".rtp" || extension == ".rtm" || extension == ".rts";
}

Family& FindFamily(std::vector<Family>& families, const char* pszExtension)
{
    for (Family& family : families)
        if (std::string(family.pszExtension) == pszExtension)
            return family;
    return families.front();  // every caller names a family of the list
}

std::string Numbered(const char* pszFormat, int nNumber)
{
    char szName[40];
    std::snprintf(szName, sizeof(szName), pszFormat, nNumber);
    return szName;
}

// Every working file of the world in memory, by family, in the order of its
// countries, divisions and human slots.
std::vector<Family> WorkingFamilies(const CDatabaseHandler& handler)
{
    std::vector<Family> families = MakeFamilies();
    std::vector<std::string> divisionSchedules, cupSchedules;
    Family& clubSchedules = FindFamily(families, ".shs");
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>()) {
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            const int nId = pDivision->m_byDivisionId;
            FindFamily(families, ".chs").files.push_back(pDivision->GetClubHistoryFileName());
            FindFamily(families, ".dhs").files.push_back(pDivision->GetHistoryFileName());
            clubSchedules.files.push_back(Numbered("TempClubDivision%d.shs", nId));
            divisionSchedules.push_back(Numbered("TempDivision%d.shs", nId));
            FindFamily(families, ".ths").files.push_back(Numbered("temp%d.ths", nId));
            FindFamily(families, ".lhs").files.push_back(Numbered("temp%d.lhs", nId));
        }
        FindFamily(families, ".mhs").files.push_back(pCountry->GetMatchHistoryFileName());
        cupSchedules.push_back(Numbered("TempDomCup%d.shs", pCountry->GetID()));
    }
    clubSchedules.files.insert(clubSchedules.files.end(), divisionSchedules.begin(), divisionSchedules.end());
    clubSchedules.files.insert(clubSchedules.files.end(), cupSchedules.begin(), cupSchedules.end());
    clubSchedules.files.push_back("TempEuroCup.shs");

    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot) {
        const CSaveGame* pHuman = handler.GetHumanSlot(nSlot);
        if (!pHuman)
            continue;
        FindFamily(families, ".fty").files.push_back(pHuman->GetHistoryFileName());
        FindFamily(families, ".fhs").files.push_back(pHuman->GetFinanceHistoryFileName());
        FindFamily(families, ".pfn").files.push_back(pHuman->GetProjectedFinanceFileName());
        const CClubDatabase* pClub = pHuman->GetClub();
        FindFamily(families, ".wmh").files.push_back(pClub ? Numbered("Temp%d.wmh", pClub->GetID()) : "");
        FindFamily(families, ".hhs").files.push_back(pClub ? Numbered("Temp%d.hhs", pClub->GetID()) : "");
    }
    return families;
}

// Writes the family's working files into its member; a missing working file
// packs as empty.
bool PackFamily(const Family& family, FILE* pOut, std::string& error)
{
    CBinaryWriter writer(pOut);
    for (const std::string& name : family.files) {
        std::vector<uint8_t> bytes;
        if (!name.empty() && plat::fileExists(name) && !plat::readWholeFile(name, bytes)) {
            error = "cannot read the working file " + name;
            return false;
        }
        if (family.packing == Packing::RECORD_COUNTS) {
            const size_t nRecords = bytes.size() / family.nRecordBytes;
            if (bytes.size() % family.nRecordBytes != 0 || nRecords > UINT16_MAX) {
                error = "the working file " + name + " does not hold whole records";
                return false;
            }
            writer.WriteU16(static_cast<uint16_t>(nRecords));
        }
        else if (family.packing == Packing::LENGTHS) {
            if (bytes.size() > UINT32_MAX) {
                error = "the working file " + name + " is too large";
                return false;
            }
            writer.WriteU32(static_cast<uint32_t>(bytes.size()));
        }
        writer.WriteBytes(bytes.data(), bytes.size());
    }
    return !writer.Failed();
}

uint32_t ReadLittleEndian(const uint8_t* p, int nBytes)
{
    uint32_t dwValue = 0;
    for (int i = nBytes - 1; i >= 0; --i)
        dwValue = dwValue << 8 | p[i];
    return dwValue;
}

// Writes the member's parts back under their working names; false when the
// member does not split into exactly the family's working files.
bool UnpackFamily(const Family& family, const std::string& memberPath, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(memberPath, bytes)) {
        error = "cannot read " + memberPath;
        return false;
    }
    const std::string damaged = memberPath + " is damaged or belongs to another world";
    size_t nAt = 0;
    for (const std::string& name : family.files) {
        uint64_t nLength = bytes.size();
        const int nPrefix = family.packing == Packing::RECORD_COUNTS ? 2 : family.packing == Packing::LENGTHS ? 4 : 0;
        if (nPrefix) {
            if (bytes.size() - nAt < static_cast<size_t>(nPrefix)) {
                error = damaged;
                return false;
            }
            nLength = ReadLittleEndian(bytes.data() + nAt, nPrefix);
            if (family.packing == Packing::RECORD_COUNTS)
                nLength *= family.nRecordBytes;
            nAt += nPrefix;
        }
        if (nLength > bytes.size() - nAt || (nLength > 0 && name.empty())) {
            error = damaged;
            return false;
        }
        if (nLength > 0 && !plat::writeWholeFile(name, bytes.data() + nAt, static_cast<size_t>(nLength))) {
            error = "cannot write the working file " + name;
            return false;
        }
        nAt += static_cast<size_t>(nLength);
    }
    if (nAt != bytes.size()) {
        error = damaged;
        return false;
    }
    return true;
}

std::string FileName(const std::string& path)
{
    const size_t nSlash = path.find_last_of("/\\");
    return nSlash == std::string::npos ? path : path.substr(nSlash + 1);
}

std::string JoinNames(const std::vector<std::string>& paths)
{
    std::string names;
    for (const std::string& path : paths) {
        if (!names.empty())
            names += ", ";
        names += FileName(path);
    }
    return names;
}

void AppendU32(std::vector<uint8_t>& bytes, uint32_t dwValue)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(dwValue >> (8 * i)));
}

}  // namespace

std::vector<std::string> CSavedGameSet::GetSummedMembers() const
{
    std::vector<std::string> paths = {m_worldPath, GetMemberPath(kHumansExtension)};
    for (const Family& family : MakeFamilies())
        paths.push_back(GetMemberPath(family.pszExtension));
    return paths;
}

bool CSavedGameSet::WriteChecksums(std::string& error) const
{
    std::vector<uint8_t> sums;
    for (const std::string& path : GetSummedMembers()) {
        std::vector<uint8_t> bytes;
        if (!plat::readWholeFile(path, bytes) || bytes.size() > UINT32_MAX) {
            error = "cannot read " + path + " back";
            return false;
        }
        AppendU32(sums, static_cast<uint32_t>(bytes.size()));
        AppendU32(sums, Crc32(bytes.data(), bytes.size()));
    }
    AppendU32(sums, Crc32(sums.data(), sums.size()));
    const std::string path = GetMemberPath(kChecksumsExtension);
    if (!plat::writeWholeFile(path, sums.data(), sums.size())) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool CSavedGameSet::CheckChecksums(std::string& error) const
{
    const std::string sumsPath = GetMemberPath(kChecksumsExtension);
    const std::vector<std::string> members = GetSummedMembers();
    std::vector<uint8_t> sums;
    if (!plat::readWholeFile(sumsPath, sums) || sums.size() != members.size() * 8 + 4 ||
        ReadLittleEndian(sums.data() + sums.size() - 4, 4) != Crc32(sums.data(), sums.size() - 4)) {
        error = sumsPath + " is damaged or belongs to another world";
        return false;
    }
    for (size_t i = 0; i < members.size(); ++i) {
        std::vector<uint8_t> bytes;
        if (!plat::readWholeFile(members[i], bytes)) {
            error = "cannot read " + members[i];
            return false;
        }
        if (bytes.size() != ReadLittleEndian(sums.data() + 8 * i, 4) ||
            Crc32(bytes.data(), bytes.size()) != ReadLittleEndian(sums.data() + 8 * i + 4, 4)) {
            error = members[i] + " is damaged or belongs to another world";
            return false;
        }
    }
    return true;
}

CSavedGameSet::CSavedGameSet(std::string worldPath) : m_worldPath(std::move(worldPath))
{
    const size_t nDot = m_worldPath.rfind('.');
    const size_t nSlash = m_worldPath.find_last_of("/\\");
    const bool bHasExtension = nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash);
    m_stem = bHasExtension ? m_worldPath.substr(0, nDot) : m_worldPath;
}

std::string CSavedGameSet::GetMemberPath(const char* pszExtension) const { return m_stem + pszExtension; }

void CSavedGameSet::DeleteWorkingFiles()
{
    for (const Family& family : MakeFamilies())
        plat::removeFiles(".", std::string("Temp*") + family.pszExtension);
}

bool CSavedGameSet::IsGameInPlay(const CDatabaseHandler& handler)
{
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            if (!pDivision->m_lstFixtures.IsEmpty())
                return true;
    return false;
}

std::vector<std::string> CSavedGameSet::GetMissingMembers() const
{
    std::vector<std::string> missing;
    if (!plat::fileExists(GetMemberPath(kHumansExtension)))
        missing.push_back(GetMemberPath(kHumansExtension));
    if (!plat::fileExists(GetMemberPath(kChecksumsExtension)))
        missing.push_back(GetMemberPath(kChecksumsExtension));
    for (const Family& family : MakeFamilies())
        if (!plat::fileExists(GetMemberPath(family.pszExtension)))
            missing.push_back(GetMemberPath(family.pszExtension));
    return missing;
}

bool CSavedGameSet::Save(CDatabaseHandler& handler, std::string& error) const
{
    // Every member is written whole before any is put in place.
    std::vector<std::pair<std::string, std::unique_ptr<plat::SafeFile>>> members;
    auto open = [&members](const std::string& path) {
        members.emplace_back(path, std::make_unique<plat::SafeFile>(path));
        return members.back().second->file();
    };
    auto fail = [&error](const std::string& reason) {
        if (error.empty())
            error = reason;
        DebugLog(0, "[CSavedGameSet::Save] %s", error.c_str());
        return false;
    };
    error.clear();
    const bool bInPlay = IsGameInPlay(handler);
    if (bInPlay) {
        // What the running game holds in memory of its working files goes to them first.
        if (!handler.FlushWorkingFiles())
            return fail("cannot write the working files of the game");
        const std::string humans = GetMemberPath(kHumansExtension);
        FILE* pHumans = open(humans);
        if (!pHumans || !handler.SaveHumans(pHumans))
            return fail("cannot write " + humans);
        for (const Family& family : WorkingFamilies(handler)) {
            const std::string path = GetMemberPath(family.pszExtension);
            FILE* pMember = open(path);
            if (!pMember || !PackFamily(family, pMember, error))
                return fail("cannot write " + path);
        }
    }
    // The world file goes last, so that it never stands beside members older than itself.
    FILE* pWorld = open(m_worldPath);
    if (!pWorld || !handler.Save(pWorld))
        return fail("cannot write " + m_worldPath);
    for (auto& [path, pFile] : members)
        if (!pFile->commit())
            return fail("cannot write " + path);
    if (bInPlay && !WriteChecksums(error))
        return fail(error);
    if (!bInPlay) {
        // A world that stands alone keeps no members of an earlier set beside it.
        plat::removeFile(GetMemberPath(kHumansExtension));
        plat::removeFile(GetMemberPath(kChecksumsExtension));
        for (const Family& family : MakeFamilies())
            plat::removeFile(GetMemberPath(family.pszExtension));
    }
    return true;
}

bool CSavedGameSet::LoadWorldFile(CDatabaseHandler& handler) const
{
    return handler.LoadFile(m_worldPath);
}

bool CSavedGameSet::Refuse(CDatabaseHandler& handler, std::string& error, const std::string& reason) const
{
    handler.UnloadWorld();
    DeleteWorkingFiles();
    error = reason;
    DebugLog(0, "[CSavedGameSet::Load] %s", reason.c_str());
    return false;
}

bool CSavedGameSet::Load(CDatabaseHandler& handler, std::string& error) const
{
    error.clear();
    // Nothing of an earlier game may be read into this one.
    DeleteWorkingFiles();
    if (!plat::fileExists(m_worldPath))
        return Refuse(handler, error, "cannot open " + m_worldPath);
    const std::vector<std::string> missing = GetMissingMembers();
    const size_t nMembers = MakeFamilies().size() + 2;
    if (!missing.empty() && missing.size() < nMembers)
        return Refuse(handler, error, "the set of " + m_worldPath + " lacks " + JoinNames(missing));
    const bool bWholeSet = missing.empty();
    if (bWholeSet && !CheckChecksums(error))
        return Refuse(handler, error, std::string(error));

    // The retired records are read with the world file itself.
    if (bWholeSet)
        for (const Family& family : MakeFamilies())
            if (IsRetiredFamily(family) && !UnpackFamily(family, GetMemberPath(family.pszExtension), error))
                return Refuse(handler, error, std::string(error));
    if (!LoadWorldFile(handler)) {
        std::string reason = m_worldPath + " is refused (BRELLOX_LOG=1 shows why)";
        if (!bWholeSet)
            reason += "; a game in play needs its set beside it, and it lacks " + JoinNames(missing);
        return Refuse(handler, error, reason);
    }
    handler.SetupPointers();
    if (!bWholeSet) {
        if (IsGameInPlay(handler))
            return Refuse(handler, error,
                          m_worldPath + " is a game in play and its set lacks " + JoinNames(missing));
        return true;
    }

    const std::string humans = GetMemberPath(kHumansExtension);
    FILE* pHumans = plat::openFile(humans, "rb");
    const bool bHumans = pHumans && handler.LoadHumans(pHumans);
    if (pHumans)
        std::fclose(pHumans);
    if (!bHumans)
        return Refuse(handler, error, humans + " is damaged or belongs to another world");
    // The working files are unpacked one family at a time, shown as progress.
    const std::vector<Family> families = WorkingFamilies(handler);
    for (size_t i = 0; i < families.size(); ++i) {
        const Family& family = families[i];
        if (!IsRetiredFamily(family) && !UnpackFamily(family, GetMemberPath(family.pszExtension), error))
            return Refuse(handler, error, std::string(error));
        ProgressCallback(static_cast<double>(i + 1) * 100.0 / static_cast<double>(families.size()), kUnpackStage, 1, 0);
    }

    // The weekly history keeps the layout it was made with.
    const int64_t nHistoryBytes = plat::fileSize("temp.phs");
    if (nHistoryBytes > 0)
        handler.RaiseHistorySlotCount(static_cast<int>(nHistoryBytes / CDatabaseHandler::GetPlayerHistoryFileBytes(1)));
    return true;
}
