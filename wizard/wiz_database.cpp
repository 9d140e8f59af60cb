#include "wizard/wiz_database.h"

#include "wizard/wiz_shell_database.h"

namespace {

// The program's own database documents unless a test installs others.
WizDatabaseMakers g_makers{&WizShellDatabase::Create, &WizShellDatabase::Open};

}  // namespace

WizDatabaseMakers SetWizDatabaseMakers(WizDatabaseMakers makers)
{
    const WizDatabaseMakers previous = g_makers;
    g_makers = makers;
    return previous;
}

WizDatabase* CreateWizDatabase(QWidget* parent)
{
    return g_makers.create ? g_makers.create(parent) : nullptr;
}

WizDatabase* OpenWizDatabase(QWidget* parent)
{
    return g_makers.open ? g_makers.open(parent) : nullptr;
}
