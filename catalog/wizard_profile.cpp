#include "catalog/wizard_profile.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

WizardProfileReader g_reader = nullptr;

int32_t ReadSettings(const char* name, int32_t defaultValue)
{
    QString application = QCoreApplication::applicationName();
    if (application.isEmpty())
        application = QStringLiteral("Tessaline");
    QSettings settings(QStringLiteral("Korrinworks Inc."), application);
    bool ok = false;
    const int value = settings.value(QStringLiteral("Wizard/") + QLatin1String(name)).toInt(&ok);
    return ok ? int32_t(value) : defaultValue;
}

}  // namespace

int32_t WizardProfileInt(const char* name, int32_t defaultValue)
{
    return g_reader ? g_reader(name, defaultValue) : ReadSettings(name, defaultValue);
}

WizardProfileReader SetWizardProfileReader(WizardProfileReader reader)
{
    WizardProfileReader previous = g_reader;
    g_reader = reader;
    return previous;
}
