#include "apps/cli/report_command.h"

#include <QDate>
#include <QString>
#include <ostream>

#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/language.h"
#include "core/interop/channel_report.h"
#include "core/radio/models.h"
#include "core/radio/program_state.h"
#include "gui/report/paint/report_pdf.h"

namespace zt {
namespace {

int languageOf(const std::string& name)
{
    if (name == "english" || name == "en") return kLanguageEnglish;
    if (name == "chinese" || name == "zh") return kLanguageChinese;
    return 0;
}

}  // namespace

std::string parseReportArgs(const std::vector<std::string>& args, ReportArgs& a)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (arg == "-o") {
            if (!value(a.output)) return "-o needs a file name";
        } else if (arg == "--paper") {
            std::string paper;
            if (!value(paper)) return "--paper needs a4 or letter";
            if (paper != "a4" && paper != "letter") return "--paper must be a4 or letter";
            a.letter = paper == "letter";
        } else if (arg == "--language" || arg == "--lang") {
            std::string name;
            if (!value(name) || languageOf(name) == 0)
                return arg + " must be english or chinese (en or zh)";
            a.language = languageOf(name);
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (a.input.empty()) {
            a.input = arg;
        } else {
            return "unexpected argument '" + arg + "'";
        }
    }
    if (a.input.empty()) return "no data file given";
    if (a.output.empty()) return "-o FILE.pdf is required";
    return "";
}

void useOffscreenPlatformUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

int runReportCommand(const std::vector<std::string>& args, const InstallPaths& paths,
                     std::ostream& out, std::ostream& err)
{
    ReportArgs a;
    if (const std::string misuse = parseReportArgs(args, a); !misuse.empty()) {
        err << "ztp958fm-cli: " << misuse << "\n"
            << "usage: ztp958fm-cli report FILE.dat -o report.pdf [--paper a4|letter] "
               "[--language english|chinese]\n";
        return 2;
    }
    if (reportWouldReplaceDataFile(a.output, a.input)) {
        err << "ztp958fm-cli: " << a.output << " is the data file or its channel file; "
            << "the report needs a name of its own\n";
        return 2;
    }
    int language = a.language;
    if (language == 0) {
        language = readProfileString(paths.mySetupIni(), "language", "CurrentLanguage", "1") == "2"
                       ? kLanguageChinese
                       : kLanguageEnglish;
    }
    const LanguageTexts texts(paths.languageDir(), language);

    const ParsedDataFile parsed = readDataFile(a.input);
    if (parsed.messageId != 0) {
        err << "ztp958fm-cli: cannot read data file " << a.input << ": "
            << texts.GetLangText(parsed.messageId) << "\n";
        return 1;
    }
    // Model and band as the programming program takes them from an opened file.
    ProgramState state;
    documentToCurrent(parsed.document.Data, state);
    ReportSource source;
    source.model = state.ModelName;
    source.band = state.BandText;
    source.fileName = std::filesystem::path(a.input).filename().string();
    source.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    const ChannelReport report =
        buildChannelReport(parsed.document, source, texts.lookup(), state.Limits);

    const gui::PdfWriteResult written =
        gui::writeChannelReportPdf(report, QString::fromStdString(a.output),
                                   a.letter ? gui::ReportPaper::Letter : gui::ReportPaper::A4);
    if (!written.written) {
        err << "ztp958fm-cli: cannot write " << a.output << ": " << written.error.toStdString()
            << "\n";
        return 1;
    }
    out << "wrote " << written.pages << (written.pages == 1 ? " page" : " pages") << " to "
        << a.output << "\n";
    return 0;
}

}  // namespace zt
