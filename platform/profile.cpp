#include "platform/profile.h"

#include <QSettings>

namespace {

QString Key(const char* section, const char* name)
{
    return QString::fromLatin1(section) + "/" + QString::fromLatin1(name);
}

}  // namespace

int32_t GetProfileInt(const char* section, const char* name, int32_t defaultValue)
{
    QSettings settings;
    bool ok = false;
    const int32_t value = settings.value(Key(section, name)).toInt(&ok);
    return ok ? value : defaultValue;
}

void WriteProfileInt(const char* section, const char* name, int32_t value)
{
    QSettings settings;
    settings.setValue(Key(section, name), value);
}

std::string GetProfileString(const char* section, const char* name)
{
    QSettings settings;
    return settings.value(Key(section, name)).toString().toStdString();
}

void WriteProfileString(const char* section, const char* name, const std::string& value)
{
    QSettings settings;
    settings.setValue(Key(section, name), QString::fromStdString(value));
}

bool IsMasterMode()
{
    return GetProfileInt("Wizard", "MasterMode", -1) != 0;
}
