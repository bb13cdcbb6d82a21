#include "gui/channels/number_ranges.h"

#include <QStringList>

namespace zt::gui {

QString numberRanges(const std::set<int>& numbers)
{
    QStringList parts;
    for (auto it = numbers.begin(); it != numbers.end();) {
        const int first = *it;
        int last = first;
        for (++it; it != numbers.end() && *it == last + 1; ++it) last = *it;
        parts << (first == last ? QString::number(first)
                                : QStringLiteral("%1-%2").arg(first).arg(last));
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace zt::gui
