#include "platform/SafeFile.h"

#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace plat {

namespace {

// The mode a new file of this process would get, or the target's own when it
// exists, so that replacing a file keeps who may read it.
mode_t ModeFor(const std::string& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

SafeFile::SafeFile(const std::string& gamePath) : m_target(resolvePath(gamePath))
{
    std::string pattern = m_target + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return;
    m_temporary = pattern;
    ::fchmod(fd, ModeFor(m_target));
    m_pFile = ::fdopen(fd, "wb");
    if (!m_pFile) {
        ::close(fd);
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

SafeFile::~SafeFile() { abandon(); }

bool SafeFile::commit()
{
    if (!m_pFile)
        return false;
    bool bOk = std::fflush(m_pFile) == 0 && !std::ferror(m_pFile);
    bOk = std::fclose(m_pFile) == 0 && bOk;
    m_pFile = nullptr;
    if (bOk)
        bOk = ::rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!bOk)
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
    return bOk;
}

void SafeFile::abandon()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

bool writeFileSafely(const std::string& gamePath, const std::function<bool(FILE*)>& writeContents)
{
    SafeFile file(gamePath);
    if (!file.file())
        return false;
    if (!writeContents(file.file())) {
        file.abandon();
        return false;
    }
    return file.commit();
}

bool writeWholeFile(const std::string& gamePath, const void* pData, size_t nBytes)
{
    return writeFileSafely(gamePath, [pData, nBytes](FILE* pFile) {
        return nBytes == 0 || std::fwrite(pData, 1, nBytes, pFile) == nBytes;
    });
}

}  // namespace plat
