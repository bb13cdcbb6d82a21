#pragma once

#include <QString>

#include "gui/report/paint/report_painter.h"

namespace zt::gui {

struct PdfWriteResult {
    bool written = false;
    int pages = 0;
    QString error;  // the system's reason when not written
    // Characters no installed font can draw: the report is then not written (it would show
    // empty boxes), and `error` says which font package brings them.
    QString missingCharacters;
};

// Writes the report as a PDF file. The file is written beside its final name and renamed over
// it only when complete, so a failure leaves no partial file and keeps an older one intact.
// A report with characters no installed font can draw is not written.
PdfWriteResult writeChannelReportPdf(const ChannelReport& report, const QString& path,
                                     ReportPaper paper);

}  // namespace zt::gui
