#pragma once

#include <QString>

#include "gui/report/paint/report_painter.h"

namespace zt::gui {

struct PdfWriteResult {
    bool written = false;
    int pages = 0;
    QString error;  // the system's reason when not written
};

// Writes the report as a PDF file. The file is written beside its final name and renamed over
// it only when complete, so a failure leaves no partial file and keeps an older one intact.
PdfWriteResult writeChannelReportPdf(const ChannelReport& report, const QString& path,
                                     ReportPaper paper);

}  // namespace zt::gui
