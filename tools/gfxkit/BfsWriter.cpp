#include "tools/gfxkit/BfsWriter.h"

#include "common/CBinaryFile.h"
#include "platform/SafeFile.h"
#include "shell/CFileManager.h"

#include <algorithm>
#include <cstdio>

namespace tools {

namespace {
void put(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}
}  // namespace

bool encodeBfs(std::vector<BfsMember> members, std::vector<uint8_t>& out, std::string& error)
{
    if (members.size() > 0xFFFF) {
        error = "too many members";
        return false;
    }
    std::sort(members.begin(), members.end(), [](const BfsMember& a, const BfsMember& b) {
        return CompareBFSNames(a.name.c_str(), b.name.c_str()) < 0;
    });
    bool longForm = false;
    for (size_t i = 0; i < members.size(); ++i) {
        const std::string& name = members[i].name;
        if (name.empty() || name.size() > 39) {
            error = "bad member name '" + name + "'";
            return false;
        }
        if (i > 0 && CompareBFSNames(members[i - 1].name.c_str(), name.c_str()) == 0) {
            error = "member '" + name + "' appears twice";
            return false;
        }
        longForm = longForm || name.size() > 15;
    }
    const size_t nameLength = longForm ? 40 : 16;
    const size_t directoryEnd = 8 + members.size() * (8 + nameLength);
    out.clear();
    put(out, 0, 4);
    put(out, static_cast<uint32_t>(members.size()), 2);
    put(out, longForm ? 1 : 0, 2);
    uint64_t offset = directoryEnd;
    for (const BfsMember& m : members) {
        if (offset + m.bytes.size() > 0xFFFFFFFFu) {
            error = "archive larger than 4 GiB";
            return false;
        }
        put(out, static_cast<uint32_t>(offset), 4);
        put(out, static_cast<uint32_t>(m.bytes.size()), 4);
        std::string field = m.name;
        field.resize(nameLength, '\0');
        out.insert(out.end(), field.begin(), field.end());
        offset += m.bytes.size();
    }
    for (const BfsMember& m : members)
        out.insert(out.end(), m.bytes.begin(), m.bytes.end());
    return true;
}

bool writeBfs(const std::vector<BfsMember>& members, const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!encodeBfs(members, bytes, error))
        return false;
    if (!plat::writeWholeFile(path, bytes.data(), bytes.size())) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace tools
