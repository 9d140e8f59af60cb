#include "database/db_host.h"

#include <utility>

#include "foundation/keys.h"

namespace {

DbHost g_defaultHost;
DbHost* g_host = nullptr;

}  // namespace

bool DbHost::AbortRequested() { return IsUserAbortKeyDown() != 0; }

DbHost* SetDbHost(DbHost* host) { return std::exchange(g_host, host); }

DbHost& CurrentDbHost() { return g_host ? *g_host : g_defaultHost; }
