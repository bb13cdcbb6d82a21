#pragma once

// The window's dealer fields, the ones a write sends: dealer code, stock-in
// date, sale date and seller (Text1(8) to Text1(11) in the dealer frame) and
// the program password (Text1(12)). Which of them the user emptied, and the
// question before a write would clear a value the radio holds.

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "core/link/dealer_fields.h"

class QLineEdit;

namespace zt::gui {
class PromptService;
}

namespace zt::infotool {

class DealerFieldEdits {
  public:
    // `edits` in the order of kDealerFields.
    DealerFieldEdits(std::array<QLineEdit*, kDealerFields.size()> edits, int language,
                     gui::PromptService* prompt);

    QLineEdit* edit(DealerField field) const;
    QString label(DealerField field) const;
    bool anyEmpty() const;

    // The record was shown: its values are what the user starts from.
    void recordShown();
    // The fields empty now that showed a value when the record was last shown
    // or that the user edited to nothing.
    std::vector<DealerField> emptied() const;

    // Before a Write: asks about the fields left empty that `radio` holds. Yes
    // gives them as the fields to clear, No fills them in with the radio's
    // values (nothing to clear), Cancel gives nothing (no write).
    std::optional<std::vector<DealerField>> askBeforeClearing(const InfoToolRecord& radio);

  private:
    std::array<QLineEdit*, kDealerFields.size()> edits_;
    std::array<QString, kDealerFields.size()> shown_;
    int language_;
    gui::PromptService* prompt_;
};

}  // namespace zt::infotool
