#include "database/CupScheduleHistory.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "platform/Files.h"

#include <cstdint>

std::vector<CCupFixturesDatabase> ReadCupScheduleHistory(const std::string& name, const CDate& from,
                                                         const CDate& before)
{
    std::vector<CCupFixturesDatabase> fixtures;
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(name, bytes))
        return fixtures;
    CBinaryReader reader(bytes);
    size_t nLeft = bytes.size();
    while (nLeft >= 4) {
        uint32_t dwCount = 0;
        reader.ReadU32(dwCount);
        nLeft -= 4;
        if (static_cast<uint64_t>(dwCount) * CCupFixturesDatabase::FILE_SIZE > nLeft) {
            DebugLog(1, "[ReadCupScheduleHistory] %s is damaged: the rest is left out", name.c_str());
            break;
        }
        nLeft -= static_cast<size_t>(dwCount) * CCupFixturesDatabase::FILE_SIZE;
        for (uint32_t n = 0; n < dwCount; ++n) {
            CCupFixturesDatabase fixture;
            if (!fixture.Load(reader)) {
                DebugLog(1, "[ReadCupScheduleHistory] %s is damaged: the rest is left out", name.c_str());
                return fixtures;
            }
            if (!(fixture.GetDate() < from) && fixture.GetDate() < before)
                fixtures.push_back(fixture);
        }
    }
    return fixtures;
}
