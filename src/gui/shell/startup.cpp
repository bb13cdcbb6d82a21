#include "gui/shell/startup.h"

#include <QDate>
#include <QLocale>

#include "core/radio/initial_values.h"
#include "core/text_ids.h"
#include "gui/text_codec.h"
#include "platform/system_locale.h"

namespace zt::gui {

void prepareProgram(AppContext& app, std::uint32_t systemLocaleId)
{
    // Version table first: every document written from now on says "V300".
    app.versions = loadVersionTable(app.paths.versionIni());

    app.noEcho = false;

    // Defaults: the language of the system locale, the standard model and band,
    // no program password yet.
    const int localeLanguage = languageOfLocale(systemLocaleId);
    app.currentLanguage = localeLanguage;
    app.appliedLanguage = localeLanguage;
    app.state.ModelName = kStandardModel;
    app.state.setBandText(kStandardBand);
    app.enteredPassword.clear();
    app.passwordWindowShown = false;

    // Number texts always use "."; nothing system-wide is changed for it.
    QLocale::setDefault(QLocale::c());

    // The one operating-system version the serial code treats specially.
    app.osIsVista = systemIsWindowsVista();

    // mysetup.ini: first-run flag, COM port and stored language (written back).
    const StartupSettings setup = loadStartupSettings(app.paths.mySetupIni(), systemLocaleId);
    app.comPort = setup.comPort;
    app.currentLanguage = setup.language;
    app.texts.setLanguageDir(app.paths.languageDir());
    app.texts.setLanguage(app.currentLanguage);
    if (!setup.written) app.prompt->ask(settingsNotSaved(app.paths.mySetupIni().string()));

    // The first, empty document.
    startNewDocument(app, NewKind::Ordinary);

    app.applicationTitle = app.text(text::main::ApplicationTitle);

    app.state.Settings = loadSettingRecord(app.paths.settingIni());
    app.habit.UseOffset = true;
}

void startNewDocument(AppContext& app, NewKind kind)
{
    DocumentContext ctx = app.documentContext();
    app.documents.New(kind, ctx);
    const QDate today = QDate::currentDate();
    const QString shortDate = QLocale::system().toString(today, QLocale::ShortFormat);
    app.state.RadioInfo = newRadioInfoRecord(app.state, app.documents.working().Data.BandCode,
                                             toRecordText(shortDate), today.month());
}

QString messageBoxTitle(const AppContext& app)
{
    return app.text(text::main::ApplicationTitle);
}

}  // namespace zt::gui
