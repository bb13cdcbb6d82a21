#include "gui/report/report_commands.h"

#include <QAction>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QWidget>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/report/paint/report_painter.h"
#include "gui/report/paint/report_pdf.h"

namespace zt::gui {
namespace {

QString fromPath(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

// A menu caption without its accelerator and trailing dots, as a dialog title. A
// Chinese caption carries its accelerator as "(&P)" after the words: the brackets go too.
QString dialogTitle(const AppContext& app, int menuTextId)
{
    QString t = app.text(menuTextId);
    t.remove(QRegularExpression(QStringLiteral("\\(&[^)]\\)")));
    t.remove('&');
    while (t.endsWith('.')) t.chop(1);
    return t.trimmed();
}

void reportError(AppContext& app, int textId, const QString& detail)
{
    Message m;
    m.textId = textId;
    m.text = detail.toStdString();
    m.icon = Icon::Error;
    app.prompt->ask(m);
}

}  // namespace

ChannelReport openDocumentReport(const AppContext& app, const QDate& date)
{
    ReportSource source;
    source.model = app.state.ModelName;
    source.band = app.state.BandText;
    source.fileName = app.documents.fileName().filename().string();
    source.date = date.toString(Qt::ISODate).toStdString();
    return buildChannelReport(app.documents.working(), source, app.texts.lookup(),
                              app.state.Limits);
}

QString suggestedPdfPath(const AppContext& app)
{
    std::filesystem::path p = app.documents.fileName();
    if (p.empty()) p = kUntitledFileName;
    p.replace_extension(".pdf");
    return fromPath(p);
}

bool printOpenDocument(AppContext& app, const std::function<void()>& commitPendingEdits)
{
    if (commitPendingEdits) commitPendingEdits();
    const ChannelReport report = openDocumentReport(app, QDate::currentDate());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(pageSizeOf(defaultPaperFor(QLocale::system())));
    if (const QString missing = charactersWithoutFont(report); !missing.isEmpty()) {
        reportError(app, text::msg::ReportFontMissing, "\n" + missing);
        return false;
    }
    printer.setDocName(QString::fromUtf8(report.title));
    if (!app.prompt->choosePrinter(printer, dialogTitle(app, text::menu::FilePrint))) return false;
    if (paintChannelReport(report, printer) == 0) {
        reportError(app, text::msg::ReportPrintFailed, QString());
        return false;
    }
    return true;
}

bool exportOpenDocumentPdf(AppContext& app, const std::function<void()>& commitPendingEdits)
{
    if (commitPendingEdits) commitPendingEdits();
    FileDialogRequest request;
    request.save = true;
    request.title = dialogTitle(app, text::menu::FileExportPdf);
    request.filters = {app.text(text::msg::ReportPdfFilter) + " (*.pdf)"};
    request.initialPath = suggestedPdfPath(app);
    std::optional<QString> chosen = app.prompt->chooseFile(request);
    if (!chosen) return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += ".pdf";

    if (reportWouldReplaceDataFile(path.toStdString(), app.documents.fileName())) {
        reportError(app, text::msg::ReportWouldReplaceDataFile, "\n" + path);
        return false;
    }
    const ChannelReport report = openDocumentReport(app, QDate::currentDate());
    const PdfWriteResult result =
        writeChannelReportPdf(report, path, defaultPaperFor(QLocale::system()));
    if (!result.missingCharacters.isEmpty()) {
        reportError(app, text::msg::ReportFontMissing, "\n" + result.missingCharacters);
        return false;
    }
    if (!result.written) {
        reportError(app, text::msg::ReportPdfNotWritten, "\n" + path + "\n" + result.error);
        return false;
    }
    return true;
}

void addReportCommands(QMenu& fileMenu, AppContext& app, QWidget& window,
                       std::function<void()> commitPendingEdits)
{
    fileMenu.addSeparator();
    auto item = [&](const char* name, int textId) {
        QAction* a = fileMenu.addAction(app.text(textId));
        a->setObjectName(name);
        a->setProperty("textId", textId);
        return a;
    };
    QObject::connect(item("mnuFilePrint", text::menu::FilePrint), &QAction::triggered, &window,
                     [&app, commitPendingEdits] { printOpenDocument(app, commitPendingEdits); });
    QObject::connect(
        item("mnuFileExportPdf", text::menu::FileExportPdf), &QAction::triggered, &window,
        [&app, commitPendingEdits] { exportOpenDocumentPdf(app, commitPendingEdits); });
}

}  // namespace zt::gui
