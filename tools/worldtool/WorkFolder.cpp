#include "tools/worldtool/WorkFolder.h"

#include <system_error>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace tools {

WorkFolder::~WorkFolder()
{
    std::error_code error;
    if (!m_previous.empty())
        fs::current_path(m_previous, error);
    if (!m_path.empty())
        fs::remove_all(m_path, error);
}

bool WorkFolder::enter(const fs::path& dataDir)
{
    std::error_code error;
    char szTemplate[] = "/tmp/worldtool_run_XXXXXX";
    if (!mkdtemp(szTemplate))
        return false;
    m_path = szTemplate;
    m_previous = fs::current_path(error);
    fs::create_directory_symlink(dataDir / "Data", m_path / "Data", error);
    if (error)
        return false;
    fs::current_path(m_path, error);
    return !error;
}

}  // namespace tools
