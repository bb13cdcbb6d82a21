#pragma once

#include <QLocale>
#include <QPageSize>

#include "core/interop/channel_report.h"

class QPagedPaintDevice;

namespace zt::gui {

enum class ReportPaper { A4, Letter };

QPageSize pageSizeOf(ReportPaper paper);
// Letter where the locale measures in US units, A4 everywhere else.
ReportPaper defaultPaperFor(const QLocale& locale);

// Draws the report onto a paged device (a PDF writer or a printer) whose page size and margins
// are already set: on every page the title, model, band, file name and date at the top and
// "n / N" at the bottom; table rows are never split between pages, and a group's title and
// column headings are repeated above its continued rows. Returns the number of pages, 0 when
// painting could not start on the device.
int paintChannelReport(const ChannelReport& report, QPagedPaintDevice& device);

}  // namespace zt::gui
