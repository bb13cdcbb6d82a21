#pragma once

// The per-user settings store (QSettings in the system's native format,
// addressed by application, section and key). Tests point it at an INI file
// of their own instead.

#include <QString>
#include <map>
#include <string>

namespace zt {

class UserSettingsStore {
  public:
    // The user's store of `application` (native format: the registry on
    // Windows, a file in the user's configuration folder elsewhere).
    static UserSettingsStore forApplication(const QString& application);
    // A store in the INI file `iniFile`.
    static UserSettingsStore inFile(const QString& iniFile);

    // The number under `section`/`key`; `fallback` when missing or not a number.
    int number(const QString& section, const QString& key, int fallback) const;
    // Stores every key of `values` under `section` and writes the store out.
    // False when the store could not be written.
    [[nodiscard]] bool storeNumbers(const QString& section,
                                    const std::map<QString, int>& values) const;

    // Where the store is, as the system names it (a file path or a registry key).
    QString location() const;

  private:
    UserSettingsStore(QString application, QString iniFile)
        : application_(std::move(application)), iniFile_(std::move(iniFile))
    {
    }
    QString application_;
    QString iniFile_;
};

}  // namespace zt
