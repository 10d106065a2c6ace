#include "sound/CSoundList.h"

CSoundList::CSoundList(uint32_t dwCapacity) : m_dwCapacity(dwCapacity)
{
    m_Items.SetSize(static_cast<int>(dwCapacity), 5);
}

CSoundList::~CSoundList()
{
    m_Items.SetSize(0);
}

void CSoundList::Append(void* pItem)
{
    m_Items.SetAtGrow(static_cast<int>(m_dwCount), pItem);
    ++m_dwCount;
}
