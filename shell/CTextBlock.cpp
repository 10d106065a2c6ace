#include "shell/CTextBlock.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <string>

bool CTextBlock::Read(CBinaryReader& reader, uint32_t nSize)
{
    m_Bytes.clear();
    if (nSize == 0 || !reader.CheckCount(nSize, 1))
        return false;
    m_Bytes.resize(nSize);
    if (!reader.ReadBytes(m_Bytes.data(), nSize) || m_Bytes.back() != '\0') {
        m_Bytes.clear();
        return false;
    }
    return true;
}

bool ReadTextScript(const char* pszPathFormat, const char* pszLanguage, const char* pszWho,
                    const std::function<bool(FILE*)>& read)
{
    std::string path(pszPathFormat);
    const size_t at = path.find("%s");
    if (at != std::string::npos)
        path.replace(at, 2, pszLanguage ? pszLanguage : "");
    FILE* pFile = plat::openFile(path, "rb");
    if (!pFile) {
        DebugLog(1, "[%s] Couldn't open '%s'", pszWho, path.c_str());
        return false;
    }
    const bool bRead = read(pFile);
    std::fclose(pFile);
    if (!bRead)
        DebugLog(1, "[%s] '%s' is damaged and was not loaded", pszWho, path.c_str());
    return bRead;
}
