// The root's part of the quick-match pools: it holds their chunks and frees
// them when it goes.
#include "database/CDatabaseHandler.h"
#include "season/CClub.h"

#include <new>

CDatabaseHandler::MATCHCHUNKS::MATCHCHUNKS(CDatabaseHandler* pOwner) : pHandler(pOwner)
{
    CQuickMatchPools::SetDatabaseHandler(pOwner, &lstChunks);
}

CDatabaseHandler::MATCHCHUNKS::~MATCHCHUNKS()
{
    CQuickMatchPools::ForgetChunks(pHandler);
    while (!lstChunks.IsEmpty())
        ::operator delete(lstChunks.RemoveHead());
}
