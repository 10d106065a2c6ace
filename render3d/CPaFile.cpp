#include "render3d/CPaFile.h"

#include "common/CBinaryFile.h"

namespace {

bool ReadKey(CBinaryReader& in, PaKey& key)
{
    in.ReadU16(key.frame);
    for (auto& row : key.rows)
        for (float& v : row)
            in.ReadFloat(v);
    return !in.Failed();
}

bool ReadRootKey(CBinaryReader& in, PaRootKey& key)
{
    in.ReadU16(key.frame);
    in.ReadFloat(key.x);
    in.ReadFloat(key.y);
    in.ReadFloat(key.z);
    return !in.Failed();
}

bool ReadKeys(CBinaryReader& in, uint16_t wCount, std::vector<PaKey>& keys)
{
    if (!in.CheckCount(wCount, CPaFile::kKeyBytes))
        return false;
    keys.resize(wCount);
    for (PaKey& key : keys)
        if (!ReadKey(in, key))
            return false;
    return true;
}

bool ReadRootKeys(CBinaryReader& in, uint16_t wCount, std::vector<PaRootKey>& keys)
{
    if (!in.CheckCount(wCount, CPaFile::kRootKeyBytes))
        return false;
    keys.resize(wCount);
    for (PaRootKey& key : keys)
        if (!ReadRootKey(in, key))
            return false;
    return true;
}

void WriteKey(CBinaryWriter& out, const PaKey& key)
{
    out.WriteU16(key.frame);
    for (const auto& row : key.rows)
        for (float v : row)
            out.WriteFloat(v);
}

void WriteRootKey(CBinaryWriter& out, const PaRootKey& key)
{
    out.WriteU16(key.frame);
    out.WriteFloat(key.x);
    out.WriteFloat(key.y);
    out.WriteFloat(key.z);
}

}  // namespace

bool CPaFile::Read(const uint8_t* pBytes, size_t nSize, uint16_t wBoneCount, const SlotOfName& slotOf,
                   PaFileData* pOut, std::string* pError)
{
    CBinaryReader in(pBytes, nSize);
    PaFileData data;
    auto fail = [pError](const std::string& why) {
        if (pError)
            *pError = why;
        return false;
    };
    in.Skip(2);
    in.ReadU16(data.header);
    if (in.Failed())
        return fail("shorter than its header");
    std::vector<bool> slotTaken(wBoneCount, false);
    for (uint16_t b = 0; b < wBoneCount; ++b) {
        PaBoneBlock block;
        uint16_t wKeys = 0;
        in.ReadU16(block.nameId);
        in.ReadU16(wKeys);
        in.Skip(2);
        if (in.Failed())
            return fail("ends inside bone block " + std::to_string(b));
        if (!slotOf(block.nameId, &block.slot))
            return fail("bone block " + std::to_string(b) + " names the unknown bone id " +
                        std::to_string(block.nameId));
        if (block.slot >= wBoneCount || slotTaken[block.slot])
            return fail("bone block " + std::to_string(b) + " gives slot " + std::to_string(block.slot) +
                        ", which is beyond the skeleton or given twice");
        slotTaken[block.slot] = true;
        if (wKeys == 0)
            return fail("bone block " + std::to_string(b) + " has no keys");
        if (!ReadKeys(in, wKeys, block.keys))
            return fail("the keys of bone block " + std::to_string(b) + " pass the end of the file");
        if (block.slot == 0) {
            uint16_t wRootKeys = 0;
            in.ReadU16(wRootKeys);
            in.Skip(2);
            if (in.Failed() || !ReadRootKeys(in, wRootKeys, block.rootKeys))
                return fail("the root track passes the end of the file");
        } else {
            in.Skip(4);
            for (float& v : block.translation)
                in.ReadFloat(v);
            if (in.Failed())
                return fail("the translation of bone block " + std::to_string(b) + " passes the end of the file");
        }
        data.bones.push_back(std::move(block));
    }
    uint16_t wPositions = 0;
    in.Skip(2);
    in.ReadU16(wPositions);
    if (in.Failed() || !ReadRootKeys(in, wPositions, data.propPositions))
        return fail("the held object's positions pass the end of the file");
    if (wPositions > 0) {
        uint16_t wPropKeys = 0;
        in.ReadU16(wPropKeys);
        if (in.Failed() || !ReadKeys(in, wPropKeys, data.propKeys))
            return fail("the held object's keys pass the end of the file");
    }
    *pOut = std::move(data);
    return true;
}

std::vector<uint8_t> CPaFile::Write(const PaFileData& data)
{
    std::vector<uint8_t> bytes;
    CBinaryWriter out(bytes);
    out.WriteU16(0);
    out.WriteU16(data.header);
    for (const PaBoneBlock& block : data.bones) {
        out.WriteU16(block.nameId);
        out.WriteU16(static_cast<uint16_t>(block.keys.size()));
        out.WriteU16(0);
        for (const PaKey& key : block.keys)
            WriteKey(out, key);
        if (block.slot == 0) {
            out.WriteU16(static_cast<uint16_t>(block.rootKeys.size()));
            out.WriteU16(0);
            for (const PaRootKey& key : block.rootKeys)
                WriteRootKey(out, key);
        } else {
            out.WriteZeros(4);
            for (float v : block.translation)
                out.WriteFloat(v);
        }
    }
    out.WriteU16(0);
    out.WriteU16(static_cast<uint16_t>(data.propPositions.size()));
    for (const PaRootKey& key : data.propPositions)
        WriteRootKey(out, key);
    if (!data.propPositions.empty()) {
        out.WriteU16(static_cast<uint16_t>(data.propKeys.size()));
        for (const PaKey& key : data.propKeys)
            WriteKey(out, key);
    }
    return bytes;
}
