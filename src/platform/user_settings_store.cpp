#include "platform/user_settings_store.h"

#include <QSettings>
#include <memory>

namespace zt {

namespace {

std::unique_ptr<QSettings> open(const QString& application, const QString& iniFile)
{
    if (!iniFile.isEmpty()) return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application,
                                       application);
}

}  // namespace

UserSettingsStore UserSettingsStore::forApplication(const QString& application)
{
    return UserSettingsStore(application, QString());
}

UserSettingsStore UserSettingsStore::inFile(const QString& iniFile)
{
    return UserSettingsStore(QString(), iniFile);
}

int UserSettingsStore::number(const QString& section, const QString& key, int fallback) const
{
    const auto s = open(application_, iniFile_);
    bool ok = false;
    const int value = s->value(section + "/" + key).toInt(&ok);
    return ok ? value : fallback;
}

bool UserSettingsStore::storeNumbers(const QString& section,
                                     const std::map<QString, int>& values) const
{
    const auto s = open(application_, iniFile_);
    s->beginGroup(section);
    for (const auto& [key, value] : values) s->setValue(key, value);
    s->endGroup();
    s->sync();
    return s->status() == QSettings::NoError && s->isWritable();
}

QString UserSettingsStore::location() const
{
    return open(application_, iniFile_)->fileName();
}

}  // namespace zt
