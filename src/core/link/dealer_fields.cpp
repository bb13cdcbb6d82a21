#include "core/link/dealer_fields.h"

#include <algorithm>
#include <utility>

namespace zt {

const std::string& dealerValue(const InfoToolRecord& record, DealerField field)
{
    switch (field) {
        case DealerField::DealerCode:
            return record.DealerCode;
        case DealerField::StockInDate:
            return record.StockInDate;
        case DealerField::SaleDate:
            return record.SaleDate;
        case DealerField::Seller:
            return record.Seller;
        case DealerField::ProgramPassword:
            break;
    }
    return record.ProgramPassword;
}

std::string& dealerValue(InfoToolRecord& record, DealerField field)
{
    return const_cast<std::string&>(dealerValue(std::as_const(record), field));
}

bool dealerValueEmpty(const InfoToolRecord& record, DealerField field)
{
    const std::string& value = dealerValue(record, field);
    return std::all_of(value.begin(), value.end(), [](char c) { return c == ' '; });
}

std::vector<DealerField> emptyFieldsTheRadioHolds(const InfoToolRecord& form,
                                                  const InfoToolRecord& radio)
{
    std::vector<DealerField> held;
    for (DealerField f : kDealerFields)
        if (dealerValueEmpty(form, f) && !dealerValueEmpty(radio, f)) held.push_back(f);
    return held;
}

void keepRadioValues(InfoToolRecord& record, const InfoToolRecord& radio,
                     std::span<const DealerField> clear)
{
    for (DealerField f : kDealerFields) {
        if (!dealerValueEmpty(record, f)) continue;
        if (std::find(clear.begin(), clear.end(), f) != clear.end()) continue;
        dealerValue(record, f) = dealerValue(radio, f);
    }
}

}  // namespace zt
