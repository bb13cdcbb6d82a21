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
    result.missingCharacters = charactersWithoutFont(report);
    if (!result.missingCharacters.isEmpty()) {
        // A few of them are enough to recognise the script.
        constexpr int kShown = 12;
        QString shown = result.missingCharacters.left(kShown);
        if (result.missingCharacters.size() > kShown) shown += QStringLiteral("...");
        result.error = QStringLiteral(
                           "no installed font can draw the report's characters %1; "
                           "install the package %2")
                           .arg(shown, QLatin1String(kReportFontPackage));
        return result;
    }
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
