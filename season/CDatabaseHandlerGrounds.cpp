// The root's part of the referee and ground records: their class-wide root
// pointer, the component identifier counter and the ground lookup.
#include "database/CDatabaseHandler.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CRefereeDatabase.h"

CDatabaseHandler::RECORDSLINK::RECORDSLINK(CDatabaseHandler* pHandler)
{
    CRefereeDatabase::SetDatabaseHandler(pHandler);
    CGroundDatabase::SetDatabaseHandler(pHandler);
    CComponentDatabase::SetDatabaseHandler(pHandler);
    CComponentScheduleDatabase::SetDatabaseHandler(pHandler);
}

CDatabaseHandler::RECORDSLINK::~RECORDSLINK()
{
    CRefereeDatabase::SetDatabaseHandler(nullptr);
    CGroundDatabase::SetDatabaseHandler(nullptr);
    CComponentDatabase::SetDatabaseHandler(nullptr);
    CComponentScheduleDatabase::SetDatabaseHandler(nullptr);
}

uint32_t CDatabaseHandler::TakeNextComponentID()
{
    return m_dwGroundComponentID++;
}

CGroundDatabase* CDatabaseHandler::GetGroundFromID(ID_GROUND idGround, LPXLISTNODE* ppNext) const
{
    if (!ppNext)
        return idGround < m_groundsById.size() ? m_groundsById[idGround] : nullptr;
    int nLeft = m_nGroundCount;
    for (LPXLISTNODE pNode = m_lstGrounds.GetHead(); pNode && nLeft > 0; pNode = pNode->pNext, --nLeft) {
        auto* pGround = static_cast<CGroundDatabase*>(pNode->pData);
        if (pGround->GetID() == idGround) {
            if (ppNext)
                *ppNext = pNode->pNext;
            return pGround;
        }
    }
    if (ppNext)
        *ppNext = nullptr;
    return nullptr;
}
