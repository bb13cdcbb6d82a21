#include "gui/report/paint/report_pdf.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

namespace zt::gui {

namespace {
constexpr int kPdfResolution = 300;
constexpr qreal kMarginMm = 14;
}  // namespace

PdfWriteResult writeChannelReportPdf(const ChannelReport& report, const QString& path,
                                     ReportPaper paper)
{
    PdfWriteResult result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setTitle(QString::fromUtf8(report.title));
        writer.setCreator("ZTP958FM");
        writer.setPageLayout(QPageLayout(pageSizeOf(paper), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        result.pages = paintChannelReport(report, writer);
    }
    if (result.pages == 0) {
        file.cancelWriting();
        result.error = QStringLiteral("the PDF could not be drawn");
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        result.pages = 0;
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace zt::gui
