#pragma once

// The fields of the information block that a write sends (dealer code,
// stock-in date, sale date, seller, program password) and the rule that keeps
// a radio's own value where the tool's field is left empty.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/link/info_block.h"

namespace zt {

enum class DealerField { DealerCode, StockInDate, SaleDate, Seller, ProgramPassword };

inline constexpr std::array<DealerField, 5> kDealerFields{
    DealerField::DealerCode, DealerField::StockInDate, DealerField::SaleDate, DealerField::Seller,
    DealerField::ProgramPassword};

const std::string& dealerValue(const InfoToolRecord& record, DealerField field);
std::string& dealerValue(InfoToolRecord& record, DealerField field);

// A value that holds nothing but spaces counts as empty.
bool dealerValueEmpty(const InfoToolRecord& record, DealerField field);

// The dealer fields that `form` leaves empty while `radio` holds a value for them.
std::vector<DealerField> emptyFieldsTheRadioHolds(const InfoToolRecord& form,
                                                  const InfoToolRecord& radio);

// Every dealer field left empty in `record` takes the value `radio` holds, except the
// fields in `clear`, which stay empty and so clear the radio's value when written.
void keepRadioValues(InfoToolRecord& record, const InfoToolRecord& radio,
                     std::span<const DealerField> clear);

}  // namespace zt
