#include "gui/infotool/system_host.h"

#include <QLocale>
#include <memory>

#include "core/edit/infotool_rules.h"
#include "gui/widgets/qt_translations.h"
#include "platform/port_diagnosis.h"
#include "platform/port_table.h"
#include "platform/qt_serial_devices.h"
#include "platform/system_locale.h"

namespace zt::infotool {

std::filesystem::path settingsIniOf(const std::filesystem::path& programDir)
{
    return programDir / "mysetup.ini";
}

int systemLanguage()
{
    return systemLocaleId() == kLocaleChinesePrc ? kChinese : kEnglish;
}

SystemHost::SystemHost(std::filesystem::path settingsIni) : ini_(std::move(settingsIni)) {}

InfoToolHost SystemHost::host(gui::PromptService& prompt, int language)
{
    InfoToolHost h;
    // The standard buttons of its questions (the texts name them: "是", "否")
    // and its file dialogs speak the tool's language too.
    gui::applyQtTranslations(language == kChinese ? 2 : 1);
    // The tool carries its own texts: a port that cannot be opened is
    // explained in the tool's language.
    port_.setMessageTexts(builtInPortTexts(language));
    port_.setPortLister([ini = ini_] { return existingComPorts(ini); });
    h.port = &port_;
    h.timers = &timers_;
    h.prompt = &prompt;
    h.settingsIni = ini_;
    h.language = language;
    h.listPorts = [ini = ini_] {
        // The platform's port table stands in for the system's list of serial
        // ports: COM1..COM16 in number order, those whose device exists.
        std::vector<int> listed;
        const auto present = comAvailability(ini);
        for (int n = 1; n <= kComPortCount; ++n)
            if (present[static_cast<std::size_t>(n - 1)]) listed.push_back(n);
        return listed;
    };
    h.selectPort = [this](int number) {
        port_.setDeviceName(QString::fromStdString(comDevice(number, ini_).string()));
    };
    h.today = [] { return QDate::currentDate(); };
    h.shortDate = [](const QDate& d) {
        return QLocale::system().toString(d, QLocale::ShortFormat);
    };
    h.osVersionKnown = [] { return true; };
    auto devices = std::make_shared<SystemSerialDevices>();
    h.portDevice = [ini = ini_](int number) { return comDevice(number, ini); };
    h.listDevices = [devices] { return devices->devices(); };
    h.deviceAccess = [devices](const std::filesystem::path& device) {
        return devices->access(device);
    };
    return h;
}

void SystemHost::connect(InfoToolWindow& window)
{
    port_.onLost = [&window](const std::string& reason) { window.portLost(reason); };
}

}  // namespace zt::infotool
