#pragma once

#include <QString>

#include "core/radio/radio_data.h"

class QComboBox;

namespace zt::gui {

// Refills a list of DTMF code numbers: `noneText` followed by the numbers of
// the non-empty memory codes, ascending. The list then shows its previous
// text when that text is still offered, otherwise its entry 0. Signals of the
// list are not blocked: a changed selection reaches its change handler.
void refillDtmfCodeList(QComboBox& list, const DtmfSettings& dtmf, const QString& noneText);

}  // namespace zt::gui
