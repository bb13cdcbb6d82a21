#include "gui/report/paint/report_painter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "core/interop/page_flow.h"

namespace zt::gui {
namespace {

QString qs(const std::string& utf8)
{
    return QString::fromUtf8(utf8);
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
    // heading); the flags column takes what is left, and is cut with "..." when too narrow.
    std::vector<qreal> columnWidths() const
    {
        const std::size_t n = report_.columns.size();
        std::vector<qreal> w(n, 0);
        for (std::size_t c = 0; c < n; ++c) {
            for (const QString& word : qs(report_.columns[c]).split(' ', Qt::SkipEmptyParts))
                w[c] = std::max(w[c], boldFm_.horizontalAdvance(word));
        }
        for (const ReportGroup& g : report_.groups) {
            for (const ReportChannelRow& row : g.rows) {
                const auto cells = reportCells(row);
                for (std::size_t c = 0; c < n && c < cells.size(); ++c)
                    w[c] = std::max(w[c], fm_.horizontalAdvance(qs(cells[c])));
            }
        }
        qreal total = 0;
        for (qreal& x : w) {
            x += 2 * pad_;
            total += x;
        }
        const qreal others = total - w.back();
        const qreal rest = width_ - others;
        if (rest >= w.back() || rest >= width_ * 0.15) {
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
        QStringList headings;
        for (const auto& h : report_.columns) headings << qs(h);
        qreal headingHeight = 0;
        for (int c = 0; c < headings.size(); ++c)
            headingHeight =
                std::max(headingHeight, wrappedHeight(boldFm_, widths[c] - 2 * pad_, headings[c]));
        headingHeight += 2 * pad_;
        const qreal rowHeight = fm_.height() + 2 * pad_;
        const QFont body = body_;
        const QFont bold = bold_;
        const qreal pad = pad_;

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
                         for (int c = 0; c < headings.size(); ++c) {
                             p.drawText(QRectF(x + pad, r.top() + pad, widths[c] - 2 * pad,
                                               r.height() - 2 * pad),
                                        Qt::AlignCenter | Qt::TextWordWrap, headings[c]);
                             x += widths[c];
                         }
                     }});
            int stripe = 0;
            for (const ReportChannelRow& row : group.rows) {
                QStringList cells;
                for (const auto& c : reportCells(row)) cells << qs(c);
                const bool shaded = (stripe++ % 2) == 1;
                add({rowHeight,
                     false,
                     {titleIndex, headingIndex},
                     [=](QPainter& p, const QRectF& r) {
                         if (shaded) p.fillRect(r, kStripe);
                         p.setFont(body);
                         const QFontMetricsF fm(body, p.device());
                         qreal x = r.left();
                         for (int c = 0; c < cells.size(); ++c) {
                             const qreal inner = widths[c] - 2 * pad;
                             const bool last = c == cells.size() - 1;
                             p.drawText(
                                 QRectF(x + pad, r.top(), inner, r.height()),
                                 (last ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                                 fm.elidedText(cells[c], Qt::ElideRight, inner));
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
