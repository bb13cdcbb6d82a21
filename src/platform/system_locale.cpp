#include "platform/system_locale.h"

#include <QLocale>
#include <QOperatingSystemVersion>
#include <cstdlib>

#include "core/edit/infotool_rules.h"

namespace zt {

std::uint32_t localeIdOfName(std::string_view localeName)
{
    while (!localeName.empty() && localeName.front() == ' ') localeName.remove_prefix(1);
    while (!localeName.empty() && localeName.back() == ' ') localeName.remove_suffix(1);
    return infotool::languageOfLocaleName(localeName) == infotool::kChinese ? kLocaleChinesePrc
                                                                            : kLocaleEnglishUs;
}

std::uint32_t systemLocaleId()
{
#ifdef Q_OS_WIN
    return localeIdOfName(QLocale::system().name().toStdString());
#else
    const int language =
        infotool::languageFromEnvironment([](const char* name) { return std::getenv(name); });
    return language == infotool::kChinese ? kLocaleChinesePrc : kLocaleEnglishUs;
#endif
}

bool systemIsWindowsVista()
{
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    return os.type() == QOperatingSystemVersion::Windows && os.majorVersion() == 6 &&
           os.minorVersion() == 0;
}

}  // namespace zt
