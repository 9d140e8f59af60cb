#include "wizard/wiz_database.h"

namespace {

// The application installs the makers of its own database documents; a
// test may install others.
WizDatabaseMakers g_makers{};

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
