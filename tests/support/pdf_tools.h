#pragma once

// Reading PDF files back in tests with the poppler tools (pdftotext, pdfinfo), so a test sees
// the text and page sizes a reader would.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

namespace zt::test {

struct PdfToolRun {
    bool ran = false;
    std::string out;
};

inline PdfToolRun runPdfTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    PdfToolRun r;
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << tool.toStdString()
                      << " is missing: install poppler-utils (scripts/install-deps.sh)";
        return r;
    }
    p.waitForFinished(60000);
    r.ran = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    r.out = QString::fromUtf8(p.readAllStandardOutput()).toStdString();
    return r;
}

// The text of a PDF (all pages, or page `page` alone), laid out as on the page.
inline std::string pdfText(const QString& path, int page = 0)
{
    QStringList args{"-layout"};
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    args << path << "-";
    return runPdfTool("pdftotext", args).out;
}

// One line of pdfinfo's report, such as "Pages" or "Page size".
inline std::string pdfInfo(const QString& path, const std::string& key)
{
    const std::string all = runPdfTool("pdfinfo", {path}).out;
    const std::string prefix = key + ":";
    for (std::size_t pos = 0; pos < all.size();) {
        const std::size_t end = all.find('\n', pos);
        const std::string line = all.substr(pos, end == std::string::npos ? end : end - pos);
        if (line.rfind(prefix, 0) == 0) {
            const std::size_t value = line.find_first_not_of(' ', prefix.size());
            return value == std::string::npos ? "" : line.substr(value);
        }
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return "";
}

// Whether the text holds the page mark "n / N" (text extraction may drop the spaces).
inline bool hasPageMark(const std::string& text, int page, int pages)
{
    std::string squeezed;
    for (char c : text)
        if (c != ' ') squeezed.push_back(c);
    return squeezed.find(std::to_string(page) + "/" + std::to_string(pages)) != std::string::npos;
}

inline int pdfPageCount(const QString& path)
{
    const std::string pages = pdfInfo(path, "Pages");
    return pages.empty() ? 0 : std::stoi(pages);
}

}  // namespace zt::test
