#include "gui/report/paint/report_painter.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include "core/interop/page_flow.h"

namespace zt::gui {
namespace {

QString qs(const std::string& utf8)
{
    return QString::fromUtf8(utf8);
}

// Breaks a text into lines no wider than `width`: at spaces, and inside a word only when the
// word alone is wider than a line (then between characters). Nothing is left out.
QStringList fitIntoLines(const QFontMetricsF& fm, const QString& text, qreal width)
{
    QStringList lines;
    QString line;
    auto push = [&](const QString& word) {
        const QString joined = line.isEmpty() ? word : line + ' ' + word;
        if (line.isEmpty() || fm.horizontalAdvance(joined) <= width) {
            line = joined;
        } else {
            lines << line;
            line = word;
        }
        // A word wider than a line is broken between characters (never inside a surrogate
        // pair); each piece holds at least one character.
        while (line.size() > 1 && fm.horizontalAdvance(line) > width) {
            auto after = [&](int i) { return i + (line[i].isHighSurrogate() ? 2 : 1); };
            int fit = after(0);
            while (fit < line.size() && fm.horizontalAdvance(line.left(after(fit))) <= width)
                fit = after(fit);
            if (fit >= line.size()) break;
            lines << line.left(fit);
            line = line.mid(fit);
        }
    };
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) push(word);
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

// Latin text in a common sans font; Chinese text falls to a font that has its glyphs.
QFont reportFont(qreal points, bool bold)
{
    QFont f;
    f.setFamilies({"DejaVu Sans", "WenQuanYi Micro Hei"});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    // Any letter spacing keeps the shaper from joining letters into ligatures ("ff" as one
    // glyph), so text copied or searched in the PDF reads as written.
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    return f;
}

struct Item {
    qreal height = 0;
    bool keepWithNext = false;
    std::vector<int> repeatAtPageTop;
    std::function<void(QPainter&, const QRectF&)> draw;
};

const QColor kHeadingShade(225, 230, 240);
const QColor kStripe(244, 244, 244);
const QColor kRule(120, 120, 120);

class ReportLayout {
  public:
    ReportLayout(const ChannelReport& report, QPagedPaintDevice& device)
        : report_(report),
          device_(device),
          body_(reportFont(8.5, false)),
          bold_(reportFont(8.5, true)),
          title_(reportFont(13, true)),
          small_(reportFont(7.5, false)),
          fm_(body_, &device),
          boldFm_(bold_, &device),
          titleFm_(title_, &device),
          smallFm_(small_, &device),
          width_(device.width()),
          pad_(mm(1.2))
    {
    }

    int paint(QPainter& painter)
    {
        buildItems();
        const qreal headerHeight = titleFm_.height() + fm_.height() + mm(3);
        const qreal footerHeight = smallFm_.height() + mm(2);
        const qreal bodyTop = headerHeight + mm(4);
        const qreal bodyHeight = device_.height() - bodyTop - footerHeight;

        std::vector<FlowBlock> blocks;
        for (const Item& item : items_)
            blocks.push_back({static_cast<int>(std::ceil(item.height)), item.keepWithNext,
                              item.repeatAtPageTop});
        const auto pages = paginate(blocks, static_cast<int>(std::floor(bodyHeight)));
        const int pageCount = static_cast<int>(pages.size());
        for (int p = 0; p < pageCount; ++p) {
            if (p > 0) device_.newPage();
            drawHeader(painter, headerHeight);
            qreal y = bodyTop;
            for (int index : pages[static_cast<std::size_t>(p)]) {
                const Item& item = items_[static_cast<std::size_t>(index)];
                item.draw(painter, QRectF(0, y, width_, item.height));
                y += item.height;
            }
            drawFooter(painter, p + 1, pageCount, footerHeight);
        }
        return pageCount;
    }

  private:
    qreal mm(qreal millimetres) const { return millimetres * device_.logicalDpiY() / 25.4; }

    qreal wrappedHeight(const QFontMetricsF& fm, qreal width, const QString& text) const
    {
        return fm.boundingRect(QRectF(0, 0, std::max<qreal>(width, 1), 1e6), Qt::TextWordWrap, text)
            .height();
    }

    void drawHeader(QPainter& painter, qreal headerHeight)
    {
        // The date (the last header field) stands at the right of the title line.
        const QString date = report_.header.empty() ? QString()
                                                    : qs(report_.header.back().label) + ": " +
                                                          qs(report_.header.back().value);
        painter.setFont(body_);
        const qreal dateWidth = fm_.horizontalAdvance(date);
        painter.drawText(QRectF(width_ - dateWidth, 0, dateWidth, titleFm_.height()),
                         Qt::AlignRight | Qt::AlignVCenter, date);
        painter.setFont(title_);
        painter.drawText(
            QRectF(0, 0, width_ - dateWidth - mm(4), titleFm_.height()),
            Qt::AlignLeft | Qt::AlignVCenter,
            titleFm_.elidedText(qs(report_.title), Qt::ElideRight, width_ - dateWidth - mm(4)));

        QStringList parts;
        for (std::size_t i = 0; i + 1 < report_.header.size(); ++i)
            parts << qs(report_.header[i].label) + ": " + qs(report_.header[i].value);
        painter.setFont(body_);
        const QString line = fm_.elidedText(parts.join("     "), Qt::ElideMiddle, width_);
        painter.drawText(QRectF(0, titleFm_.height(), width_, fm_.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        painter.setPen(QPen(kRule, mm(0.3)));
        painter.drawLine(QPointF(0, headerHeight), QPointF(width_, headerHeight));
        painter.setPen(Qt::black);
    }

    void drawFooter(QPainter& painter, int page, int pageCount, qreal footerHeight)
    {
        painter.setFont(small_);
        painter.drawText(QRectF(0, device_.height() - footerHeight, width_, footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QString("%1 / %2").arg(page).arg(pageCount));
    }

    int add(Item item)
    {
        items_.push_back(std::move(item));
        return static_cast<int>(items_.size()) - 1;
    }

    void buildItems()
    {
        buildChannelTable();
        addParagraphSection(qs(report_.legendTitle), legendText());
        // One label column for both settings tables, so their values line up.
        for (const auto* fields : {&report_.settings, &report_.publicSettings})
            for (const ReportField& f : *fields)
                labelWidth_ = std::max(labelWidth_, fm_.horizontalAdvance(qs(f.label)));
        labelWidth_ = std::min(labelWidth_ + 2 * pad_, width_ * 0.45);
        addFieldSection(qs(report_.settingsTitle), report_.settings);
        addFieldSection(qs(report_.publicTitle), report_.publicSettings);
    }

    // Column widths: each column as wide as its widest cell (and the longest word of its
    // heading); the flags column takes what is left, at least its longest flag, so flags wrap
    // onto further lines of their row instead of being cut. Only when the other columns leave
    // too little room is every column narrowed, and then their cells wrap too.
    std::vector<qreal> columnWidths() const
    {
        const std::size_t n = report_.columns.size();
        std::vector<qreal> w(n, 0);
        for (std::size_t c = 0; c < n; ++c) {
            for (const QString& word : qs(report_.columns[c]).split(' ', Qt::SkipEmptyParts))
                w[c] = std::max(w[c], boldFm_.horizontalAdvance(word));
        }
        qreal longestFlag = 0;
        for (const ReportGroup& g : report_.groups) {
            for (const ReportChannelRow& row : g.rows) {
                const auto cells = reportCells(row);
                for (std::size_t c = 0; c + 1 < n && c < cells.size(); ++c)
                    w[c] = std::max(w[c], fm_.horizontalAdvance(qs(cells[c])));
                for (const QString& flag : qs(row.flags).split(' ', Qt::SkipEmptyParts))
                    longestFlag = std::max(longestFlag, fm_.horizontalAdvance(flag));
            }
        }
        w.back() = std::max(w.back(), longestFlag);
        qreal total = 0;
        for (qreal& x : w) {
            x += 2 * pad_;
            total += x;
        }
        const qreal others = total - w.back();
        const qreal rest = width_ - others;
        if (rest >= w.back()) {
            w.back() = rest;
        } else {
            const qreal scale = width_ / total;
            for (qreal& x : w) x *= scale;
        }
        return w;
    }

    void buildChannelTable()
    {
        if (report_.groups.empty()) {
            addParagraph(qs(report_.noChannels), body_, false);
            return;
        }
        const std::vector<qreal> widths = columnWidths();
        std::vector<QStringList> headings;
        int headingLines = 1;
        for (std::size_t c = 0; c < widths.size() && c < report_.columns.size(); ++c) {
            headings.push_back(fitIntoLines(boldFm_, qs(report_.columns[c]), widths[c] - 2 * pad_));
            headingLines = std::max(headingLines, static_cast<int>(headings.back().size()));
        }
        const qreal boldLine = boldFm_.height();
        const qreal headingHeight = headingLines * boldLine + 2 * pad_;
        const QFont body = body_;
        const QFont bold = bold_;
        const qreal pad = pad_;
        const qreal lineHeight = fm_.height();

        for (const ReportGroup& group : report_.groups) {
            const QString title = qs(group.title);
            const qreal gap = mm(3);
            const int titleIndex = add(
                {boldFm_.height() + gap + pad_, true, {}, [=](QPainter& p, const QRectF& r) {
                     p.setFont(bold);
                     p.drawText(r.adjusted(0, gap, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
                 }});
            const int headingIndex =
                add({headingHeight, true, {}, [=](QPainter& p, const QRectF& r) {
                         p.fillRect(r, kHeadingShade);
                         p.setFont(bold);
                         qreal x = r.left();
                         for (std::size_t c = 0; c < headings.size(); ++c) {
                             // The heading's lines stand in the middle of the heading row.
                             const qreal top =
                                 r.top() + (r.height() - headings[c].size() * boldLine) / 2;
                             for (int l = 0; l < headings[c].size(); ++l) {
                                 p.drawText(QRectF(x + pad, top + l * boldLine, widths[c] - 2 * pad,
                                                   boldLine),
                                            Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextDontClip,
                                            headings[c][l]);
                             }
                             x += widths[c];
                         }
                     }});
            int stripe = 0;
            for (const ReportChannelRow& row : group.rows) {
                // Every cell is broken into lines that fit its column; the row is as tall as
                // its tallest cell, so no text is ever cut.
                std::vector<QStringList> cells;
                int lines = 1;
                const auto texts = reportCells(row);
                for (std::size_t c = 0; c < widths.size(); ++c) {
                    cells.push_back(fitIntoLines(fm_, c < texts.size() ? qs(texts[c]) : QString(),
                                                 widths[c] - 2 * pad_));
                    lines = std::max(lines, static_cast<int>(cells.back().size()));
                }
                const bool shaded = (stripe++ % 2) == 1;
                add({lines * lineHeight + 2 * pad_,
                     false,
                     {titleIndex, headingIndex},
                     [=](QPainter& p, const QRectF& r) {
                         if (shaded) p.fillRect(r, kStripe);
                         p.setFont(body);
                         qreal x = r.left();
                         for (std::size_t c = 0; c < cells.size(); ++c) {
                             const qreal inner = widths[c] - 2 * pad;
                             const bool last = c + 1 == cells.size();
                             // Lines run from the top, so a wrapped cell's first line stands
                             // level with the other cells of its row.
                             for (int l = 0; l < cells[c].size(); ++l) {
                                 p.drawText(QRectF(x + pad, r.top() + pad + l * lineHeight, inner,
                                                   lineHeight),
                                            (last ? Qt::AlignLeft : Qt::AlignHCenter) |
                                                Qt::AlignVCenter | Qt::TextDontClip,
                                            cells[c][l]);
                             }
                             x += widths[c];
                         }
                     }});
            }
        }
    }

    QString legendText() const
    {
        QStringList parts;
        for (const ReportField& f : report_.legend) parts << qs(f.label) + " = " + qs(f.value);
        return parts.join(";  ");
    }

    int addSectionTitle(const QString& title)
    {
        const qreal gap = mm(4);
        const QFont bold = bold_;
        return add({boldFm_.height() + gap + pad_, true, {}, [=](QPainter& p, const QRectF& r) {
                        p.setFont(bold);
                        p.drawText(r.adjusted(0, gap, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                                   title);
                    }});
    }

    void addParagraph(const QString& text, const QFont& font, bool keepWithNext)
    {
        const QFontMetricsF fm(font, &device_);
        const qreal height = wrappedHeight(fm, width_, text) + pad_;
        add({height, keepWithNext, {}, [=](QPainter& p, const QRectF& r) {
                 p.setFont(font);
                 p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
             }});
    }

    void addParagraphSection(const QString& title, const QString& text)
    {
        addSectionTitle(title);
        addParagraph(text, small_, false);
    }

    void addFieldSection(const QString& title, const std::vector<ReportField>& fields)
    {
        addSectionTitle(title);
        const qreal labelWidth = labelWidth_;
        const qreal valueWidth = width_ - labelWidth - 2 * pad_;
        const QFont body = body_;
        const qreal pad = pad_;
        int stripe = 0;
        for (const ReportField& f : fields) {
            const QString label = qs(f.label);
            const QString value = qs(f.value);
            const qreal height = std::max(wrappedHeight(fm_, labelWidth - 2 * pad_, label),
                                          wrappedHeight(fm_, valueWidth, value)) +
                                 2 * pad_;
            const bool shaded = (stripe++ % 2) == 1;
            add({height, false, {}, [=](QPainter& p, const QRectF& r) {
                     if (shaded) p.fillRect(r, kStripe);
                     p.setFont(body);
                     p.drawText(QRectF(r.left() + pad, r.top() + pad, labelWidth - 2 * pad,
                                       r.height() - 2 * pad),
                                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label);
                     p.drawText(QRectF(r.left() + labelWidth + pad, r.top() + pad, valueWidth,
                                       r.height() - 2 * pad),
                                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, value);
                 }});
        }
    }

    const ChannelReport& report_;
    QPagedPaintDevice& device_;
    QFont body_, bold_, title_, small_;
    QFontMetricsF fm_, boldFm_, titleFm_, smallFm_;
    qreal width_;
    qreal pad_;
    qreal labelWidth_ = 0;
    std::vector<Item> items_;
};

}  // namespace

QPageSize pageSizeOf(ReportPaper paper)
{
    return QPageSize(paper == ReportPaper::Letter ? QPageSize::Letter : QPageSize::A4);
}

ReportPaper defaultPaperFor(const QLocale& locale)
{
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? ReportPaper::Letter
                                                                   : ReportPaper::A4;
}

QString charactersWithoutFont(const ChannelReport& report)
{
    std::vector<std::string> texts = {report.title, report.noChannels, report.legendTitle,
                                      report.settingsTitle, report.publicTitle};
    texts.insert(texts.end(), report.columns.begin(), report.columns.end());
    for (const auto* fields :
         {&report.header, &report.legend, &report.settings, &report.publicSettings}) {
        for (const ReportField& f : *fields) {
            texts.push_back(f.label);
            texts.push_back(f.value);
        }
    }
    for (const ReportGroup& g : report.groups) {
        texts.push_back(g.title);
        for (const ReportChannelRow& row : g.rows)
            for (std::string& cell : reportCells(row)) texts.push_back(std::move(cell));
    }

    // Each character is laid out alone with the report's font, so Qt's font fallback picks
    // whatever installed font it would draw it with; glyph 0 means none has it.
    const QFont font = reportFont(8.5, false);
    std::set<char32_t> seen;
    QString missing;
    for (const std::string& text : texts) {
        for (const char32_t c : qs(text).toUcs4()) {
            if (c <= 0x20 || !seen.insert(c).second) continue;
            const QString one = QString::fromUcs4(&c, 1);
            QTextLayout layout(one, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            bool drawn = false;
            for (const QGlyphRun& run : layout.glyphRuns())
                for (const quint32 glyph : run.glyphIndexes()) drawn = drawn || glyph != 0;
            if (!drawn) missing += one;
        }
    }
    return missing;
}

int paintChannelReport(const ChannelReport& report, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    ReportLayout layout(report, device);
    const int pages = layout.paint(painter);
    painter.end();
    return pages;
}

}  // namespace zt::gui
