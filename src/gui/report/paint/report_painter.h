#pragma once

#include <QLocale>
#include <QPageSize>

#include "core/interop/channel_report.h"

class QPagedPaintDevice;

namespace zt::gui {

// The Debian package of the font the report draws Chinese texts with.
inline constexpr const char* kReportFontPackage = "fonts-wqy-microhei";

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

// The characters of the report that no installed font can draw, each once in the order they
// first appear; empty when every text can be drawn. Drawn anyway, they would be empty boxes on
// paper (a Chinese report on a system without a Chinese font).
QString charactersWithoutFont(const ChannelReport& report);

}  // namespace zt::gui
