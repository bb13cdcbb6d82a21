#include "gui/functions/dtmf_code_list.h"

#include <QComboBox>

#include "core/edit/dtmf_rules.h"

namespace zt::gui {

void refillDtmfCodeList(QComboBox& list, const DtmfSettings& dtmf, const QString& noneText)
{
    const QString previous = list.currentIndex() >= 0 ? list.currentText() : QString();
    {
        const QSignalBlocker block(list);
        list.clear();
        for (const auto& entry : dtmfCodeListEntries(dtmf, noneText.toStdString()))
            list.addItem(QString::fromStdString(entry));
        list.setCurrentIndex(-1);
    }
    // The final selection is reported like a user's choice.
    const int keep = previous.isEmpty() ? -1 : list.findText(previous, Qt::MatchExactly);
    list.setCurrentIndex(keep >= 0 ? keep : 0);
}

}  // namespace zt::gui
