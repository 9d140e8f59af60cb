#include "database/db_host.h"

#include "foundation/keys.h"

namespace {

DbHost g_defaultHost;
DbHost* g_host = nullptr;

}  // namespace

bool DbHost::AbortRequested() { return IsUserAbortKeyDown() != 0; }

DbHost* SetDbHost(DbHost* host)
{
    DbHost* previous = g_host;
    g_host = host;
    return previous;
}

DbHost& CurrentDbHost() { return g_host ? *g_host : g_defaultHost; }
