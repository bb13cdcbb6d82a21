#pragma once

#include <QDate>
#include <QString>
#include <functional>

#include "core/interop/channel_report.h"

class QMenu;
class QWidget;

namespace zt::gui {

struct AppContext;

// The report of the open document as the programming program prints it: the current model and
// band, the document's file name, the given date and the current language.
ChannelReport openDocumentReport(const AppContext& app, const QDate& date);

// The PDF file Export PDF suggests: the document's path with ".pdf" in place of its suffix.
QString suggestedPdfPath(const AppContext& app);

// File > Print...: the print dialog through the prompt service, then the report on the chosen
// printer. Returns whether it was printed; a printer that cannot start is reported.
bool printOpenDocument(AppContext& app, const std::function<void()>& commitPendingEdits);
// File > Export PDF...: the save dialog through the prompt service, then the report as a PDF
// file on the locale's paper size. Returns whether the file was written; a failure is
// reported with the file and the system's reason, and leaves no partial file.
bool exportOpenDocumentPdf(AppContext& app, const std::function<void()>& commitPendingEdits);

// Adds "Print..." and "Export PDF..." to the File menu (objectNames mnuFilePrint and
// mnuFileExportPdf, captions by text id). Each first runs `commitPendingEdits`, so an entry
// still being typed is part of the report.
void addReportCommands(QMenu& fileMenu, AppContext& app, QWidget& window,
                       std::function<void()> commitPendingEdits);

}  // namespace zt::gui
